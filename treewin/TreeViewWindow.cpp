#include "treewin/TreeViewWindow.h"

#include "framework/draw/WindowDisplay.h"
#include "framework/window/WindowEvent.h"
#include "treewin/TreePane.h"
#include "treewin/TreeWindow.h"

TreeViewWindow::TreeViewWindow(TreeWindow& tree) : DocChildWindow(tree.Title().Text(), 0), tree_(tree)
{
    auto* pane = new TreePane(this, tree);
    SetPane(pane);
    pane->EnableZoom(true);
    pane->AttachScrollBars(40, 40, 160, 160);
    tree_.SetPaneDisplay(pane->OwnDisplay());
}

TreeViewWindow::~TreeViewWindow()
{
    tree_.SetPaneDisplay(nullptr);
}

void TreeViewWindow::Bounds(LogicalRect& rect)
{
    const LayoutRect& bounds = tree_.Layout().DrawingBounds;
    rect = LogicalRect{bounds.left, bounds.top, bounds.right, bounds.bottom};
}

void TreeViewWindow::Draw(Display* display)
{
    if (display != nullptr)
        tree_.Draw(*display);
}

void TreeViewWindow::UpdateMenus(HMENU bar)
{
    tree_.UpdateMenus(bar);
}

void TreeViewWindow::SetDefaultCommandStates()
{
    tree_.UpdateCommands();
}

long TreeViewWindow::OnCommand(WindowEvent* event)
{
    if (DocChildWindow::OnCommand(event) != 0)
        return 1;
    return tree_.OnCommand(LOWORD(event->wParam));
}

PrinterSetupRecord& TreeViewWindow::PrinterSettings()
{
    if (!tree_.Document().PrinterSetup)
        tree_.Document().PrinterSetup = std::make_unique<PrinterSetupRecord>();
    return *tree_.Document().PrinterSetup;
}
