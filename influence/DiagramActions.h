#pragma once
// The undoable edits of an influence diagram. Each names its nodes and arcs by their index in the diagram's
// lists, never by address across an undo (a node made again by a redo is a new record); an index that no
// longer names anything makes the step do nothing. Every undo and redo marks the document modified.

#include "widgets/UndoAction.h"
#include "foundation/FontRecord.h"
#include "model/InfluenceArc.h"

#include <memory>
#include <vector>

class InfluenceDiagram;
class InfluenceDiagramWindow;
class InfluenceNodeRecord;
class NoteBox;

// Where the nodes and arcs of every level of the document lie: the document's diagram, then each sub-model's
// level depth first, each in list order.
struct DiagramPlacement {
    struct NodePlace {
        LogicalRect rect;
        DiagramPoint position;
        // The node's arcs in and out, by their index in the level, in the node's order.
        std::vector<int> arcsIn, arcsOut;
    };
    struct ArcPlace {
        DiagramPoint tailCentre, headCentre, start, end, middle, commentOffset;
        LogicalRect commentBox;
        int16_t curved;
    };
    struct Level {
        std::vector<NodePlace> nodes;
        std::vector<ArcPlace> arcs;
    };
    std::vector<Level> levels;
};

class DiagramAction : public UndoAction {
public:
    // Made just before it is applied: it keeps where the nodes and arcs of every level lie then.
    DiagramAction(InfluenceDiagramWindow* window, const char* name);
    // Taken back, the nodes and arcs lie exactly where they lay before the action (laying them out again
    // would measure them afresh and move arcs by rounded offsets), in each level with as many as then. A font
    // or a clone's label reaches levels other than the window's.
    bool Toggle() override;

protected:
    InfluenceDiagramWindow& Window() const;
    InfluenceDiagram& Diagram() const;
    InfluenceNodeRecord* NodeAt(int index) const;
    InfluenceArc* ArcAt(int index) const;
    // The new node at the end of the diagram, selected (with startEdit its label editor opens); its index.
    int AppendNode(InfluenceNodeRecord* node, bool startEdit);
    // The node at the index leaves the diagram and is destroyed.
    void RemoveNodeAt(int index);

    // Off for an action made after its change (a gesture's): what it keeps is no longer the "before".
    bool restoresPlacement = true;

private:
    // The document's diagram and every sub-model's level, in the placement's order.
    std::vector<InfluenceDiagram*> Levels() const;
    DiagramPlacement Placement() const;
    void RestorePlacement(const DiagramPlacement& placement);

    DiagramPlacement placement_;
};

// "Create Node": a node of the kind centred on the point, its label editor open.
class DiagramCreateNodeAction : public DiagramAction {
public:
    DiagramCreateNodeAction(InfluenceDiagramWindow* window, int kind, DiagramPoint point);
    void Do() override;
    void Undo() override;

    int kind;
    int index = -1;
    DiagramPoint point;
};

// "Make Clone": a clone of the master beside it (0.8 right, 0.4 down), in this diagram (selected) or in the
// level of a sub-model node of it.
class DiagramMakeCloneAction : public DiagramAction {
public:
    DiagramMakeCloneAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* master,
                           InfluenceNodeRecord* target = nullptr);
    void Do() override;
    void Undo() override;

    int masterIndex;
    // The sub-model node whose level takes the clone; -1 for this diagram.
    int targetIndex;
    int index = -1;

private:
    // The sub-model node of the target index, null for this diagram (or when it names none).
    InfluenceNodeRecord* Target() const;
};

// "Create Arc" from the tail to the head, selected.
class DiagramCreateArcAction : public DiagramAction {
public:
    DiagramCreateArcAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* tail, InfluenceNodeRecord* head);
    void Do() override;
    void Undo() override;

    int index = -1;
    int tailIndex;
    int headIndex;
};

// "Clear Arc": the arc leaves the diagram (kept by the step) and comes back where it was, as it was.
class DiagramClearArcAction : public DiagramAction {
public:
    DiagramClearArcAction(InfluenceDiagramWindow* window, InfluenceArc* arc);
    void Do() override;
    void Undo() override;

    int index;
    int tailIndex;
    int headIndex;
    std::unique_ptr<InfluenceArc> removed;
};

// "Drag": the nodes moved by the offset; each toggle moves them back the other way.
class DiagramDragAction : public DiagramAction {
public:
    DiagramDragAction(InfluenceDiagramWindow* window, const std::vector<InfluenceNodeRecord*>& nodes,
                      DiagramPoint offset);
    void Do() override;
    void Undo() override { Do(); }

    std::vector<int> indexes;
    DiagramPoint offset;
};

// The arc's shape before an edit, swapped in and out: curved or straight, its middle and comment's place.
struct ArcShape {
    int16_t curved = 0;
    DiagramPoint middle;
    DiagramPoint commentOffset;
};

// "Curve Arc": the gesture has already moved the middle; undo and redo swap the shape from before it.
// "Straighten Arc": Do straightens the arc, undo and redo swap the shapes.
class DiagramArcShapeAction : public DiagramAction {
public:
    DiagramArcShapeAction(InfluenceDiagramWindow* window, const char* name, InfluenceArc* arc, const ArcShape& before,
                          bool straighten);
    void Do() override;
    void Undo() override;
    void Redo() override { Undo(); }

    int index;
    ArcShape shape;
    bool straighten;
};

// "Flip Arc": the arc runs the other way with the other list of rows (one per state of its new tail).
class DiagramFlipArcAction : public DiagramAction {
public:
    DiagramFlipArcAction(InfluenceDiagramWindow* window, InfluenceArc* arc);
    void Do() override;
    void Undo() override { Do(); }

    int index;
    std::vector<ArcInfluenceRow> rows;
};

// "Font Change": the node's own font (absent: it follows the diagram's), else the diagram's node font.
class DiagramFontChangeAction : public DiagramAction {
public:
    DiagramFontChangeAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node, const FontRecord& font);
    void Do() override;
    void Undo() override;

    int index;
    std::unique_ptr<FontRecord> oldFont;
    FontRecord newFont;
};

// "Typing" in the editor of a node's label, or of a note's text (with a note): open while the editor is;
// the editor already shows the text. A node's variable name, which its first label gives it, goes with the
// label.
class DiagramTypingAction : public DiagramAction {
public:
    DiagramTypingAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node, NoteBox* note, const char* oldText);
    void Do() override {}
    void Undo() override { SetLabel(oldText, oldVariable); }
    void Redo() override { SetLabel(newText, newVariable); }

    int index;
    bool note;
    zString oldText;
    zString newText;
    zString oldVariable;
    zString newVariable;

private:
    void SetLabel(const zString& text, const zString& variable);
};
