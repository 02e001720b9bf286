#include "treewin/TreeClipboardWindow.h"

#include "framework/window/WindowEvent.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "treewin/TreeClipboard.h"
#include "treewin/TreePane.h"

#include <string>

TreeClipboardWindow::TreeClipboardWindow(TreeClipboard& clipboard) : TreeWindow("Tree Clipboard", 0), clipboard_(clipboard)
{
    if (TreePane* pane = Pane())
        pane->IgnoreMouse = 1;
    SetIconId(32019);
    // The window never holds a tree of its own: it shows copies of the slots.
    delete Document().Root;
    Document().Root = nullptr;
}

TreeClipboardWindow::~TreeClipboardWindow()
{
    clipboard_.WindowClosed(this);
}

void TreeClipboardWindow::Refresh()
{
    TreeDocument& document = Document();
    ClearSelection();
    delete document.Root;
    document.Root = clipboard_.Fetch(-1);
    if (document.Root != nullptr)
        ForEachInSubtree(document.Root, [&document](TreeNode* node) { node->SetDocument(&document); });
    Redraw();
    InvalidateAll();
    const std::string title = "Tree Clipboard " + std::to_string(clipboard_.Current() + 1);
    document.WindowTitle = title.c_str();
    SetText(title.c_str());
}

long TreeClipboardWindow::OnCommandId(unsigned command, unsigned code, HWND control)
{
    if (command >= Cmd::EditTreeClipboard1 && command < Cmd::EditTreeClipboard1 + TreeClipboard::kSlots) {
        clipboard_.SelectSlot(static_cast<int>(command - Cmd::EditTreeClipboard1));
        return 1;
    }
    return DocChildWindow::OnCommandId(command, code, control);
}

void TreeClipboardWindow::UpdateMenus(HMENU bar)
{
    for (int slot = 0; slot < TreeClipboard::kSlots; ++slot)
        EnableMenuItem(bar, Cmd::EditTreeClipboard1 + static_cast<unsigned>(slot), MF_BYCOMMAND | MF_ENABLED);
}
