#include "tests/support/ScreenCheck.h"

#include "tests/support/PumpMessages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

bool ScreenCapture::Dark(int x, int y) const
{
    if (x < place.left || x >= place.right || y < place.top || y >= place.bottom)
        return false;
    const uint32_t pixel = pixels[static_cast<size_t>(y - place.top) * Width() + (x - place.left)];
    return (pixel & 0xFF) < 128 && ((pixel >> 8) & 0xFF) < 128 && ((pixel >> 16) & 0xFF) < 128;
}

ScreenCapture CaptureScreen(const RECT& place)
{
    ScreenCapture capture;
    capture.place = place;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = capture.Width();
    info.bmiHeader.biHeight = -capture.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, capture.Width(), capture.Height(), screen, place.left, place.top, SRCCOPY);
        GdiFlush();
        const auto* first = static_cast<const uint32_t*>(bits);
        capture.pixels.assign(first, first + static_cast<size_t>(capture.Width()) * capture.Height());
        for (uint32_t& pixel : capture.pixels)
            pixel &= 0x00FFFFFF;
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return capture;
}

namespace {

// Writes the capture as a 32-bit bottom-up BMP file.
void WriteBmp(const ScreenCapture& capture, const std::string& path)
{
    const uint32_t rowBytes = static_cast<uint32_t>(capture.Width()) * 4;
    const uint32_t headerBytes = 14 + sizeof(BITMAPINFOHEADER);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = headerBytes;
    file.bfSize = headerBytes + rowBytes * capture.Height();
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = capture.Width();
    info.biHeight = capture.Height();
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), 14);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    for (int row = capture.Height() - 1; row >= 0; --row)
        out.write(reinterpret_cast<const char*>(&capture.pixels[static_cast<size_t>(row) * capture.Width()]),
                  rowBytes);
}

// Dispatches this thread's messages until none is queued and no window of the thread waits for a paint;
// an empty look at the queue also hands what was painted to the screen.
bool PumpUntilIdle()
{
    const bool idle = PumpMessagesUntil([] { return HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0; });
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    return idle;
}

// The window's rectangle on the screen, limited to the screen.
RECT ScreenPlace(HWND window)
{
    RECT place{}, screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    GetWindowRect(window, &place);
    IntersectRect(&place, &place, &screen);
    return place;
}

// The smallest rectangle (screen coordinates) holding every pixel that differs.
RECT Differing(const ScreenCapture& before, const ScreenCapture& after)
{
    RECT bounds{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (int y = 0; y < before.Height(); ++y)
        for (int x = 0; x < before.Width(); ++x) {
            const size_t at = static_cast<size_t>(y) * before.Width() + x;
            if (before.pixels[at] == after.pixels[at])
                continue;
            bounds.left = std::min<LONG>(bounds.left, x);
            bounds.top = std::min<LONG>(bounds.top, y);
            bounds.right = std::max<LONG>(bounds.right, x + 1);
            bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
        }
    OffsetRect(&bounds, before.place.left, before.place.top);
    return bounds;
}

// A new path in the temporary directory for the captures of one failed check; the name ends in the kind.
std::string CapturePathBase()
{
    static int count = 0;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const char* temp = std::getenv("TEMP");
    std::ostringstream path;
    std::ostringstream name;
    name << (test ? test->test_suite_name() : "check") << "_" << (test ? test->name() : "") << "_" << ++count << "_";
    // A parameterised test's names hold slashes, which no file name may.
    std::string file = name.str();
    std::replace(file.begin(), file.end(), '/', '_');
    path << (temp ? temp : ".") << "\\screen_" << file;
    return path.str();
}


// The window's pixels once the screen has settled: each capture is a round trip to the display, so what a
// raise exposed reaches this thread's queue before the next look at it; the pixels count once two
// captures around a pump agree.
ScreenCapture SettledCapture(HWND window)
{
    ScreenCapture capture = CaptureScreen(ScreenPlace(window));
    for (int look = 0; look < 50; ++look) {
        PumpUntilIdle();
        ScreenCapture again = CaptureScreen(capture.place);
        if (again.pixels == capture.pixels)
            break;
        capture = std::move(again);
    }
    return capture;
}

} // namespace

ScreenOnTop::ScreenOnTop(HWND window) : lock_("KIVO-tests-screen-check", LockRank::ScreenCheck), root_(GetAncestor(window, GA_ROOT))
{
    SetWindowPos(root_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

ScreenOnTop::~ScreenOnTop()
{
    SetWindowPos(root_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ExpectScreenEqualsRepaint(HWND window)
{
    if (!IsWindow(window) || !IsWindowVisible(window)) {
        ADD_FAILURE() << "The window to check is not shown";
        return;
    }
    ScreenOnTop onTop(window);
    // A blinking caret would differ between the captures.
    HideCaret(nullptr);
    if (!PumpUntilIdle())
        ADD_FAILURE() << "Messages or paints kept coming before the screen was captured";
    const ScreenCapture shown = SettledCapture(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    if (!PumpUntilIdle())
        ADD_FAILURE() << "Messages or paints kept coming after the repaint";
    const ScreenCapture repainted = CaptureScreen(shown.place);
    ShowCaret(nullptr);
    if (shown.pixels == repainted.pixels)
        return;
    const RECT bounds = Differing(shown, repainted);
    const std::string base = CapturePathBase();
    const std::string shownPath = base + "shown.bmp", repaintedPath = base + "repainted.bmp";
    WriteBmp(shown, shownPath);
    WriteBmp(repainted, repaintedPath);
    ADD_FAILURE() << "The screen differs from a full repaint in screen pixels (" << bounds.left << ", "
                  << bounds.top << ") to (" << bounds.right << ", " << bounds.bottom << ") of the window at ("
                  << shown.place.left << ", " << shown.place.top << "); captures: " << shownPath << " and "
                  << repaintedPath;
}

void ExpectShownUncovered(HWND window)
{
    if (!IsWindow(window) || !IsWindowVisible(window)) {
        ADD_FAILURE() << "The window to check is not shown";
        return;
    }
    HideCaret(nullptr);
    if (!PumpUntilIdle())
        ADD_FAILURE() << "Messages or paints kept coming before the screen was captured";
    const ScreenCapture shown = SettledCapture(window);
    ScreenCapture raised;
    {
        ScreenOnTop onTop(window);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        raised = SettledCapture(window);
    }
    ShowCaret(nullptr);
    if (shown.pixels == raised.pixels)
        return;
    const RECT bounds = Differing(shown, raised);
    const std::string base = CapturePathBase();
    const std::string shownPath = base + "shown.bmp", raisedPath = base + "raised.bmp";
    WriteBmp(shown, shownPath);
    WriteBmp(raised, raisedPath);
    ADD_FAILURE() << "The screen shows something else over the window in screen pixels (" << bounds.left << ", "
                  << bounds.top << ") to (" << bounds.right << ", " << bounds.bottom << ") of the window at ("
                  << shown.place.left << ", " << shown.place.top << "); captures: " << shownPath << " and "
                  << raisedPath;
}
