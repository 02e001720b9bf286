#include "framework/dialog/EditCtrl.h"

#include "framework/window/Clipboard.h"

#include <string>

EditCtrl::EditCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id)
    : CtrlWindowCL(parent, rect, style, text, id)
{
    CreateWithText(text);
}

EditCtrl::EditCtrl(WindowCL* parent, LayoutManager* layout, DWORD style, const char* text, unsigned id)
    : CtrlWindowCL(parent, layout, style, text, id)
{
    CreateWithText(text);
}

void EditCtrl::CreateWithText(const char* text)
{
    className_ = "edit";
    kind_ = KindEdit;
    Create();
    SetText(text ? text : "");
    if (style_ & WS_DISABLED) {
        Enable();
        Disable();
    }
    SetCursor(Cursor(32513));
}

EditCtrl::EditCtrl(WindowCL* parent, unsigned id, zString* buffer, unsigned flags)
    : CtrlWindowCL(parent, id, BindTag{})
{
    buffer_ = buffer;
    flags_ = flags;
    if (buffer_)
        Load();
}

EditCtrl* EditCtrl::FromTemplate(WindowCL* parent, unsigned id, zString* buffer, unsigned flags)
{
    return new EditCtrl(parent, id, buffer, flags);
}

long EditCtrl::Store()
{
    if (!buffer_)
        return 0;
    *static_cast<zString*>(buffer_) = GetText();
    return 1;
}

long EditCtrl::Validate()
{
    if (!buffer_ || Send(WM_GETTEXTLENGTH) > 0)
        return 1;
    return (flags_ & MayBeEmpty) ? 1 : 0;
}

long EditCtrl::Load()
{
    if (!buffer_)
        return 0;
    SetText(*static_cast<zString*>(buffer_));
    return 1;
}

EditCtrl::Selection EditCtrl::GetSelection() const
{
    DWORD start = 0;
    DWORD end = 0;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start > end)
        return Selection{static_cast<int>(end), static_cast<int>(start)};
    return Selection{static_cast<int>(start), static_cast<int>(end)};
}

zString EditCtrl::SelectedText() const
{
    const Selection selection = GetSelection();
    const std::string text = GetText().Text();
    const size_t low = std::min(static_cast<size_t>(selection.low), text.size());
    const size_t high = std::min(static_cast<size_t>(selection.high), text.size());
    return zString(text.substr(low, high - low).c_str());
}

void EditCtrl::TakeFocus()
{
    if (IsWindow(handle_))
        SetFocus(handle_);
}

void EditCtrl::Copy()
{
    Clipboard clipboard(this);
    clipboard.Empty();
    clipboard.PutText(SelectedText().Text());
}

void EditCtrl::Cut()
{
    const zString text = SelectedText();
    Send(WM_CUT);
    Clipboard clipboard(this);
    clipboard.Empty();
    clipboard.PutText(text.Text());
}

TextEditCtrl* TextEditCtrl::FromTemplate(WindowCL* parent, unsigned id, zString* buffer, unsigned flags)
{
    return new TextEditCtrl(parent, id, buffer, flags);
}

BorderedEditCtrl::BorderedEditCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id)
    : EditCtrl(parent, rect, style | WS_VISIBLE | WS_BORDER, text, id)
{
}

BorderedEditCtrl* BorderedEditCtrl::FromTemplate(WindowCL* parent, unsigned id, zString* buffer, unsigned flags)
{
    return new BorderedEditCtrl(parent, id, buffer, flags);
}
