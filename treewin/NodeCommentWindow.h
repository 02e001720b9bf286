#pragma once
// The node comment window: a node's comment is one text per branch, edited in stacked rows (the branch's
// name over an editable text pane); each change of a row goes into its record at once. A hidden text pane
// holds the whole comment, every branch's name and text, for printing and copying: the window prints that
// pane's pages.

#include "treewin/NodeValueWindow.h"
#include "widgets/PresentedDialog.h"

#include "CommandIds.h"

#include <memory>
#include <vector>

class BranchNameList;
class FontRecord;
class NodeComment;
class StaticCtrl;
class TextPane;

// Invalid Comment (dialog 3240): the node's branches changed since its comment was written; the choice
// is one of the radio buttons 3241 (adjust, the default), 3242 (throw out) and 3243 (keep).
class InvalidCommentDialog : public PresentedDialog<InvalidCommentDialog> {
public:
    enum : int {
        Adjust = Ctl::InvalidComment::AdjustTheCommentToTheNewStructure,
        ThrowOut = Ctl::InvalidComment::ThrowOutTheOldCommentInformation,
        Keep = Ctl::InvalidComment::KeepTheOldCommentInformation
    };

    // The choice, or 0 when cancelled. Without a presenter the dialog runs on the screen.
    int Run();

    int choice = Adjust;
};

// Before the window opens: a comment that does not match the node's branches asks the Invalid Comment
// question; a matching one is extended to one record per branch, and an empty list gets one empty record.
// False when the person cancelled.
bool ValidateNodeComment(TreeNode* node);

// The rows of a comment, one per record: a label with the branch name (control 1000 + row) over an
// editable text pane; the rows share the given area's height equally.
class CommentRowSet {
public:
    static constexpr unsigned FirstLabelId = 1000;

    CommentRowSet(DocChildWindow* owner, BranchNameList& records, const FontRecord& font);
    ~CommentRowSet();
    CommentRowSet(const CommentRowSet&) = delete;
    CommentRowSet& operator=(const CommentRowSet&) = delete;

    int Count() const { return static_cast<int>(panes_.size()); }
    TextPane& Row(int index) const { return *panes_[index]; }
    void Arrange(const RECT& area);
    void SetFont(const FontRecord* font);
    // Each row's text goes into the record at its place.
    void StoreTexts(BranchNameList& records) const;

private:
    std::vector<StaticCtrl*> labels_;
    std::vector<TextPane*> panes_;
};

// The modal form of the rows (dialog 3030, "Node Comment"), for the probability wheel: a list that does not
// match the node's branches is extended without asking; Tab moves to the next row (Shift+Tab to the one
// before), wrapping; OK writes every row's text into its record.
class NodeCommentDialog : public EventTarget {
public:
    enum : unsigned { FirstRowId = 1100 };

    explicit NodeCommentDialog(TreeNode* node);
    ~NodeCommentDialog() override;
    NodeCommentDialog(const NodeCommentDialog&) = delete;
    NodeCommentDialog& operator=(const NodeCommentDialog&) = delete;

    // 1 on OK.
    int Run();

private:
    long OnRowKey(WindowEvent* event);

    TreeNode* node_;
    std::vector<EditCtrl*> rows_;
};

class NodeCommentWindow : public NodeValueWindow {
public:

    NodeCommentWindow(TreeWindow* tree, TreeNode* node);
    // Collects the texts and keeps the window's rectangle with the comment.
    ~NodeCommentWindow() override;

    // The node's comment; null once the node is no longer in the tree (nothing is written to it then).
    NodeComment* Comment() const;
    const CommentRowSet& Rows() const { return *rows_; }
    int CurrentRow() const { return current_; }
    TextPane& Text() const;
    // The rows' texts go into the records, and the whole comment (each branch's name, ":" and a line end,
    // its text and two line ends) into the text pane.
    void CollectTexts();

    // Nothing to store: the rows' texts are in the comment already.
    bool Apply(bool commit) override { return true; }
    void OnTreeTitleChanged(const char* title) override;
    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    long OnResize(SIZE client, UINT kind) override;
    void SetDefaultCommandStates() override;
    void UpdateMenus(HMENU bar) override;
    int CanPrint() override { return 1; }
    // The whole comment laid out for the printer, except while it prints the layout made before.
    void Bounds(LogicalRect& rect) override;
    void Draw(Display* display) override;

private:
    long OnRowKey(WindowEvent* event);
    long OnRowCommand(WindowEvent* event);
    // The focused row's text has a selection.
    bool FocusHasSelection() const;
    void FocusRow(int index);
    void MarkTreeModified();

    TreeNode* node_;
    std::unique_ptr<CommentRowSet> rows_;
    int current_ = 0;
};
