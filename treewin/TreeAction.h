#pragma once
// The base of every undo action of a tree window, and the ways an action remembers what it changed without
// holding pointers into the tree: other edits may delete and re-create nodes between two toggles, so nodes
// are kept as path texts resolved afresh on every call, and note boxes by their text, size and position.

#include "widgets/UndoAction.h"
#include "foundation/NameList.h"
#include "foundation/zString.h"
#include "model/NodeChildList.h"
#include "treewin/TreeWindow.h"

#include <memory>
#include <vector>

class NoteBox;
struct MarkovInfo;
struct TreeNode;

class TreeAction : public UndoAction {
public:
    // Made just before it is applied: it keeps where the drawing's notes and arrows lie then.
    TreeAction(TreeWindow* tree, const char* name);
    // Takes back or applies again, then marks the document modified (when the action does so). Refused
    // (false) when a stored path led nowhere on the way: the tree was changed outside the history. Taken
    // back, the notes and arrows lie where they lay before the action.
    bool Toggle() override;

    TreeWindow* tree;
    int marksModified = 1;

protected:
    // The node the stored path leads to from the root, or null (traced, and the toggle refused) when it leads
    // nowhere.
    TreeNode* ResolvePath(const zString& path) const;
    // Appends the node of every path, in order; those that lead nowhere are left out as above.
    void ResolvePaths(const NameList& paths, NodeChildList& out) const;
    // Clears the selection, redraws the node with the mode and selects the given node.
    void RefreshNode(TreeNode* node, int mode, TreeNode* selected) const;
    // Redraws nodes whose branches changed: the copies of the clone masters at or above them take the
    // masters' new shape first and are redrawn whole with them.
    void RedrawEdited(const NodeChildList& nodes, int mode) const;
    // What the action changed is no longer where it was: the toggle under way is refused.
    void Lost() const { lost_ = true; }

private:
    mutable bool lost_ = false;
    TreeWindow::DrawingPlacement placement_;
};

// An action that takes one node out of its parent and puts it back: the parent's path and the node's index
// are recorded when the action is made; the node taken out belongs to the action while it is applied.
class TreeRemovalAction : public TreeAction {
public:
    TreeRemovalAction(TreeWindow* tree, const char* name, TreeNode* node);
    ~TreeRemovalAction() override;

    zString parentPath;
    // -1 when built on the root, which cannot be taken out.
    int16_t index = -1;
    // The node taken out, while the action is applied.
    TreeNode* removed = nullptr;

protected:
    // Takes the node at the recorded place out into `removed`; its parent, or null (nothing changed) when
    // the place no longer exists.
    TreeNode* TakeOut();
    // The recorded parent when `removed` can go back at the index with `extra` more children after it, else
    // null.
    TreeNode* PlaceToPutBack(int extra) const;
    // Puts `removed` back at the index of that parent; the action no longer owns it.
    TreeNode* PutBack(TreeNode* parent);
};

// The Markov settings of nodes as they were before an action, given back exactly by its undo: a node that
// had none has none again (setting a value made them), and a text left empty comes back as no text.
class KeptMarkovSettings {
public:
    KeptMarkovSettings();
    ~KeptMarkovSettings();
    // Keeps the node's settings as the next entry.
    void Keep(const TreeNode* node);
    // Gives the node the settings of the entry.
    void GiveBack(TreeNode* node, int entry) const;

private:
    std::vector<std::unique_ptr<MarkovInfo>> kept_;
};

// Takes away the binding of the name that an action gave the node; a node that held no bindings at all
// before is left with none, as an empty list would still be stored.
void RemoveAddedBinding(TreeNode* node, const char* name, bool hadBindings);

// Deletes nodes a step kept out of the tree when the step leaves the history (null: nothing). The document
// keeps what they still name in it (their link entries): a step that goes changes nothing the file holds.
void DiscardHeldNodes(TreeNode* held);

// The path of the node from the root, into out.
void RecordPath(const TreeNode* node, zString& out);
// Appends the path of every node of the list, in list order.
void RecordPaths(const NodeChildList& nodes, NameList& out);

// A note box told apart by content: its text, then its frame's size, then its position.
struct NoteSnapshot {
    // Reads the note (nothing without one); the replacement text, when given, stands for the note's own.
    void Take(const NoteBox* note, const char* replacementText = nullptr);
    // The note of the window that matches, or null.
    NoteBox* Find(TreeWindow& window) const;

    zString text;
    float width = 0.0f;
    float height = 0.0f;
    float left = 0.0f;
    float top = 0.0f;
};

// The probability texts of a node's children as they were, and texts to set in their place.
struct ChildProbabilities {
    ChildProbabilities(const TreeNode* node, bool withNew);
    // Sets each child's probability to its new (useNew) or old text, clone copies following; each child is
    // appended to the list when one is given.
    void Apply(TreeNode* node, bool useNew, NodeChildList* handled) const;

    NameList old;
    NameList replacement;
};
