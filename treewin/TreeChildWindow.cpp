#include "treewin/TreeChildWindow.h"

#include "app/NamePopupMenu.h"
#include "app/StartProgram.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/PopupMenu.h"
#include "framework/window/WindowEvent.h"
#include "treewin/TreeWindow.h"

#include <string>

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

long TreeChildWindow::OnCommand(WindowEvent* event)
{
    if (DocChildWindow::OnCommand(event) != 0)
        return 1;
    return InsertMenuPick(LOWORD(event->wParam)) ? 1 : 0;
}

void TreeChildWindow::InsertText(const char* text, bool withParentheses)
{
    EditCtrl* edit = FocusEdit();
    if (edit == nullptr || text == nullptr || *text == '\0')
        return;
    edit->ReplaceSelection(text);
    if (withParentheses) {
        edit->ReplaceSelection("()");
        PostMessageA(edit->Handle(), WM_KEYDOWN, VK_LEFT, 0);
    }
    SetFocus(edit->Handle());
}

bool TreeChildWindow::InsertMenuPick(unsigned command)
{
    zString text;
    const bool found = (OperatorsMenu != nullptr && OperatorsMenu->ItemText(command, text)) ||
                       (KeywordsMenu != nullptr && KeywordsMenu->ItemText(command, text)) ||
                       (tree_ != nullptr && tree_->VariablesMenu && tree_->VariablesMenu->ItemText(command, text));
    if (!found)
        return false;
    InsertText(std::string(text.Text()).substr(0, 50).c_str(), false);
    return true;
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
