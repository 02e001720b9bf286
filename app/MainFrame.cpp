#include "app/MainFrame.h"

#include "app/FramePlacement.h"
#include "framework/window/FrameworkApp.h"

MainFrame::MainFrame() : TopWindow(nullptr, 0xCF0000 /* WS_OVERLAPPEDWINDOW */, Title)
{
    SetClassName("KivoMainFrame");
    AddHandler(this, &MainFrame::OnDestroy, WM_DESTROY);
    Create();
    SetText(Title);
}

long MainFrame::OnClose(WindowEvent*)
{
    SaveFramePlacement(this);
    return 0; // the default processing destroys the window
}

long MainFrame::OnCommand(WindowEvent*)
{
    // While starting up every command is ignored (and taken, so that nothing else acts on it).
    return startupBusy_ ? 1 : 0;
}

void MainFrame::EndStartup()
{
    startupBusy_ = 0;
}

void MainFrame::RefreshCommands()
{
    // No document window exists yet whose command states the frame could show.
}

long MainFrame::OnDestroy(WindowEvent*)
{
    if (TheApp && TheApp->MainWindow() == this)
        TheApp->Quit();
    return 0;
}
