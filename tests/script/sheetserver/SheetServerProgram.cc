// The spreadsheet of the link tests: a local automation server, registered only in the test prefix under the
// program id "Excel.Application" (tools/prefix-setup.sh), that answers the dispatch members KIVO's spreadsheet
// links call and nothing else. Never installed with KIVO.
//
// A workbook is a text file of cells, one a line: "name reference kind value" (kind n: a number, s: a number
// answered as text, t: text; a name "-" leaves the cell unnamed). A line "die-after N" ends the process at the
// Nth call after the workbook opened. After every write, Result = In1 x 2 + In2 when the three cells exist.
// Every call is logged to the file that KIVO_SHEET_LOG names: "Kind dispid flags" and each argument as
// " vt:value" in call order ("missing" for a missing one); that name with ".live" holds the number of objects
// alive.
// Started with /Embedding it serves the class and ends after its last object is released; started directly
// it registers its application as the running one and lives until it is ended.

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// {7D3E2B41-96C5-4A8F-B1E2-5C0F3A9D6E17}, the class the prefix registers for the program id.
const CLSID kSheetServerClass = {0x7d3e2b41, 0x96c5, 0x4a8f, {0xb1, 0xe2, 0x5c, 0x0f, 0x3a, 0x9d, 0x6e, 0x17}};

struct Cell {
    std::string name;
    std::string reference;
    char kind = 'n';
    double number = 0.0;
    std::string text;
};

struct Workbook {
    std::string path;
    std::vector<Cell> cells;
    int dieAfter = -1;
};

std::vector<Workbook*> OpenBooks;
LONG LiveObjects = 0;
LONG ServerLocks = 0;
bool Embedded = false;
DWORD MainThread = 0;
HWND CellWindow = nullptr;
HWND CellList = nullptr;
int CallsSinceOpen = 0;

bool SameText(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::string Narrow(BSTR text)
{
    if (text == nullptr)
        return std::string();
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], size, nullptr, nullptr);
    return out;
}

BSTR Wide(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], size);
    return SysAllocString(wide.c_str());
}

std::string NumberText(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

// The log and the count of live objects, kept open: the tests read them while the server runs.
FILE* OpenLogFile(const char* suffix, const char* mode)
{
    const char* path = std::getenv("KIVO_SHEET_LOG");
    if (path == nullptr || *path == '\0')
        return nullptr;
    return std::fopen((std::string(path) + suffix).c_str(), mode);
}

void Log(const std::string& line)
{
    static FILE* file = OpenLogFile("", "a");
    if (file != nullptr) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fflush(file);
    }
}

void LogLiveObjects()
{
    static FILE* file = OpenLogFile(".live", "w");
    if (file != nullptr) {
        std::rewind(file);
        std::fprintf(file, "%8ld\n", LiveObjects);
        std::fflush(file);
    }
}

std::string ArgumentText(const VARIANT& argument)
{
    std::string text = std::to_string(argument.vt) + ":";
    if (argument.vt == VT_ERROR && argument.scode == DISP_E_PARAMNOTFOUND)
        return text + "missing";
    if (argument.vt == VT_BSTR)
        return text + Narrow(argument.bstrVal);
    VARIANT number;
    VariantInit(&number);
    if (SUCCEEDED(VariantChangeType(&number, const_cast<VARIANT*>(&argument), 0, VT_R8)))
        text += NumberText(number.dblVal);
    VariantClear(&number);
    return text;
}

void ShowCells()
{
    if (CellList == nullptr)
        return;
    // Refilled out of sight: a list redrawn row by row would cost more than the call it shows.
    SendMessageA(CellList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(CellList, LB_RESETCONTENT, 0, 0);
    for (const Workbook* book : OpenBooks)
        for (const Cell& cell : book->cells) {
            const std::string row = "Sheet1!" + cell.reference + "  " + cell.name + "  = " +
                                    (cell.kind == 't' ? cell.text : NumberText(cell.number));
            SendMessageA(CellList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
        }
    SendMessageA(CellList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(CellList, nullptr, TRUE);
}

void Recalculate(Workbook& book)
{
    Cell* in1 = nullptr;
    Cell* in2 = nullptr;
    Cell* result = nullptr;
    for (Cell& cell : book.cells) {
        if (SameText(cell.name, "In1"))
            in1 = &cell;
        else if (SameText(cell.name, "In2"))
            in2 = &cell;
        else if (SameText(cell.name, "Result"))
            result = &cell;
    }
    if (in1 != nullptr && in2 != nullptr && result != nullptr)
        result->number = in1->number * 2 + in2->number;
    // The window follows once the calls pause.
    if (CellWindow != nullptr)
        SetTimer(CellWindow, 1, 20, nullptr);
}

Workbook* LoadWorkbook(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        return nullptr;
    char full[MAX_PATH];
    auto* book = new Workbook;
    book->path = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr) > 0 ? full : path;
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        Cell cell;
        if (!(fields >> cell.name) || cell.name[0] == '#')
            continue;
        if (cell.name == "die-after") {
            fields >> book->dieAfter;
            continue;
        }
        fields >> cell.reference >> cell.kind;
        if (cell.kind == 't')
            fields >> cell.text;
        else
            fields >> cell.number;
        if (cell.name == "-")
            cell.name.clear();
        book->cells.push_back(cell);
    }
    OpenBooks.push_back(book);
    CallsSinceOpen = 0;
    ShowCells();
    return book;
}

void ObjectGone()
{
    const LONG left = InterlockedDecrement(&LiveObjects);
    LogLiveObjects();
    if (left == 0 && ServerLocks == 0 && Embedded)
        PostThreadMessageA(MainThread, WM_QUIT, 0, 0);
}

HRESULT Fail(EXCEPINFO* exception)
{
    if (exception != nullptr) {
        ZeroMemory(exception, sizeof *exception);
        exception->scode = E_FAIL;
        exception->bstrDescription = Wide("The test workbook has no such member.");
    }
    return DISP_E_EXCEPTION;
}

// One automation object: every call is logged, then answered by its kind's member table.
class DispatchObject : public IDispatch {
public:
    explicit DispatchObject(const char* kind) : kind_(kind)
    {
        InterlockedIncrement(&LiveObjects);
        LogLiveObjects();
    }
    virtual ~DispatchObject() { ObjectGone(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override
    {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) override
    {
        std::vector<VARIANT*> arguments;
        const UINT count = parameters != nullptr ? parameters->cArgs : 0;
        for (UINT i = 0; i < count; ++i)
            arguments.push_back(&parameters->rgvarg[count - 1 - i]);
        char head[64];
        std::snprintf(head, sizeof head, "%s %lx %u", kind_, static_cast<unsigned long>(member), flags);
        std::string line = head;
        for (VARIANT* argument : arguments)
            line += " " + ArgumentText(*argument);
        Log(line);
        if (!OpenBooks.empty() && OpenBooks.back()->dieAfter >= 0 && ++CallsSinceOpen > OpenBooks.back()->dieAfter)
            ExitProcess(3);
        if (result != nullptr)
            VariantInit(result);
        const HRESULT answer = Answer(member, flags, arguments, result);
        return answer == DISP_E_EXCEPTION ? Fail(exception) : answer;
    }

protected:
    virtual HRESULT Answer(DISPID member, WORD flags, const std::vector<VARIANT*>& arguments, VARIANT* result) = 0;

    static HRESULT Object(VARIANT* result, IDispatch* object)
    {
        if (result == nullptr) {
            object->Release();
            return S_OK;
        }
        result->vt = VT_DISPATCH;
        result->pdispVal = object;
        return S_OK;
    }
    static HRESULT Text(VARIANT* result, const std::string& text)
    {
        if (result != nullptr) {
            result->vt = VT_BSTR;
            result->bstrVal = Wide(text);
        }
        return S_OK;
    }
    static HRESULT Count(VARIANT* result, size_t count)
    {
        if (result != nullptr) {
            result->vt = VT_I4;
            result->lVal = static_cast<LONG>(count);
        }
        return S_OK;
    }
    // An index as a 16- or 32-bit number (1 is the first) or as a text.
    static bool ReadIndex(const VARIANT* argument, int* number, std::string* name)
    {
        *number = 0;
        name->clear();
        if (argument == nullptr)
            return false;
        if (argument->vt == VT_I2)
            *number = argument->iVal;
        else if (argument->vt == VT_I4)
            *number = argument->lVal;
        else if (argument->vt == VT_BSTR)
            *name = Narrow(argument->bstrVal);
        else
            return false;
        return true;
    }

private:
    const char* kind_;
    LONG references_ = 1;
};

class RangeObject : public DispatchObject {
public:
    RangeObject(Workbook* book, size_t cell) : DispatchObject("Range"), book_(book), cell_(cell) {}

protected:
    HRESULT Answer(DISPID member, WORD flags, const std::vector<VARIANT*>& arguments, VARIANT* result) override
    {
        if (member != 0x6)
            return DISP_E_MEMBERNOTFOUND;
        Cell& cell = book_->cells[cell_];
        if ((flags & DISPATCH_PROPERTYPUT) != 0) {
            VARIANT number;
            VariantInit(&number);
            if (arguments.empty() || FAILED(VariantChangeType(&number, arguments.back(), 0, VT_R8)))
                return DISP_E_TYPEMISMATCH;
            cell.number = number.dblVal;
            if (cell.kind == 't')
                cell.kind = 'n';
            Recalculate(*book_);
            return S_OK;
        }
        if (cell.kind == 't')
            return Text(result, cell.text);
        if (cell.kind == 's')
            return Text(result, NumberText(cell.number));
        if (result != nullptr) {
            result->vt = VT_R8;
            result->dblVal = cell.number;
        }
        return S_OK;
    }

private:
    Workbook* book_;
    size_t cell_;
};

class WorksheetObject : public DispatchObject {
public:
    explicit WorksheetObject(Workbook* book) : DispatchObject("Worksheet"), book_(book) {}

protected:
    HRESULT Answer(DISPID member, WORD, const std::vector<VARIANT*>& arguments, VARIANT* result) override
    {
        if (member != 0xc5)
            return DISP_E_MEMBERNOTFOUND;
        int number;
        std::string reference;
        if (arguments.empty() || !ReadIndex(arguments[0], &number, &reference))
            return DISP_E_TYPEMISMATCH;
        for (size_t i = 0; i < book_->cells.size(); ++i)
            if (SameText(book_->cells[i].reference, reference))
                return Object(result, new RangeObject(book_, i));
        return DISP_E_EXCEPTION;
    }

private:
    Workbook* book_;
};

class SheetsObject : public DispatchObject {
public:
    explicit SheetsObject(Workbook* book) : DispatchObject("Sheets"), book_(book) {}

protected:
    HRESULT Answer(DISPID member, WORD, const std::vector<VARIANT*>& arguments, VARIANT* result) override
    {
        if (member != 0xaa)
            return DISP_E_MEMBERNOTFOUND;
        int number;
        std::string name;
        if (arguments.empty() || !ReadIndex(arguments[0], &number, &name))
            return DISP_E_TYPEMISMATCH;
        if (number == 1 || SameText(name, "Sheet1"))
            return Object(result, new WorksheetObject(book_));
        return DISP_E_EXCEPTION;
    }

private:
    Workbook* book_;
};

class NameObject : public DispatchObject {
public:
    NameObject(Workbook* book, size_t cell) : DispatchObject("Name"), book_(book), cell_(cell) {}

protected:
    HRESULT Answer(DISPID member, WORD, const std::vector<VARIANT*>&, VARIANT* result) override
    {
        if (member == 0x6e)
            return Text(result, book_->cells[cell_].name);
        if (member == 0x488)
            return Object(result, new RangeObject(book_, cell_));
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    Workbook* book_;
    size_t cell_;
};

class NamesObject : public DispatchObject {
public:
    explicit NamesObject(Workbook* book) : DispatchObject("Names"), book_(book) {}

protected:
    HRESULT Answer(DISPID member, WORD, const std::vector<VARIANT*>& arguments, VARIANT* result) override
    {
        std::vector<size_t> named;
        for (size_t i = 0; i < book_->cells.size(); ++i)
            if (!book_->cells[i].name.empty())
                named.push_back(i);
        if (member == 0x76)
            return Count(result, named.size());
        if (member != 0xaa)
            return DISP_E_MEMBERNOTFOUND;
        int number;
        std::string name;
        if (arguments.size() != 3 || !ReadIndex(arguments[0], &number, &name))
            return DISP_E_BADPARAMCOUNT;
        if (number >= 1 && static_cast<size_t>(number) <= named.size())
            return Object(result, new NameObject(book_, named[number - 1]));
        for (size_t cell : named)
            if (!name.empty() && SameText(book_->cells[cell].name, name))
                return Object(result, new NameObject(book_, cell));
        return DISP_E_EXCEPTION;
    }

private:
    Workbook* book_;
};

class WorkbookObject : public DispatchObject {
public:
    explicit WorkbookObject(Workbook* book) : DispatchObject("Workbook"), book_(book) {}

protected:
    HRESULT Answer(DISPID member, WORD, const std::vector<VARIANT*>&, VARIANT* result) override
    {
        switch (member) {
        case 0x121:
            return Text(result, book_->path);
        case 0x5ac:
            return S_OK;
        case 0x1ba:
            return Object(result, new NamesObject(book_));
        case 0x1e5:
            return Object(result, new SheetsObject(book_));
        case 0x133:
            return Object(result, new WorksheetObject(book_));
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    Workbook* book_;
};

class WorkbooksObject : public DispatchObject {
public:
    WorkbooksObject() : DispatchObject("Workbooks") {}

protected:
    HRESULT Answer(DISPID member, WORD, const std::vector<VARIANT*>& arguments, VARIANT* result) override
    {
        int number;
        std::string name;
        switch (member) {
        case 0x76:
            return Count(result, OpenBooks.size());
        case 0xaa:
            if (arguments.empty() || !ReadIndex(arguments[0], &number, &name))
                return DISP_E_TYPEMISMATCH;
            if (number >= 1 && static_cast<size_t>(number) <= OpenBooks.size())
                return Object(result, new WorkbookObject(OpenBooks[number - 1]));
            return DISP_E_EXCEPTION;
        case 0x2aa:
            if (arguments.size() != 13 || arguments[0]->vt != VT_BSTR)
                return DISP_E_BADPARAMCOUNT;
            if (Workbook* book = LoadWorkbook(Narrow(arguments[0]->bstrVal)))
                return Object(result, new WorkbookObject(book));
            return DISP_E_EXCEPTION;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }
};

class ApplicationObject : public DispatchObject {
public:
    ApplicationObject() : DispatchObject("Application") {}

protected:
    HRESULT Answer(DISPID member, WORD flags, const std::vector<VARIANT*>& arguments, VARIANT* result) override
    {
        if (member == 0x23c)
            return Object(result, new WorkbooksObject);
        if (member != 0x22e)
            return DISP_E_MEMBERNOTFOUND;
        if ((flags & DISPATCH_PROPERTYPUT) != 0) {
            visible_ = !arguments.empty() && arguments.back()->vt == VT_BOOL && arguments.back()->boolVal != 0;
            ShowWindow(CellWindow, visible_ ? SW_SHOWNOACTIVATE : SW_HIDE);
            return S_OK;
        }
        if (result != nullptr) {
            result->vt = VT_BOOL;
            result->boolVal = visible_ ? VARIANT_TRUE : VARIANT_FALSE;
        }
        return S_OK;
    }

private:
    bool visible_ = false;
};

class ApplicationFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override
    {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID id, void** out) override
    {
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        auto* application = new ApplicationObject;
        const HRESULT answer = application->QueryInterface(id, out);
        application->Release();
        return answer;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
            InterlockedIncrement(&ServerLocks);
        else if (InterlockedDecrement(&ServerLocks) == 0 && LiveObjects == 0 && Embedded)
            PostThreadMessageA(MainThread, WM_QUIT, 0, 0);
        return S_OK;
    }
};

LRESULT CALLBACK CellWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER) {
        KillTimer(window, 1);
        ShowCells();
        return 0;
    }
    if (message == WM_SIZE && CellList != nullptr)
        MoveWindow(CellList, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    if (message == WM_CLOSE) {
        ShowWindow(window, SW_HIDE);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void MakeCellWindow(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CellWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "KivoTestWorkbooks";
    RegisterClassA(&windowClass);
    CellWindow = CreateWindowExA(0, windowClass.lpszClassName, "Test Workbooks", WS_OVERLAPPEDWINDOW, 970, 40,
                                 300, 220, nullptr, nullptr, instance, nullptr);
    CellList = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0,
                               300, 200, CellWindow, nullptr, instance, nullptr);
    SendMessageA(CellList, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    RECT client;
    GetClientRect(CellWindow, &client);
    MoveWindow(CellList, 0, 0, client.right, client.bottom, FALSE);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    MainThread = GetCurrentThreadId();
    Embedded = commandLine != nullptr && (std::strstr(commandLine, "Embedding") != nullptr);
    if (FAILED(CoInitialize(nullptr)))
        return 1;
    // The window comes after the registration and goes before the revoking: a call to the system's COM
    // service that takes long must never leave a window that does not answer the messages sent to every
    // window (other programs' DDE would wait for it).
    ApplicationFactory factory;
    DWORD classCookie = 0;
    CoRegisterClassObject(kSheetServerClass, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &classCookie);
    MakeCellWindow(instance);
    ApplicationObject* running = nullptr;
    DWORD runningCookie = 0;
    if (!Embedded) {
        running = new ApplicationObject;
        RegisterActiveObject(running, kSheetServerClass, ACTIVEOBJECT_STRONG, &runningCookie);
    }
    // An embedded server that nobody asks for leaves after a minute.
    SetTimer(nullptr, 0, 60 * 1000, nullptr);
    MSG message;
    for (;;) {
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            if (message.message == WM_TIMER && message.hwnd == nullptr) {
                if (Embedded && LiveObjects == 0)
                    break;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (!Embedded || classCookie == 0)
            break;
        // No new client may reach a server on its way out; one that came in just before is served to its end.
        CoRevokeClassObject(classCookie);
        classCookie = 0;
        if (LiveObjects == 0)
            break;
    }
    DestroyWindow(CellWindow);
    CellWindow = CellList = nullptr;
    if (running != nullptr) {
        RevokeActiveObject(runningCookie, nullptr);
        running->Release();
    }
    if (classCookie != 0)
        CoRevokeClassObject(classCookie);
    CoUninitialize();
    return 0;
}
