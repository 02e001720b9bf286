#include "framework/dialog/DialogTemplateEngine.h"

#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/ComboBoxCtrl.h"
#include "framework/dialog/DialogFrameCL.h"
#include "framework/dialog/DialogUnits.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/GenericCtrl.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/dialog/ScrollBarCtrl.h"
#include "framework/dialog/StaticCtrl.h"
#include "framework/draw/GdiScopes.h"
#include "framework/draw/zFont.h"
#include "framework/window/ResourceLibrary.h"
#include "framework/window/ResourceModule.h"
#include "framework/window/WindowCL.h"

#include <algorithm>
#include <string>

namespace {

bool IsLive(HWND handle)
{
    return handle && IsWindow(handle);
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

bool IsPushButton(LRESULT dialogCode)
{
    return (dialogCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// The push button of the dialog that holds the focus, or null: while it has the focus it takes the default
// button's part, so Enter presses it, as in the system's dialogs.
HWND FocusedPushButton(HWND dialog)
{
    HWND focus = GetFocus();
    if (!focus || GetParent(focus) != dialog)
        return nullptr;
    return IsPushButton(SendMessageA(focus, WM_GETDLGCODE, 0, 0)) ? focus : nullptr;
}

bool IsEnabledTabStop(const WindowCL* child)
{
    return IsLive(child->Handle()) && IsWindowEnabled(child->Handle()) &&
           (GetWindowLongA(child->Handle(), GWL_STYLE) & WS_TABSTOP);
}

// Shows a control made for a template item; an item without WS_VISIBLE stays hidden until the program shows it.
void ShowAsItem(WindowCL* control, const DialogItemTemplate& item)
{
    if (item.style & WS_VISIBLE) {
        control->Show(1);
        return;
    }
    control->Show(SW_HIDE);
    control->SetStyle(control->Style() & ~WS_VISIBLE);
}

std::string ClassNameOf(HWND window)
{
    char name[21] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

} // namespace

DialogTemplateEngine::DialogTemplateEngine() = default;
DialogTemplateEngine::~DialogTemplateEngine() = default;

bool DialogTemplateEngine::Load(const ResourceId& id)
{
    found_ = false;
    ResourceModule module(id);
    if (!module.IsValid())
        return false;
    HRSRC resource = FindResourceA(module.Handle(), id.NameOrId(), RT_DIALOG);
    if (!resource)
        return false;
    HGLOBAL loaded = LoadResource(module.Handle(), resource);
    const auto* bytes = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    found_ = bytes && ParseDialogTemplate(bytes, SizeofResource(module.Handle(), resource), template_);
    if (loaded)
        FreeResource(loaded);
    return found_;
}

DWORD DialogTemplateEngine::Style(DWORD styleOverride) const
{
    const DWORD style = template_.style & ~WS_VISIBLE;
    return styleOverride ? (styleOverride & 0xFFFF0000u) | (style & 0xFFFF) : style;
}

void DialogTemplateEngine::MakeFont(HWND parentWindow)
{
    if (!template_.hasFont)
        return;
    ScopedWindowDC screen(parentWindow);
    const int height = -MulDiv(template_.pointSize, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
    font_ = std::make_unique<zFont>(zFontSpec(template_.faceName.c_str(), 0, height, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
                                    nullptr);
}

HFONT DialogTemplateEngine::Font() const
{
    return font_ ? font_->Handle() : nullptr;
}

void DialogTemplateEngine::Box(HWND parentWindow, POINT& origin, SIZE& size) const
{
    MeasuringDC dc(parentWindow, Font());
    const zDialogUnit units(font_ ? dc.Get() : nullptr);
    origin = POINT{units.ToPixelsX(template_.x), units.ToPixelsY(template_.y)};
    size = SIZE{units.ToPixelsX(template_.cx), units.ToPixelsY(template_.cy)};
}

void DialogTemplateEngine::SetMenuId(const ResourceId& id)
{
    menuId_ = std::make_unique<ResourceId>(id);
}

bool DialogTemplateEngine::HasMenu() const
{
    return menuId_ && (menuId_->NumericId() || menuId_->Name());
}

void DialogTemplateEngine::CreateControls(WindowCL* dialog, HWND measuringWindow,
                                          const UnknownClassHandler& unknownClass)
{
    if (template_.items.empty())
        return;
    MeasuringDC dc(measuringWindow, Font());
    const zDialogUnit units(font_ ? dc.Get() : nullptr);
    for (const DialogItemTemplate& item : template_.items) {
        const POINT origin{units.ToPixelsX(item.x), units.ToPixelsY(item.y)};
        const SIZE size{units.ToPixelsX(item.cx), units.ToPixelsY(item.cy)};
        CreateControl(dialog, item, origin, size, unknownClass);
    }
}

void DialogTemplateEngine::CreateControl(WindowCL* dialog, const DialogItemTemplate& item, POINT origin, SIZE size,
                                         const UnknownClassHandler& unknownClass)
{
    const RECT rect{origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
    const char* text = item.title.c_str();
    unsigned atom = item.classAtom;
    if (!atom) {
        if (item.className == "scrollbar") {
            atom = 0x84;
        } else if (ResourceLibrary::Find(item.className.c_str())) {
            auto* control = new GenericCtrl(dialog, rect, item.style, text, item.id, item.className.c_str(), nullptr);
            ShowAsItem(control, item);
            return;
        }
    }
    CtrlWindowCL* control = nullptr;
    switch (atom) {
    case 0x80: {
        auto* button = new ButtonCtrl(dialog, rect, item.style, text, item.id);
        if (LOWORD(item.style) == BS_DEFPUSHBUTTON && defaultButtonId_ == NoDefaultButton)
            defaultButtonId_ = item.id;
        if (item.style & 7)
            button->SetStyle(button->Style() & ~WS_CLIPSIBLINGS);
        button->Create();
        control = button;
        break;
    }
    case 0x81:
        control = new EditCtrl(dialog, rect, item.style, text, item.id);
        break;
    case 0x82:
        control = new StaticCtrl(dialog, rect, item.style, text, item.id);
        break;
    case 0x83:
        control = new ListBoxCtrl(dialog, rect, item.style, text, item.id);
        control->Create();
        break;
    case 0x84:
        control = new ScrollBarCtrl(dialog, rect, item.style, text, item.id);
        control->Create();
        break;
    case 0x85:
        control = new ComboBoxCtrl(dialog, rect, item.style, text, item.id);
        control->Create();
        break;
    default:
        break;
    }
    if (control) {
        ShowAsItem(control, item);
        return;
    }
    for (const CustomCtrlFactory& factory : CustomControlFactories()) {
        if (item.className == factory.className) {
            if (WindowCL* custom = factory.create(dialog, rect, item.style, text, item.id))
                ShowAsItem(custom, item);
            return;
        }
    }
    unknownClass(item.className.c_str(), " ", item.id, origin, size, item.style);
}

void DialogTemplateEngine::SendFont(const WindowCL& dialog) const
{
    if (HFONT font = Font()) {
        for (WindowCL* child : dialog.Children())
            SendMessageA(child->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
}

void DialogTemplateEngine::KeepFocus(HWND dialog)
{
    HWND focus = GetFocus();
    savedFocus_ = (focus && IsChild(dialog, focus)) ? focus : nullptr;
}

bool DialogTemplateEngine::GiveFocusBack()
{
    if (!savedFocus_)
        return false;
    SetFocus(savedFocus_);
    savedFocus_ = nullptr;
    return true;
}

void DialogTemplateEngine::FollowFocus(const WindowCL& dialog)
{
    HWND focus = GetFocus();
    if (followingFocus_ || !focus || !IsChild(dialog.Handle(), focus))
        return;
    HWND chosen = FocusedPushButton(dialog.Handle());
    if (!chosen && defaultButtonId_ != NoDefaultButton)
        chosen = GetDlgItem(dialog.Handle(), static_cast<int>(defaultButtonId_));
    followingFocus_ = true;
    for (WindowCL* child : dialog.Children()) {
        HWND button = child->Handle();
        const LRESULT code = IsLive(button) ? SendMessageA(button, WM_GETDLGCODE, 0, 0) : 0;
        const bool framed = (code & DLGC_DEFPUSHBUTTON) != 0;
        if (!IsPushButton(code) || framed == (button == chosen))
            continue;
        const DWORD style = static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE)) & ~static_cast<DWORD>(BS_TYPEMASK);
        SendMessageA(button, BM_SETSTYLE, style | (button == chosen ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), TRUE);
    }
    followingFocus_ = false;
}

WindowCL* DialogTemplateEngine::FirstTabStop(const WindowCL& dialog)
{
    for (WindowCL* child : dialog.Children()) {
        if (IsEnabledTabStop(child))
            return child;
    }
    return dialog.Children().empty() ? nullptr : dialog.Children().front();
}

void DialogTemplateEngine::CloseDropDown(HWND dialog)
{
    HWND focus = GetFocus();
    if (!focus || !IsChild(dialog, focus))
        return;
    if (GetParent(focus) == dialog && ClassNameOf(focus) == "ComboBox") {
        SendMessageA(focus, CB_SHOWDROPDOWN, FALSE, 0);
        return;
    }
    HWND parent = GetParent(focus);
    if (ClassNameOf(focus) == "Edit" && parent && GetParent(parent) == dialog && ClassNameOf(parent) == "ComboBox")
        SendMessageA(parent, CB_SHOWDROPDOWN, FALSE, 0);
}

namespace {

// The focus moved by the keyboard (Tab, Alt+letter): an edit's text is selected whole, as the system's own
// dialogs do, so what is typed next replaces it.
void FocusControl(HWND control)
{
    if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageA(control, EM_SETSEL, 0, -1);
    SetFocus(control);
}

} // namespace

long DialogTemplateEngine::NextControl(WindowCL& dialog, WindowEvent& event)
{
    if (event.lParam) {
        FocusControl(reinterpret_cast<HWND>(event.wParam));
        return 1;
    }
    const std::list<WindowCL*>& children = dialog.Children();
    // The child of the dialog that holds the focus (the edit inside a combo box counts as the box).
    HWND focused = GetFocus();
    while (focused && GetParent(focused) != dialog.Handle())
        focused = GetParent(focused);
    // Inside a child that holds controls of its own (a page), the system's walk goes through them: a label's
    // letter reaches the field after it there.
    if (focused && focused != GetFocus() && (GetWindowLongA(focused, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)) {
        if (HWND next = GetNextDlgTabItem(dialog.Handle(), GetFocus(), event.wParam != 0))
            FocusControl(next);
        return 1;
    }
    if (event.wParam) {
        WindowCL* previous = nullptr;
        for (WindowCL* child : children) {
            if (child->Handle() == focused)
                break;
            if (IsEnabledTabStop(child))
                previous = child;
        }
        if (!previous && !children.empty())
            previous = children.front();
        if (previous)
            FocusControl(previous->Handle());
        return 1;
    }
    auto current = std::find_if(children.begin(), children.end(),
                                [&](const WindowCL* child) { return focused && child->Handle() == focused; });
    if (current == children.end())
        return 1;
    auto next = std::find_if(std::next(current), children.end(), IsEnabledTabStop);
    if (next == children.end())
        next = std::find_if(children.begin(), children.end(), IsEnabledTabStop);
    if (next != children.end())
        FocusControl((*next)->Handle());
    return 1;
}

bool DialogTemplateEngine::HandleKeyboardRow(WindowCL& dialog, WindowEvent& event, long& result,
                                             bool& answeredAtOnce, LRESULT& answer)
{
    switch (event.message) {
    case WM_NEXTDLGCTL:
        result = NextControl(dialog, event);
        return true;
    case DM_GETDEFID:
        answeredAtOnce = true;
        if (HWND button = FocusedPushButton(dialog.Handle()))
            answer = MAKELRESULT(GetDlgCtrlID(button), DC_HASDEFID);
        else
            answer = defaultButtonId_ != NoDefaultButton ? MAKELRESULT(defaultButtonId_, DC_HASDEFID) : 0;
        result = 0;
        return true;
    case DM_SETDEFID:
        defaultButtonId_ = static_cast<unsigned>(event.wParam);
        FollowFocus(dialog);
        result = 1;
        return true;
    case WM_SETFONT:
        givenFont_ = reinterpret_cast<HFONT>(event.wParam);
        result = 1;
        return true;
    case WM_GETFONT:
        answeredAtOnce = true;
        answer = reinterpret_cast<LRESULT>(givenFont_ ? givenFont_ : Font());
        result = 0;
        return true;
    case EnterFromEdit:
        if (event.wParam == 0x1000 && event.lParam == 0x1000) {
            WindowCL* button = defaultButtonId_ != NoDefaultButton ? dialog.FindChild(defaultButtonId_) : nullptr;
            const unsigned id = defaultButtonId_ != NoDefaultButton ? defaultButtonId_ : IDOK;
            SendMessageA(dialog.Handle(), WM_COMMAND, id, reinterpret_cast<LPARAM>(button ? button->Handle() : nullptr));
        }
        result = 1;
        return true;
    default:
        return false;
    }
}
