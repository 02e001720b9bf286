#include "framework/dialog/ListBoxCtrl.h"

#include <string>

ListBoxCtrl::ListBoxCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id)
    : CtrlWindowCL(parent, rect, style, text, id)
{
    className_ = "listbox";
    kind_ = KindListBox;
    style_ |= WS_CHILD | WS_VISIBLE;
}

ListBoxCtrl* ListBoxCtrl::FromTemplate(WindowCL* parent, unsigned id)
{
    return new ListBoxCtrl(parent, id, BindTag{});
}

int ListBoxCtrl::GetSelText(zString& out, int index) const
{
    if (index == -1)
        index = GetCurSel();
    if (index < 0)
        return 0;
    GetString(out, index);
    return 1;
}

void ListBoxCtrl::GetString(zString& out, int index) const
{
    const int length = static_cast<int>(Send(LB_GETTEXTLEN, static_cast<WPARAM>(index)));
    if (length < 1) {
        out = "";
        return;
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    out = text.c_str();
}

int ListBoxCtrl::AddStrings(const char* const* texts) { return AddTexts(texts, LB_ADDSTRING); }

long ListBoxCtrl::Validate()
{
    if (!buffer_ || GetCurSel() >= 0)
        return 1;
    return (flags_ & MayBeEmpty) ? 1 : 0;
}

long ListBoxCtrl::Store()
{
    if (bufferKind_ == IndexBuffer)
        *static_cast<int*>(buffer_) = GetCurSel();
    else if (bufferKind_ == TextBuffer)
        GetSelText(*static_cast<zString*>(buffer_));
    return 1;
}

long ListBoxCtrl::Load()
{
    if (!buffer_)
        return 0;
    if (bufferKind_ == IndexBuffer)
        SetCurSel(*static_cast<int*>(buffer_));
    else if (bufferKind_ == TextBuffer)
        SetSelText(*static_cast<zString*>(buffer_));
    return 1;
}

ListIndexCtrl* ListIndexCtrl::FromTemplate(WindowCL* parent, unsigned id)
{
    return new ListIndexCtrl(parent, id);
}

ListIndexCtrl* ListIndexCtrl::FromTemplateIndex(WindowCL* parent, unsigned id, int* index, unsigned flags)
{
    auto* list = new ListIndexCtrl(parent, id);
    list->SetIndexBuffer(index, flags);
    return list;
}

NotifyListCtrl::NotifyListCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id)
    : ListBoxCtrl(parent, rect, (style ? style : WS_BORDER) | LBS_NOTIFY | WS_VSCROLL, text, id)
{
    Create();
}

NotifyListCtrl* NotifyListCtrl::FromTemplate(WindowCL* parent, unsigned id)
{
    return new NotifyListCtrl(parent, id);
}

NotifyListCtrl* NotifyListCtrl::FromTemplateText(WindowCL* parent, unsigned id, zString* text, unsigned flags)
{
    auto* list = new NotifyListCtrl(parent, id);
    list->SetTextBuffer(text, flags);
    return list;
}

NotifyListCtrl* NotifyListCtrl::FromTemplateIndex(WindowCL* parent, unsigned id, int* index, unsigned flags)
{
    auto* list = new NotifyListCtrl(parent, id);
    list->SetIndexBuffer(index, flags);
    return list;
}
