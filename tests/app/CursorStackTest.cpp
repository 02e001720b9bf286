#include "widgets/CursorStack.h"
#include "widgets/EscapeKey.h"
#include "widgets/InputHelpers.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/HandlerList.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(CursorStack, NestedPushesAndPops)
{
    PushWaitCursor();  // no instance yet: nothing happens
    PopCursor();
    CursorStack::Create();
    CursorStack& stack = *CursorStack::Instance();
    EXPECT_EQ(stack.Top(), CursorStack::kArrow);

    stack.Pop();
    EXPECT_EQ(stack.Count(), 0);
    EXPECT_EQ(stack.Top(), CursorStack::kArrow);

    PushCursor(32513);  // IDC_IBEAM
    PushWaitCursor();
    EXPECT_EQ(stack.Top(), CursorStack::kWait);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(CursorStack::kWait)));
    PopCursor();
    EXPECT_EQ(stack.Top(), 32513u);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(32513)));
    {
        WaitCursorScope scope;
        EXPECT_EQ(stack.Count(), 2);
    }
    EXPECT_EQ(stack.Count(), 1);
    PopCursor();
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(CursorStack::kArrow)));
    CursorStack::Destroy();
    EXPECT_EQ(CursorStack::Instance(), nullptr);
}

TEST(CursorStack, MouseMovesShowThePushedCursorOverTheWindowsOwn)
{
    ScopedApplication app;
    RecordingTopWindow window;
    window.Create();
    window.RouteToListsFirst(WM_MOUSEMOVE);
    CursorStack::Create();
    const HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(CursorStack::kArrow));
    const HCURSOR wait = LoadCursorA(nullptr, MAKEINTRESOURCEA(CursorStack::kWait));
    SetCursor(arrow);
    SendMessageA(window.Handle(), WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(GetCursor(), arrow);
    PushWaitCursor();
    SetCursor(arrow);
    SendMessageA(window.Handle(), WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(GetCursor(), wait);
    // A push beyond the capacity is refused; the stack pops back to the arrow in as many pops as it took.
    for (int i = 0; i < CursorStack::kCapacity + 3; ++i)
        PushCursor(32513);
    EXPECT_EQ(CursorStack::Instance()->Count(), CursorStack::kCapacity);
    for (int i = 0; i < CursorStack::kCapacity - 1; ++i)
        PopCursor();
    EXPECT_EQ(CursorStack::Instance()->Top(), CursorStack::kWait);
    CursorStack::Destroy();
    EXPECT_EQ(app->Handlers()->Count(), 0);
}

// Two presses with a target each, at the given times; the second one `away` pixels across and down from the
// first.
struct ClickCase {
    const char* name;
    uint32_t first, second;
    int firstTarget, secondTarget;
    bool doubleClick;
    int away;
};

TEST(ClickRecord, SameTargetWithinTheDoubleClickTimeIsADoubleClick)
{
    uint32_t now = 0;
    const auto previousClock = SetTickSource([&] { return now; });
    const uint32_t limit = GetDoubleClickTime();
    int items[2];
    const ClickCase cases[] = {
        {"same item", 1000, 1000 + limit, 0, 0, true, 1},
        {"other item", 1000, 1100, 0, 1, false, 1},
        {"too slow", 1000, 1001 + limit, 0, 0, false, 1},
        // Another part of the same item, beyond the system's double-click rectangle.
        {"same item, another place", 1000, 1100, 0, 0, false, 12},
        // A second record within 10 ms is the same press reported twice.
        {"one press reported twice", 1000, 1005, 0, 0, false, 1},
    };
    uint32_t base = 0;
    for (const ClickCase& c : cases) {
        base += 100000;
        now = base + c.first;
        RecordMouseClick(POINT{5, -3});
        SetClickTarget(&items[c.firstTarget]);
        now = base + c.second;
        RecordMouseClick(POINT{5 + c.away, -3 + c.away});
        SetClickTarget(&items[c.secondTarget]);
        EXPECT_EQ(IsDoubleClick(), c.doubleClick) << c.name;
    }
    POINT point;
    EXPECT_EQ(LastClickPoint(point), &items[0]);
    EXPECT_EQ(point.x, 5);
    EXPECT_EQ(point.y, -3);
    SetTickSource(previousClock);
}

TEST(ClickRecord, TheFirstClickAfterStartUpIsNeverADoubleClick)
{
    int item;
    RecordMouseClick(POINT{0, 0});
    SetClickTarget(&item);
    EXPECT_FALSE(IsDoubleClick());
}

}  // namespace
