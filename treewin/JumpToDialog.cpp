#include "treewin/JumpToDialog.h"

#include "dialogs/ChoiceControls.h"
#include "model/MarkovBinding.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"

int JumpToDialog::Run()
{
    const int answer =
        HasPresenter() ? Present() : ShowListChooser("Jump To", "Select a &state to jump to:", rows, choice);
    return answer == IDOK && choice >= 0 && choice < rows.Count() ? choice : -1;
}

int RunJumpToDialog(TreeNode* node, zString& target, bool force)
{
    target = node->markovInfo != nullptr ? node->markovInfo->jumpName : zString();
    const TreeNode* markov = node->FindMarkovNode();
    if (markov == nullptr || (!force && node->FindStateIndexByName(target.Text()) > 0))
        return 1;
    JumpToDialog dialog;
    for (int i = 0; i < markov->childCount; ++i)
        if (!markov->GetChild(i)->text.IsEmpty())
            dialog.rows.AddCopy(markov->GetChild(i)->text);
    if (dialog.rows.Count() == 0) {
        target.Clear();
        return 1;
    }
    for (const TreeNode* at = node; at != nullptr; at = at->parent) {
        for (int i = 0; at->markovBindings != nullptr && i < at->markovBindings->Count(); ++i) {
            zString name("=");
            name += at->markovBindings->At(i)->userName;
            if (!dialog.rows.Contains(name))
                dialog.rows.AddCopy(name);
        }
        if (at == markov)
            break;
    }
    for (int i = 0; i < dialog.rows.Count(); ++i)
        if (*dialog.rows.At(i) == target)
            dialog.choice = i;
    const int chosen = dialog.Run();
    if (chosen < 0)
        return 0;
    target = *dialog.rows.At(chosen);
    return 1;
}
