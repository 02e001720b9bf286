#include "treewin/NamedCommentDialog.h"

#include "widgets/ProgramDialog.h"
#include "framework/dialog/EditCtrl.h"

#include "CommandIds.h"

void NamedCommentDialog::Run()
{
    if (HasPresenter()) {
        Present();
        return;
    }
    ProgramDialog dialog(prompts ? DialogRes::Comment : DialogRes::Comment3537);
    if (!caption.IsEmpty())
        dialog.SetText(caption);
    dialog.SetItemText(Ctl::Comment3537::CommentText, text.Text());
    dialog.Run();
}

void RunNamedCommentDialog(const zString& text, const char* caption, bool prompts)
{
    NamedCommentDialog(text, caption, prompts).Run();
}

int RunCommentDialog(zString& text, const char* caption)
{
    ProgramDialog dialog(DialogRes::Comment3535);
    if (caption != nullptr)
        dialog.SetText(caption);
    zString copy(text);
    EditCtrl::FromTemplate(&dialog, Ctl::Comment3537::CommentText, &copy, CtrlWindowCL::MayBeEmpty);
    if (dialog.Run() != IDOK)
        return 0;
    text = copy;
    return 1;
}
