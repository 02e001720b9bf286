// Save Snapshot: the tree as a picture (metafile or bitmap) or, while it shows roll-back results, as a
// roll-back file that opens with those results.

#include "treewin/TreeSnapshot.h"

#include "treewin/TreeWindow.h"

#include "widgets/BmpFile.h"
#include "widgets/FilePathDialogs.h"
#include "widgets/ProgramPreferences.h"
#include "widgets/SnapshotFormatDialog.h"
#include "foundation/FilePath.h"
#include "foundation/MessageBoxes.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/DrawingScale.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/MetafileDisplay.h"
#include "model/TreeNode.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreePainter.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const char* const RollBackFilters[] = {"Roll-back Files (*.trb)", "*.trb", nullptr};
const char* const MetafileFilters[] = {"Metafiles (*.wmf)", "*.wmf", nullptr};
const char* const BitmapFilters[] = {"Bitmap Files (*.bmp)", "*.bmp", nullptr};

} // namespace

char SnapshotFiles::SaveSnapshot(TreeWindow& tree, bool rolledBack, ::FilePath& path)
{
    path = ::FilePath();
    SnapshotFormatDialog format(rolledBack);
    if (!format.Run())
        return 0;
    const zString& extension = format.extension;
    ::FilePath proposed(tree.Document().Title().Text());
    proposed.SetExtension(extension.Text());
    const bool rollBack = extension == "trb";
    const bool metafile = extension == "wmf";
    const char* const* filters = rollBack ? RollBackFilters : metafile ? MetafileFilters : BitmapFilters;
    if (!ChooseSavePath(tree.Handle(), filters, "Save Snapshot", proposed.FullPath().Text(), path))
        return 0;
    path.SetExtension(extension.Text());
    return rollBack ? 'r' : metafile ? 'm' : 'b';
}

namespace {

void Include(LogicalRect& bounds, const LogicalRect& part)
{
    bounds.left = std::min(bounds.left, part.left);
    bounds.top = std::min(bounds.top, part.top);
    bounds.right = std::max(bounds.right, part.right);
    bounds.bottom = std::max(bounds.bottom, part.bottom);
}

// The boxes of the node and of every node shown below it, with their roll-back boxes.
LogicalRect SubtreeRect(TreeWindow& window, TreeNode* top)
{
    const NodeGeometry& first = top->Geometry();
    LogicalRect bounds{first.X, first.Y, first.SymbolX + kSymbolSize, first.YBottom};
    std::vector<TreeNode*> pending{top};
    while (!pending.empty()) {
        TreeNode* node = pending.back();
        pending.pop_back();
        const NodeGeometry& g = node->Geometry();
        Include(bounds, LogicalRect{g.X, g.Y, g.SymbolX + kSymbolSize, g.YBottom});
        if (g.RollBackBoxWidth > 0.0f && !RollBackBoxHidden(node))
            Include(bounds, RollBackBoxRect(window, node));
        if (node->ChildrenShown())
            for (int i = 0; i < node->childCount; ++i)
                pending.push_back(node->GetChild(i));
    }
    return bounds;
}

// The picture's rectangle in pixels of the display at the drawing scale of 1.
RECT PictureRectPixels(const LogicalRect& bounds, const Display& display)
{
    return RECT{LogicalXToPixel(bounds.left, display), LogicalYToPixel(bounds.top, display),
                LogicalXToPixel(bounds.right, display) + 1, LogicalYToPixel(bounds.bottom, display) + 1};
}

} // namespace

LogicalRect TreeWindow::PictureBounds()
{
    if (layoutPending)
        Relayout();
    if (TreeNode* node = CurrentNode())
        return SubtreeRect(*this, node);
    const LayoutRect& bounds = layout.DrawingBounds;
    return LogicalRect{bounds.left, bounds.top, bounds.right, bounds.bottom};
}

void TreeWindow::DrawPicture(Display& display)
{
    TreeNode* node = CurrentNode();
    if (node == nullptr) {
        Draw(display);
        return;
    }
    if (layoutPending)
        Relayout();
    DisplayLock lock(display);
    PaintContext context(*this, display, nullptr, nullptr);
    display.PushFont(new zFont(context.fonts[TreeTextFont]->Handle()));
    PaintTreeNode(node, context);
    display.PopFont();
}

bool SnapshotFiles::SaveAsBitmap(TreeWindow& tree, const ::FilePath& path)
{
    const float scale = CurrentDrawingScale();
    SetCurrentDrawingScale(1.0f);
    const RECT pixels = PictureRectPixels(tree.PictureBounds(), tree.PaneDisplay());
    const std::unique_ptr<BitmapDisplay> picture = PaperBitmap(pixels);
    RECT area{};
    picture->Bounds(area);
    bool saved = false;
    if (area.right > 0 && area.bottom > 0) {
        DisplayLock lock(*picture);
        tree.DrawPicture(*picture);
        saved = SaveBitmapAsBmp(*picture, path);
    }
    SetCurrentDrawingScale(scale);
    return saved;
}

bool SnapshotFiles::SaveAsMetafile(TreeWindow& tree, const ::FilePath& path)
{
    const float scale = CurrentDrawingScale();
    SetCurrentDrawingScale(1.0f);
    std::remove(path.FullPath().Text());
    {
        MetafileObject picture(path, &tree.PaneDisplay());
        picture.SetBlackAndWhite(ThePreferences().exportBlackAndWhite);
        const RECT pixels = PictureRectPixels(tree.PictureBounds(), picture);
        picture.SetFrame(RECT{0, 0, pixels.right - pixels.left, pixels.bottom - pixels.top});
        DisplayLock lock(picture);
        picture.SetWindowOrigin(pixels.left, pixels.top);
        tree.DrawPicture(picture);
    }
    SetCurrentDrawingScale(scale);
    return path.Exists();
}

void SnapshotFiles::SaveSnapshotCommand(TreeWindow& tree)
{
    ::FilePath path;
    const char form = SaveSnapshot(tree, tree.Document().IsRolledBack(), path);
    if (form == 0)
        return;
    // The picture shows what was typed in the open edit, as the snapshot file holds it.
    if (!tree.EndOpenEdits())
        return;
    bool saved = true;
    zString message;
    switch (form) {
    case 'r':
        saved = tree.SaveCopyAs(path.FullPath().Text(), message);
        break;
    case 'b':
        saved = SaveAsBitmap(tree, path);
        break;
    case 'm':
        saved = SaveAsMetafile(tree, path);
        break;
    default:
        return;
    }
    if (!saved)
        ShowErrorBox(nullptr, message.IsEmpty() ? "Unable to save file." : message.Text(), 0);
}
