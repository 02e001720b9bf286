#include "app/FramePlacement.h"

#include "app/MainFrame.h"
#include "foundation/PreferencesStore.h"

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
