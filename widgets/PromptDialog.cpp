#include "widgets/PromptDialog.h"

#include "widgets/CursorStack.h"
#include "widgets/HelpContext.h"
#include "framework/dialog/CtrlWindowCL.h"
#include "framework/dialog/EditCtrl.h"

#include "CommandIds.h"

namespace Ids = Ctl::PromptOneLine;

PromptDialog::PromptDialog(const zString& text, PromptValidator validator, int32_t argument, bool severalLines)
    : AppDialog(severalLines ? DialogRes::PromptLines : DialogRes::PromptOneLine), Text(text), validator_(validator),
      validatorArgument_(argument)
{
    const unsigned flags = validator ? 0 : CtrlWindowCL::MayBeEmpty;
    if (severalLines)
        field_ = TextEditCtrl::FromTemplate(this, Ids::NameField, &Text, flags);
    else
        field_ = BorderedEditCtrl::FromTemplate(this, Ids::NameField, &Text, flags);
    field_->SetSelection(0, 10000);
}

int PromptDialog::OkPreCheck()
{
    if (!validator_)
        return 0;
    return validator_(field_->GetText(), validatorArgument_) > 0 ? 0 : 1;
}

int PromptForText(zString& text, PromptValidator validator, int32_t argument, const char* caption,
                  const char* prompt, int help, bool severalLines)
{
    PromptDialog dialog(text, validator, argument, severalLines);
    HelpContextScope helpScope(help);
    WaitCursorScope arrow(CursorStack::kArrow);
    dialog.SetItemText(Ids::PromptText, prompt ? prompt : "");
    dialog.SetText(caption ? caption : "KIVO");
    if (help <= 0) {
        if (WindowCL* button = dialog.FindChild(PromptDialog::HelpButtonId)) {
            EnableWindow(button->Handle(), FALSE);
            MoveWindow(button->Handle(), 0, 0, 0, 0, TRUE);
        }
    }
    dialog.RunModal();
    if (!dialog.Result())
        return 2;
    text = dialog.Text;
    return 1;
}
