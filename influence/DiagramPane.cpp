#include "influence/DiagramPane.h"

#include "widgets/FrameCommands.h"
#include "widgets/InPlaceEdit.h"
#include "widgets/InputHelpers.h"
#include "widgets/MouseTracker.h"
#include "widgets/StatusMessage.h"
#include "framework/dialog/Cursor.h"
#include "framework/dialog/PopupMenu.h"
#include "framework/draw/DrawingScale.h"
#include "framework/window/FillLayout.h"
#include "framework/window/WindowEvent.h"
#include "influence/DiagramActions.h"
#include "influence/ArcDialogs.h"
#include "influence/DiagramLevelLookups.h"
#include "influence/InfluenceDiagramWindow.h"
#include "widgets/OutlineTracker.h"
#include "model/InfluenceNode.h"
#include "model/NoteBox.h"

#include "CommandIds.h"

#include <algorithm>
#include <cmath>

int CommandToNodeKind(unsigned command)
{
    switch (command) {
    case Cmd::ModeDecision:
    case Cmd::RightClickNewDecision:
        return InfluenceKind::Decision;
    case Cmd::ModeChance:
    case Cmd::RightClickNewChance:
        return InfluenceKind::Chance;
    case Cmd::ModeDeterministic:
    case Cmd::RightClickNewDeterm:
        return InfluenceKind::Deterministic;
    case Cmd::ModeValue:
    case Cmd::RightClickNewValue:
        return InfluenceKind::Value;
    default:
        return 0;
    }
}

namespace {

constexpr unsigned kTextCursor = 32513;
constexpr unsigned kCrossCursor = 32515;
// A label in a smaller font than this, at the zoom, is shown in the status line.
constexpr double kSmallestReadablePoints = 7.0;
constexpr int kStatusLabelLength = 32;

DiagramPoint Point(LogicalPoint point)
{
    return DiagramPoint{point.x, point.y};
}

bool Contains(const LogicalRect& rect, DiagramPoint point)
{
    return rect.left <= point.x && point.x <= rect.right && rect.top <= point.y && point.y <= rect.bottom;
}

// A tracker that draws nothing: the arc's middle follows the mouse on the diagram itself.
std::unique_ptr<TrackerBase> SilentTracker(Display* display)
{
    auto tracker = std::make_unique<TrackerBase>(display);
    tracker->CustomDraw = 1;
    tracker->DrawCallback = [](Display&) {};
    return tracker;
}

} // namespace

DiagramPane::DiagramPane(InfluenceDiagramWindow& window)
    : ZoomPane(&window, new FillLayout(), WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL), window_(window)
{
}

DiagramPane::~DiagramPane()
{
    if (tracker_ && GetCapture() == Handle())
        ReleaseCapture();
    SetClickTarget(nullptr);
}

LogicalPoint DiagramPane::ToLogical(POINT drawingPixels) const
{
    return LogicalPoint{PixelXToLogical(drawingPixels.x, *CurrentDisplay()),
                        PixelYToLogical(drawingPixels.y, *CurrentDisplay())};
}

void DiagramPane::StartTracker(std::unique_ptr<TrackerBase> tracker, POINT start, int kind)
{
    BeginTracking(std::move(tracker), start);
    dragKind_ = kind;
}

void DiagramPane::EndTracker()
{
    tracker_.reset();
    dragKind_ = NoDrag;
    if (GetCapture() == Handle())
        ReleaseCapture();
}

long DiagramPane::OnMouseDown(const MouseInput& mouse)
{
    if (tracker_)
        return 1;
    ZoomPaneScale scale(*this);
    RecordMouseClick(mouse.at);
    const POINT pixels = ClientToDrawing(mouse.at);
    const DiagramPoint point = Point(ToLogical(pixels));
    window_.clickPoint = point;
    if (window_.toolMode == InfluenceDiagramWindow::NoteTool) {
        StartTracker(std::make_unique<OutlineTracker>(CurrentDisplay(), Colour{0, 0, 0, 0}), pixels, NoteCreateDrag);
        return 1;
    }
    if (window_.toolMode == InfluenceDiagramWindow::NodeTool) {
        // A tool acts once: the button-up usually lands in the new node's editor, not here, so the tool is
        // put down with the node.
        window_.toolMode = InfluenceDiagramWindow::SelectTool;
        if (!mouse.right)
            window_.AddUndoAction(new DiagramCreateNodeAction(&window_, window_.toolKind, point));
        RefreshFrameCommands();
        return 1;
    }
    InfluenceNodeRecord* node = LevelNodeAtPoint(window_.Diagram(), point);
    InfluenceArc* arc = window_.ArcAtPoint(point);
    if (window_.toolMode == InfluenceDiagramWindow::ArcTool) {
        if (node != nullptr) {
            StartInfluence(node);
            return 1;
        }
        window_.toolMode = InfluenceDiagramWindow::SelectTool;
        SetHoverTarget(nullptr);
        SetCursor(Cursor::Arrow());
    }
    NoteBox* note = arc == nullptr && node == nullptr ? LevelNoteAtPoint(window_.Diagram(), point) : nullptr;
    SetClickTarget(arc != nullptr ? static_cast<const void*>(arc)
                   : node != nullptr ? static_cast<const void*>(node) : static_cast<const void*>(note));
    if (arc != nullptr)
        PressArc(arc, point, pixels, mouse);
    else if (node != nullptr)
        PressNode(node, point, pixels, mouse);
    else if (note != nullptr)
        PressNote(note, point, pixels);
    else
        PressPaper(pixels, mouse);
    return 1;
}

void DiagramPane::PressArc(InfluenceArc* arc, DiagramPoint point, POINT pixels, const MouseInput& mouse)
{
    window_.SelectArc(arc);
    if (mouse.right) {
        ShowMenu(MenuRes::DiagramArcPopup, mouse.at);
        return;
    }
    if (IsDoubleClick()) {
        EditArcSettings(window_, *arc);
        return;
    }
    // The middle handle: 12 pixels square around the middle.
    const float reach = static_cast<float>(PixelWidthToLogical(6, *CurrentDisplay()));
    if (std::fabs(point.x - arc->middle.x) <= reach && std::fabs(point.y - arc->middle.y) <= reach) {
        pressCurved_ = arc->curved;
        pressMiddle_ = arc->middle;
        pressCommentOffset_ = arc->commentOffset;
        StartTracker(SilentTracker(CurrentDisplay()), pixels, MiddleDrag);
    } else if (arc->CommentShown() && Contains(arc->commentBox, point)) {
        StartTracker(std::make_unique<MouseTracker>(CurrentDisplay(), ToPixels(arc->commentBox)), pixels,
                     CommentDrag);
    }
}

// Without Shift the node becomes the selection, or a press off the label of a node among several drags
// them all; Shift adds an unselected node (and drags the selection) or takes a selected one out. Ctrl or
// the right button select the node alone; Ctrl then draws an influence from it. A press on the label opens
// its editor, with the caret where the press was.
void DiagramPane::PressNode(InfluenceNodeRecord* node, DiagramPoint point, POINT pixels, const MouseInput& mouse)
{
    int count = static_cast<int>(window_.SelectedNodes().size());
    bool selected = window_.IsSelected(node);
    bool shift = mouse.Shift();
    const bool control = mouse.Control();
    if (window_.SelectedNote() != nullptr || window_.SelectedArc() != nullptr || control || mouse.right) {
        window_.ClearSelection();
        if (control || mouse.right) {
            count = 0;
            selected = false;
            shift = false;
        }
    }
    const bool onLabel = node->HitNodePart(point) == 1;
    bool drag = false;
    bool sole = false;
    if (!shift) {
        sole = !selected || count == 1 || onLabel;
        drag = !sole;
    } else if (!selected) {
        if (count == 0) {
            sole = true;
        } else {
            window_.EndInPlaceEdit();
            window_.AddToSelection(node);
            drag = true;
        }
    } else {
        window_.DeselectNode(node);
    }
    if (sole && !(selected && onLabel && window_.LabelEditor() != nullptr)) {
        if (!onLabel) {
            window_.EndInPlaceEdit();
            drag = true;
        }
        if (!(selected && !onLabel))
            window_.SelectNode(node, false);
        if (onLabel && !control) {
            window_.StartInPlaceEdit();
            if (InPlaceEdit* editor = window_.LabelEditor(); editor != nullptr && !mouse.right) {
                POINT at = mouse.at;
                MapWindowPoints(Handle(), editor->Handle(), &at, 1);
                PostMouseDown(editor->Handle(), at);
            }
        }
    }
    RefreshFrameCommands();
    if (mouse.right) {
        ShowMenu(MenuRes::DiagramNodePopup, mouse.at);
    } else if (control) {
        StartInfluence(node);
    } else if (drag && IsDoubleClick() && window_.SelectedNodes().size() == 1) {
        window_.OpenSubModel(window_.FirstSelected());
    } else if (drag && !IsDoubleClick() && !window_.SelectedNodes().empty()) {
        LogicalRect bounds = window_.SelectedNodes().front()->NodeRect();
        for (const InfluenceNodeRecord* chosen : window_.SelectedNodes()) {
            const LogicalRect rect = chosen->NodeRect();
            bounds = LogicalRect{std::min(bounds.left, rect.left), std::min(bounds.top, rect.top),
                                 std::max(bounds.right, rect.right), std::max(bounds.bottom, rect.bottom)};
        }
        StartTracker(std::make_unique<MouseTracker>(CurrentDisplay(), ToPixels(bounds)), pixels, NodesDrag);
    }
}

// The border moves the note, a corner handle resizes it from the opposite corner.
void DiagramPane::PressNote(NoteBox* note, DiagramPoint point, POINT pixels)
{
    // The interior is typed into; the border and the handles move and size the note.
    const int hit = note->HitTest(point.x, point.y);
    if (hit != NoteBoxInterior)
        window_.EndInPlaceEdit();
    window_.SelectNote(note, hit == NoteBoxInterior);
    const LogicalRect text = note->GetTextRect();
    if (hit == NoteBoxBorder) {
        StartTracker(std::make_unique<MouseTracker>(CurrentDisplay(), ToPixels(text)), pixels, NoteMoveDrag);
    } else if (hit == NoteBoxCorner) {
        const NoteBoxHandle handle = note->HandleAt(point.x, point.y);
        const LogicalPoint fixed{handle.column == 0 ? text.right : text.left, handle.row == 0 ? text.bottom : text.top};
        const LogicalPoint pressed{handle.column == 0 ? text.left : text.right, handle.row == 0 ? text.top : text.bottom};
        const POINT fixedPixels = LogicalPointToPixels(fixed, *CurrentDisplay());
        StartTracker(std::make_unique<DiagramTracker>(CurrentDisplay(), fixedPixels),
                     LogicalPointToPixels(pressed, *CurrentDisplay()), NoteResizeDrag);
    }
}

void DiagramPane::PressPaper(POINT pixels, const MouseInput& mouse)
{
    if (mouse.right) {
        window_.ClearSelection();
        ShowMenu(MenuRes::DiagramPopup, mouse.at);
        return;
    }
    if (!(mouse.Shift() && window_.SelectedNote() == nullptr && window_.SelectedArc() == nullptr))
        window_.ClearSelection();
    bandNodes_.clear();
    workingSelection_.clear();
    for (const InfluenceNodeRecord* node : window_.SelectedNodes())
        workingSelection_.push_back(LevelNodeIndex(window_.Diagram(), node));
    StartTracker(std::make_unique<OutlineTracker>(CurrentDisplay(), Colour{0, 0, 0, 0}), pixels, BandDrag);
}

void DiagramPane::StartInfluence(InfluenceNodeRecord* source)
{
    if (tracker_ || source == nullptr)
        return;
    ZoomPaneScale scale(*this);
    influenceSource_ = source;
    SetHoverTarget(nullptr);
    const DiagramPoint centre = source->NodeCentre();
    auto line = std::make_unique<OutlineTracker>(CurrentDisplay(), Colour{0, 0, 0, 0});
    line->LineMode = 1;
    StartTracker(std::move(line), LogicalPointToPixels(LogicalPoint{centre.x, centre.y}, *CurrentDisplay()),
                 InfluenceDrag);
}

void DiagramPane::ShowMenu(unsigned resource, POINT client)
{
    if (tracker_)
        return;
    MapWindowPoints(Handle(), window_.Handle(), &client, 1);
    PopupMenu menu(client.x, client.y, &window_, ResourceId(resource, nullptr));
    window_.UpdatePopupMenu(menu.Handle());
    menu.Track();
}

void DiagramPane::HookLabelEditor(InPlaceEdit& editor)
{
    editor.AddMessageHandler(this, &DiagramPane::EditorMouseDown, WM_RBUTTONDOWN);
    editor.AddHandler(this, &DiagramPane::EditorKeyDown, WM_KEYDOWN);
}

// Escape closes the editor as it was; left to the edit control, it would ask the pane to close.
long DiagramPane::EditorKeyDown(WindowEvent* event)
{
    if (event->Key() != VK_ESCAPE || event->AltDown() || window_.LabelEditor() == nullptr)
        return 0;
    window_.CancelInPlaceEdit();
    return 1;
}

long DiagramPane::EditorMouseDown(WindowEvent* event)
{
    InPlaceEdit* editor = window_.LabelEditor();
    if (editor == nullptr)
        return 0;
    POINT at = event->Point();
    MapWindowPoints(editor->Handle(), Handle(), &at, 1);
    ShowMenu(MenuRes::DiagramNodePopup, at);
    return 1;
}

long DiagramPane::OnCommandId(unsigned id, unsigned code, HWND control)
{
    InPlaceEdit* editor = window_.LabelEditor();
    if (code == EN_CHANGE && editor != nullptr && control == editor->Handle()) {
        window_.InPlaceTextChanged();
        return 1;
    }
    return ZoomPane::OnCommandId(id, code, control);
}

long DiagramPane::OnKeyUp(unsigned key, bool alt)
{
    if (key == VK_ESCAPE && !alt && !tracker_) {
        window_.toolMode = InfluenceDiagramWindow::SelectTool;
        SetHoverTarget(nullptr);
        RefreshFrameCommands();
        return 1;
    }
    return ZoomPane::OnKeyUp(key, alt);
}

void DiagramPane::SetHoverTarget(InfluenceNodeRecord* node)
{
    if (node == hoverTarget_)
        return;
    hoverTarget_ = node;
    window_.InvalidateAll();
}

long DiagramPane::OnMouseMoved(const MouseInput& mouse)
{
    ZoomPaneScale scale(*this);
    const POINT pixels = ClientToDrawing(mouse.at);
    const DiagramPoint point = Point(ToLogical(pixels));
    if (!tracker_) {
        ChooseCursor(point);
        return 0;
    }
    tracker_->MoveTo(pixels.x, pixels.y);
    if (dragKind_ == InfluenceDrag) {
        InfluenceNodeRecord* target = LevelNodeAtPoint(window_.Diagram(), point);
        SetHoverTarget(target == influenceSource_ ? nullptr : target);
    } else if (dragKind_ == BandDrag) {
        UpdateBand();
    } else if (dragKind_ == MiddleDrag && window_.SelectedArc() != nullptr) {
        window_.SelectedArc()->MoveMiddle(Point(ToLogical(tracker_->CurrentPoint)));
        window_.InvalidateAll();
    }
    return 1;
}

// The arrow over arcs and nodes, the I-beam over a label that can be typed into and inside a note, the
// cross while the arc tool waits for its node (which is highlighted).
void DiagramPane::ChooseCursor(DiagramPoint point)
{
    if (window_.toolMode == InfluenceDiagramWindow::ArcTool) {
        SetCursor(Cursor(kCrossCursor));
        SetHoverTarget(LevelNodeAtPoint(window_.Diagram(), point));
        return;
    }
    if (window_.toolMode != InfluenceDiagramWindow::SelectTool || window_.ArcAtPoint(point) != nullptr) {
        SetCursor(Cursor::Arrow());
        return;
    }
    if (InfluenceNodeRecord* node = LevelNodeAtPoint(window_.Diagram(), point)) {
        SetCursor(node->HitNodePart(point) == 1 ? Cursor(kTextCursor) : Cursor::Arrow());
        // Where the label is too small to read, the status line shows it.
        const FontRecord& font = node->font ? *node->font : window_.document.prefs.nodeFont;
        if (Zoom() * font.pointSize <= kSmallestReadablePoints) {
            zString status("Node: ");
            status += ShortenLabel(node->name.Text(), kStatusLabelLength);
            ShowStatusMessage(status.Text());
        } else {
            ShowStatusMessage("");
        }
        return;
    }
    NoteBox* note = LevelNoteAtPoint(window_.Diagram(), point);
    SetCursor(note != nullptr && Contains(note->frame, point) ? Cursor(kTextCursor) : Cursor::Arrow());
}

// The nodes the band covers now invert their state from before the band.
void DiagramPane::UpdateBand()
{
    const RECT shape = tracker_->ShapeRect(tracker_->CurrentPoint);
    const LogicalPoint first = ToLogical(POINT{shape.left, shape.top});
    const LogicalPoint second = ToLogical(POINT{shape.right, shape.bottom});
    const LogicalRect band{first.x, first.y, second.x, second.y};
    std::vector<int> inside;
    const std::vector<InfluenceNodeRecord*>& nodes = window_.Diagram().nodes;
    for (size_t i = 0; i < nodes.size(); ++i) {
        const LogicalRect rect = nodes[i]->NodeRect();
        if (std::max(rect.left, band.left) < std::min(rect.right, band.right) &&
            std::max(rect.top, band.top) < std::min(rect.bottom, band.bottom))
            inside.push_back(static_cast<int>(i));
    }
    const auto toggle = [this](int index) {
        auto found = std::find(workingSelection_.begin(), workingSelection_.end(), index);
        if (found == workingSelection_.end())
            workingSelection_.push_back(index);
        else
            workingSelection_.erase(found);
    };
    for (int index : inside)
        if (std::find(bandNodes_.begin(), bandNodes_.end(), index) == bandNodes_.end())
            toggle(index);
    for (int index : bandNodes_)
        if (std::find(inside.begin(), inside.end(), index) == inside.end())
            toggle(index);
    bandNodes_ = inside;
}
