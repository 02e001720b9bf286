// Save Snapshot: the tree as a picture (metafile or bitmap) or, while it shows roll-back results, as a
// roll-back file that opens with those results.

#include "treewin/TreeWindow.h"

#include "app/FilePathDialogs.h"
#include "dialogs/SnapshotFormatDialog.h"
#include "foundation/FilePath.h"
#include "foundation/MessageBoxes.h"
#include "framework/draw/DrawingScale.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/MetafileDisplay.h"

#include <cstdio>

namespace {

const char* const RollBackFilters[] = {"Roll-back Files (*.trb)", "*.trb", nullptr};
const char* const MetafileFilters[] = {"Metafiles (*.wmf)", "*.wmf", nullptr};
const char* const BitmapFilters[] = {"Bitmap Files (*.bmp)", "*.bmp", nullptr};

} // namespace

char TreeWindow::SaveSnapshot(bool rolledBack, ::FilePath& path)
{
    path = ::FilePath();
    SnapshotFormatDialog format(rolledBack);
    if (!format.Run())
        return 0;
    const zString& extension = format.extension;
    ::FilePath proposed(Title().Text());
    proposed.SetExtension(extension.Text());
    const bool rollBack = extension == "trb";
    const bool metafile = extension == "wmf";
    const char* const* filters = rollBack ? RollBackFilters : metafile ? MetafileFilters : BitmapFilters;
    if (!ChooseSavePath(handle_, filters, "Save Snapshot", proposed.FullPath().Text(), path))
        return 0;
    path.SetExtension(extension.Text());
    return rollBack ? 'r' : metafile ? 'm' : 'b';
}

bool TreeWindow::SaveAsMetafile(const ::FilePath& path)
{
    if (layoutPending)
        Relayout();
    const float scale = CurrentDrawingScale();
    SetCurrentDrawingScale(1.0f);
    std::remove(path.FullPath().Text());
    {
        MetafileObject picture(path, &PaneDisplay());
        const LayoutRect& bounds = layout.DrawingBounds;
        picture.SetFrame(RECT{0, 0, LogicalWidthToPixels(bounds.right, picture) + 1,
                              LogicalHeightToPixels(bounds.bottom, picture) + 1});
        DisplayLock lock(picture);
        Draw(picture);
    }
    SetCurrentDrawingScale(scale);
    return path.Exists();
}

void TreeWindow::SaveSnapshotCommand()
{
    ::FilePath path;
    const char form = SaveSnapshot(document.RolledBack != 0, path);
    bool saved = true;
    zString message;
    switch (form) {
    case 'r':
        saved = SaveCopyAs(path.FullPath().Text(), message);
        break;
    case 'b':
        saved = SaveAsBitmap(path);
        break;
    case 'm':
        saved = SaveAsMetafile(path);
        break;
    default:
        return;
    }
    if (!saved)
        ShowErrorBox(nullptr, message.IsEmpty() ? "Unable to save file." : message.Text(), 0);
}
