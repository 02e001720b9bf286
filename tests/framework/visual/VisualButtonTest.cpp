#include "framework/draw/Bitmap.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/visual/VisualButton.h"
#include "framework/visual/VisualButtonFace.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/TimerManager.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

const unsigned CommandId = 4711;

struct ButtonFixture : HoldsThePointerAway {
    ScopedApplication app;
    RecordingTopWindow top;
    VisualPushButton* button = nullptr;
    explicit ButtonFixture(unsigned style)
    {
        top.Create();
        button = new VisualPushButton(&top, RECT{0, 0, 40, 20}, style | WS_CHILD | WS_VISIBLE, "Go", CommandId,
                                      nullptr);
    }
    // Posts the mouse messages (client points of the button) and lets them arrive.
    void Post(std::initializer_list<std::tuple<UINT, int, int>> messages)
    {
        for (const auto& [message, x, y] : messages)
            PostMessageA(button->Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
        PumpMessagesFor(100);
    }
    LRESULT Check() const { return SendMessageA(button->Handle(), BM_GETCHECK, 0, 0); }
};

} // namespace

TEST(VisualPushButton, ReleaseOffTheButtonSendsNothingAndReleaseBackOnSendsOneCommand)
{
    ButtonFixture fixture(0);
    fixture.Post({{WM_LBUTTONDOWN, 10, 10}, {WM_MOUSEMOVE, 200, 200}, {WM_LBUTTONUP, 200, 200}});
    EXPECT_TRUE(fixture.top.commands.empty());
    EXPECT_EQ(BST_UNCHECKED, fixture.Check());
    fixture.Post({{WM_LBUTTONDOWN, 10, 10}, {WM_MOUSEMOVE, 200, 200}});
    EXPECT_EQ(BST_UNCHECKED, fixture.Check()); // shown up again while off
    fixture.Post({{WM_MOUSEMOVE, 12, 12}});
    EXPECT_EQ(BST_INDETERMINATE, fixture.Check()); // pressed again
    fixture.Post({{WM_MOUSEMOVE, 14, 14}, {WM_LBUTTONUP, 14, 14}});
    EXPECT_EQ(std::vector<unsigned>{CommandId}, fixture.top.commands);
    EXPECT_EQ(BST_UNCHECKED, fixture.Check());
    EXPECT_EQ(nullptr, GetCapture());
}

TEST(VisualPushButton, LatchingButtonLatchesAndReleasesAndSpaceBarClicksOnce)
{
    ButtonFixture fixture(VisualPressItem::LatchingStyle);
    fixture.Post({{WM_LBUTTONDOWN, 10, 10}, {WM_LBUTTONUP, 10, 10}});
    EXPECT_EQ(BST_CHECKED, fixture.Check());
    fixture.Post({{WM_LBUTTONDOWN, 10, 10}, {WM_LBUTTONUP, 10, 10}});
    EXPECT_EQ(BST_UNCHECKED, fixture.Check());
    for (int repeat = 0; repeat < 3; ++repeat)
        PostMessageA(fixture.button->Handle(), WM_KEYDOWN, VK_SPACE, 0);
    PostMessageA(fixture.button->Handle(), WM_KEYUP, VK_SPACE, 0);
    PumpMessagesFor(100);
    EXPECT_EQ((std::vector<unsigned>{CommandId, CommandId, CommandId}), fixture.top.commands);
    EXPECT_EQ(BST_CHECKED, fixture.Check());
}

TEST(VisualPushButton, GetTextNeverWritesPastTheCallersBuffer)
{
    ButtonFixture fixture(0);
    SetWindowTextA(fixture.button->Handle(), "0123456789");
    char buffer[8] = "#######";
    EXPECT_EQ(3, SendMessageA(fixture.button->Handle(), WM_GETTEXT, 4, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_STREQ("012", buffer);
    EXPECT_EQ('#', buffer[4]);
}

namespace {

DWORD FakeTicks = 0;
DWORD FakeTickCount() { return FakeTicks; }

// Records the WM_MENUSELECT words the frame receives.
struct MenuSelectRecorder : EventTarget {
    std::vector<WPARAM> words;
    long Record(WindowEvent* event)
    {
        words.push_back(event->wParam);
        return 0;
    }
};

} // namespace

TEST(VisualPushButton, PointerRestingOnAButtonTellsTheFrameOnceAndLeavingClearsIt)
{
    ButtonFixture fixture(0);
    auto* other = new VisualPushButton(&fixture.top, RECT{50, 0, 90, 20}, WS_CHILD | WS_VISIBLE, "No", 4712, nullptr);
    MenuSelectRecorder frame;
    fixture.top.AddHandler(&frame, &MenuSelectRecorder::Record, WM_MENUSELECT);
    const TickSource previous = TimerManager::SetTickSource(FakeTickCount);
    auto tick = []() {
        FakeTicks += 500;
        TheApp->Timers()->Tick(nullptr);
    };
    const WPARAM closed = MAKEWPARAM(0, 0xFFFF);
    for (int x : {5, 8, 11}) // three moves over the button: one message
        PostMessageA(fixture.button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, 5));
    PumpMessagesFor(100);
    EXPECT_EQ(std::vector<WPARAM>{CommandId}, frame.words);
    tick(); // the real pointer is elsewhere: noticed at the next check
    EXPECT_EQ((std::vector<WPARAM>{CommandId, closed}), frame.words);
    tick();
    EXPECT_EQ(2u, frame.words.size()); // the check has stopped

    frame.words.clear();
    PostMessageA(fixture.button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PostMessageA(other->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PumpMessagesFor(100);
    tick(); // the first button's check sees the second has taken over: no message from it
    EXPECT_EQ((std::vector<WPARAM>{CommandId, 4712, closed}), frame.words);
    TimerManager::SetTickSource(previous);
}

namespace {

// A face drawn on a memory display, its pixels read back.
struct FaceOnBitmap {
    BitmapDisplay display{24, 16};
    Display* slot = &display;
    VisualItemGroup root{new LayoutManager(0, 0, 24, 16, nullptr), &slot, nullptr};
    VisualButtonFace* face;
    FaceOnBitmap(unsigned style, Bitmap* bitmap = nullptr, int frames = 6)
    {
        auto* group = new VisualButtonGroup(&root, new LayoutManager(0, 0, 24, 16, nullptr));
        root.AddChild(group);
        face = new VisualButtonFace(group, new LayoutManager(0, 0, 24, 16, nullptr), style, 1, bitmap, frames);
        group->AddChild(face);
    }
    COLORREF Pixel(int x, int y)
    {
        display.Lock();
        const COLORREF colour = GetPixel(display.DeviceContext(), x, y);
        display.Unlock();
        return colour;
    }
};

// A strip of frames, each 4 x 4 pixels of one colour.
Bitmap* Strip(std::initializer_list<COLORREF> colours)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4 * static_cast<int>(colours.size()), 4);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    int x = 0;
    for (COLORREF colour : colours) {
        HBRUSH brush = CreateSolidBrush(colour);
        RECT frame{x, 0, x + 4, 4};
        FillRect(memory, &frame, brush);
        DeleteObject(brush);
        x += 4;
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return new Bitmap(bitmap);
}

const COLORREF Black = RGB(0, 0, 0), White = RGB(255, 255, 255), Grey = RGB(128, 128, 128);

} // namespace

TEST(VisualButtonFace, BevelsOfTheUpPressedLatchedAndDefaultLooks)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    FaceOnBitmap plain(VisualPressItem::LatchingStyle);
    const struct {
        void (VisualButtonFace::*draw)();
        COLORREF topLeft, bottom, secondShadow;
    } looks[] = {
        {&VisualButtonFace::DrawUp, White, Grey, Grey},
        {&VisualButtonFace::DrawPressed, Grey, face, face},
        {&VisualButtonFace::DrawLatched, Grey, White, face},
    };
    for (const auto& look : looks) {
        (plain.face->*look.draw)();
        EXPECT_EQ(Black, plain.Pixel(0, 0));
        EXPECT_EQ(look.topLeft, plain.Pixel(1, 1));
        EXPECT_EQ(look.bottom, plain.Pixel(8, 14));
        EXPECT_EQ(look.secondShadow, plain.Pixel(8, 13));
    }
    FaceOnBitmap ringed(VisualButtonFace::DefaultRingStyle);
    ringed.face->DrawUp();
    EXPECT_EQ(face, ringed.Pixel(0, 0));
    ringed.face->SetDefault(true);
    ringed.face->DrawUp();
    EXPECT_EQ(Black, ringed.Pixel(0, 0));
    EXPECT_EQ(Black, ringed.Pixel(1, 1));
    EXPECT_EQ(White, ringed.Pixel(2, 2));
}

TEST(VisualButtonFace, StripFramesFollowTheLookAndTheGreyedFlag)
{
    const COLORREF colours[6] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0),
                                 RGB(0, 255, 255), RGB(255, 0, 255)};
    FaceOnBitmap bare(VisualButtonFace::BareStyle | VisualPressItem::LatchingStyle | 0x20,
                      Strip({colours[0], colours[1], colours[2], colours[3], colours[4], colours[5]}));
    const struct {
        bool grayed;
        void (VisualButtonFace::*draw)();
        int frame;
    } cases[] = {
        {false, &VisualButtonFace::DrawUp, 0},      {true, &VisualButtonFace::DrawUp, 1},
        {false, &VisualButtonFace::DrawPressed, 2}, {false, &VisualButtonFace::DrawLatched, 4},
        {true, &VisualButtonFace::DrawLatched, 5},  {false, &VisualButtonFace::DrawPressed, 3},
    };
    for (const auto& c : cases) {
        bare.face->SetGrayed(c.grayed);
        (bare.face->*c.draw)();
        EXPECT_EQ(colours[c.frame], bare.Pixel(12, 8)) << "frame " << c.frame;
    }
}

TEST(VisualButtonFace, GrayedSingleImageIsALightGreyCheckerboard)
{
    FaceOnBitmap single(VisualButtonFace::BareStyle, Strip({RGB(0, 0, 255)}), 1);
    single.face->SetGrayed(true);
    single.face->DrawUp();
    // The 4 x 4 image sits at (10, 6): even sums of its own column and row are grey.
    EXPECT_EQ(RGB(192, 192, 192), single.Pixel(10, 6));
    EXPECT_EQ(RGB(0, 0, 255), single.Pixel(11, 6));
    EXPECT_EQ(RGB(192, 192, 192), single.Pixel(11, 7));
}
