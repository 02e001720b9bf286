#pragma once
// The drawing surface of a tree window: a zooming, scrolling pane that paints through its window and turns
// mouse presses, moves and releases over the tree into selections and drags.

#include "app/ZoomPane.h"
#include "framework/draw/LogicalUnits.h"

#include <memory>
#include <vector>

class TrackerBase;
class TreeWindow;
struct TreeNode;

class TreePane : public ZoomPane {
public:
    // Drags that may run.
    enum DragModes { NoDrag = 0, BandDrag = 9 };

    // Fills the owner.
    TreePane(DocChildWindow* owner, TreeWindow& tree);
    ~TreePane() override;

    long OnMouseMove(WindowEvent* event) override;  // 10
    long OnButtonUp(WindowEvent* event) override;   // 11
    long OnButtonDown(WindowEvent* event) override; // 12

    // While nonzero, presses, moves and releases are taken without effect.
    int IgnoreMouse = 0;
    int DragMode = NoDrag;

private:
    // The event's client point in the drawing's pixels, and in logical units.
    POINT DrawingPoint(const WindowEvent& event) const;
    LogicalPoint ToLogical(POINT drawingPixels) const;
    void PressNode(TreeNode* node, LogicalPoint point, const WindowEvent& event);
    void BeginBandSelection(POINT start);
    // The nodes whose symbols the band overlaps now become highlighted, those it left plain again.
    void UpdateBandSelection();
    void CollectNodesInRect(TreeNode* node, const LogicalRect& band, std::vector<TreeNode*>& out);
    void FinishDrag();

    TreeWindow& tree_;
    std::unique_ptr<TrackerBase> tracker_;
    std::vector<TreeNode*> bandNodes_;
    std::vector<TreeNode*> bandHighlight_;
    LogicalPoint pressPoint_{0, 0};
    int shiftAtPress_ = 0;
};
