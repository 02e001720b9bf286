#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/WindowDisplay.h"
#include "framework/window/Caret.h"
#include "framework/window/ChildLayout.h"
#include "framework/window/PaneScroller.h"
#include "framework/window/PaneWindowCL.h"
#include "framework/window/ScrollBarState.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A 100 x 80 pane that records the distances it is scrolled by and reports a content size.
class ContentPane : public PaneWindowCL {
public:
    explicit ContentPane(WindowCL* parent) : PaneWindowCL(parent, new ChildLayout(0, 0, 100, 80, nullptr), WS_VISIBLE)
    {
    }
    void Scroll(int dx, int dy, const RECT* rect) override
    {
        moves.push_back(dx + dy);
        PaneWindowCL::Scroll(dx, dy, rect);
    }
    long ExtentInPixels(SIZE& extent) override
    {
        extent = content;
        return 1;
    }
    long Paint(WindowEvent*) override
    {
        paintedOn = CurrentDisplay();
        paintedOn->Bounds(paintBounds);
        return 0;
    }
    std::vector<int> moves;
    SIZE content{100, 80};
    Display* paintedOn = nullptr;
    RECT paintBounds{};
};

class ScrollerTest : public testing::Test {
protected:
    void SetUp() override
    {
        frame.Create();
        pane = new ContentPane(&frame);
        pane->SetVerticalState(new ScrollBarState(pane, SB_VERT));
        pane->SetHorizontalState(new ScrollBarState(pane, SB_HORZ));
    }
    void TearDown() override { pane->SetScroller(nullptr); }
    void Bar(UINT message, WORD code, WORD thumb = 0)
    {
        SendMessageA(pane->Handle(), message, MAKEWPARAM(code, thumb), 0);
    }
    // The key reaches the scroller through the pane's handler list, as a key press does.
    void Key(WPARAM key, bool control)
    {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(keys);
        SendMessageA(pane->Handle(), WM_KEYDOWN, key, 0);
    }
    POINT Positions() const { return POINT{pane->HorizontalState()->position, pane->VerticalState()->position}; }

    ScopedApplication app;
    RecordingTopWindow frame;
    ContentPane* pane = nullptr;
};

TEST_F(ScrollerTest, BarCodesMoveTheContentsByLinesPagesAndTheWholeDistance)
{
    ClientScroller scroller(pane);
    pane->SetScroller(&scroller);
    scroller.SetVertLineUnit(3);
    scroller.SetVertPageUnit(30);
    const struct {
        WORD code;
        WORD thumb;
        std::vector<int> moves;
        int position;
    } rows[] = {
        {SB_LINEDOWN, 0, {-3}, 1},
        {SB_PAGEDOWN, 0, {-30}, 11},
        {SB_THUMBTRACK, 40, {}, 40},          // tracking moves nothing
        {SB_THUMBPOSITION, 40, {-87}, 40},    // the whole difference, 29 lines
        {SB_LINEUP, 0, {3}, 39},
        {SB_PAGEUP, 0, {30}, 29},
        {SB_TOP, 0, {87}, 0},
        {SB_PAGEDOWN, 0, {-30}, 10},
        {SB_BOTTOM, 0, {-270}, 100},
        {SB_LINEDOWN, 0, {}, 100},            // at the end nothing moves
    };
    for (const auto& row : rows) {
        pane->moves.clear();
        Bar(WM_VSCROLL, row.code, row.thumb);
        EXPECT_EQ(pane->moves, row.moves) << row.code;
        EXPECT_EQ(pane->VerticalState()->position, row.position) << row.code;
        if (row.code != SB_THUMBTRACK) {
            EXPECT_EQ(pane->VerticalState()->previous, row.position) << row.code;
        }
    }
    // A page up from less than a page above the minimum goes to the top by the whole remaining distance.
    pane->VerticalState()->SetPos(4);
    pane->VerticalState()->SetPrevious(4);
    pane->moves.clear();
    Bar(WM_VSCROLL, SB_PAGEUP);
    EXPECT_EQ(pane->moves, (std::vector<int>{12}));
}

TEST_F(ScrollerTest, KeysScrollTheirAxisAndAnEmptyVerticalRangeStopsThemAll)
{
    ClientScroller scroller(pane);
    pane->SetScroller(&scroller);
    const struct {
        WPARAM key;
        bool control;
        LONG x;
        LONG y;
    } rows[] = {
        {VK_NEXT, false, 0, 10},
        {VK_END, true, 0, 100},  // Ctrl+End moves the vertical axis only
        {VK_NEXT, true, 10, 100}, // Ctrl+Page Down moves the horizontal axis only
        {VK_PRIOR, false, 10, 90},
        {VK_HOME, true, 10, 0},
        {VK_PRIOR, true, 0, 0},
        {VK_HOME, false, 0, 0},   // Home without Ctrl is not a scrolling key
    };
    for (const auto& row : rows) {
        Key(row.key, row.control);
        EXPECT_EQ(Positions().x, row.x) << row.key << " " << row.control;
        EXPECT_EQ(Positions().y, row.y) << row.key << " " << row.control;
    }

    pane->HorizontalState()->SetRange(0, 0);
    Key(VK_NEXT, false);
    EXPECT_EQ(Positions().y, 10) << "the vertical keys still work";
    pane->VerticalState()->SetRange(0, 0);
    pane->HorizontalState()->SetRange(0, 100);
    const POINT before = Positions();
    for (WPARAM key : {VK_PRIOR, VK_NEXT}) {
        for (bool control : {false, true}) {
            Key(key, control);
            EXPECT_EQ(Positions().x, before.x) << key << " " << control;
            EXPECT_EQ(Positions().y, before.y) << key << " " << control;
        }
    }
    Key(VK_HOME, false);
}

TEST_F(ScrollerTest, PaneScrollerFitsRangesToTheContentAndTracksTheOrigin)
{
    RECT client{};
    GetClientRect(pane->Handle(), &client);
    pane->content = SIZE{client.right + 250, 10};
    PaneScroller scroller(pane);
    pane->SetScroller(&scroller);
    scroller.SetHorzLineUnit(100);
    scroller.Update(nullptr);
    EXPECT_EQ(pane->HorizontalState()->maximum, 3);
    EXPECT_EQ(pane->VerticalState()->maximum, 0);

    Bar(WM_HSCROLL, SB_THUMBPOSITION, 2);
    EXPECT_EQ(pane->CurrentDisplay()->WindowOrigin().x, 200);
    Bar(WM_HSCROLL, SB_LINEUP);
    EXPECT_EQ(pane->CurrentDisplay()->WindowOrigin().x, 100);

    pane->content = SIZE{client.right - 10, 10};
    scroller.Update(nullptr);
    EXPECT_EQ(pane->HorizontalState()->position, 0);
    EXPECT_EQ(pane->HorizontalState()->maximum, 0);
    EXPECT_EQ(pane->CurrentDisplay()->WindowOrigin().x, 0);
}

TEST_F(ScrollerTest, WithoutAScrollerTheEndOfAScrollMovesThePanesOrigin)
{
    Bar(WM_VSCROLL, SB_THUMBTRACK, 7);
    EXPECT_EQ(pane->CurrentDisplay()->WindowOrigin().y, 0);
    Bar(WM_VSCROLL, SB_ENDSCROLL);
    EXPECT_EQ(pane->CurrentDisplay()->WindowOrigin().y, 7);
    EXPECT_EQ(pane->CurrentDisplay()->WindowOrigin().x, 0);
}

TEST_F(ScrollerTest, PaintingGoesThroughTheOwnDisplayWhileAnotherIsCurrent)
{
    FocusTestLock lock;
    BitmapDisplay picture(10, 10);
    pane->PushDisplay(&picture);
    ShowWindow(frame.Handle(), SW_SHOWNOACTIVATE);
    InvalidateRect(pane->Handle(), nullptr, TRUE);
    EXPECT_TRUE(PumpMessagesUntil([&] { return pane->paintedOn != nullptr; }));
    EXPECT_EQ(pane->paintedOn, pane->OwnDisplay());
    EXPECT_EQ(pane->CurrentDisplay(), &picture);
    pane->PopDisplay();
    EXPECT_EQ(pane->CurrentDisplay(), pane->OwnDisplay());

    // While painting, the bounds are the paint rectangle moved by the window origin.
    pane->paintedOn = nullptr;
    pane->OwnDisplay()->SetWindowOrigin(5, 6);
    const RECT invalid{10, 10, 20, 20};
    InvalidateRect(pane->Handle(), &invalid, FALSE);
    EXPECT_TRUE(PumpMessagesUntil([&] { return pane->paintedOn != nullptr; }));
    EXPECT_EQ(pane->paintBounds.left, 15);
    EXPECT_EQ(pane->paintBounds.top, 16);
    EXPECT_EQ(pane->paintBounds.right, 25);
    RECT outside{};
    pane->OwnDisplay()->Bounds(outside);
    EXPECT_EQ(outside.right, 0) << "not painting: empty";
}

TEST_F(ScrollerTest, ACaretFollowsTheFocusAndAPaneWithoutOneIgnoresIt)
{
    WindowEvent focus{0, 0, WM_SETFOCUS, pane->Handle()};
    EXPECT_EQ(pane->OnFocus(&focus), 0);
    Caret caret(pane, 2, 12);
    pane->SetCaret(&caret);
    pane->OnFocus(&focus);
    EXPECT_TRUE(caret.IsActive());
    WindowEvent lost{0, 0, WM_KILLFOCUS, pane->Handle()};
    pane->OnFocus(&lost);
    EXPECT_FALSE(caret.IsActive());
    pane->SetCaret(nullptr);
}

} // namespace
