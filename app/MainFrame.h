#pragma once
// The program's main frame window. It is built before the splash and the application-wide start-up, so its
// constructor depends on neither; while its start-up state is on it ignores commands. Closing it stores its
// placement and ends the message loop.

#include "framework/window/TopWindow.h"

#include <cstdint>

class MainFrame : public TopWindow {
public:
    static constexpr const char* Title = "KIVO 3.5";

    // Makes the overlapped frame window (not shown yet).
    MainFrame();

    long OnClose(WindowEvent* event) override; // 7
    long OnCommand(WindowEvent* event) override; // 8

    // The splash has ended: commands are taken from now on.
    void EndStartup();
    // No splash is showing (the frame is started hidden).
    void EndSplash() { EndStartup(); }
    bool StartupBusy() const { return startupBusy_ != 0; }
    // Sets the menus and the tool bar to what the active document window allows.
    void RefreshCommands();

private:
    long OnDestroy(WindowEvent* event);

    int32_t startupBusy_ = 1;
};
