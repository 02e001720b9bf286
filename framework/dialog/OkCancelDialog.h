#pragma once
// A dialog whose OK button (id 1) validates every enabled control, puts the focus on the first that
// refuses and otherwise stores every bound variable; its Cancel button (id 2) stores nothing. Without a Cancel
// button, Escape closes the dialog as its close box does.

#include "framework/dialog/DialogFrameCL.h"

class OkCancelDialog : public DialogFrameCL {
public:
    // Builds the dialog at once and handles its OK and Cancel buttons, when the template has them.
    OkCancelDialog(WindowCL* parent, const ResourceId& templateId, DWORD styleOverride = 0);

    // 1 when every enabled control validated and stored; 0 when one refused (nothing is stored then).
    int ValidateAndStore();
    // 1 after a successful OK, 0 until then and after Cancel.
    int Result() const { return result_; }

    // Asked first by OK: 0 validate and store; 1 stay open; 2 skip validating and storing; 3 end at once
    // keeping the result word.
    virtual int OkPreCheck() { return 0; }
    // The result word after the values were stored; 0 keeps the dialog open.
    virtual int OkResult() { return 1; }

protected:
    long OnOk(WindowEvent* event);
    long OnCancel(WindowEvent* event);
    long OnCancelKey(WindowEvent* event);

    int result_ = 0;
};
