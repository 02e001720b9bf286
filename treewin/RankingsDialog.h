#pragma once
// Rankings (dialog 3029): the branches of a rolled-back node from best to worst, with the marginal difference
// to the row above, in a report list view; "To &Clipboard" copies the table once.

#include "analysis/RankingList.h"
#include "widgets/PresentedDialog.h"
#include "foundation/TextReport.h"
#include "foundation/zString.h"

struct TreeNode;

class RankingsDialog : public PresentedDialog<RankingsDialog> {
public:
    // The value column is headed by the label, "Value" when none is given.
    explicit RankingsDialog(TreeNode* node, const char* label = nullptr);
    // Shows the table until the person closes the dialog.
    void Run();

    // The title line, the header line and the rows, lines ending with CR LF but the last.
    zString ClipboardText() const;

    TreeNode* node;
    zString valueLabel;
    // The columns and one row per branch: rank, strategy, value and, from the second row on, the marginal.
    TextReport table;
    RankingList ranking;

private:
    void BuildTable();
};
