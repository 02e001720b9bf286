#include "framework/window/TopWindow.h"

#include "framework/dialog/Menu.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/TimerManager.h"

TopWindow::TopWindow(WindowCL* parent, LayoutManager* layout, DWORD style, const char* title)
    : WindowCL(parent, layout, style)
{
    Initialise(title);
}

TopWindow::TopWindow(WindowCL* parent) : WindowCL(parent)
{
    Initialise(nullptr);
}

TopWindow::TopWindow(LayoutManager* layout, DWORD style, const char* title) : WindowCL(layout, style)
{
    Initialise(title);
}

void TopWindow::Initialise(const char* title)
{
    id_ = 0;
    background_ = GetSysColor(COLOR_APPWORKSPACE);
    if (TheApp)
        TheApp->OfferMainWindow(this);
    title_ = title ? title : "";
}

TopWindow::~TopWindow()
{
    menu_.reset();
    if (TheApp)
        TheApp->ForgetMainWindow(this);
}

void TopWindow::SetMenuObject(Menu* menu)
{
    menu_.reset(menu);
}

void TopWindow::Create()
{
    CreateTopLevel(false);
}

void TopWindow::CreateTopLevel(bool ownClass)
{
    RegisterClassOf(ClassRecord(), ownClass);
    CreateSystemWindow(nullptr);
    // Timers made before the main window existed start now.
    if (TheApp && TheApp->MainWindow() == this && TheApp->Timers())
        TheApp->Timers()->StartSystemTimer();
}
