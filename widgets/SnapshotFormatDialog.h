#pragma once
// Snapshot Format (dialog 3310): "&Metafile (.WMF)", "&Bitmap (.BMP)" or "KIVO &Rollback Format (.TRB)". The
// roll-back form is offered, and chosen at the start, only for a tree that shows roll-back results;
// otherwise the metafile form is chosen at the start.

#include "widgets/PresentedDialog.h"
#include "foundation/zString.h"

class SnapshotFormatDialog : public PresentedDialog<SnapshotFormatDialog> {
public:

    explicit SnapshotFormatDialog(bool rolledBack) : rollBackOffered(rolledBack), extension(rolledBack ? "trb" : "wmf")
    {
    }
    // 1 on OK with an offered form chosen; on the screen without a presenter.
    int Run();

    const bool rollBackOffered;
    // "wmf", "bmp" or "trb".
    zString extension;
};
