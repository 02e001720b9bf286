#pragma once
// What a window shows on the screen must be what it paints afresh: a window that leaves stale pixels behind
// after a change (a missed invalidation, a too-small invalidated area, a child left over) fails this check.
// Call it while holding the FocusTestLock, so that no other test's window takes the top meanwhile.

#include "tests/support/ProcessLock.h"

#include <windows.h>

#include <cstdint>
#include <vector>

// Raises the window's top-level window above every other while it lives. Checks of other test processes
// raise their windows too, so one holds the top at a time (a lock of its own, taken inside every other lock).
class ScreenOnTop {
public:
    explicit ScreenOnTop(HWND window);
    ~ScreenOnTop();
    ScreenOnTop(const ScreenOnTop&) = delete;
    ScreenOnTop& operator=(const ScreenOnTop&) = delete;

private:
    ProcessLock lock_;
    HWND root_;
};

// The pixels of a rectangle of the screen (0x00RRGGBB), rows top to bottom.
struct ScreenCapture {
    RECT place{};
    std::vector<uint32_t> pixels;
    int Width() const { return place.right - place.left; }
    int Height() const { return place.bottom - place.top; }
    // Whether the screen point is inside and drawn dark (each colour below half).
    bool Dark(int x, int y) const;
};
ScreenCapture CaptureScreen(const RECT& place);

// Once this thread is idle (no message queued, no paint pending), captures the window's screen rectangle
// (with its visible children) from the screen, repaints the window and all its children in full, waits for
// idle again and captures once more. Adds a test failure when the two captures differ, naming the rectangle
// of differing pixels and the two captures written as BMP files in the test's temporary directory.
void ExpectScreenEqualsRepaint(HWND window);

// Whether the screen shows the window itself where it stands, or something over it: captures its rectangle as
// the screen shows it now, then raises it above every other window, repaints it in full and captures again.
// Adds a test failure when the two differ (the captures written as ExpectScreenEqualsRepaint writes them).
// Check a window nothing holds on top: the screen raises a window only when its place in the order changes.
void ExpectShownUncovered(HWND window);
