#pragma once
// The table editor of an influence-diagram node (3709, "Assign Probabilities" or "Assign Values"): the
// node's table laid out as a tree (each end node one cell), shown in a pane beside the controls; the person
// moves from cell to cell (a click, Prev and Next, Ctrl+Up and Ctrl+Down) and types each cell's text, which
// is checked as the cell is left. On OK the rows hold the cells; the caller records the change.

#include "widgets/ProgramDialog.h"
#include "model/InfluenceConversion.h"

#include <memory>
#include <string>
#include <vector>

class InfluenceNodeRecord;
class TablePane;
struct TreeNode;
class TreeWindow;
class Menu;

class OutcomeTableEditor : public ProgramDialog {
public:
    // The tree shows the prepared table; the rows are edited in place.
    OutcomeTableEditor(InfluenceNodeRecord& node, TreeWindow& tree, std::vector<PreparedRow>& rows, bool values);
    ~OutcomeTableEditor() override;

    // Runs the dialog on the first cell: true after OK.
    bool Edit();
    // Goes to the row (-1: none): the current cell is checked and kept first; false when it refuses.
    bool GoTo(int row);
    int CurrentRow() const { return current_; }
    // The row whose end node is the tree node, or -1.
    int FindRow(const TreeNode* node) const;

private:
    void MakeInsertMenu();
    std::string FieldText() const;
    // The entry is checked and written into the row and into the tree; false (with the person told why,
    // the field focused) when it is refused.
    bool KeepCurrentCell();
    void ShowCell();
    void UpdateControls();
    void OnOk();
    void OnDefine();
    void OnDistribution();
    void OnWheel();
    void OnPasteLink();
    void WriteCell(PreparedRow& row);
    void OnZoom(unsigned command);
    // The changed node measured again (mode as TreeWindow::RedrawNode), and the pane repainted.
    void RedrawTree(TreeNode* changed = nullptr, int mode = 0);
    // Ctrl+Down and Ctrl+Up in the entry field.
    long OnFieldKey(WindowEvent* event);

    InfluenceNodeRecord& node_;
    TreeWindow& tree_;
    std::vector<PreparedRow>& rows_;
    bool values_;
    int current_ = -1;
    TablePane* pane_ = nullptr;
    // The menus of the Tools and Zoom buttons (the buttons own them).
    Menu* tools_ = nullptr;
    Menu* zoom_ = nullptr;
};
