#include "app/SplashDialog.h"

#include "app/MainFrame.h"

namespace {

// Centred across the desktop; the top at 0.4 of the free height.
void PlaceOnDesktop(HWND window)
{
    RECT desktop{};
    RECT own{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    const int left = desktop.left + (desktop.right - desktop.left - width) / 2;
    const int top = static_cast<int>(0.4 * (desktop.top + desktop.bottom - height));
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

SplashDialog::SplashDialog(MainFrame* frame, unsigned milliseconds) : AppDialog(TemplateId), frame_(frame)
{
    PlaceOnDesktop(Handle());
    timer_ = std::make_unique<Timer>(this, &SplashDialog::OnTimer, milliseconds, 0);
    AddHandler(this, &SplashDialog::OnStayOnTop, StayOnTopMessage);
    PostMessageA(Handle(), StayOnTopMessage, 0, 0);
}

void SplashDialog::PutOnTop()
{
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

long SplashDialog::OnActivate(WindowEvent* event)
{
    if (LOWORD(event->wParam) != WA_INACTIVE)
        PutOnTop();
    return AppDialog::OnActivate(event);
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
        PostMessageA(frame->Handle(), WM_COMMAND, SplashDialog::EndedCommand, 0);
    }
}
