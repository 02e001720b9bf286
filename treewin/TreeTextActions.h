#pragma once
// Undo actions of the texts shown on a tree: a node's text (part 1), its probability (2), a note box's text
// (3) and the node's second text (4). "Typing" stays open while the in-place editor is open, so one edit,
// however many keys it takes, is one step; the others are single edits of the Edit menu.

#include "formula/Expression.h"
#include "treewin/TreeAction.h"

#include <vector>

class VariableDefinition;

class TreeTypingAction : public TreeAction {
public:
    // With no node the window's selected note is meant; a given new text is what the note will hold, so
    // the snapshot is taken with it.
    TreeTypingAction(TreeWindow* tree, const char* name, TreeNode* node, int part, const char* oldText,
                     const char* newText);

    zString path;
    zString oldText;
    zString newText;
    NoteSnapshot snapshot;
    int part;

protected:
    // Puts the text into the node or note, redraws and selects it.
    void SetTreeText(const zString& text);
};

// One in-place edit: the editor already shows the change, so Do does nothing; Close takes the final text.
// A probability is checked when its editor closes, which keeps its parse tree, and those of the definitions
// it reads, and may complete a sibling's probability, which evaluates the siblings: the probabilities of the
// node and its siblings, and the definitions bound on them and on the way to the root, are kept whole from
// before and after.
class TreeTextTypingAction : public TreeTypingAction {
public:
    TreeTextTypingAction(TreeWindow* tree, TreeNode* node, int part, const char* oldText);
    void Do() override {}
    void Undo() override;
    void Redo() override;
    void Close() override;

    NoteBox* note;
    std::vector<Expression> probabilitiesBefore;
    std::vector<Expression> probabilitiesAfter;
    std::vector<Expression> definitionsBefore;
    std::vector<Expression> definitionsAfter;

private:
    // The node and its siblings, in order (the root alone).
    std::vector<TreeNode*> Family() const;
    // The bindings the check can read: those of the family, in its order, then of every node above it.
    std::vector<VariableDefinition*> ReadableBindings() const;
    // Their definitions, in that order.
    void KeepDefinitions(std::vector<Expression>& kept) const;
    void SetProbabilities(const std::vector<Expression>& kept, const std::vector<Expression>& definitions);
};

// "Cut Text", "Paste Text" and "Clear Text".
class TreeEditTextAction : public TreeTypingAction {
public:
    using TreeTypingAction::TreeTypingAction;
    void Do() override { SetTreeText(newText); }
    void Undo() override { SetTreeText(oldText); }
};

class TreeCutTextAction : public TreeEditTextAction {
public:
    TreeCutTextAction(TreeWindow* tree, TreeNode* node, int part, const char* oldText, const char* newText)
        : TreeEditTextAction(tree, "Cut Text", node, part, oldText, newText) {}
};

class TreePasteTextAction : public TreeEditTextAction {
public:
    TreePasteTextAction(TreeWindow* tree, TreeNode* node, int part, const char* oldText, const char* newText)
        : TreeEditTextAction(tree, "Paste Text", node, part, oldText, newText) {}
};

class TreeClearTextAction : public TreeEditTextAction {
public:
    TreeClearTextAction(TreeWindow* tree, TreeNode* node, int part, const char* oldText, const char* newText)
        : TreeEditTextAction(tree, "Clear Text", node, part, oldText, newText) {}
};
