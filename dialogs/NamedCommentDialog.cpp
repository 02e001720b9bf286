#include "dialogs/NamedCommentDialog.h"

#include "dialogs/ProgramDialog.h"

void NamedCommentDialog::Run()
{
    if (HasPresenter()) {
        Present();
        return;
    }
    ProgramDialog dialog(TemplateId);
    if (!caption.IsEmpty())
        dialog.SetText(caption);
    SetDlgItemTextA(dialog.Handle(), TextId, text.Text());
    dialog.Run();
}

void RunNamedCommentDialog(const zString& text, const char* caption)
{
    NamedCommentDialog(text, caption).Run();
}
