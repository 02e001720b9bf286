#include "widgets/InputHelpers.h"

#include "widgets/EscapeKey.h"

#include <cstdlib>

namespace {

// The last two presses. The times are tick counts; 0 means no press.
struct ClickRecord {
    int x = 0;
    int y = 0;
    int previousX = 0;
    int previousY = 0;
    uint32_t time = 0;
    uint32_t previousTime = 0;
    // The system's time of the last press's message.
    LONG messageTime = 0;
    const void* target = nullptr;
    const void* previousTarget = nullptr;
    // The previous target as it was when the current target was named.
    const void* comparedTarget = nullptr;
};

ClickRecord clicks;

// Presses closer together than this, of one message, are one press reported twice.
const uint32_t SamePressMilliseconds = 10;

} // namespace

int PumpMessages(UINT first, UINT last)
{
    MSG message;
    while (PeekMessageA(&message, nullptr, first, last, PM_NOREMOVE | PM_NOYIELD)) {
        if (GetMessageA(&message, nullptr, first, last) <= 0)
            break;
        DispatchMessageA(&message);
    }
    return 0;
}

void RecordMouseClick(POINT at)
{
    const uint32_t now = FineTickCount();
    // Two presses the system took apart are two however soon they are handled: the two of a double click
    // that came while the program was busy are handled one right after the other.
    const LONG messageTime = GetMessageTime();
    if (now - clicks.time <= SamePressMilliseconds && messageTime == clicks.messageTime)
        return;
    clicks.messageTime = messageTime;
    clicks.previousTime = clicks.time;
    clicks.time = now;
    clicks.previousX = clicks.x;
    clicks.previousY = clicks.y;
    clicks.x = at.x;
    clicks.y = at.y;
    clicks.previousTarget = clicks.target;
    clicks.target = nullptr;
}

void SetClickTarget(const void* target)
{
    clicks.comparedTarget = clicks.previousTarget;
    clicks.target = target;
}

bool IsDoubleClick()
{
    if (clicks.previousTime == 0)
        return false;
    // Unsigned differences stay right across the tick count's wrap after 49.7 days.
    if (clicks.time - clicks.previousTime > GetDoubleClickTime())
        return false;
    // As the system's own double click, the second press lands near the first: a press on another part of
    // the same item (a node's name, then its probability) is a press of its own.
    if (std::abs(clicks.x - clicks.previousX) > GetSystemMetrics(SM_CXDOUBLECLK) / 2 ||
        std::abs(clicks.y - clicks.previousY) > GetSystemMetrics(SM_CYDOUBLECLK) / 2)
        return false;
    return clicks.comparedTarget == clicks.target;
}

const void* LastClickPoint(POINT& point)
{
    point = POINT{clicks.x, clicks.y};
    return clicks.target;
}

void PostKeyDown(HWND window, WPARAM key)
{
    PostMessageA(window, WM_KEYDOWN, key, 0);
}

void PostMouseDown(HWND window, POINT point)
{
    PostMessageA(window, WM_LBUTTONDOWN, 0, MAKELPARAM(point.x & 0xFFFF, point.y & 0xFFFF));
}

void PostCommand(HWND window, UINT id)
{
    PostMessageA(window, WM_COMMAND, id, 0);
}

LRESULT SendCommand(HWND window, UINT id)
{
    return SendMessageA(window, WM_COMMAND, id, 0);
}
