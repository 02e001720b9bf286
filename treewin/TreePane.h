#pragma once
// The drawing surface of a tree window: a zooming, scrolling pane that paints through its window and turns
// mouse presses, moves and releases over the tree into selections, drags of note boxes, arrows and
// roll-back boxes, the rubber band and the context menu.

#include "widgets/ZoomPane.h"
#include "framework/draw/LogicalUnits.h"

#include <memory>
#include <utility>
#include <vector>

class InPlaceEdit;
class NoteBox;
class TrackerBase;
class TreeWindow;
struct TreeArrow;
struct TreeNode;

class TreePane : public ZoomPane {
public:
    // Drags that may run.
    enum DragModes {
        NoDrag = 0,
        NoteCreateDrag = 1,
        NoteMoveDrag = 2,
        ArrowCreateDrag = 3,
        ArrowMoveDrag = 4,
        ArrowHeadDrag = 5,
        ArrowTailDrag = 6,
        NoteResizeDrag = 7,
        RollBackBoxDrag = 8,
        BandDrag = 9,
    };

    // Fills the owner; key releases go to OnKey.
    TreePane(DocChildWindow* owner, TreeWindow& tree);
    ~TreePane() override;

    // 7: taken without effect. A multi-line edit answers Escape by closing its parent where the window
    // handles dialog keys; the pane goes only with its tree window.
    long OnClose(WindowEvent*) override { return 1; }
    long OnCommandId(unsigned id, unsigned code, HWND control) override; // the in-place edit's changes
    long OnMouseMoved(const MouseInput& mouse) override;
    long OnMouseUp(const MouseInput& mouse) override;
    long OnMouseDown(const MouseInput& mouse) override;
    // A released key: taken without effect unless the tree is rolled back or Ctrl or Alt is held; then the
    // tree window's key operation has it (codes below Escape excepted). The release of a key whose press the
    // pane never saw (an accelerator's, such as Ctrl+S) is no key of the tree's.
    long OnKeyUp(unsigned key, bool alt) override;
    // A pressed arrow or Home while no edit is open (Escape closed it) moves the selection as it does from
    // the edit; the keys that the release handles are left to it.
    long OnKeyDown(unsigned key, bool alt) override;
    // Asks for the arrow keys where the window handles dialog keys.
    long HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer) override;

    // Routes the open edit's presses and key-downs through the pane and the tree window.
    void HookInPlaceEditor(InPlaceEdit& editor);
    // A right press in the open edit shows the context menu; other presses are the edit's.
    long EditMouseDown(WindowEvent* event);
    long EditKeyDown(WindowEvent* event);
    // Shows the context menu at the client point unless a drag runs; true when shown.
    bool ShowContextMenu(POINT client);
    // A Ctrl+press on the node's roll-back box drags the box.
    void BeginRollBackBoxDrag(TreeNode* node, POINT pressPixels);

    // While nonzero, presses, moves and releases are taken without effect.
    int IgnoreMouse = 0;
    int DragMode = NoDrag;

private:
    // The event's client point in the drawing's pixels, and in logical units.
    POINT DrawingPoint(POINT client) const;
    LogicalPoint ToLogical(POINT drawingPixels) const;
    POINT ToPixels(LogicalPoint point) const;
    using ZoomPane::ToPixels;
    // The menu at the client point, tracked until it closes; the chosen command goes to the tree's window.
    void TrackContextMenu(POINT client);
    void StartTracker(std::unique_ptr<TrackerBase> tracker, POINT start, int mode);
    void PressNode(TreeNode* node, LogicalPoint point, const MouseInput& mouse);
    void PressNoteBox(NoteBox* note, LogicalPoint point, POINT pixels);
    void PressArrow(TreeArrow* arrow, LogicalPoint point, POINT pixels);
    void DoubleClickNode(TreeNode* node, LogicalPoint point, bool shift);
    void BeginBandSelection(POINT start);
    // The nodes whose symbols the band overlaps now become highlighted, those it left plain again.
    void UpdateBandSelection();
    // Draws each toggled node's symbol at once, highlighted (true) or plain.
    void DrawBandHighlights(const std::vector<std::pair<TreeNode*, bool>>& toggled);
    void CollectNodesInRect(TreeNode* node, const LogicalRect& band, std::vector<TreeNode*>& out);
    void ChooseCursor(LogicalPoint point);
    void FinishDrag(bool shift);
    bool FinishArrowCreate(bool shift);
    void FinishArrowMove(TreeArrow* arrow, LogicalPoint moved, bool shift);
    void FinishBandSelection();
    // The tracker's moved distance in logical units.
    LogicalPoint MovedDistance() const;

    TreeWindow& tree_;
    std::vector<TreeNode*> bandNodes_;
    std::vector<TreeNode*> bandHighlight_;
    LogicalPoint pressPoint_{0, 0};
    LogicalPoint anchorPoint_{0, 0};
    int shiftAtPress_ = 0;
    int constrainAllowed_ = 0;
    // The key of the last press the pane saw, until its release.
    unsigned pressedKey_ = 0;
};
