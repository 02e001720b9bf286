#include "treewin/TreeWindow.h"

#include "app/NamePopupMenu.h"
#include "model/DocumentVariableOps.h"

TreeWindow::TreeWindow(TreeNode* root) : document(root)
{
    document.View = this;
}

TreeWindow::~TreeWindow()
{
    document.View = nullptr;
}

void TreeWindow::VariablesChanged()
{
    if (!VariablesMenu)
        VariablesMenu = std::make_unique<NamePopupMenu>();
    VariablesMenu->Rebuild();
    const DocVariableList& variables = document.Variables;
    for (int i = 0; i < variables.Count(); ++i)
        VariablesMenu->AddName(kFirstVariableCommand + static_cast<unsigned>(i), variables.At(i)->name.Text());
    VariablesMenu->Build();
}
