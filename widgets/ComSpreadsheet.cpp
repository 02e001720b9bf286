#include "widgets/ComSpreadsheet.h"

#include "foundation/zString.h"

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// Members of the spreadsheet's objects, by dispatch id.
enum : DISPID {
    kValue = 0x6,
    kNameText = 0x6e,
    kCount = 0x76,
    kItem = 0xaa,
    kRange = 0xc5,
    kFullName = 0x121,
    kActiveSheet = 0x133,
    kNames = 0x1ba,
    kSheets = 0x1e5,
    kVisible = 0x22e,
    kWorkbooks = 0x23c,
    kOpen = 0x2aa,
    kRefersToRange = 0x488,
    kRefreshAll = 0x5ac,
};

// Open's parameters after its file name, update-links and read-only flags, all left out.
constexpr int kOpenOmittedParameters = 10;

// One owned interface pointer.
class DispatchRef {
public:
    DispatchRef() = default;
    explicit DispatchRef(IDispatch* object) : object_(object) {}
    DispatchRef(DispatchRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    DispatchRef& operator=(DispatchRef&& other) noexcept
    {
        if (this != &other) {
            Reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    DispatchRef(const DispatchRef&) = delete;
    DispatchRef& operator=(const DispatchRef&) = delete;
    ~DispatchRef() { Reset(); }

    void Reset()
    {
        if (object_ != nullptr)
            std::exchange(object_, nullptr)->Release();
    }
    IDispatch* Get() const { return object_; }
    IDispatch** Out()
    {
        Reset();
        return &object_;
    }
    explicit operator bool() const { return object_ != nullptr; }

private:
    IDispatch* object_ = nullptr;
};

// A VARIANT cleared (its string or object released) when it goes.
struct OwnedVariant {
    OwnedVariant() { VariantInit(&value); }
    OwnedVariant(const OwnedVariant&) = delete;
    OwnedVariant& operator=(const OwnedVariant&) = delete;
    ~OwnedVariant() { VariantClear(&value); }
    VARIANT value;
};

std::wstring WideText(const char* text)
{
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(size > 0 ? size : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], size);
    wide.resize(wide.size() - 1);
    return wide;
}

zString NarrowText(BSTR text)
{
    if (text == nullptr)
        return zString();
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(size > 0 ? size : 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], size, nullptr, nullptr);
    return zString(narrow.c_str());
}

// The arguments of one call in the order the member takes them; strings are freed with them.
class Arguments {
public:
    Arguments() = default;
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;
    ~Arguments()
    {
        for (VARIANT& value : values_)
            VariantClear(&value);
    }
    Arguments& Short(int number)
    {
        VARIANT& value = Add(VT_I2);
        value.iVal = static_cast<SHORT>(number);
        return *this;
    }
    Arguments& Long(long number)
    {
        VARIANT& value = Add(VT_I4);
        value.lVal = number;
        return *this;
    }
    Arguments& Double(double number)
    {
        VARIANT& value = Add(VT_R8);
        value.dblVal = number;
        return *this;
    }
    Arguments& Bool(bool flag)
    {
        VARIANT& value = Add(VT_BOOL);
        value.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
        return *this;
    }
    // False when the string could not be made.
    bool Text(const char* text)
    {
        VARIANT& value = Add(VT_BSTR);
        value.bstrVal = SysAllocString(WideText(text).c_str());
        return value.bstrVal != nullptr;
    }
    Arguments& Missing(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            Add(VT_ERROR).scode = DISP_E_PARAMNOTFOUND;
        return *this;
    }
    // The dispatch parameters: the last argument first.
    DISPPARAMS Parameters(bool put)
    {
        reversed_.assign(values_.rbegin(), values_.rend());
        DISPPARAMS parameters = {};
        parameters.cArgs = static_cast<UINT>(reversed_.size());
        parameters.rgvarg = reversed_.empty() ? nullptr : reversed_.data();
        if (put) {
            parameters.cNamedArgs = 1;
            parameters.rgdispidNamedArgs = &putId_;
        }
        return parameters;
    }

private:
    VARIANT& Add(VARTYPE type)
    {
        values_.emplace_back();
        VariantInit(&values_.back());
        values_.back().vt = type;
        return values_.back();
    }
    std::vector<VARIANT> values_;
    std::vector<VARIANT> reversed_;
    DISPID putId_ = DISPID_PROPERTYPUT;
};

// A failure that means the application has gone: the connection cannot be used again.
bool ApplicationGone(HRESULT result)
{
    return result == RPC_E_DISCONNECTED || result == RPC_E_SERVER_DIED || result == RPC_E_SERVER_DIED_DNE ||
           result == CO_E_OBJNOTCONNECTED || result == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
           result == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) || result == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE);
}

class ComSpreadsheet : public SpreadsheetAutomation {
public:
    ComSpreadsheet() : comStarted_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComSpreadsheet() override
    {
        Disconnect();
        if (comStarted_)
            CoUninitialize();
    }

    int Connect(bool visible) override;
    int OpenWorkbook(const char* path, bool readOnly, int flags) override;
    int ListNames(std::vector<zString>& names) override;
    int GetCellValue(const char* name, double& value) override;
    int SetCellValue(const char* name, double value) override;

private:
    // The workbook, its names, then the application are released.
    void Disconnect()
    {
        workbook_.Reset();
        names_.Reset();
        application_.Reset();
    }
    HRESULT Call(IDispatch* object, DISPID member, WORD kind, Arguments& arguments, VARIANT* result);
    HRESULT Get(IDispatch* object, DISPID member, VARIANT* result)
    {
        Arguments none;
        return Call(object, member, DISPATCH_PROPERTYGET, none, result);
    }
    // The object a member answers.
    HRESULT GetObject(IDispatch* object, DISPID member, WORD kind, Arguments& arguments, DispatchRef& out);
    HRESULT GetObject(IDispatch* object, DISPID member, DispatchRef& out)
    {
        Arguments none;
        return GetObject(object, member, DISPATCH_PROPERTYGET, none, out);
    }
    HRESULT GetCount(IDispatch* object, long& count);
    HRESULT GetText(IDispatch* object, DISPID member, zString& text);
    // The open workbook's name list, kept with the workbook.
    IDispatch* Names();
    // The range a name gives: the workbook name, else "Sheet!Ref" on that sheet, else a reference on the
    // active sheet.
    bool RangeByName(const char* name, DispatchRef& range);

    bool comStarted_;
    DispatchRef application_;
    DispatchRef workbook_;
    DispatchRef names_;
};

HRESULT ComSpreadsheet::Call(IDispatch* object, DISPID member, WORD kind, Arguments& arguments, VARIANT* result)
{
    if (object == nullptr)
        return E_POINTER;
    DISPPARAMS parameters = arguments.Parameters(kind == DISPATCH_PROPERTYPUT);
    EXCEPINFO exception = {};
    const HRESULT outcome = object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result,
                                           &exception, nullptr);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    if (ApplicationGone(outcome))
        Disconnect();
    return outcome;
}

HRESULT ComSpreadsheet::GetObject(IDispatch* object, DISPID member, WORD kind, Arguments& arguments,
                                  DispatchRef& out)
{
    OwnedVariant answer;
    const HRESULT outcome = Call(object, member, kind, arguments, &answer.value);
    if (FAILED(outcome))
        return outcome;
    if (answer.value.vt != VT_DISPATCH || answer.value.pdispVal == nullptr)
        return E_POINTER;
    *out.Out() = answer.value.pdispVal;
    answer.value.vt = VT_EMPTY;
    return S_OK;
}

HRESULT ComSpreadsheet::GetCount(IDispatch* object, long& count)
{
    OwnedVariant answer;
    HRESULT outcome = Get(object, kCount, &answer.value);
    if (SUCCEEDED(outcome))
        outcome = VariantChangeType(&answer.value, &answer.value, 0, VT_I4);
    count = SUCCEEDED(outcome) ? answer.value.lVal : 0;
    return outcome;
}

HRESULT ComSpreadsheet::GetText(IDispatch* object, DISPID member, zString& text)
{
    OwnedVariant answer;
    HRESULT outcome = Get(object, member, &answer.value);
    if (SUCCEEDED(outcome))
        outcome = VariantChangeType(&answer.value, &answer.value, 0, VT_BSTR);
    text = SUCCEEDED(outcome) ? NarrowText(answer.value.bstrVal) : zString();
    return outcome;
}

int ComSpreadsheet::Connect(bool visible)
{
    if (application_)
        return 1;
    CLSID application;
    if (FAILED(CLSIDFromProgID(L"Excel.Application", &application)))
        return 0;
    IUnknown* unknown = nullptr;
    if (SUCCEEDED(GetActiveObject(application, nullptr, &unknown)) && unknown != nullptr) {
        unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(application_.Out()));
        unknown->Release();
        if (application_)
            return 1;
    }
    // None runs (or the one registered as running has gone): a new one is started.
    unknown = nullptr;
    if (FAILED(CoCreateInstance(application, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER |
                                CLSCTX_LOCAL_SERVER, IID_IUnknown, reinterpret_cast<void**>(&unknown))) ||
        unknown == nullptr)
        return 0;
    if (SUCCEEDED(OleRun(unknown)))
        unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(application_.Out()));
    unknown->Release();
    if (!application_)
        return 0;
    Arguments shown;
    shown.Bool(visible);
    Call(application_.Get(), kVisible, DISPATCH_PROPERTYPUT, shown, nullptr);
    return application_ ? 1 : 0;
}

int ComSpreadsheet::OpenWorkbook(const char* path, bool readOnly, int flags)
{
    if (!application_)
        return 0;
    workbook_.Reset();
    names_.Reset();
    DispatchRef workbooks;
    long count = 0;
    if (FAILED(GetObject(application_.Get(), kWorkbooks, workbooks)) || FAILED(GetCount(workbooks.Get(), count)))
        return 0;
    zString wanted(path);
    wanted.MakeUpper();
    for (long i = 1; i <= count && !workbook_; ++i) {
        Arguments index;
        index.Short(static_cast<int>(i));
        DispatchRef workbook;
        zString fullName;
        if (FAILED(GetObject(workbooks.Get(), kItem, DISPATCH_PROPERTYGET, index, workbook)) ||
            FAILED(GetText(workbook.Get(), kFullName, fullName)))
            continue;
        fullName.MakeUpper();
        if (fullName == wanted)
            workbook_ = std::move(workbook);
    }
    if (workbook_)
        return 1;
    Arguments open;
    if (!open.Text(path))
        return 0;
    open.Short(0).Short(readOnly ? -1 : 0).Missing(kOpenOmittedParameters);
    if (FAILED(GetObject(workbooks.Get(), kOpen, DISPATCH_METHOD, open, workbook_)))
        return 0;
    if ((flags & 1) != 0) {
        Arguments none;
        Call(workbook_.Get(), kRefreshAll, DISPATCH_METHOD, none, nullptr);
    }
    return workbook_ ? 1 : 0;
}

IDispatch* ComSpreadsheet::Names()
{
    if (!names_ && workbook_)
        GetObject(workbook_.Get(), kNames, names_);
    return names_.Get();
}

int ComSpreadsheet::ListNames(std::vector<zString>& names)
{
    long count = 0;
    if (!workbook_ || FAILED(GetCount(Names(), count)))
        return 0;
    for (long i = 1; i <= count; ++i) {
        Arguments index;
        index.Long(i).Missing(2);
        DispatchRef name;
        zString text;
        if (SUCCEEDED(GetObject(Names(), kItem, DISPATCH_METHOD, index, name)) &&
            SUCCEEDED(GetText(name.Get(), kNameText, text)))
            names.push_back(text);
    }
    return 1;
}

bool ComSpreadsheet::RangeByName(const char* name, DispatchRef& range)
{
    if (!workbook_)
        return false;
    Arguments byName;
    DispatchRef named;
    if (byName.Text(name) && SUCCEEDED(GetObject(Names(), kItem, DISPATCH_METHOD, byName.Missing(2), named)) &&
        SUCCEEDED(GetObject(named.Get(), kRefersToRange, range)))
        return true;
    if (!workbook_)
        return false;
    std::string reference(name[0] == '=' ? name + 1 : name);
    DispatchRef sheet;
    const size_t bang = reference.find('!');
    if (bang != std::string::npos) {
        DispatchRef sheets;
        Arguments sheetName;
        if (!sheetName.Text(reference.substr(0, bang).c_str()) ||
            FAILED(GetObject(workbook_.Get(), kSheets, sheets)) ||
            FAILED(GetObject(sheets.Get(), kItem, DISPATCH_PROPERTYGET, sheetName, sheet)))
            return false;
        reference.erase(0, bang + 1);
    } else if (FAILED(GetObject(workbook_.Get(), kActiveSheet, sheet))) {
        return false;
    }
    Arguments cells;
    return cells.Text(reference.c_str()) && SUCCEEDED(GetObject(sheet.Get(), kRange, DISPATCH_PROPERTYGET, cells, range));
}

int ComSpreadsheet::GetCellValue(const char* name, double& value)
{
    DispatchRef range;
    OwnedVariant answer;
    if (!RangeByName(name, range) || FAILED(Get(range.Get(), kValue, &answer.value)))
        return 0;
    if (answer.value.vt != VT_R8 && FAILED(VariantChangeType(&answer.value, &answer.value, 0, VT_R8)))
        return 0;
    value = answer.value.dblVal;
    return 1;
}

int ComSpreadsheet::SetCellValue(const char* name, double value)
{
    DispatchRef range;
    if (!RangeByName(name, range))
        return 0;
    Arguments number;
    number.Double(value);
    return SUCCEEDED(Call(range.Get(), kValue, DISPATCH_PROPERTYPUT, number, nullptr)) ? 1 : 0;
}

} // namespace

std::unique_ptr<SpreadsheetAutomation> MakeComSpreadsheet()
{
    return std::make_unique<ComSpreadsheet>();
}
