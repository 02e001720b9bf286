#include "treewin/TreePane.h"

#include "widgets/DocChildWindow.h"
#include "widgets/InPlaceEdit.h"
#include "widgets/InputHelpers.h"
#include "widgets/MouseTracker.h"
#include "widgets/StatusMessage.h"
#include "framework/dialog/PopupMenu.h"
#include "framework/draw/DrawingScale.h"
#include "framework/window/FillLayout.h"
#include "framework/window/WindowEvent.h"
#include "widgets/OutlineTracker.h"
#include "model/NodeLinkBlock.h"
#include "model/NoteBox.h"
#include "model/TreeArrow.h"
#include "model/TreeNode.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreeArrowDrawing.h"
#include "treewin/TreePaneGeometry.h"
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

long TreePane::HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    // The tree window handles dialog keys: without asking for the arrows the pane would lose them to it.
    if (event.message == WM_GETDLGCODE)
        return AnswerNow{answeredAtOnce, answer}(DLGC_WANTARROWS);
    return ZoomPane::HandleMessage(event, answeredAtOnce, answer);
}

long TreePane::OnKeyDown(unsigned key, bool alt)
{
    pressedKey_ = key;
    const bool onRelease = tree_.Document().IsRolledBack() || GetKeyState(VK_CONTROL) < 0 || alt;
    const bool moves = key == VK_HOME || key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN;
    if (tree_.InPlaceEditor == nullptr && !onRelease && moves && tree_.OnKey(key, alt) != 0)
        return 1;
    return ZoomPane::OnKeyDown(key, alt);
}

long TreePane::OnKeyUp(unsigned key, bool alt)
{
    const bool pressedHere = key == pressedKey_;
    pressedKey_ = 0;
    if (!pressedHere || (!tree_.Document().IsRolledBack() && GetKeyState(VK_CONTROL) >= 0 && !alt))
        return 1;
    if (static_cast<signed char>(key) < VK_ESCAPE)
        return 0;
    return tree_.OnKey(key, alt);
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
