#include "app/FramePlacement.h"

#include "app/MainFrame.h"
#include "foundation/PreferencesStore.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/TopWindow.h"

#include <algorithm>
#include <cstdio>

namespace {
const char* const Section = "General";
}

int ReadFramePlacement(RECT& out)
{
    const int wasMax = ReadProfileInt(Section, "WasMax", 0);
    if (wasMax != 0)
        return wasMax;
    out = RECT{};
    zString text;
    ReadProfileString(Section, "OldRect", text, 100, false);
    RECT parsed{};
    if (std::sscanf(text.Text(), "%ld,%ld,%ld,%ld", &parsed.left, &parsed.top, &parsed.right, &parsed.bottom) == 4)
        out = parsed;
    return 0;
}

int RestoreFramePlacement(MainFrame* frame, int receivedShowCommand)
{
    // A program started without a show command of its starter's (SW_SHOWDEFAULT) opens as a normal one.
    if (receivedShowCommand != SW_SHOWNORMAL && receivedShowCommand != SW_SHOWDEFAULT)
        return receivedShowCommand;
    RECT rect{};
    if (ReadFramePlacement(rect) != 0)
        return SW_SHOWMAXIMIZED;
    const bool allEqual = rect.left == rect.top && rect.top == rect.right && rect.right == rect.bottom;
    if (!allEqual && frame)
        MoveWindow(frame->Handle(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    return receivedShowCommand;
}

void SaveFramePlacement(MainFrame* frame)
{
    HWND window = frame ? frame->Handle() : nullptr;
    if (IsIconic(window))
        return;
    RECT rect{};
    if (!IsWindow(window) || !GetWindowRect(window, &rect))
        rect = RECT{};
    WriteProfileInt(Section, "WasMax", IsZoomed(window) ? 1 : 0);
    char text[64];
    std::snprintf(text, sizeof text, "%ld,%ld,%ld,%ld", rect.left, rect.top, rect.right, rect.bottom);
    WriteProfileString(Section, "OldRect", text, false);
}

void PlaceWindowInFrame(HWND window, float fx, float fy, bool relativeToActiveChild)
{
    HWND area = TheApp && TheApp->MainWindow() ? TheApp->MainWindow()->Handle() : nullptr;
    if (relativeToActiveChild && MdiClientWindow)
        if (auto active = reinterpret_cast<HWND>(SendMessageA(MdiClientWindow, WM_MDIGETACTIVE, 0, 0)))
            area = active;
    RECT client{};
    RECT own{};
    if (!area || !window || !GetClientRect(area, &client) || !GetWindowRect(window, &own))
        return;
    POINT centre{client.left + static_cast<LONG>((client.right - client.left) * fx),
                 client.top + static_cast<LONG>((client.bottom - client.top) * fy)};
    ClientToScreen(area, &centre);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const LONG left = std::max(work.left, std::min(centre.x - width / 2, work.right - width));
    const LONG top = std::max(work.top, std::min(centre.y - height / 2, work.bottom - height));
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
