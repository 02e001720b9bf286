#pragma once
// The start-up splash: the product's name and version, placed on the desktop and kept on top until its timer
// fires once; then it deletes itself, ends the frame's start-up state and posts command 1196 to the frame.

#include "widgets/AppDialog.h"
#include "framework/window/Timer.h"

#include "CommandIds.h"

#include <memory>

class MainFrame;

class SplashDialog : public AppDialog {
public:

    // Builds and places the splash; the caller shows it modelessly. The splash owns itself from then on.
    SplashDialog(MainFrame* frame, unsigned milliseconds);

    long OnActivation(bool active) override; // stays on top of all windows

private:
    // Posted at construction: the frame is shown after the splash, and the splash must stay above it.
    static constexpr UINT StayOnTopMessage = WM_APP + 0x2764;

    void OnTimer();
    long OnStayOnTop(WindowEvent* event);
    void PutOnTop();

    MainFrame* frame_;
    std::unique_ptr<Timer> timer_;
};
