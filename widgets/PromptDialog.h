#pragma once
// Asks for one line (template 2000) or several lines (template 2003) of text, with an optional check that
// keeps the dialog open until the text is accepted.

#include "widgets/AppDialog.h"
#include "foundation/zString.h"

#include <cstdint>

class EditCtrl;

// Answers above 0 accept the text; 0 or below keep the dialog open.
using PromptValidator = int (*)(const zString& text, int32_t argument);

class PromptDialog : public AppDialog {
public:
    static constexpr unsigned HelpButtonId = 111;

    PromptDialog(const zString& text, PromptValidator validator, int32_t argument, bool severalLines);

    // The OK check: the validator's answer on the field's text.
    int OkPreCheck() override;

    zString Text;

private:
    PromptValidator validator_;
    int32_t validatorArgument_;
    EditCtrl* field_;
};

// Result 1 after OK (text takes the field's content), 2 after Cancel (text unchanged). A null caption
// means "KIVO"; a help context of 0 or below leaves the dialog without a usable Help button. The field may be
// left empty only when there is no validator.
int PromptForText(zString& text, PromptValidator validator, int32_t argument, const char* caption,
                  const char* prompt, int help, bool severalLines);
