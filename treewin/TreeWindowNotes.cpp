#include "treewin/TreeWindow.h"

#include "widgets/ZoomPane.h"
#include "framework/draw/LogicalUnits.h"
#include "model/NoteBox.h"
#include "model/TreeArrow.h"
#include "treewin/TreeArrowDrawing.h"

#include <algorithm>
#include <vector>

void TreeWindow::RemoveNoteBox(NoteBox* note)
{
    if (note == SelectedNote) {
        CloseInPlaceEdit();
        SelectedNote = nullptr;
        if (EditField == 3)
            EditField = 0;
    }
    if (note == PendingNoteBinding)
        PendingNoteBinding = nullptr;
    document.NoteBoxes.RemovePtr(note);
}

void TreeWindow::AddArrow(TreeArrow* arrow, int index)
{
    arrow->owner = &document;
    document.Arrows.InsertAt(index, arrow);
}

TreeWindow::DrawingPlacement TreeWindow::Placement() const
{
    DrawingPlacement placement;
    placement.origin = layout.Origin;
    for (int i = 0; i < document.NoteBoxes.Count(); ++i)
        placement.notes.push_back(document.NoteBoxes.At(i)->frame);
    for (int i = 0; i < document.Arrows.Count(); ++i) {
        const TreeArrow& arrow = *document.Arrows.At(i);
        placement.arrows.push_back(LogicalRect{arrow.tailX, arrow.tailY, arrow.headX, arrow.headY});
    }
    return placement;
}

namespace {

bool SamePlace(const LogicalRect& a, const LogicalRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool SamePlacement(const TreeWindow::DrawingPlacement& a, const TreeWindow::DrawingPlacement& b)
{
    const auto same = [](const std::vector<LogicalRect>& x, const std::vector<LogicalRect>& y) {
        return std::equal(x.begin(), x.end(), y.begin(), y.end(), SamePlace);
    };
    return a.origin.x == b.origin.x && a.origin.y == b.origin.y && same(a.notes, b.notes) && same(a.arrows, b.arrows);
}

} // namespace

void TreeWindow::RestorePlacement(const DrawingPlacement& placement)
{
    if (placement.notes.size() != static_cast<size_t>(document.NoteBoxes.Count()) ||
        placement.arrows.size() != static_cast<size_t>(document.Arrows.Count()) ||
        SamePlacement(placement, Placement()))
        return;
    layout.Origin = placement.origin;
    for (int i = 0; i < document.NoteBoxes.Count(); ++i)
        document.NoteBoxes.At(i)->frame = placement.notes[static_cast<size_t>(i)];
    for (int i = 0; i < document.Arrows.Count(); ++i) {
        TreeArrow& arrow = *document.Arrows.At(i);
        const LogicalRect& place = placement.arrows[static_cast<size_t>(i)];
        arrow = TreeArrow{place.left, place.top, place.right, place.bottom, arrow.owner};
    }
    Relayout();
}

void TreeWindow::RemoveArrow(TreeArrow* arrow)
{
    if (arrow == SelectedArrow)
        SelectedArrow = nullptr;
    document.Arrows.RemovePtr(arrow);
}

void TreeWindow::SelectArrow(TreeArrow* arrow)
{
    ClearSelection();
    EditField = 0;
    SelectedArrow = arrow;
    const LogicalRect bounds = ArrowBounds(*arrow);
    InvalidateLogicalRect(&bounds);
}

LogicalRect TreeWindow::VisibleArea()
{
    ZoomPane* pane = DocChildWindow::Pane();
    // A tree that is not shown counts a letter page at the drawing's origin as in view, so what is placed
    // in view lands inside the drawing, the same way each time.
    if (pane == nullptr || DocChildWindow::PaneDisplay() == nullptr)
        return LogicalRect{0.0f, 0.0f, 8.5f, 11.0f};
    return pane->VisibleArea();
}
