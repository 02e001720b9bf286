#pragma once
// The undoable edits the node and arc dialogs make: each swaps the stored values with the node's or the
// arc's, so Do, Undo and Redo are one operation. Nodes and arcs are named by index, as every diagram step.

#include "influence/DiagramActions.h"

#include <string>
#include <vector>

// A step on one node's properties; an index that names no node any more makes it do nothing.
class NodePropertyAction : public DiagramAction {
public:
    void Undo() override { Do(); }

    int index;

protected:
    NodePropertyAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node, const char* name);
    InfluenceNodeRecord* Node() const { return NodeAt(index); }
    // The node laid out again (with relayout), the extent recomputed and the node selected.
    void Show(InfluenceNodeRecord& node, bool relayout);
};

// "Node Description": the label and the annotation.
class NodeDescriptionAction : public NodePropertyAction {
public:
    NodeDescriptionAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node, const zString& name,
                          const zString& annotation);
    void Do() override;

    zString label;
    zString annotation;
};

// "Node Variable" of a chance or decision node: the name (made unique; every use in the diagram follows a
// new one), the value when skipped and the never-define flag.
class NodeVariableAction : public NodePropertyAction {
public:
    NodeVariableAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node, const zString& variable,
                       const zString& valueText, int16_t neverDefine);
    void Do() override;

    zString variable;
    zString valueText;
    int16_t neverDefine = 0;

protected:
    NodeVariableAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node, const zString& variable);
    // Swaps the fields other than the name.
    virtual void SwapOthers(InfluenceNodeRecord& node);
};

// "Node Variable" of a deterministic node: the name, the baseline value and the range.
class NodeRangeVariableAction : public NodeVariableAction {
public:
    NodeRangeVariableAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node, const zString& variable,
                            const zString& valueText, double low, double high);

    double low;
    double high;

private:
    void SwapOthers(InfluenceNodeRecord& node) override;
};

// "Node Variable" of a value node: the name and the formula; an empty formula means the node uses its
// table, and keeps the formula it had.
class NodeFormulaVariableAction : public NodeVariableAction {
public:
    NodeFormulaVariableAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node, const zString& variable,
                              const zString& formula);

    zString formula;
    // -1 until first done, while the text alone says it (empty: no formula, the node's text kept); after each
    // swap the flag and the text the node had, which the next swap gives back.
    int16_t noFormula = -1;

private:
    void SwapOthers(InfluenceNodeRecord& node) override;
};

// "Node Outcomes" of a chance node, "Node Alternatives" of any other: the list of state names.
class NodeStatesAction : public NodePropertyAction {
public:
    NodeStatesAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node, std::vector<std::string> names);
    void Do() override;

    std::vector<std::string> names;
};

// "Change Node Type": the node (and its clones) take the other kind.
class DiagramChangeNodeTypeAction : public NodePropertyAction {
public:
    DiagramChangeNodeTypeAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node, int kind);
    void Do() override;

    int kind;
};

// "Align Nodes": vertical 0 none, 1 top, 2 middle, 3 bottom; horizontal 0 none, 1 left, 2 centre, 3 right,
// each node aligned within the union of the nodes' rectangles as they were.
class DiagramAlignNodesAction : public DiagramAction {
public:
    DiagramAlignNodesAction(InfluenceDiagramWindow* window, const std::vector<InfluenceNodeRecord*>& nodes,
                            int vertical, int horizontal);
    void Do() override { Place(true); }
    void Undo() override { Place(false); }

    int vertical;
    int horizontal;
    std::vector<int> indexes;
    std::vector<LogicalRect> before;
    LogicalRect bounds{0, 0, 0, 0};

private:
    void Place(bool aligned);
};

// "Edit Arc": the arc's comment, its show flag and its rows.
class DiagramEditArcAction : public DiagramAction {
public:
    DiagramEditArcAction(InfluenceDiagramWindow* window, InfluenceArc* arc, ArcSettings settings);
    void Do() override;
    void Undo() override { Do(); }

    int index;
    ArcSettings settings;
};

// How far aligning moves a box within an area: mode 0 none, 1 to the low side, 2 to the middle, 3 to the
// high side (integer arithmetic is the caller's: the sample pane works in pixels).
float AlignOffset(int mode, float low, float high, float areaLow, float areaHigh);
