#include "treewin/TreeChildWindow.h"

#include "treewin/TreeWindow.h"

TreeChildWindow::TreeChildWindow(TreeWindow* tree, const ResourceId& templateId, bool counted)
    : DocChildWindow(templateId), tree_(tree), counted_(counted)
{
    if (tree_ == nullptr)
        return;
    tree_->AddChildWindow(this);
    if (counted_)
        ++tree_->Document().ChildWindowCount;
}

TreeChildWindow::~TreeChildWindow()
{
    if (tree_ == nullptr)
        return;
    if (counted_)
        --tree_->Document().ChildWindowCount;
    tree_->RemoveChildWindow(this);
}

void TreeChildWindow::OnTreeTitleChanged(const char*) {}

bool TreeChildWindow::DependsOn(const void*) const
{
    return false;
}

double TreeChildWindow::CurrentProbability() const
{
    return 0.0;
}

void TreeChildWindow::CurrentProbabilityText(zString&) const {}

void TreeChildWindow::RefreshFromTree()
{
    delete this;
}
