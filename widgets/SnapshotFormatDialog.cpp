#include "widgets/SnapshotFormatDialog.h"

#include "widgets/ProgramDialog.h"
#include "framework/dialog/RadioGroup.h"

#include "CommandIds.h"

namespace Ids = Ctl::SnapshotFormat;

namespace {

// The extensions in the order of the radio buttons.
const char* const kExtensions[] = {"wmf", "bmp", "trb"};

int ShowOnScreen(SnapshotFormatDialog& format)
{
    ProgramDialog dialog(DialogRes::SnapshotFormat);
    int checked = Ids::Metafile;
    for (unsigned id = Ids::Metafile; id <= Ids::KIVORollbackFormat; ++id)
        if (format.extension == kExtensions[id - Ids::Metafile])
            checked = static_cast<int>(id);
    new RadioGroup(&dialog, Ids::Metafile, Ids::KIVORollbackFormat, &checked, 0);
    dialog.EnableItem(Ids::KIVORollbackFormat, format.rollBackOffered);
    const int answer = dialog.Run();
    format.extension = kExtensions[checked - Ids::Metafile];
    return answer;
}

} // namespace

int SnapshotFormatDialog::Run()
{
    const int answer = HasPresenter() ? Present() : ShowOnScreen(*this);
    return answer == IDOK && (rollBackOffered || extension != "trb") ? 1 : 0;
}
