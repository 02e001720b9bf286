#pragma once
// The Copy Special dialog (2680): what Copy Special puts on the clipboard for the selected node: its
// picture, the table of the result columns at the end nodes, or a link to its expected value, standard
// deviation or path probability.

#include "widgets/PresentedDialog.h"

#include "CommandIds.h"

class TreeWindow;
struct TreeNode;

class CopySpecialDialog : public PresentedDialog<CopySpecialDialog> {
public:
    // The choices, by their buttons.
    enum Choice {
        Picture = Ctl::CopySpecial::CopyAsBitmapMetafile,
        ColumnsTable = Ctl::CopySpecial::CopyColumnsAtEndNodes,
        ExpectedValueLink = Ctl::CopySpecial::CopyLinkToExpectedValue,
        StandardDeviationLink = Ctl::CopySpecial::CopyLinkToStandardDeviation,
        PathProbabilityLink = Ctl::CopySpecial::CopyLinkToPathProbability
    };

    // Offers what the node (none: nothing but what the window allows) and the window allow; the first offer
    // of picture and expected-value link is chosen at first.
    CopySpecialDialog(TreeNode* node, const TreeWindow& tree);
    // The command to carry out: 1216 the picture, ColumnsTable the columns' table, 1605, 1609 or 1606 a
    // link to that value; 0 when cancelled or when the choice is not offered.
    int Run();
    // The node link slot whose value an answer of Run() copies as a link; -1 for the other answers.
    static int LinkSlotOf(int answer);
    bool Offers(int choice) const;

    int choice;

private:
    bool picture_ = false;
    bool columns_ = false;
    bool links_[3] = {false, false, false};  // expected value, standard deviation, path probability
};
