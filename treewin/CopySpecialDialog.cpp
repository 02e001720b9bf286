#include "treewin/CopySpecialDialog.h"

#include "dialogs/ChoiceControls.h"
#include "treewin/ResultBoxes.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

namespace {

int ShowOnScreen(CopySpecialDialog& copy)
{
    ProgramDialog dialog(DialogRes::CopySpecial);
    return RunRadioChoice(dialog, CopySpecialDialog::Picture, CopySpecialDialog::PathProbabilityLink, copy.choice,
                          [&copy](unsigned id) { return copy.Offers(static_cast<int>(id)); });
}

} // namespace

CopySpecialDialog::CopySpecialDialog(TreeNode* node, const TreeWindow& tree)
{
    picture_ = node != nullptr && (node->childCount == 0 || tree.SubtreeSelection != 0);
    // A link names the tree's file, and one node.
    if (node != nullptr && !tree.FilePath().IsEmpty() && tree.Selection.Count() < 2) {
        links_[0] = true;
        links_[1] = node->kind == ChanceNode;
        links_[2] = node->parent != nullptr;
    }
    columns_ = ResultBoxes::Shown(tree);
    choice = picture_ ? Picture : columns_ ? ColumnsTable : ExpectedValueLink;
}

bool CopySpecialDialog::Offers(int offered) const
{
    if (offered == Picture)
        return picture_;
    if (offered == ColumnsTable)
        return columns_;
    return offered >= ExpectedValueLink && offered <= PathProbabilityLink && links_[offered - ExpectedValueLink];
}

int CopySpecialDialog::LinkSlotOf(int answer)
{
    switch (answer) {
    case Cmd::AnalysisExpectedValue:
        return NodeLinkBlock::ExpectedValueLink;
    case Cmd::AnalysisPathProbability:
        return NodeLinkBlock::PathProbabilityLink;
    case Cmd::AnalysisStandardDeviation:
        return NodeLinkBlock::StandardDeviationLink;
    default:
        return -1;
    }
}

int CopySpecialDialog::Run()
{
    const int answer = HasPresenter() ? Present() : ShowOnScreen(*this);
    if (answer != IDOK || !Offers(choice))
        return 0;
    switch (choice) {
    case Picture:
        return Cmd::EditCopySpecial;
    case ColumnsTable:
        return ColumnsTable;
    case ExpectedValueLink:
        return Cmd::AnalysisExpectedValue;
    case StandardDeviationLink:
        return Cmd::AnalysisStandardDeviation;
    default:
        return Cmd::AnalysisPathProbability;
    }
}
