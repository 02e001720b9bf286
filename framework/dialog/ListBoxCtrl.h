#pragma once
// The system "listbox" control, bound to the caller's int (index of the selected entry) or zString (its
// text). Bind forms with a buffer do not load at once: the owner fills the list, then calls Load.

#include "framework/dialog/CtrlWindowCL.h"

class ListBoxCtrl : public CtrlWindowCL {
public:
    enum BufferKind { NoBuffer = 0, IndexBuffer = 1, TextBuffer = 2 };

    // Create form: a visible child; the window is made by Create.
    ListBoxCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id);
    static ListBoxCtrl* FromTemplate(WindowCL* parent, unsigned id);

    long Store() override;    // 20
    long Validate() override; // 21: an entry selected, unless the list may be left empty
    long Load() override;     // 22

    void SetIndexBuffer(int* index, unsigned flags) { BindBuffer(index, IndexBuffer, flags); }
    void SetTextBuffer(zString* text, unsigned flags) { BindBuffer(text, TextBuffer, flags); }

    int GetCurSel() const { return static_cast<int>(Send(LB_GETCURSEL)); }
    void SetCurSel(int index) { Send(LB_SETCURSEL, static_cast<WPARAM>(index)); }
    // Selects the first entry that begins with the text.
    void SetSelText(const zString& text) { Send(LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.Text())); }
    // The text of the entry (-1: the selected one); 0 when nothing is selected.
    int GetSelText(zString& out, int index = -1) const;
    // The text of the entry; empty past the end.
    void GetString(zString& out, int index) const;
    void AddString(const zString& text) { AddChars(text.Text()); }
    void AddChars(const char* text) { Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }
    void InsertString(const zString& text, int index)
    {
        Send(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.Text()));
    }
    void DeleteString(int index) { Send(LB_DELETESTRING, static_cast<WPARAM>(index)); }
    void Clear() { Send(LB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(Send(LB_GETCOUNT)); }
    // The tab stops of the entries' texts, in dialog units.
    void SetTabStops(const int* stops, int count)
    {
        Send(LB_SETTABSTOPS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(stops));
    }
    // Adds every text of a list ending with a null entry, drawing once at the end.
    int AddStrings(const char* const* texts);

    template <class T>
    void OnSelChange(T* target, long (T::*method)(WindowEvent*))
    {
        OnNotify(target, method, LBN_SELCHANGE);
    }
    template <class T>
    void OnDoubleClick(T* target, long (T::*method)(WindowEvent*))
    {
        OnNotify(target, method, LBN_DBLCLK);
    }

protected:
    ListBoxCtrl(WindowCL* parent, unsigned id, BindTag tag) : CtrlWindowCL(parent, id, tag) {}
};

class ListIndexCtrl : public ListBoxCtrl {
public:
    static ListIndexCtrl* FromTemplate(WindowCL* parent, unsigned id);
    static ListIndexCtrl* FromTemplateIndex(WindowCL* parent, unsigned id, int* index, unsigned flags);

private:
    ListIndexCtrl(WindowCL* parent, unsigned id) : ListBoxCtrl(parent, id, BindTag{}) {}
};

// A list that notifies its parent of selection changes and double clicks.
class NotifyListCtrl : public ListBoxCtrl {
public:
    // Adds LBS_NOTIFY and WS_VSCROLL (and WS_BORDER for style 0); made at once.
    NotifyListCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id);
    static NotifyListCtrl* FromTemplate(WindowCL* parent, unsigned id);
    static NotifyListCtrl* FromTemplateText(WindowCL* parent, unsigned id, zString* text, unsigned flags);
    static NotifyListCtrl* FromTemplateIndex(WindowCL* parent, unsigned id, int* index, unsigned flags);

private:
    NotifyListCtrl(WindowCL* parent, unsigned id) : ListBoxCtrl(parent, id, BindTag{}) {}
};
