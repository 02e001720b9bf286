#include "dialogs/NamedCommentDialog.h"

#include "dialogs/ProgramDialog.h"
#include "framework/dialog/EditCtrl.h"

void NamedCommentDialog::Run()
{
    if (HasPresenter()) {
        Present();
        return;
    }
    ProgramDialog dialog(prompts ? PromptsTemplateId : TemplateId);
    if (!caption.IsEmpty())
        dialog.SetText(caption);
    dialog.SetItemText(TextId, text.Text());
    dialog.Run();
}

void RunNamedCommentDialog(const zString& text, const char* caption, bool prompts)
{
    NamedCommentDialog(text, caption, prompts).Run();
}

int RunCommentDialog(zString& text, const char* caption)
{
    ProgramDialog dialog(3535);
    if (caption != nullptr)
        dialog.SetText(caption);
    zString copy(text);
    EditCtrl::FromTemplate(&dialog, NamedCommentDialog::TextId, &copy, CtrlWindowCL::MayBeEmpty);
    if (dialog.Run() != IDOK)
        return 0;
    text = copy;
    return 1;
}
