#include "framework/dialog/ComboBoxCtrl.h"

#include <string>

ComboBoxCtrl::ComboBoxCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id)
    : CtrlWindowCL(parent, rect, style, text, id)
{
    className_ = "combobox";
    kind_ = KindComboBox;
    style_ |= WS_CHILD | WS_VISIBLE | WS_BORDER;
    childColour_ = ChildColourNone;
}

ComboBoxCtrl::ComboBoxCtrl(WindowCL* parent, unsigned id, BindTag tag) : CtrlWindowCL(parent, id, tag)
{
    childColour_ = ChildColourNone;
}

ComboBoxCtrl* ComboBoxCtrl::FromTemplate(WindowCL* parent, unsigned id)
{
    return new ComboBoxCtrl(parent, id, BindTag{});
}

int ComboBoxCtrl::GetSelText(zString& out) const
{
    const int index = GetCurSel();
    if (index < 0)
        return 0;
    const int length = static_cast<int>(Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index)));
    if (length < 0)
        return 0;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    out = text.c_str();
    return 1;
}

int ComboBoxCtrl::AddStrings(const char* const* texts) { return AddTexts(texts, CB_ADDSTRING); }

long ComboBoxCtrl::Validate()
{
    if (!buffer_)
        return 1;
    if (!IsDropList() ? Send(WM_GETTEXTLENGTH) > 0 : GetCurSel() >= 0)
        return 1;
    return (flags_ & MayBeEmpty) ? 1 : 0;
}

long ComboBoxCtrl::Store()
{
    if (bufferKind_ == IndexBuffer) {
        *static_cast<int*>(buffer_) = GetCurSel();
    } else if (bufferKind_ == TextBuffer) {
        auto* text = static_cast<zString*>(buffer_);
        if (IsDropList())
            GetSelText(*text);
        else
            *text = GetText();
    }
    return 1;
}

long ComboBoxCtrl::Load()
{
    if (!buffer_)
        return 0;
    if (bufferKind_ == IndexBuffer)
        SetCurSel(*static_cast<int*>(buffer_));
    else if (bufferKind_ == TextBuffer)
        SetSelText(*static_cast<zString*>(buffer_));
    return 1;
}

ComboIndexCtrl* ComboIndexCtrl::FromTemplate(WindowCL* parent, unsigned id, int* index, unsigned flags)
{
    auto* combo = new ComboIndexCtrl(parent, id);
    combo->SetIndexBuffer(index, flags);
    return combo;
}

DropListCtrl::DropListCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id)
    : ComboBoxCtrl(parent, rect, style | CBS_DROPDOWNLIST | CBS_SORT, text, id)
{
    Create();
}

DropListCtrl* DropListCtrl::FromTemplateText(WindowCL* parent, unsigned id, zString* text, unsigned flags)
{
    auto* combo = new DropListCtrl(parent, id);
    combo->SetTextBuffer(text, flags);
    return combo;
}

DropListCtrl* DropListCtrl::FromTemplateIndex(WindowCL* parent, unsigned id, int* index, unsigned flags)
{
    auto* combo = new DropListCtrl(parent, id);
    combo->SetIndexBuffer(index, flags);
    return combo;
}
