#include "dialogs/ClonesDialog.h"

#include "model/NodeRef.h"
#include "treewin/TreeWindow.h"

#include <string>

int ClonesDialog::Count() const
{
    return masters_.Count();
}

zString ClonesDialog::RowText(int row) const
{
    const NodeRef& entry = *masters_.At(row);
    return zString((std::to_string(entry.id) + "\t" + entry.name.Text()).c_str());
}

void ClonesDialog::Destroy(int row)
{
    if (row < 0 || row >= Count())
        return;
    if (TreeNode* master = tree_.FindCloneMaster(masters_.At(row)->id))
        tree_.ConfirmDestroyClone(master);
}
