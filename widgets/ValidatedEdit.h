#pragma once
// A number field of the program's dialogs that keeps the text the user typed: reopened with the value
// unchanged it shows that text again ("1,000", "5K"), otherwise the formatted number. Bound to a
// FormattedValue, it stores both the value and the typed text there.

#include "foundation/FormattedValue.h"
#include "framework/dialog/FormattedEdit.h"

class ValidatedEdit : public RealEdit {
public:
    // Binds the template's control `id`; without a binding the value goes to `value`. The validator
    // belongs to the field.
    ValidatedEdit(WindowCL* parent, unsigned id, FormattedValue* binding, Validator* validator, int flags,
                  double* value = nullptr);

    // A changed text is parsed into the buffer (0, buffer unchanged, when it is no number) and kept as the
    // typed text; an untouched one keeps the value exactly.
    long Store() override; // 20
    long Load() override;  // 22

private:
    FormattedValue* binding_;
    zString ownText_;
    double ownValue_ = 0.0;
    // What the last load put in the control.
    zString shownText_;
};
