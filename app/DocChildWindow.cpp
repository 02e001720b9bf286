#include "app/DocChildWindow.h"

#include "app/ZoomPane.h"
#include "framework/window/FrameworkApp.h"

DocChildWindow::DocChildWindow(const char* title, DWORD style)
    : MDIdialogCL(TheApp ? TheApp->MainWindow() : nullptr, nullptr, style ? style : WS_OVERLAPPEDWINDOW, title)
{
}

DocChildWindow::DocChildWindow(const ResourceId& templateId)
    : MDIdialogCL(TheApp ? TheApp->MainWindow() : nullptr, templateId)
{
}

DocChildWindow::~DocChildWindow()
{
    SetPane(nullptr);
}

void DocChildWindow::SetPane(ZoomPane* pane)
{
    if (pane_ == pane)
        return;
    delete pane_;
    pane_ = pane;
}

Display* DocChildWindow::PaneDisplay() const
{
    return pane_ ? pane_->CurrentDisplay() : nullptr;
}

void DocChildWindow::Bounds(LogicalRect& rect)
{
    rect = LogicalRect{0, 0, 0, 0};
}

void DocChildWindow::OnZoomChanged() {}
void DocChildWindow::Draw(Display*) {}
bool DocChildWindow::SuspendInPlaceEdit()
{
    return false;
}
void DocChildWindow::ResumeInPlaceEdit() {}
