// The tree window's bound windows: the tool windows that show or edit parts of the tree join its list,
// follow its changes, close when what they show goes, and keep one node's item from being edited in two
// places at once.

#include "treewin/TreeWindow.h"

#include "foundation/MessageBoxes.h"
#include "model/DocumentVariableOps.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "treewin/TreeChildWindow.h"

void TreeWindow::AddChildWindow(TreeChildWindow* window)
{
    childWindows.Add(window);
}

void TreeWindow::RemoveChildWindow(TreeChildWindow* window)
{
    childWindows.RemovePtr(window);
}

void TreeWindow::VariableRenamed(const char* oldName, const char* newName)
{
    for (int i = 0; i < childWindows.Count(); ++i)
        static_cast<TreeChildWindow*>(childWindows.At(i))->RenameVariable(oldName, newName);
}

void TreeWindow::CloseVariableWindows(const DocVariable& variable)
{
    CloseChildWindowsFor(&variable);
}

void TreeWindow::CloseChildWindowsFor(const void* object)
{
    // A destroyed window leaves the list itself, so the walk stays at its index.
    for (int i = 0; i < childWindows.Count();) {
        auto* window = static_cast<TreeChildWindow*>(childWindows.At(i));
        if (window->DependsOn(object))
            delete window;
        else
            ++i;
    }
}

void TreeWindow::ShapeChanging(const TreeNode* leaving)
{
    for (int i = 0; i < childWindows.Count();) {
        auto* window = static_cast<TreeChildWindow*>(childWindows.At(i));
        if (window->HoldsTemporaryValues())
            delete window;
        else
            ++i;
    }
    if (leaving != nullptr && childWindows.Count() > 0)
        ForEachInSubtree(leaving, [this](const TreeNode* node) { CloseChildWindowsFor(node); });
}

int TreeWindow::CheckEditConflict(const NodeChildList& nodes, const char* key, bool ask)
{
    if (document.IsRolledBack())
        MessageBeep(0);
    return ::CheckEditConflict(document, nodes, key, ask);
}

int TreeWindow::AcceptsEdit(TreeNode* node, const char* key, bool ask)
{
    for (int i = 0; i < childWindows.Count(); ++i) {
        auto* window = static_cast<TreeChildWindow*>(childWindows.At(i));
        if (!window->Matches(node, key))
            continue;
        if (ask && AskYesNo(nullptr,
                            "One or more of the selected nodes is currently editing that item in another window. "
                            "Do you want to activate that window now?", 0) == 1)
            window->Activate();
        return 0;
    }
    return 1;
}

void TreeWindow::RefreshBoundWindows()
{
    if (document.SuspendChildRefresh > 0)
        return;
    for (int i = 0; i < childWindows.Count();) {
        auto* window = static_cast<TreeChildWindow*>(childWindows.At(i));
        window->RefreshFromTree();
        if (i < childWindows.Count() && childWindows.At(i) == window)
            ++i;
    }
}
