// The tree pane's band selection and the end of its drags: the band highlights the nodes whose symbols it
// overlaps as it runs; a release makes the new note box or arrow, moves or resizes the note box, moves an
// arrow or one of its ends, or the roll-back box, and the band's nodes become the selection.

#include "treewin/TreePane.h"

#include "widgets/MouseTracker.h"
#include "widgets/OutlineTracker.h"
#include "framework/draw/Display.h"
#include "model/NodeLinkBlock.h"
#include "model/NoteBox.h"
#include "model/TreeArrow.h"
#include "model/TreeNode.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreeNoteActions.h"
#include "treewin/TreePainter.h"
#include "treewin/TreePaneGeometry.h"
#include "treewin/TreeWindow.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Smaller notes (square inches) and shorter arrows (inches) are refused.
constexpr float kSmallestNoteArea = 0.1f;
constexpr float kShortestArrow = 0.1f;

bool Overlaps(const LogicalRect& a, const LogicalRect& b)
{
    return std::min(a.right, b.right) > std::max(a.left, b.left) &&
           std::min(a.bottom, b.bottom) > std::max(a.top, b.top);
}

} // namespace

void TreePane::BeginBandSelection(POINT start)
{
    if (!(shiftAtPress_ && tree_.SelectedNote == nullptr))
        tree_.ClearSelection();
    bandNodes_.clear();
    const NodeChildList& selection = tree_.Selection;
    bandHighlight_.assign(selection.Count(), nullptr);
    for (int i = 0; i < selection.Count(); ++i)
        bandHighlight_[i] = selection.At(i);
    StartTracker(std::make_unique<OutlineTracker>(CurrentDisplay(), Colour{0, 0, 0, 0}), start, BandDrag);
}

void TreePane::CollectNodesInRect(TreeNode* node, const LogicalRect& band, std::vector<TreeNode*>& out)
{
    if (Overlaps(SymbolRect(node), band))
        out.push_back(node);
    if (!node->ChildrenShown() || node->cloneStatus == CloneCopyNode)
        return;
    for (int i = 0; i < node->childCount; ++i)
        CollectNodesInRect(node->GetChild(i), band, out);
}

void TreePane::UpdateBandSelection()
{
    const RECT shape = tracker_->ShapeRect(tracker_->CurrentPoint);
    const LogicalPoint topLeft = ToLogical(POINT{shape.left, shape.top});
    const LogicalPoint bottomRight = ToLogical(POINT{shape.right, shape.bottom});
    std::vector<TreeNode*> taken;
    CollectNodesInRect(tree_.Document().Root, LogicalRect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}, taken);
    std::vector<std::pair<TreeNode*, bool>> toggled;
    auto toggle = [this, &toggled](TreeNode* node) {
        auto found = std::find(bandHighlight_.begin(), bandHighlight_.end(), node);
        const bool added = found == bandHighlight_.end();
        if (added)
            bandHighlight_.push_back(node);
        else
            bandHighlight_.erase(found);
        toggled.emplace_back(node, added);
    };
    for (TreeNode* node : taken) {
        if (std::find(bandNodes_.begin(), bandNodes_.end(), node) == bandNodes_.end())
            toggle(node);
    }
    for (TreeNode* node : bandNodes_) {
        if (std::find(taken.begin(), taken.end(), node) == taken.end())
            toggle(node);
    }
    bandNodes_ = taken;
    DrawBandHighlights(toggled);
}

// The band's outline is drawn in exclusive-or: it is taken off while the symbols are drawn, and drawn again.
void TreePane::DrawBandHighlights(const std::vector<std::pair<TreeNode*, bool>>& toggled)
{
    if (toggled.empty())
        return;
    Display& display = *CurrentDisplay();
    DisplayLock lock(display);
    const RECT outline = tracker_->OldShape();
    if (tracker_->Drawn)
        tracker_->DrawOnce(display, outline);
    ::PaintContext context(tree_, display, nullptr, nullptr);
    for (const auto& [node, highlighted] : toggled)
        PaintHighlight(node, highlighted, context);
    if (tracker_->Drawn)
        tracker_->DrawOnce(display, outline);
}

long TreePane::OnMouseUp(const MouseInput& mouse)
{
    if (IgnoreMouse)
        return 1;
    tree_.ClickMode = 0;
    if (!tracker_)
        return 0;
    ZoomPaneScale scale(*this);
    tracker_->Finish();
    if (tracker_->CurrentPoint.x != tracker_->StartPoint.x || tracker_->CurrentPoint.y != tracker_->StartPoint.y)
        FinishDrag(mouse.Shift());
    tracker_.reset();
    DragMode = NoDrag;
    ReleaseCapture();
    return 1;
}

LogicalPoint TreePane::MovedDistance() const
{
    const Display& display = *CurrentDisplay();
    return LogicalPoint{PixelWidthToLogical(tracker_->CurrentPoint.x - tracker_->StartPoint.x, display),
                        PixelHeightToLogical(tracker_->CurrentPoint.y - tracker_->StartPoint.y, display)};
}

// A refused note or arrow (too small) leaves the tree unmodified.
void TreePane::FinishDrag(bool shift)
{
    // A resize spans from the fixed corner, not from where the press was.
    const RECT shape = DragMode == NoteResizeDrag ? static_cast<const DiagramTracker&>(*tracker_).CurrentRect()
                                                  : tracker_->ShapeRect(tracker_->CurrentPoint);
    const LogicalPoint first = ToLogical(POINT{shape.left, shape.top});
    const LogicalPoint second = ToLogical(POINT{shape.right, shape.bottom});
    const LogicalRect rect = Normalised(first, second);
    const LogicalPoint moved = MovedDistance();
    bool modified = true;
    switch (DragMode) {
    case NoteCreateDrag:
        if ((rect.bottom - rect.top) * (rect.right - rect.left) < kSmallestNoteArea) {
            MessageBeep(0);
            modified = false;
        } else {
            tree_.AddUndoAction(new TreeCreateNoteAction(&tree_, rect));
        }
        break;
    case NoteMoveDrag:
    case NoteResizeDrag:
        if (NoteBox* note = tree_.SelectedNote) {
            // The action keeps the note's frame: the text area grown by the margin.
            LogicalRect target{rect.left - NoteBox::kMargin, rect.top - NoteBox::kMargin,
                               rect.right + NoteBox::kMargin, rect.bottom + NoteBox::kMargin};
            if (DragMode == NoteMoveDrag)
                target = LogicalRect{note->frame.left + moved.x, note->frame.top + moved.y,
                                     note->frame.right + moved.x, note->frame.bottom + moved.y};
            tree_.AddUndoAction(new TreeMoveNoteAction(&tree_, note, target, DragMode == NoteResizeDrag));
        }
        break;
    case ArrowCreateDrag:
        modified = FinishArrowCreate(shift);
        break;
    case ArrowMoveDrag:
    case ArrowHeadDrag:
    case ArrowTailDrag:
        if (TreeArrow* arrow = tree_.SelectedArrow)
            FinishArrowMove(arrow, moved, shift);
        break;
    case RollBackBoxDrag:
        if (TreeNode* node = tree_.CurrentNode()) {
            const float* old = node->linkBlock != nullptr ? node->linkBlock->rollBackBoxOffset : nullptr;
            node->SetRollBackBoxOffset((old ? old[0] : 0.0f) + moved.x, (old ? old[1] : 0.0f) + moved.y, true);
            tree_.Relayout();
        }
        break;
    case BandDrag:
        modified = false;
        FinishBandSelection();
        break;
    default:
        modified = false;
        break;
    }
    InvalidateRect(Handle(), nullptr, TRUE);
    if (modified)
        tree_.SetModified(1);
}

// A new arrow from the press to the release; false (after a beep) when it would be too short.
bool TreePane::FinishArrowCreate(bool shift)
{
    // The line keeps its direction: from where the press was to where the release is.
    const LogicalPoint tail = ToLogical(tracker_->StartPoint);
    LogicalPoint head = ToLogical(tracker_->CurrentPoint);
    if (std::hypot(head.x - tail.x, head.y - tail.y) < kShortestArrow) {
        MessageBeep(0);
        return false;
    }
    if (constrainAllowed_ && shift)
        head = ConstrainToAxis(head, tail);
    auto* arrow = new TreeArrow();
    arrow->tailX = tail.x;
    arrow->tailY = tail.y;
    arrow->headX = head.x;
    arrow->headY = head.y;
    tree_.AddArrow(arrow);
    tree_.Relayout();
    tree_.SelectArrow(arrow);
    return true;
}

// The selected arrow moved by the distance, or its head or tail alone (along an axis with Shift).
void TreePane::FinishArrowMove(TreeArrow* arrow, LogicalPoint moved, bool shift)
{
    if (DragMode != ArrowTailDrag) {
        LogicalPoint head{arrow->headX + moved.x, arrow->headY + moved.y};
        if (DragMode == ArrowHeadDrag && shift)
            head = ConstrainToAxis(head, LogicalPoint{arrow->tailX, arrow->tailY});
        arrow->headX = head.x;
        arrow->headY = head.y;
    }
    if (DragMode != ArrowHeadDrag) {
        LogicalPoint tail{arrow->tailX + moved.x, arrow->tailY + moved.y};
        if (DragMode == ArrowTailDrag && shift)
            tail = ConstrainToAxis(tail, LogicalPoint{arrow->headX, arrow->headY});
        arrow->tailX = tail.x;
        arrow->tailY = tail.y;
    }
    tree_.Relayout();
}

// The nodes the band highlighted become the selection.
void TreePane::FinishBandSelection()
{
    tree_.ClearSelection();
    NodeChildList nodes{4, Ownership::Borrows};
    for (TreeNode* node : bandHighlight_)
        nodes.Add(node);
    if (nodes.Count() == 1)
        tree_.SelectNode(nodes.At(0), 1, nullptr, false);
    else
        tree_.SelectNodes(nodes);
    bandNodes_.clear();
    bandHighlight_.clear();
}
