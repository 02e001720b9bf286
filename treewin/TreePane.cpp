#include "treewin/TreePane.h"

#include "app/DocChildWindow.h"
#include "app/InPlaceEdit.h"
#include "app/InputHelpers.h"
#include "app/MouseTracker.h"
#include "app/StatusMessage.h"
#include "framework/dialog/PopupMenu.h"
#include "framework/draw/DrawingScale.h"
#include "framework/window/FillLayout.h"
#include "framework/window/WindowEvent.h"
#include "influence/OutlineTracker.h"
#include "model/NodeLinkBlock.h"
#include "model/NoteBox.h"
#include "model/TreeArrow.h"
#include "model/TreeNode.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreeArrowDrawing.h"
#include "treewin/TreeNoteActions.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr unsigned kNodeSymbolCursor = 32100;
// The system's cross and I-beam cursors.
constexpr unsigned kCrossCursor = 32515;
constexpr unsigned kTextCursor = 32513;
// Smaller notes (square inches) and shorter arrows (inches) are refused.
constexpr float kSmallestNoteArea = 0.1f;
constexpr float kShortestArrow = 0.1f;

bool Overlaps(const LogicalRect& a, const LogicalRect& b)
{
    return std::min(a.right, b.right) > std::max(a.left, b.left) &&
           std::min(a.bottom, b.bottom) > std::max(a.top, b.top);
}

LogicalRect Normalised(LogicalPoint a, LogicalPoint b)
{
    return LogicalRect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// The point moved onto the horizontal through the anchor when it lies nearer to it than to the vertical.
LogicalPoint ConstrainToAxis(LogicalPoint point, LogicalPoint anchor)
{
    if (std::fabs(point.y - anchor.y) <= std::fabs(point.x - anchor.x))
        point.y = anchor.y;
    else
        point.x = anchor.x;
    return point;
}

bool CarriesProbabilities(const TreeNode* node)
{
    return node->parent != nullptr && node->parent->HasBranchProbabilities();
}

} // namespace

TreePane::TreePane(DocChildWindow* owner, TreeWindow& tree)
    : ZoomPane(owner, new FillLayout(), WS_CHILD | WS_VISIBLE), tree_(tree)
{
}

// An open edit goes first: its frame is drawn on the pane, which must still be whole.
TreePane::~TreePane()
{
    InPlaceEdit* editor = tree_.InPlaceEditor;
    tree_.InPlaceEditor = nullptr;
    delete editor;
    // The pressed node may go with the tree and its address be reused: the next press starts afresh.
    SetClickTarget(nullptr);
}

POINT TreePane::DrawingPoint(POINT client) const
{
    return ClientToDrawing(client);
}

LogicalPoint TreePane::ToLogical(POINT drawingPixels) const
{
    return LogicalPoint{PixelXToLogical(drawingPixels.x, *CurrentDisplay()),
                        PixelYToLogical(drawingPixels.y, *CurrentDisplay())};
}

POINT TreePane::ToPixels(LogicalPoint point) const
{
    return POINT{LogicalXToPixel(point.x, *CurrentDisplay()), LogicalYToPixel(point.y, *CurrentDisplay())};
}

void TreePane::StartTracker(std::unique_ptr<TrackerBase> tracker, POINT start, int mode)
{
    BeginTracking(std::move(tracker), start);
    DragMode = mode;
}

long TreePane::OnMouseDown(const MouseInput& mouse)
{
    if (IgnoreMouse)
        return 1;
    ZoomPaneScale scale(*this);
    RecordMouseClick(mouse.at);
    const POINT pixels = DrawingPoint(mouse.at);
    pressPoint_ = ToLogical(pixels);
    shiftAtPress_ = mouse.Shift() ? 1 : 0;
    constrainAllowed_ = 0;
    const bool right = mouse.right && !mouse.doubleClick;
    if (tree_.ClickMode == 2) {
        StartTracker(std::make_unique<OutlineTracker>(CurrentDisplay(), Colour{0, 0, 0, 0}), pixels, NoteCreateDrag);
        return 1;
    }
    if (tree_.ClickMode == 1) {
        constrainAllowed_ = 1;
        anchorPoint_ = pressPoint_;
        auto line = std::make_unique<OutlineTracker>(CurrentDisplay(), Colour{0, 0, 0, 0});
        line->LineMode = 1;
        StartTracker(std::move(line), pixels, ArrowCreateDrag);
        return 1;
    }
    const POINT client = mouse.at;
    if (NoteBox* note = tree_.NoteBoxAt(pressPoint_)) {
        SetClickTarget(note);
        PressNoteBox(note, pressPoint_, pixels);
    } else if (TreeNode* node = FindNodeAt(tree_, tree_.Document().Root, pressPoint_)) {
        SetClickTarget(node);
        PressNode(node, pressPoint_, mouse);
        if (right)
            ShowContextMenu(client);
    } else if (TreeArrow* arrow = tree_.ArrowAt(pressPoint_)) {
        SetClickTarget(arrow);
        PressArrow(arrow, pressPoint_, pixels);
    } else {
        SetClickTarget(nullptr);
        if (right)
            ShowContextMenu(client);
        else if (!mouse.right && !mouse.doubleClick)
            BeginBandSelection(pixels);
    }
    return 1;
}

// The frame moves the note, a corner handle resizes it from the opposite corner, the text opens for typing
// with the caret where the press was.
void TreePane::PressNoteBox(NoteBox* note, LogicalPoint point, POINT pixels)
{
    const int hit = note->HitTest(point.x, point.y);
    if (hit == NoteBoxInterior) {
        tree_.SelectNoteBox(note, &point, true);
        return;
    }
    tree_.SelectNoteBox(note, &point, false);
    const LogicalRect text = note->GetTextRect();
    if (hit == NoteBoxBorder) {
        StartTracker(std::make_unique<MouseTracker>(CurrentDisplay(), ToPixels(text)), pixels, NoteMoveDrag);
        return;
    }
    const NoteBoxHandle handle = note->HandleAt(point.x, point.y);
    const float left = std::min(text.left, text.right);
    const float right = std::max(text.left, text.right);
    const float top = std::min(text.top, text.bottom);
    const float bottom = std::max(text.top, text.bottom);
    const LogicalPoint fixed{handle.column == 0 ? right : left, handle.row == 0 ? bottom : top};
    const LogicalPoint pressed{handle.column == 0 ? left : right, handle.row == 0 ? top : bottom};
    StartTracker(std::make_unique<DiagramTracker>(CurrentDisplay(), ToPixels(fixed)), ToPixels(pressed),
                 NoteResizeDrag);
}

// The body moves the whole arrow; an end moves that end while the other stays.
void TreePane::PressArrow(TreeArrow* arrow, LogicalPoint point, POINT pixels)
{
    tree_.SelectArrow(arrow);
    const bool head = ArrowHitHead(*arrow, point);
    if (!head && !ArrowHitTail(*arrow, point)) {
        const LogicalRect bounds =
            Normalised(LogicalPoint{arrow->tailX, arrow->tailY}, LogicalPoint{arrow->headX, arrow->headY});
        StartTracker(std::make_unique<MouseTracker>(CurrentDisplay(), ToPixels(bounds)), pixels, ArrowMoveDrag);
        return;
    }
    constrainAllowed_ = 1;
    anchorPoint_ = head ? LogicalPoint{arrow->tailX, arrow->tailY} : LogicalPoint{arrow->headX, arrow->headY};
    auto tracker = std::make_unique<DiagramTracker>(CurrentDisplay(), ToPixels(anchorPoint_));
    tracker->LineMode = 1;
    StartTracker(std::move(tracker), pixels, head ? ArrowHeadDrag : ArrowTailDrag);
}

void TreePane::BeginRollBackBoxDrag(TreeNode* node, POINT pressPixels)
{
    StartTracker(std::make_unique<MouseTracker>(CurrentDisplay(), ToPixels(RollBackBoxRect(tree_, node))),
                 pressPixels, RollBackBoxDrag);
}

// The region under the point chooses the field: the probability under a parent that carries them, the
// second text, else the node's text.
void TreePane::PressNode(TreeNode* node, LogicalPoint point, const MouseInput& mouse)
{
    const bool shift = mouse.Shift();
    const bool control = mouse.Control();
    if (IsDoubleClick()) {
        DoubleClickNode(node, point, shift);
        return;
    }
    if (mouse.doubleClick)
        return;
    if (mouse.right) {
        tree_.SelectNode(node, 1, nullptr, false);
        return;
    }
    int field = 1;
    switch (HitTestNode(tree_, node, point)) {
    case NameRegion:
    case SymbolRegion:
    case DefinitionsRegion:
    case NoRegion:
        break;
    case ProbabilityRegion:
        field = CarriesProbabilities(node) ? 2 : 1;
        break;
    case SecondTextRegion:
        field = 4;
        break;
    case RollBackBoxRegion:
        field = 0;
        if (control && !(node->kind == TerminalNode && tree_.Document().IsRolledBack() &&
                         tree_.Document().DisplayPrefs.ShowColumns != 0))
            BeginRollBackBoxDrag(node, ToPixels(point));
        break;
    default:
        if (!shift)
            tree_.ClearSelection();
        return;
    }
    // A press on the selected node whose edit Escape closed selects it afresh, which opens the edit again.
    if (!shift && tree_.InPlaceEditor == nullptr && tree_.Selection.Count() == 1 && tree_.Selection.At(0) == node &&
        tree_.EditField == field)
        tree_.ClearSelection();
    tree_.SelectNode(node, field, &point, shift);
    if (control && !shift && tree_.Selection.Count() == 1)
        tree_.HighlightSubtree();
}

// A double click on the definitions box opens the bindings; elsewhere it adds branches, or changes the
// payoff of a terminal node, while the tree is not rolled back.
void TreePane::DoubleClickNode(TreeNode* node, LogicalPoint point, bool shift)
{
    HWND window = Owner()->Handle();
    if (HitTestNode(tree_, node, point) == DefinitionsRegion) {
        tree_.SelectNode(node, 1, nullptr, false);
        SendCommand(window, Cmd::ShowVariableBindings);
        return;
    }
    if (shift || tree_.Document().IsRolledBack() || node->cloneStatus == CloneCopyNode || node->collapsed)
        return;
    SendCommand(window, node->kind == TerminalNode ? Cmd::ValuesChangePayoff : Cmd::OptionsAddBranches);
}

bool TreePane::ShowContextMenu(POINT client)
{
    if (tracker_)
        return false;
    TrackContextMenu(client);
    return true;
}

void TreePane::TrackContextMenu(POINT client)
{
    MapWindowPoints(Handle(), Owner()->Handle(), &client, 1);
    PopupMenu menu(client.x, client.y, Owner(), ResourceId(MenuRes::NodePopup, nullptr));
    tree_.UpdateMenuTexts(menu.Handle());
    menu.Track();
}

void TreePane::HookInPlaceEditor(InPlaceEdit& editor)
{
    editor.AddMessageHandler(this, &TreePane::EditMouseDown, WM_LBUTTONDOWN);
    editor.AddMessageHandler(this, &TreePane::EditMouseDown, WM_RBUTTONDOWN);
    editor.AddHandler(this, &TreePane::EditKeyDown, WM_KEYDOWN);
}

long TreePane::EditMouseDown(WindowEvent* event)
{
    if (event->message != WM_RBUTTONDOWN || tree_.InPlaceEditor == nullptr)
        return 0;
    POINT at = event->Point();
    MapWindowPoints(tree_.InPlaceEditor->Handle(), Handle(), &at, 1);
    TrackContextMenu(at);
    return 1;
}

long TreePane::EditKeyDown(WindowEvent* event)
{
    return tree_.OnKey(event->Key(), event->AltDown());
}

long TreePane::OnCommandId(unsigned id, unsigned code, HWND control)
{
    if (code == EN_CHANGE && tree_.InPlaceEditor != nullptr && control == tree_.InPlaceEditor->Handle()) {
        tree_.InPlaceTextChanged();
        return 1;
    }
    return ZoomPane::OnCommandId(id, code, control);
}

long TreePane::OnKeyUp(unsigned key, bool alt)
{
    if (!tree_.Document().IsRolledBack() && GetKeyState(VK_CONTROL) >= 0 && !alt)
        return 1;
    if (static_cast<signed char>(key) < VK_ESCAPE)
        return 0;
    return tree_.OnKey(key, alt);
}

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

long TreePane::OnMouseMoved(const MouseInput& mouse)
{
    if (IgnoreMouse)
        return 1;
    ZoomPaneScale scale(*this);
    POINT pixels = DrawingPoint(mouse.at);
    if (!tracker_) {
        ChooseCursor(ToLogical(pixels));
        return 0;
    }
    if (!mouse.LeftHeld()) {
        tracker_.reset();
        DragMode = NoDrag;
        ReleaseCapture();
        return 1;
    }
    if (constrainAllowed_ && mouse.Shift())
        pixels = ToPixels(ConstrainToAxis(ToLogical(pixels), anchorPoint_));
    tracker_->MoveTo(pixels.x, pixels.y);
    if (DragMode == BandDrag)
        UpdateBandSelection();
    return 1;
}

// A cross while a click draws a note or an arrow; the I-beam over texts that can be typed into; the node
// cursor over the symbol of a node that can have branches.
void TreePane::ChooseCursor(LogicalPoint point)
{
    if (tree_.ClickMode != 0) {
        SetCursor(Cursor(kCrossCursor));
        return;
    }
    if (NoteBox* note = tree_.NoteBoxAt(point)) {
        const LogicalRect& outer = note->frame;
        const bool inside = point.x >= outer.left && point.x <= outer.right && point.y >= outer.top &&
                            point.y <= outer.bottom;
        SetCursor(inside ? Cursor(kTextCursor) : Cursor::Arrow());
        return;
    }
    TreeNode* node = FindNodeAt(tree_, tree_.Document().Root, point);
    if (node == nullptr) {
        SetCursor(Cursor::Arrow());
        return;
    }
    int region = HitTestNode(tree_, node, point);
    if (tree_.Document().IsRolledBack() && (region == NameRegion || region == ProbabilityRegion))
        region = NoRegion;
    const bool typable = region == NameRegion || region == SecondTextRegion ||
                         (region == ProbabilityRegion && CarriesProbabilities(node));
    if (typable)
        SetCursor(Cursor(kTextCursor));
    else if (region == SymbolRegion && node->kind != TerminalNode)
        SetCursor(Cursor::FromResource(ResourceId(kNodeSymbolCursor, nullptr)));
    else {
        SetCursor(Cursor::Arrow());
        return;
    }
    // Where the node's text is too small to read, the status line shows it.
    const FontRecord& font = node->fonts[0] != nullptr ? *node->fonts[0] : tree_.DefaultFont(TreeTextFont);
    if (font.pointSize * Zoom() <= 7.0) {
        const std::string status = "Node: " + std::string(node->text.Text()).substr(0, 30);
        ShowStatusMessage(status.c_str());
    } else {
        ShowStatusMessage("");
    }
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
