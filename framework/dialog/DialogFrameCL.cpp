#include "framework/dialog/DialogFrameCL.h"

#include "framework/dialog/Menu.h"
#include "framework/draw/GdiScopes.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/WindowMap.h"

#include <algorithm>

namespace {

bool IsLive(HWND handle)
{
    return handle && IsWindow(handle);
}

HINSTANCE ProgramInstance()
{
    return TheApp ? TheApp->Instance() : GetModuleHandleA(nullptr);
}

// A one-line field that has the focus as its dialog opens has its text selected, so that typing replaces
// the value shown rather than adding to it; a field whose caret or selection the dialog placed keeps it.
void SelectOpeningField(HWND dialog)
{
    HWND focus = GetFocus();
    char name[8] = {};
    if (!focus || !IsChild(dialog, focus) || GetClassNameA(focus, name, sizeof name) == 0 ||
        lstrcmpiA(name, "Edit") != 0 || (GetWindowLongA(focus, GWL_STYLE) & ES_MULTILINE))
        return;
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start == 0 && end == 0)
        SendMessageA(focus, EM_SETSEL, 0, -1);
}

bool IsRadioButton(HWND control)
{
    char name[8] = {};
    const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    return GetClassNameA(control, name, sizeof name) != 0 && lstrcmpiA(name, "Button") == 0 &&
           (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

// Making the dialog focused its first control; when that is a radio button of a group whose checked member
// is another, the focus goes to the checked one, where the person's choice stands.
void FocusCheckedRadio(HWND dialog)
{
    HWND focus = GetFocus();
    if (!focus || GetParent(focus) != dialog || !IsRadioButton(focus) ||
        SendMessageA(focus, BM_GETCHECK, 0, 0) == BST_CHECKED)
        return;
    for (HWND member = GetWindow(focus, GW_HWNDNEXT); member && IsRadioButton(member) &&
                                                      !(GetWindowLongA(member, GWL_STYLE) & WS_GROUP);
         member = GetWindow(member, GW_HWNDNEXT)) {
        if (SendMessageA(member, BM_GETCHECK, 0, 0) == BST_CHECKED) {
            if (IsWindowEnabled(member))
                SetFocus(member);
            return;
        }
    }
}

} // namespace

std::vector<CustomCtrlFactory>& CustomControlFactories()
{
    static std::vector<CustomCtrlFactory> factories;
    return factories;
}

DialogFrameCL::DialogFrameCL(WindowCL* parent, const ResourceId& templateId, DWORD styleOverride, bool deferCreation)
    : WindowCL(parent, new LayoutManager(), 0)
{
    className_ = "DialogFrameCL";
    focusBefore_ = GetFocus();
    background_ = GetSysColor(LOBYTE(LOWORD(GetVersion())) < 4 ? COLOR_WINDOW : COLOR_3DFACE);
    id_ = templateId.NumericId();
    if (engine_.Load(templateId))
        ApplyTemplate(styleOverride);
    if (!deferCreation)
        Create();
}

DialogFrameCL::~DialogFrameCL()
{
    LeaveModalStack();
    if (TheApp)
        TheApp->ForgetModelessDialog(handle_);
    menu_.reset();
}

void DialogFrameCL::ApplyTemplate(DWORD styleOverride)
{
    style_ = engine_.Style(styleOverride);
    title_ = engine_.Template().title;
    HWND parentWindow = parent_ ? parent_->Handle() : nullptr;
    if (parent_)
        engine_.MakeFont(parentWindow);
    POINT origin;
    SIZE size;
    engine_.Box(parentWindow, origin, size);
    if (IsLive(parentWindow)) {
        RECT parentRect;
        GetWindowRect(parentWindow, &parentRect);
        origin.x += parentRect.left;
        origin.y += parentRect.top;
    }
    layout_->SetPosition(origin.x, origin.y);
    layout_->SetSize(size.cx, size.cy);
}

void DialogFrameCL::SetMenuId(const ResourceId& id)
{
    engine_.SetMenuId(id);
}

std::unique_ptr<WNDCLASSA> DialogFrameCL::ClassRecord()
{
    std::unique_ptr<WNDCLASSA> record = ClassRecordTemplate();
    record->style = 0;
    record->hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_WINDOW + 1));
    record->lpszClassName = "DialogFrameCL";
    return record;
}

void DialogFrameCL::Create()
{
    int width = layout_->Width();
    int height = layout_->Height();
    if (width == LayoutUnset || height == LayoutUnset || !engine_.Found()) {
        width = 200;
        height = 150;
    }
    const bool hasMenu = engine_.HasMenu();
    RegisterClassOf(ClassRecord());

    DWORD extendedStyle = (style_ & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0;
    if (style_ & DS_CONTEXTHELP) {
        style_ &= ~DS_CONTEXTHELP;
        extendedStyle |= WS_EX_CONTEXTHELP;
    }
    // The frame around the template's client size, as this system draws it.
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, style_, hasMenu, extendedStyle);
    width = frame.right - frame.left;
    height = frame.bottom - frame.top;
    const int x = layout_->X() == LayoutUnset ? CW_USEDEFAULT : layout_->X();
    const int y = layout_->Y() == LayoutUnset ? CW_USEDEFAULT : layout_->Y();
    HWND handle = CreateWindowExA(extendedStyle, className_.c_str(), nullptr, style_, x, y, width, height,
                                  parent_ ? parent_->Handle() : nullptr, nullptr, ProgramInstance(), this);
    // The object is the creation parameter, bound to its handle from WM_NCCREATE on.
    handle_ = handle;
    if (!handle)
        return;
    if (TheApp && TheApp->Map())
        TheApp->Map()->Insert(handle, this);
    SetWindowTextA(handle, title_.c_str());
    if (hasMenu) {
        Menu* bar = Menu::MenuBar(this, *engine_.MenuId());
        if (bar != menu_.get())
            menu_.reset(bar);
    }
    if ((style_ & WS_SYSMENU) && (style_ & WS_OVERLAPPEDWINDOW) != WS_OVERLAPPEDWINDOW && parent_ && parent_ != this)
        TrimSystemMenu();
    engine_.CreateControls(this, parent_ ? parent_->Handle() : nullptr,
                           [this](const char* className, const char* text, unsigned id, POINT origin, SIZE size,
                                  DWORD style) { OnUnknownClass(className, text, id, origin, size, style); });
    if (WindowCL* first = DialogTemplateEngine::FirstTabStop(*this))
        SetFocus(first->Handle());
    engine_.SendFont(*this);
    RECT rect;
    GetWindowRect(handle, &rect);
    int left = rect.left;
    int top = rect.top;
    if (parent_ && !(style_ & WS_POPUP) && IsLive(parent_->Handle())) {
        RECT parentRect;
        GetWindowRect(parent_->Handle(), &parentRect);
        left -= parentRect.left;
        top -= parentRect.top;
    }
    layout_->SetPosition(left, top);
    layout_->SetSize(rect.right - rect.left, rect.bottom - rect.top);
}

void DialogFrameCL::TrimSystemMenu()
{
    HMENU system = GetSystemMenu(handle_, FALSE);
    if (!system)
        return;
    int kept = 0;
    auto keepOrRemove = [&](UINT command, bool keep) {
        if (keep)
            ++kept;
        else
            DeleteMenu(system, command, MF_BYCOMMAND);
    };
    keepOrRemove(SC_SIZE, style_ & WS_THICKFRAME);
    keepOrRemove(SC_MINIMIZE, style_ & WS_MINIMIZEBOX);
    keepOrRemove(SC_MAXIMIZE, style_ & WS_MAXIMIZEBOX);
    keepOrRemove(SC_RESTORE, style_ & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    DeleteMenu(system, SC_TASKLIST, MF_BYCOMMAND);
    // The separators that framed the removed commands.
    DeleteMenu(system, static_cast<UINT>(kept + 1), MF_BYPOSITION);
    DeleteMenu(system, static_cast<UINT>(kept + 2), MF_BYPOSITION);
}

void DialogFrameCL::OnUnknownClass(const char*, const char*, unsigned, POINT, SIZE, DWORD) {}

void DialogFrameCL::OnInit() {}

void DialogFrameCL::Show(int showCommand)
{
    if (state_ & StateShown) {
        WindowCL::Show(showCommand);
        return;
    }
    OnInit();
    FocusCheckedRadio(handle_);
    SelectOpeningField(handle_);
    SetStateBits(StateShown);
    // A dialog inside another (a page) leaves the keyboard to the dialog holding it.
    if (!(GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD) && TheApp)
        TheApp->SetModelessDialog(handle_);
    SetWindowTextA(handle_, title_.c_str());
    ::ShowWindow(handle_, showCommand);
    UpdateWindow(handle_);
    if (showCommand)
        style_ |= WS_VISIBLE;
}
