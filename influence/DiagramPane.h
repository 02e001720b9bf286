#pragma once
// The drawing surface of an influence-diagram window: a zooming, scrolling pane that turns presses, moves
// and releases into gestures: selecting nodes, an arc or a note (Shift adds, a rubber band takes the nodes
// it covers), dragging the selected nodes, an arc's middle or its comment, moving and resizing notes,
// placing a node or a note with a tool, drawing an influence, and the context menus.

#include "widgets/ZoomPane.h"
#include "model/InfluenceArc.h"

#include <memory>
#include <vector>

// The kind a new-node command makes (a tool mode or a right-click item); 0 for any other command.
int CommandToNodeKind(unsigned command);

class InfluenceDiagramWindow;
class InfluenceNodeRecord;
class InPlaceEdit;
class NoteBox;
class TrackerBase;

class DiagramPane : public ZoomPane {
public:
    // What the tracker of the gesture does.
    enum DragKind {
        NoDrag = 0,
        NoteCreateDrag = 1,
        NoteMoveDrag = 2,
        NoteResizeDrag = 3,
        InfluenceDrag = 4,
        MiddleDrag = 5,
        CommentDrag = 6,
        BandDrag = 7,
        NodesDrag = 8,
    };

    explicit DiagramPane(InfluenceDiagramWindow& window);
    // A gesture still running gives the mouse back.
    ~DiagramPane() override;

    long OnMouseDown(const MouseInput& mouse) override;
    long OnMouseMoved(const MouseInput& mouse) override;
    long OnMouseUp(const MouseInput& mouse) override;
    // The label editor's changes.
    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    // Escape ends the drawing tool.
    long OnKeyUp(unsigned key, bool alt) override;

    // "Draw New Arc": an influence from the node follows the mouse until the next release.
    void StartInfluence(InfluenceNodeRecord* source);
    // The editor's right presses open the node's context menu; other presses are the editor's. Escape
    // cancels the editing.
    void HookLabelEditor(InPlaceEdit& editor);
    long EditorMouseDown(WindowEvent* event);
    long EditorKeyDown(WindowEvent* event);

    // The node an influence is being drawn to, drawn highlighted.
    InfluenceNodeRecord* HoverTarget() const { return hoverTarget_; }
    int Drag() const { return dragKind_; }

private:
    LogicalPoint ToLogical(POINT drawingPixels) const;
    void StartTracker(std::unique_ptr<TrackerBase> tracker, POINT start, int kind);
    void EndTracker();
    void PressArc(InfluenceArc* arc, DiagramPoint point, POINT pixels, const MouseInput& mouse);
    void PressNode(InfluenceNodeRecord* node, DiagramPoint point, POINT pixels, const MouseInput& mouse);
    void PressNote(NoteBox* note, DiagramPoint point, POINT pixels);
    void PressPaper(POINT pixels, const MouseInput& mouse);
    // The context menu at the client point; the chosen command goes to the window.
    void ShowMenu(unsigned resource, POINT client);
    void SetHoverTarget(InfluenceNodeRecord* node);
    void ChooseCursor(DiagramPoint point);
    void UpdateBand();
    void FinishGesture();

    InfluenceDiagramWindow& window_;
    int dragKind_ = NoDrag;
    InfluenceNodeRecord* influenceSource_ = nullptr;
    InfluenceNodeRecord* hoverTarget_ = nullptr;
    // The arc's shape when its middle was pressed.
    int16_t pressCurved_ = 0;
    DiagramPoint pressMiddle_;
    DiagramPoint pressCommentOffset_;
    // Node indexes inside the band at its last move, and those selected when it is released.
    std::vector<int> bandNodes_;
    std::vector<int> workingSelection_;
};
