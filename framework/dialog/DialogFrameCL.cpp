#include "framework/dialog/DialogFrameCL.h"

#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/ComboBoxCtrl.h"
#include "framework/dialog/DialogUnits.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/GenericCtrl.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/dialog/Menu.h"
#include "framework/dialog/ScrollBarCtrl.h"
#include "framework/dialog/StaticCtrl.h"
#include "framework/draw/GdiScopes.h"
#include "framework/draw/zFont.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/ResourceLibrary.h"
#include "framework/window/ResourceModule.h"
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

// The device context of a window for measuring, with the dialog font selected while it lives.
class MeasuringDC {
public:
    MeasuringDC(HWND window, HFONT font) : context_(window), font_(context_.Get(), font) {}
    HDC Get() const { return context_.Get(); }

private:
    ScopedWindowDC context_;
    ScopedSelection font_;
};

bool IsTabStop(const WindowCL* child)
{
    return IsLive(child->Handle()) && IsWindowEnabled(child->Handle()) &&
           (GetWindowLongA(child->Handle(), GWL_STYLE) & WS_TABSTOP);
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
    background_ = GetSysColor(LOBYTE(LOWORD(GetVersion())) < 4 ? COLOR_WINDOW : COLOR_3DFACE);
    id_ = templateId.NumericId();
    templateFound_ = LoadTemplate(templateId);
    if (templateFound_)
        ApplyTemplate(styleOverride);
    if (!deferCreation)
        Create();
}

DialogFrameCL::~DialogFrameCL()
{
    LeaveModalStack();
    if (CurrentModelessDialog == handle_)
        CurrentModelessDialog = nullptr;
    delete menu_;
    menu_ = nullptr;
}

bool DialogFrameCL::LoadTemplate(const ResourceId& id)
{
    ResourceModule module(id);
    if (!module.IsValid())
        return false;
    HRSRC found = FindResourceA(module.Handle(), id.NameOrId(), RT_DIALOG);
    if (!found)
        return false;
    HGLOBAL loaded = LoadResource(module.Handle(), found);
    const auto* bytes = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    const bool parsed = bytes && ParseDialogTemplate(bytes, SizeofResource(module.Handle(), found), template_);
    if (loaded)
        FreeResource(loaded);
    return parsed;
}

void DialogFrameCL::ApplyTemplate(DWORD styleOverride)
{
    style_ = template_.style & ~WS_VISIBLE;
    if (styleOverride)
        style_ = (styleOverride & 0xFFFF0000u) | (style_ & 0xFFFF);
    title_ = template_.title;
    HWND parentWindow = parent_ ? parent_->Handle() : nullptr;
    if (template_.hasFont && parent_) {
        ScopedWindowDC screen(parentWindow);
        const int height = -MulDiv(template_.pointSize, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
        font_ = std::make_unique<zFont>(
            zFontSpec(template_.faceName.c_str(), 0, height, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), nullptr);
    }
    POINT origin;
    SIZE size;
    {
        MeasuringDC dc(parentWindow, DialogFont());
        const zDialogUnit units(font_ ? dc.Get() : nullptr);
        origin = POINT{units.ToPixelsX(template_.x), units.ToPixelsY(template_.y)};
        size = SIZE{units.ToPixelsX(template_.cx), units.ToPixelsY(template_.cy)};
    }
    if (IsLive(parentWindow)) {
        RECT parentRect;
        GetWindowRect(parentWindow, &parentRect);
        origin.x += parentRect.left;
        origin.y += parentRect.top;
    }
    layout_->SetPosition(origin.x, origin.y);
    layout_->SetSize(size.cx, size.cy);
}

HFONT DialogFrameCL::DialogFont() const
{
    return font_ ? font_->Handle() : nullptr;
}

void DialogFrameCL::SetMenuId(const ResourceId& id)
{
    menuId_ = std::make_unique<ResourceId>(id);
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
    if (width == LayoutUnset || height == LayoutUnset || !templateFound_) {
        width = 200;
        height = 150;
    }
    const bool hasMenu = menuId_ && (menuId_->NumericId() || menuId_->Name());
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
        Menu* bar = Menu::MenuBar(this, *menuId_);
        if (bar != menu_)
            delete menu_;
        menu_ = bar;
    }
    if ((style_ & WS_SYSMENU) && (style_ & WS_OVERLAPPEDWINDOW) != WS_OVERLAPPEDWINDOW && parent_ && parent_ != this)
        TrimSystemMenu();
    CreateControls();
    if (WindowCL* first = FirstTabStop())
        SetFocus(first->Handle());
    if (HFONT font = DialogFont()) {
        for (WindowCL* child : children_)
            SendMessageA(child->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
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

void DialogFrameCL::CreateControls()
{
    if (template_.items.empty())
        return;
    MeasuringDC dc(parent_ ? parent_->Handle() : nullptr, DialogFont());
    const zDialogUnit units(font_ ? dc.Get() : nullptr);
    for (const DialogItemTemplate& item : template_.items) {
        const POINT origin{units.ToPixelsX(item.x), units.ToPixelsY(item.y)};
        const SIZE size{units.ToPixelsX(item.cx), units.ToPixelsY(item.cy)};
        CreateControl(item, origin, size);
    }
}

void DialogFrameCL::CreateControl(const DialogItemTemplate& item, POINT origin, SIZE size)
{
    const RECT rect{origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
    const char* text = item.title.c_str();
    unsigned atom = item.classAtom;
    if (!atom) {
        if (item.className == "scrollbar") {
            atom = 0x84;
        } else if (ResourceLibrary::Find(item.className.c_str())) {
            auto* control = new GenericCtrl(this, rect, item.style, text, item.id, item.className.c_str(), nullptr);
            control->Show(1);
            return;
        }
    }
    CtrlWindowCL* control = nullptr;
    switch (atom) {
    case 0x80: {
        auto* button = new ButtonCtrl(this, rect, item.style, text, item.id);
        if (LOWORD(item.style) == BS_DEFPUSHBUTTON && defaultButtonId_ == NoDefaultButton)
            defaultButtonId_ = item.id;
        if (item.style & 7)
            button->SetStyle(button->Style() & ~WS_CLIPSIBLINGS);
        button->Create();
        control = button;
        break;
    }
    case 0x81:
        control = new EditCtrl(this, rect, item.style, text, item.id);
        break;
    case 0x82:
        control = new StaticCtrl(this, rect, item.style, text, item.id);
        break;
    case 0x83:
        control = new ListBoxCtrl(this, rect, item.style, text, item.id);
        control->Create();
        break;
    case 0x84:
        control = new ScrollBarCtrl(this, rect, item.style, text, item.id);
        control->Create();
        break;
    case 0x85:
        control = new ComboBoxCtrl(this, rect, item.style, text, item.id);
        control->Create();
        break;
    default:
        break;
    }
    if (control) {
        control->Show(1);
        return;
    }
    for (const CustomCtrlFactory& factory : CustomControlFactories()) {
        if (item.className == factory.className) {
            if (WindowCL* custom = factory.create(this, rect, item.style, text, item.id))
                custom->Show(1);
            return;
        }
    }
    OnUnknownClass(item.className.c_str(), " ", item.id, origin, size, item.style);
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
    SetStateBits(StateShown);
    CurrentModelessDialog = handle_;
    SetWindowTextA(handle_, title_.c_str());
    ::ShowWindow(handle_, showCommand);
    UpdateWindow(handle_);
    if (showCommand)
        style_ |= WS_VISIBLE;
}

WindowCL* DialogFrameCL::FirstTabStop() const
{
    for (WindowCL* child : children_) {
        if (IsTabStop(child))
            return child;
    }
    return children_.empty() ? nullptr : children_.front();
}
