#pragma once
// The window that shows the tree clipboard's current slot: a tree window that takes no mouse input, has no
// menu and is no document. It shows a copy of the stored tree, so the slots stay as they are whatever the
// window does; an empty slot shows nothing at all.

#include "treewin/TreeWindow.h"

class TreeClipboard;

class TreeClipboardWindow : public TreeWindow {
public:
    explicit TreeClipboardWindow(TreeClipboard& clipboard);
    // The clipboard forgets the window; its slots keep their trees.
    ~TreeClipboardWindow() override;

    // Shows the clipboard's current slot and names it in the title ("Tree Clipboard 2").
    void Refresh();

    int IsDocument() override { return 0; }
    int IsTree() override { return 0; }
    int CanPrint() override { return 0; }
    // The slot items 1208 to 1211 choose the slot shown; the focused edit's own commands are the only others.
    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    void UpdateMenus(HMENU bar) override;
    void SetDefaultCommandStates() override { DocChildWindow::SetDefaultCommandStates(); }

private:
    TreeClipboard& clipboard_;
};
