#include "CommandIds.h"
#include "dialogs/SnapshotFormatDialog.h"

#include "dialogs/ProgramDialog.h"
#include "framework/dialog/RadioGroup.h"

namespace {

// The extensions in the order of the radio buttons.
const char* const kExtensions[] = {"wmf", "bmp", "trb"};

int ShowOnScreen(SnapshotFormatDialog& format)
{
    ProgramDialog dialog(DialogRes::SnapshotFormat);
    int checked = Ctl::SnapshotFormat::Metafile;
    for (unsigned id = Ctl::SnapshotFormat::Metafile; id <= Ctl::SnapshotFormat::KIVORollbackFormat; ++id)
        if (format.extension == kExtensions[id - Ctl::SnapshotFormat::Metafile])
            checked = static_cast<int>(id);
    new RadioGroup(&dialog, Ctl::SnapshotFormat::Metafile, Ctl::SnapshotFormat::KIVORollbackFormat, &checked, 0);
    dialog.EnableItem(Ctl::SnapshotFormat::KIVORollbackFormat, format.rollBackOffered);
    const int answer = dialog.Run();
    format.extension = kExtensions[checked - Ctl::SnapshotFormat::Metafile];
    return answer;
}

} // namespace

int SnapshotFormatDialog::Run()
{
    const int answer = HasPresenter() ? Present() : ShowOnScreen(*this);
    return answer == IDOK && (rollBackOffered || extension != "trb") ? 1 : 0;
}
