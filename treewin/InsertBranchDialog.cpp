#include "treewin/InsertBranchDialog.h"

#include "dialogs/ChoiceControls.h"
#include "model/TreeNode.h"

#include "CommandIds.h"

namespace Ids = Ctl::InsertBranch;

namespace {

// The button of a position: the To Left button and the three after it stand for 37 to 40.
constexpr int kButtonOffset = Ids::ToLeft - InsertBranchDialog::ToLeft;

int ShowOnScreen(InsertBranchDialog& insert)
{
    ProgramDialog dialog(DialogRes::InsertBranch);
    int button = insert.mode + kButtonOffset;
    const int answer = RunRadioChoice(dialog, Ids::ToLeft, Ids::Below, button,
                                      [&insert](unsigned id) { return insert.Offers(id - kButtonOffset); });
    insert.mode = button - kButtonOffset;
    return answer;
}

} // namespace

InsertBranchDialog::InsertBranchDialog(const TreeNode& node)
    : right_(node.kind != TerminalNode && node.cloneStatus != CloneCopyNode),
      aboveBelow_(node.parent != nullptr && node.parent->kind != LabelNode)
{
    mode = right_ ? ToRight : ToLeft;
}

bool InsertBranchDialog::Offers(int position) const
{
    return position == ToLeft || (position == ToRight ? right_ : (position == Above || position == Below) && aboveBelow_);
}

int InsertBranchDialog::Run()
{
    const int answer = HasPresenter() ? Present() : ShowOnScreen(*this);
    return answer == IDOK && Offers(mode) ? mode : 0;
}
