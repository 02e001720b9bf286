#include "treewin/TreePane.h"

#include "app/InputHelpers.h"
#include "app/MouseTracker.h"
#include "framework/window/FillLayout.h"
#include "framework/window/WindowEvent.h"
#include "influence/OutlineTracker.h"
#include "model/TreeNode.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreeWindow.h"

#include <algorithm>

namespace {

// The pane's drawing scale for the length of a mouse operation.
class DrawingScaleScope {
public:
    explicit DrawingScaleScope(ZoomPane& pane) : pane_(pane) { pane_.PushDrawingScale(); }
    ~DrawingScaleScope() { pane_.PopDrawingScale(); }

private:
    ZoomPane& pane_;
};

bool Overlaps(const LogicalRect& a, const LogicalRect& b)
{
    return std::min(a.right, b.right) > std::max(a.left, b.left) &&
           std::min(a.bottom, b.bottom) > std::max(a.top, b.top);
}

} // namespace

TreePane::TreePane(DocChildWindow* owner, TreeWindow& tree)
    : ZoomPane(owner, new FillLayout(), WS_CHILD | WS_VISIBLE), tree_(tree)
{
}

TreePane::~TreePane() = default;

POINT TreePane::DrawingPoint(const WindowEvent& event) const
{
    const POINT client{static_cast<short>(LOWORD(event.lParam)), static_cast<short>(HIWORD(event.lParam))};
    return ClientToDrawing(client);
}

LogicalPoint TreePane::ToLogical(POINT drawingPixels) const
{
    return LogicalPoint{PixelXToLogical(drawingPixels.x, *CurrentDisplay()),
                        PixelYToLogical(drawingPixels.y, *CurrentDisplay())};
}

long TreePane::OnButtonDown(WindowEvent* event)
{
    if (IgnoreMouse)
        return 1;
    DrawingScaleScope scale(*this);
    RecordMouseClick(event->lParam);
    const POINT pixels = DrawingPoint(*event);
    pressPoint_ = ToLogical(pixels);
    shiftAtPress_ = (event->wParam & MK_SHIFT) != 0 ? 1 : 0;
    TreeNode* node = FindNodeAt(tree_, tree_.Document().Root, pressPoint_);
    SetClickTarget(node);
    if (node != nullptr)
        PressNode(node, pressPoint_, *event);
    else if (event->message == WM_LBUTTONDOWN)
        BeginBandSelection(pixels);
    return 1;
}

// The region under the point chooses the field: the probability under a parent that carries them, the
// second text, else the node's text.
void TreePane::PressNode(TreeNode* node, LogicalPoint point, const WindowEvent& event)
{
    const bool shift = (event.wParam & MK_SHIFT) != 0;
    if (event.message == WM_RBUTTONDOWN) {
        tree_.SelectNode(node, 1, nullptr, false);
        return;
    }
    if (event.message != WM_LBUTTONDOWN)
        return;
    int field = 1;
    switch (HitTestNode(tree_, node, point)) {
    case NameRegion:
    case SymbolRegion:
    case DefinitionsRegion:
    case NoRegion:
        break;
    case ProbabilityRegion:
        field = node->parent != nullptr && node->parent->HasBranchProbabilities() ? 2 : 1;
        break;
    case SecondTextRegion:
        field = 4;
        break;
    case RollBackBoxRegion:
        field = 0;
        break;
    default:
        if (!shift)
            tree_.ClearSelection();
        return;
    }
    tree_.SelectNode(node, field, &point, shift);
}

void TreePane::BeginBandSelection(POINT start)
{
    if (!(shiftAtPress_ && tree_.SelectedNote == nullptr))
        tree_.ClearSelection();
    bandNodes_.clear();
    const NodeChildList& selection = tree_.Document().Selection;
    bandHighlight_.assign(selection.Count(), nullptr);
    for (int i = 0; i < selection.Count(); ++i)
        bandHighlight_[i] = selection.At(i);
    tracker_ = std::make_unique<OutlineTracker>(CurrentDisplay(), Colour{0, 0, 0, 0});
    tracker_->Start(start.x, start.y);
    DragMode = BandDrag;
    SetCapture(Handle());
}

long TreePane::OnMouseMove(WindowEvent* event)
{
    if (IgnoreMouse)
        return 1;
    if (!tracker_)
        return 0;
    if ((event->wParam & MK_LBUTTON) == 0) {
        tracker_.reset();
        DragMode = NoDrag;
        return 1;
    }
    DrawingScaleScope scale(*this);
    const POINT pixels = DrawingPoint(*event);
    tracker_->MoveTo(pixels.x, pixels.y);
    if (DragMode == BandDrag)
        UpdateBandSelection();
    return 1;
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
    auto toggle = [this](TreeNode* node) {
        auto found = std::find(bandHighlight_.begin(), bandHighlight_.end(), node);
        if (found == bandHighlight_.end())
            bandHighlight_.push_back(node);
        else
            bandHighlight_.erase(found);
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
}

long TreePane::OnButtonUp(WindowEvent*)
{
    if (IgnoreMouse)
        return 1;
    tree_.ClickMode = 0;
    if (!tracker_)
        return 0;
    DrawingScaleScope scale(*this);
    tracker_->Finish();
    if (tracker_->CurrentPoint.x != tracker_->StartPoint.x || tracker_->CurrentPoint.y != tracker_->StartPoint.y)
        FinishDrag();
    tracker_.reset();
    DragMode = NoDrag;
    ReleaseCapture();
    return 1;
}

void TreePane::FinishDrag()
{
    if (DragMode != BandDrag)
        return;
    tree_.ClearSelection();
    NodeChildList nodes{4, false};
    for (TreeNode* node : bandHighlight_)
        nodes.Add(node);
    if (nodes.Count() == 1)
        tree_.SelectNode(nodes.At(0), 1, nullptr, false);
    else
        tree_.SelectNodes(nodes);
}
