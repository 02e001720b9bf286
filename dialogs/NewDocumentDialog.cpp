#include "dialogs/NewDocumentDialog.h"

#include "widgets/CommandLine.h"
#include "widgets/ProgramDialog.h"
#include "foundation/PresenterSlot.h"

#include "CommandIds.h"

namespace {

bool ShowOnScreen(NewDocumentDialog& request)
{
    ProgramDialog dialog(DialogRes::NewDocument);
    WindowCL* list = dialog.FindChild(Ctl::NewDocument::FileTypeList);
    if (list == nullptr)
        return false;
    for (const char* kind : {"Tree", "Influence Diagram"})
        SendMessageA(list->Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kind));
    SendMessageA(list->Handle(), LB_SETCURSEL, static_cast<WPARAM>(request.Choice), 0);
    bool chosen = false;
    const auto choose = [&] {
        const LRESULT selected = SendMessageA(list->Handle(), LB_GETCURSEL, 0, 0);
        request.Choice = selected == NewDocumentDialog::InfluenceDiagram ? NewDocumentDialog::InfluenceDiagram
                                                                         : NewDocumentDialog::Tree;
        chosen = true;
        dialog.EndModal();
    };
    dialog.OnButton(IDOK, choose);
    dialog.OnNotification(Ctl::NewDocument::FileTypeList, LBN_DBLCLK, choose);
    dialog.Run();
    return chosen;
}

using Slot = PresenterSlot<NewDocumentDialog, NewDocumentDialog::Presenter>;

}  // namespace

NewDocumentDialog::NewDocumentDialog() : Choice(CommandLineFlag(InfluenceFirstBit) ? InfluenceDiagram : Tree) {}

NewDocumentDialog::Presenter NewDocumentDialog::SetPresenter(Presenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

bool NewDocumentDialog::Run()
{
    const Presenter& presenter = Slot::Current();
    return presenter ? presenter(*this) : ShowOnScreen(*this);
}
