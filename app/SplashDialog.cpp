#include "app/SplashDialog.h"

#include "app/MainFrame.h"
#include "widgets/WindowPlacement.h"

SplashDialog::SplashDialog(MainFrame* frame, unsigned milliseconds) : AppDialog(DialogRes::Dialog2764), frame_(frame)
{
    // Centred across the desktop; the top at 0.4 of the free height.
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    PlaceWindow(Handle(), desktop, 0.4f, 0.0f, nullptr);
    timer_ = std::make_unique<Timer>(this, &SplashDialog::OnTimer, milliseconds, 0);
    AddHandler(this, &SplashDialog::OnStayOnTop, StayOnTopMessage);
    PostMessageA(Handle(), StayOnTopMessage, 0, 0);
}

void SplashDialog::PutOnTop()
{
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

long SplashDialog::OnActivation(bool active)
{
    if (active)
        PutOnTop();
    return AppDialog::OnActivation(active);
}

long SplashDialog::OnStayOnTop(WindowEvent*)
{
    PutOnTop();
    return 1;
}

void SplashDialog::OnTimer()
{
    MainFrame* frame = frame_;
    timer_.reset();
    delete this;
    if (frame) {
        frame->EndStartup();
        PostMessageA(frame->Handle(), WM_COMMAND, Cmd::SplashEnded, 0);
    }
}
