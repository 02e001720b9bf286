#pragma once
// The system "combobox" control, bound to the caller's int (index of the selected entry) or zString (the
// selected entry's text, or the typed text when the box has an edit part). Its edit and list keep the
// system's colours.

#include "framework/dialog/CtrlWindowCL.h"

class ComboBoxCtrl : public CtrlWindowCL {
public:
    enum BufferKind { NoBuffer = 0, IndexBuffer = 1, TextBuffer = 2 };

    // Create form: a visible bordered child; the window is made by Create.
    ComboBoxCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id);
    static ComboBoxCtrl* FromTemplate(WindowCL* parent, unsigned id);

    long Store() override;    // 20
    long Validate() override; // 21
    long Load() override;     // 22

    void SetIndexBuffer(int* index, unsigned flags) { BindBuffer(index, IndexBuffer, flags); }
    void SetTextBuffer(zString* text, unsigned flags) { BindBuffer(text, TextBuffer, flags); }

    int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
    void SetCurSel(int index) { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
    // Selects the first entry that begins with the text.
    void SetSelText(const zString& text)
    {
        Send(CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.Text()));
    }
    // The text of the selected entry; 0 when nothing is selected.
    int GetSelText(zString& out) const;
    void AddString(const zString& text) { AddChars(text.Text()); }
    void AddChars(const char* text) { Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }
    void DeleteString(int index) { Send(CB_DELETESTRING, static_cast<WPARAM>(index)); }
    int GetCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }
    int AddStrings(const char* const* texts);

    template <class T>
    void OnSelChange(T* target, long (T::*method)(WindowEvent*))
    {
        OnNotify(target, method, CBN_SELCHANGE);
    }

protected:
    ComboBoxCtrl(WindowCL* parent, unsigned id, BindTag tag);
    bool IsDropList() const { return (style_ & 3) == CBS_DROPDOWNLIST; }
};

class ComboIndexCtrl : public ComboBoxCtrl {
public:
    static ComboIndexCtrl* FromTemplate(WindowCL* parent, unsigned id, int* index, unsigned flags);

private:
    ComboIndexCtrl(WindowCL* parent, unsigned id) : ComboBoxCtrl(parent, id, BindTag{}) {}
};

// A sorted drop-down list without an edit part.
class DropListCtrl : public ComboBoxCtrl {
public:
    // Adds CBS_DROPDOWNLIST and CBS_SORT; made at once.
    DropListCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id);
    static DropListCtrl* FromTemplateText(WindowCL* parent, unsigned id, zString* text, unsigned flags);
    static DropListCtrl* FromTemplateIndex(WindowCL* parent, unsigned id, int* index, unsigned flags);

private:
    DropListCtrl(WindowCL* parent, unsigned id) : ComboBoxCtrl(parent, id, BindTag{}) {}
};
