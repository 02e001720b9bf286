#pragma once
// Find/Replace (template 2610): a tool window of one tree that searches the tree's texts (node names,
// probabilities, the names and definitions of the variables bound at nodes, payoffs) for a text, selects
// each node found in turn and can replace what it found. A tree has at most one; the tree forgets it when
// it is destroyed. Replacements cannot be undone: they clear the tree's undo history.

#include "widgets/PresentedDialog.h"
#include "foundation/zString.h"
#include "treewin/TreeChildWindow.h"

// Find Options (dialog 2630): which kinds of field are searched.
class FindOptionsDialog : public PresentedDialog<FindOptionsDialog> {
public:

    // The window's flags are copied back after OK only.
    bool Run();

    int searchIn[5] = {};
};

class FindReplaceWindow : public TreeChildWindow {
public:
    // The fields of a node, in search order; None before the first and after the last.
    enum Field { None = 1, NodeName, NodeProbability, VariableName, VariableDefinition, NodePayoff };

    explicit FindReplaceWindow(TreeWindow* tree);
    ~FindReplaceWindow() override;

    // The next field that holds the find text, from where the last search stopped, in the tree's keyboard
    // order; the node found is selected. False (with a beep) when none is left: the search starts over.
    bool FindNext();
    // Replaces the find text throughout the field found last. The window's first replacement asks whether
    // to go on, since it clears the undo history; a variable name the name rules refuse is kept. False when
    // nothing may be replaced.
    bool Replace();
    // Replaces every occurrence in the fields searched, then starts over; "Last Find" names the last field
    // found. Without a match it asks nothing and says the text was not found.
    void ReplaceAll();
    // The next search starts at the root, which it searches last.
    void ResetSearch();

    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    void OnTreeTitleChanged(const char* title) override;
    // A tree changed as a whole is searched again from the start.
    void RefreshFromTree() override;

    // Node names, probabilities, variable names, variable definitions, payoffs: searched when set.
    int searchIn[5] = {1, 0, 0, 0, 0};
    bool wholeWord = false;
    bool matchCase = false;
    zString findText;
    zString replaceText;
    int field = None;

private:
    // The texts of the edits and check boxes.
    void StoreControls();
    // Reports an empty find text (and, for replacing, an empty replacement); false then.
    bool InputValid(bool replacing);
    TreeNode* CurrentNode() const;
    bool FindInNode(TreeNode* node);
    // Moves to the next field of the node (None when it has no further one).
    void NextField(const TreeNode* node);
    bool FieldText(TreeNode* node, zString& text) const;
    void SetFieldText(TreeNode* node, const zString& text);
    void ShowLastFind();
    // Moves the window off the node found, so that the person sees it, keeping it within the frame.
    void MoveClearOf(const TreeNode* node);
    // The person has agreed to replacements without undo, now or before in this window.
    bool AgreedToReplace();

    zString nodePath;
    int index = 0;
    bool restart = true;
    bool replacingAll = false;
    bool replaceAgreed = false;
};
