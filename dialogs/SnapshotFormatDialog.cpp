#include "dialogs/SnapshotFormatDialog.h"

#include "dialogs/ProgramDialog.h"
#include "framework/dialog/RadioGroup.h"

namespace {

// The extensions in the order of the radio buttons.
const char* const kExtensions[] = {"wmf", "bmp", "trb"};

int ShowOnScreen(SnapshotFormatDialog& format)
{
    ProgramDialog dialog(SnapshotFormatDialog::kTemplateId);
    int checked = SnapshotFormatDialog::kMetafileButton;
    for (unsigned id = SnapshotFormatDialog::kMetafileButton; id <= SnapshotFormatDialog::kRollBackButton; ++id)
        if (format.extension == kExtensions[id - SnapshotFormatDialog::kMetafileButton])
            checked = static_cast<int>(id);
    new RadioGroup(&dialog, SnapshotFormatDialog::kMetafileButton, SnapshotFormatDialog::kRollBackButton, &checked, 0);
    dialog.EnableItem(SnapshotFormatDialog::kRollBackButton, format.rollBackOffered);
    const int answer = dialog.Run();
    format.extension = kExtensions[checked - SnapshotFormatDialog::kMetafileButton];
    return answer;
}

} // namespace

int SnapshotFormatDialog::Run()
{
    const int answer = HasPresenter() ? Present() : ShowOnScreen(*this);
    return answer == IDOK && (rollBackOffered || extension != "trb") ? 1 : 0;
}
