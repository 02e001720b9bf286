#include "treewin/TreeWindow.h"

#include "widgets/ZoomPane.h"
#include "framework/draw/LogicalUnits.h"
#include "model/NoteBox.h"
#include "model/TreeArrow.h"
#include "treewin/TreeArrowDrawing.h"

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

void TreeWindow::AddArrow(TreeArrow* arrow)
{
    arrow->owner = &document;
    document.Arrows.Add(arrow);
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
