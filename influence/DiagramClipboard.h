#pragma once
// Diagram nodes and notes through the clipboard, and the undoable Cut, Copy, Clear and Paste of them.
// Nodes travel in two private formats: "InfNodes" (the node block of WriteNodeBlock, the node of the
// highest index first) and "InfNodesExtra" (the node count, i16), which names a paste before it reads.
// Nodes are pasted only when both are there.

#include "widgets/ClipboardSnapshot.h"
#include "framework/window/Clipboard.h"
#include "influence/DiagramActions.h"
#include "model/InfluenceDiagram.h"

#include <cstdint>
#include <memory>
#include <vector>

class ClipboardFormat;

const ClipboardFormat& DiagramNodesFormat();
const ClipboardFormat& DiagramNodesExtraFormat();
// Registers both formats (at start-up).
void RegisterDiagramClipboardFormats();
// The count of "InfNodesExtra" when both formats are on the clipboard; 0 otherwise or when unreadable.
int16_t CanPasteDiagramNodes();

// Clones and sub-model nodes leave the selection and the person is told that they may not go on the
// clipboard (offerClear: and that Clear deletes them). True when a node is still selected.
bool CheckNodesForClipboard(InfluenceDiagramWindow& window, bool offerClear);
// When selected nodes have clones, asks whether the clones may be destroyed; on Yes they are, and the undo
// history is cleared (its steps name nodes by index). False on No: nothing changed.
bool ConfirmDeleteClones(InfluenceDiagramWindow& window);
// The guards above, then the step.
void CutDiagramNodes(InfluenceDiagramWindow& window);
void CopyDiagramNodes(InfluenceDiagramWindow& window);
void ClearDiagramNodes(InfluenceDiagramWindow& window);

// What the clipboard held before a step put something on it, given back when the step is undone.
class ClipboardBefore {
public:
    void Take(WindowCL& window);
    // Puts it back once; nothing when none was taken.
    void GiveBack();

private:
    std::unique_ptr<Clipboard> clipboard_;
    std::unique_ptr<ClipboardSnapshot> snapshot_;
};

// "Cut Node(s)", and the base of Copy and Clear: the selected nodes (by index) onto the clipboard, out of
// the diagram with every arc that touches them, or both. Undo puts them back at their indexes with their
// arcs and selected, and gives the clipboard back what it held before.
class DiagramCutNodesAction : public DiagramAction {
public:
    explicit DiagramCutNodesAction(InfluenceDiagramWindow* window) : DiagramCutNodesAction(window, "Cut", true, true) {}
    ~DiagramCutNodesAction() override;
    void Do() override;
    void Undo() override;

protected:
    DiagramCutNodesAction(InfluenceDiagramWindow* window, const char* verb, bool toClipboard, bool remove);

private:
    struct RemovedArc {
        int index;
        int tailIndex;
        int headIndex;
        InfluenceArc* arc;
    };
    void PutOnClipboard();
    void Remove();

    bool toClipboard_;
    bool remove_;
    // Ascending.
    std::vector<int> nodeIndexes_;
    ClipboardBefore before_;
    // Owned while the step is in effect: ascending by index.
    std::vector<RemovedArc> removedArcs_;
    std::vector<InfluenceNodeRecord*> removedNodes_;
    // Clones among the removed nodes (and inside removed sub-models) and their masters that stay.
    std::vector<std::pair<InfluenceNodeRecord*, InfluenceNodeRecord*>> cloneLinks_;
};

class DiagramCopyNodesAction : public DiagramCutNodesAction {
public:
    explicit DiagramCopyNodesAction(InfluenceDiagramWindow* window) : DiagramCutNodesAction(window, "Copy", true, false)
    {
    }
};

class DiagramClearNodesAction : public DiagramCutNodesAction {
public:
    explicit DiagramClearNodesAction(InfluenceDiagramWindow* window)
        : DiagramCutNodesAction(window, "Clear", false, true)
    {
    }
};

// "Paste Node(s)": the clipboard's nodes and the arcs among them appended, centred in view and selected.
// Undo removes exactly the pasted arcs, then exactly the pasted nodes.
class DiagramPasteNodesAction : public DiagramAction {
public:
    DiagramPasteNodesAction(InfluenceDiagramWindow* window, int16_t count);
    void Do() override;
    void Undo() override;

    int firstNode = -1;
    int nodeCount = 0;
    int firstArc = -1;
    int arcCount = 0;

private:
    // The clipboard's nodes when the step was made, and where the first paste put them: Redo pastes the
    // same nodes to the same place whatever the clipboard and the view hold by then.
    std::vector<uint8_t> block_;
    bool placed_ = false;
    DiagramPoint offset_;
};

// "Paste Note", "Cut Note" and "Clear Note": a note of the diagram by its index; taken out, the step owns it.
// Cut keeps what the clipboard held before and gives it back on Undo.
class DiagramNoteAction : public DiagramAction {
public:
    enum Kind { Paste, Cut, Clear };
    // Paste takes the note read from the clipboard.
    DiagramNoteAction(InfluenceDiagramWindow* window, Kind kind, NoteBox* pasted);
    ~DiagramNoteAction() override;
    void Do() override;
    void Undo() override;

private:
    void Add();
    void Take();

    Kind kind_;
    int index_ = -1;
    std::unique_ptr<NoteBox> held_;
    ClipboardBefore before_;
};
