// A diagram pane's gestures as the button comes up: the influence drawn, the note made, moved or resized,
// the arc curved or its comment moved, the band's nodes selected, the nodes moved.

#include "influence/DiagramPane.h"

#include "widgets/FrameCommands.h"
#include "widgets/MouseTracker.h"
#include "framework/draw/DrawingScale.h"
#include "foundation/MessageBoxes.h"
#include "influence/DiagramActions.h"
#include "influence/DiagramLevelLookups.h"
#include "influence/InfluenceDiagramWindow.h"
#include "widgets/OutlineTracker.h"
#include "model/InfluenceNode.h"
#include "model/NoteBox.h"

#include <algorithm>
#include <string>

namespace {

// Smaller notes (square inches) are refused.
constexpr float kSmallestNoteArea = 0.1f;

// The move shortened so that what lies in the rectangle stays within the farthest place a diagram file
// may say, to the right and downwards (a move left or up shifts the whole diagram back to the margin).
DiagramPoint KeptWithinPlaces(const LogicalRect& bounds, DiagramPoint offset)
{
    const float farthest = InfluenceDocument::kFarthestPlace;
    return DiagramPoint{std::min(offset.x, std::max(0.0f, farthest - bounds.right)),
                        std::min(offset.y, std::max(0.0f, farthest - bounds.bottom))};
}

// An influence from tail to head may be drawn; otherwise the person is told why (false).
bool CheckInfluenceAllowed(InfluenceNodeRecord* tail, InfluenceNodeRecord* head)
{
    const char* reason = "";
    if (InfluenceRefusal(tail, head, &reason) == 0)
        return true;
    std::string text = "That influence is not allowed. ";
    text += reason;
    ShowErrorBox(nullptr, text.c_str(), -1);
    return false;
}

} // namespace

long DiagramPane::OnMouseUp(const MouseInput&)
{
    if (tracker_) {
        ZoomPaneScale scale(*this);
        tracker_->Finish();
        FinishGesture();
        EndTracker();
    }
    window_.toolMode = InfluenceDiagramWindow::SelectTool;
    RefreshFrameCommands();
    return 1;
}

void DiagramPane::FinishGesture()
{
    const Display& display = *CurrentDisplay();
    const bool moved = tracker_->CurrentPoint.x != tracker_->StartPoint.x ||
                       tracker_->CurrentPoint.y != tracker_->StartPoint.y;
    const DiagramPoint offset{static_cast<float>(PixelWidthToLogical(tracker_->CurrentPoint.x - tracker_->StartPoint.x, display)),
                              static_cast<float>(PixelHeightToLogical(tracker_->CurrentPoint.y - tracker_->StartPoint.y, display))};
    const RECT shape = dragKind_ == NoteResizeDrag ? static_cast<const DiagramTracker&>(*tracker_).CurrentRect()
                                                   : tracker_->ShapeRect(tracker_->CurrentPoint);
    const LogicalPoint first = ToLogical(POINT{shape.left, shape.top});
    const LogicalPoint second = ToLogical(POINT{shape.right, shape.bottom});
    const LogicalRect rect{std::min(first.x, second.x), std::min(first.y, second.y), std::max(first.x, second.x),
                           std::max(first.y, second.y)};
    if (dragKind_ == InfluenceDrag) {
        InfluenceNodeRecord* source = influenceSource_;
        InfluenceNodeRecord* target = hoverTarget_;
        influenceSource_ = nullptr;
        SetHoverTarget(nullptr);
        if (target != nullptr && target != source && CheckInfluenceAllowed(source, target))
            window_.AddUndoAction(new DiagramCreateArcAction(&window_, source, target));
        window_.InvalidateAll();
        return;
    }
    if (!moved)
        return;
    InfluenceArc* arc = window_.SelectedArc();
    NoteBox* note = window_.SelectedNote();
    switch (dragKind_) {
    case NoteCreateDrag:
        if ((rect.right - rect.left) * (rect.bottom - rect.top) < kSmallestNoteArea) {
            MessageBeep(0);
            break;
        }
        note = new NoteBox();
        note->font = DefaultNoteFont;
        note->SetRect(rect.left, rect.top, rect.right, rect.bottom);
        window_.Diagram().notes.Add(note);
        window_.UpdateExtent();
        window_.SelectNote(note, true);
        window_.SetModified(1);
        break;
    case NoteMoveDrag:
    case NoteResizeDrag:
        if (note == nullptr)
            break;
        if (dragKind_ == NoteMoveDrag) {
            const DiagramPoint kept = KeptWithinPlaces(note->frame, offset);
            note->Offset(kept.x, kept.y);
        }
        else
            note->SetRect(rect.left, rect.top, rect.right, rect.bottom);
        window_.UpdateExtent();
        window_.SetModified(1);
        break;
    case MiddleDrag:
        if (arc == nullptr)
            break;
        arc->Recompute();
        window_.AddUndoAction(new DiagramArcShapeAction(&window_, "Curve Arc", arc,
                                                        ArcShape{pressCurved_, pressMiddle_, pressCommentOffset_},
                                                        false));
        window_.UpdateExtent();
        break;
    case CommentDrag:
        if (arc == nullptr)
            break;
        arc->commentOffset.x += offset.x;
        arc->commentOffset.y += offset.y;
        arc->ComputeCommentBox();
        window_.UpdateExtent();
        window_.SetModified(1);
        break;
    case BandDrag: {
        std::vector<InfluenceNodeRecord*> chosen;
        for (int index : workingSelection_)
            if (InfluenceNodeRecord* node = LevelNodeAt(window_.Diagram(), index))
                chosen.push_back(node);
        bandNodes_.clear();
        workingSelection_.clear();
        window_.ShowNodes(chosen);
        break;
    }
    case NodesDrag: {
        const std::vector<InfluenceNodeRecord*>& nodes = window_.SelectedNodes();
        LogicalRect bounds{0, 0, 0, 0};
        for (const InfluenceNodeRecord* node : nodes)
            bounds = LogicalRect{std::min(bounds.left, node->left), std::min(bounds.top, node->top),
                                 std::max(bounds.right, node->right), std::max(bounds.bottom, node->bottom)};
        window_.AddUndoAction(new DiagramDragAction(&window_, nodes, KeptWithinPlaces(bounds, offset)));
        break;
    }
    default:
        break;
    }
}
