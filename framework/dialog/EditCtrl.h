#pragma once
// The system "edit" control, bound to a zString of the caller; the bordered field of dialogs and the
// template-bound text field. Formula error reports select the failing word in it.

#include "framework/dialog/CtrlWindowCL.h"
#include "foundation/TextField.h"

class EditCtrl : public CtrlWindowCL, public TextField {
public:
    struct Selection {
        int low;
        int high;
    };

    // Create form: made at once with the text; WS_DISABLED in the style leaves it disabled.
    EditCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id);
    // The same placed by a layout rule (a fill layout makes the control cover its parent).
    EditCtrl(WindowCL* parent, LayoutManager* layout, DWORD style, const char* text, unsigned id);
    // Bind form; with a buffer the field loads it at once.
    static EditCtrl* FromTemplate(WindowCL* parent, unsigned id, zString* buffer = nullptr, unsigned flags = 0);

    long Store() override;    // 20
    long Validate() override; // 21: some text, unless the field may be left empty
    long Load() override;     // 22

    // The selection with its ends in order.
    Selection GetSelection() const;
    // 0 and -1 select everything.
    void SetSelection(int start, int end) { Send(EM_SETSEL, static_cast<WPARAM>(start), end); }
    void SetLimit(int characters) { Send(EM_LIMITTEXT, static_cast<WPARAM>(characters)); }
    void ReplaceSelection(const char* text) { Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text)); }
    // The text as if the person typed it: the control's modified flag is set, as typing sets it.
    void SetTypedText(const char* text)
    {
        SetText(text);
        Send(EM_SETMODIFY, TRUE);
    }
    void Undo() { Send(EM_UNDO); }
    void Paste() { Send(WM_PASTE); }
    void SetBuffer(zString* buffer) { buffer_ = buffer; }
    zString SelectedText() const;

    zString FieldText() const override { return GetText(); }
    void SelectRange(int start, int end) override { SetSelection(start, end); }
    void TakeFocus() override;
    // Puts the selected text on the clipboard.
    void Copy();
    // Takes the selected text out and puts it on the clipboard.
    void Cut();

protected:
    EditCtrl(WindowCL* parent, unsigned id, zString* buffer, unsigned flags);

private:
    // The create forms' common part: the window is made with the text.
    void CreateWithText(const char* text);
};

// The bind form of a plain template field.
class TextEditCtrl : public EditCtrl {
public:
    static TextEditCtrl* FromTemplate(WindowCL* parent, unsigned id, zString* buffer = nullptr, unsigned flags = 0);

private:
    TextEditCtrl(WindowCL* parent, unsigned id, zString* buffer, unsigned flags)
        : EditCtrl(parent, id, buffer, flags)
    {
    }
};

// The usual dialog field: the create form adds WS_VISIBLE and WS_BORDER.
class BorderedEditCtrl : public EditCtrl {
public:
    BorderedEditCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id);
    static BorderedEditCtrl* FromTemplate(WindowCL* parent, unsigned id, zString* buffer = nullptr,
                                          unsigned flags = 0);

protected:
    BorderedEditCtrl(WindowCL* parent, unsigned id, zString* buffer, unsigned flags)
        : EditCtrl(parent, id, buffer, flags)
    {
    }
};
