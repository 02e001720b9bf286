#pragma once
// The system "button" control: push buttons, default push buttons, check boxes and radio buttons.

#include "framework/dialog/CtrlWindowCL.h"

class ButtonCtrl : public CtrlWindowCL {
public:
    // Create form: a visible child; the window is made by Create.
    ButtonCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id);
    static ButtonCtrl* FromTemplate(WindowCL* parent, unsigned id);

    // A BN_CLICKED handler.
    template <class T>
    void OnClick(T* target, long (T::*method)(WindowEvent*))
    {
        OnNotify(target, method, BN_CLICKED);
    }
    void SetCheck(int state) { Send(BM_SETCHECK, static_cast<WPARAM>(state)); }
    void SetCheckState(int state) { SetCheck(state); }

protected:
    ButtonCtrl(WindowCL* parent, unsigned id, BindTag tag);
    // A change of style is told to the parent: after moving the focus, the system's dialog code may take the
    // default frame off the button that keeps it, and a dialog of the framework puts it back.
    long HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer) override;
    // Takes the parent's background as its own colours (systems of version 4 and later draw controls on it).
    void TakeParentColours();
};

// A button of the caller's own button style, made at once.
class StyledButtonCtrl : public ButtonCtrl {
public:
    StyledButtonCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id);
};

class DefPushButtonCtrl : public ButtonCtrl {
public:
    // Adds BS_DEFPUSHBUTTON and makes the window at once.
    DefPushButtonCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id);
    static DefPushButtonCtrl* FromTemplate(WindowCL* parent, unsigned id);

private:
    DefPushButtonCtrl(WindowCL* parent, unsigned id, BindTag tag) : ButtonCtrl(parent, id, tag) {}
};

// A check box; bound to an int of the caller that holds its check state.
class CheckBoxCtrl : public ButtonCtrl {
public:
    // Adds BS_AUTOCHECKBOX and makes the window at once; no buffer.
    CheckBoxCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id);
    // Binds the template's check box to the state and shows it at once.
    static CheckBoxCtrl* FromTemplate(WindowCL* parent, unsigned id, int* state);

    int GetCheck() const { return static_cast<int>(Send(BM_GETCHECK)); }
    long Store() override; // 20
    long Load() override;  // 22

private:
    CheckBoxCtrl(WindowCL* parent, unsigned id, int* state);
};

// A radio button of a template.
class RadioButtonCtrl : public ButtonCtrl {
public:
    static RadioButtonCtrl* FromTemplate(WindowCL* parent, unsigned id);

protected:
    RadioButtonCtrl(WindowCL* parent, unsigned id, BindTag tag) : ButtonCtrl(parent, id, tag) {}
};
