#pragma once
// The window a tree is shown in: a child of the main frame with a zoomable, scrolling pane. Its drawing,
// bounds and zoom changes are those of the tree window that made it.

#include "app/DocChildWindow.h"

class TreeWindow;

class TreeViewWindow : public DocChildWindow {
public:
    // Titled as the tree; the pane fills the window, zooms and scrolls by 40 pixels (pages of 160).
    explicit TreeViewWindow(TreeWindow& tree);
    ~TreeViewWindow() override;

    void Bounds(LogicalRect& rect) override;
    void Draw(Display* display) override;
    // The tree's menu and tool-bar states.
    void UpdateMenus(HMENU bar) override;
    void SetDefaultCommandStates() override;
    // The focused edit's own commands first, then the tree's.
    long OnCommand(WindowEvent* event) override;
    // The tree's own printer settings, stored in its file.
    PrinterSetupRecord& PrinterSettings() override;

private:
    TreeWindow& tree_;
};
