#include "framework/visual/VisualCtrl.h"
#include "framework/visual/VisualItem.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/ScrollBarState.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// An item that logs what reaches it and answers the button down with a set value.
class LoggingItem : public VisualItem {
public:
    LoggingItem(VisualItemGroup* parent, std::vector<std::string>* log, std::string name, RECT r, long downAnswer)
        : VisualItem(parent, new LayoutManager(r, nullptr)), log_(log), name_(std::move(name)), down_(downAnswer)
    {
        parent->AddChild(this);
    }
    long OnButtonDown(WindowEvent&) override { return Log("down", down_); }
    long OnButtonUp(WindowEvent&) override { return Log("up", 1); }
    long OnMouseMove(WindowEvent&) override { return Log("move", 1); }
    long OnKey(WindowEvent&) override { return Log("key", 0); }
    void Draw(const RECT*) override { Log("draw", 0); }

private:
    long Log(const char* what, long answer)
    {
        log_->push_back(std::string(what) + " " + name_);
        return answer;
    }
    std::vector<std::string>* log_;
    std::string name_;
    long down_;
};

WindowEvent Mouse(UINT message, int x, int y)
{
    return WindowEvent{MAKELPARAM(x, y), message == WM_LBUTTONUP ? 0u : MK_LBUTTON, message, nullptr};
}

struct Tree {
    std::vector<std::string> log;
    Display* display = nullptr;
    VisualItemGroup root{new LayoutManager(0, 0, 100, 100, nullptr), &display, nullptr};
};

} // namespace

TEST(VisualItemGroup, PressGoesToEarliestTakerAndTrackingKeepsMovesAndReleaseUntilUp)
{
    Tree tree;
    new LoggingItem(&tree.root, &tree.log, "A", RECT{0, 0, 20, 20}, 0);  // declines the press
    new LoggingItem(&tree.root, &tree.log, "B", RECT{10, 10, 30, 30}, 1);
    new LoggingItem(&tree.root, &tree.log, "C", RECT{30, 0, 40, 10}, 1);  // shares B's edge x = 30

    WindowEvent down = Mouse(WM_LBUTTONDOWN, 15, 15);
    WindowEvent farMove = Mouse(WM_MOUSEMOVE, 90, 90);
    WindowEvent up = Mouse(WM_LBUTTONUP, 90, 90);
    WindowEvent edge = Mouse(WM_LBUTTONDOWN, 30, 10);
    WindowEvent nowhere = Mouse(WM_LBUTTONDOWN, 60, 60);
    EXPECT_EQ(1, tree.root.OnButtonDown(down));
    EXPECT_EQ(1, tree.root.OnMouseMove(farMove));
    EXPECT_EQ(1, tree.root.OnButtonUp(up));
    EXPECT_EQ(0, tree.root.OnButtonUp(up)); // tracking ended
    EXPECT_EQ(1, tree.root.OnButtonDown(edge));
    EXPECT_EQ(0, tree.root.OnButtonDown(nowhere));
    EXPECT_EQ(nullptr, tree.root.Tracked());
    const std::vector<std::string> expected{"down A", "down B", "move B", "up B", "down B"};
    EXPECT_EQ(expected, tree.log);
}

TEST(VisualItemGroup, DrawsVisibleChildrenInOrderThatOverlapTheClipOnly)
{
    Tree tree;
    auto* nested = new VisualItemGroup(&tree.root, new LayoutManager(0, 0, 50, 50, nullptr));
    tree.root.AddChild(nested);
    new LoggingItem(nested, &tree.log, "N", RECT{0, 0, 10, 10}, 1);
    new LoggingItem(&tree.root, &tree.log, "A", RECT{0, 0, 20, 20}, 1);
    new LoggingItem(&tree.root, &tree.log, "B", RECT{20, 0, 40, 20}, 1);

    const RECT touchesBOnly{20, 0, 30, 10}; // touches A's right edge
    tree.root.Draw(&touchesBOnly);
    tree.root.Draw(nullptr);
    nested->SetVisible(false);
    const RECT all{0, 0, 100, 100};
    tree.root.Draw(&all);
    const POINT inN{5, 5};
    EXPECT_FALSE(nested->HitTest(inN));
    const std::vector<std::string> expected{"draw B", "draw N", "draw A", "draw B", "draw A", "draw B"};
    EXPECT_EQ(expected, tree.log);
}

TEST(VisualItemGroup, InputMarkClimbsToTheRootAndTheLastUnmarkClearsIt)
{
    Tree tree;
    auto* middle = new VisualItemGroup(&tree.root, new LayoutManager(0, 0, 50, 50, nullptr));
    tree.root.AddChild(middle);
    auto* a = new LoggingItem(middle, &tree.log, "A", RECT{0, 0, 10, 10}, 1);
    auto* b = new LoggingItem(middle, &tree.log, "B", RECT{0, 0, 10, 10}, 1);
    a->SetStateBits(VisualItem::WantsInput);
    b->SetStateBits(VisualItem::WantsInput);
    EXPECT_EQ(VisualItem::WantsInput, tree.root.StateBits());
    EXPECT_EQ(2, middle->ActiveCount());
    a->ClearStateBits(VisualItem::WantsInput);
    EXPECT_EQ(VisualItem::WantsInput, tree.root.StateBits());
    delete b; // a marked item leaving its group unmarks it
    EXPECT_EQ(0u, middle->StateBits());
    EXPECT_EQ(0u, tree.root.StateBits());
}

TEST(VisualItemHost, RoutesMouseToItemsOnlyWhileSomeItemWantsInput)
{
    // The click gives the host the focus: no other test process may hold the activation meanwhile.
    FocusTestLock focus;
    ScopedApplication app;
    RecordingTopWindow top;
    top.Create();
    std::vector<std::string> log;
    struct Host : VisualItemHost {
        using VisualItemHost::VisualItemHost;
    };
    auto* host = new Host(&top, new LayoutManager(0, 0, 60, 40, nullptr), WS_CHILD | WS_VISIBLE);
    auto* item = new LoggingItem(host->Root(), &log, "A", RECT{0, 0, 60, 40}, 1);
    const HWND window = host->Handle();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    item->SetStateBits(VisualItem::WantsInput);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageA(window, WM_CHAR, 'x', 0);
    const std::vector<std::string> expected{"down A", "up A", "key A"};
    EXPECT_EQ(expected, log);
    EXPECT_EQ(window, GetFocus());
}

TEST(VisualItemHost, ScrollCodesMoveTheWindowsOwnBarButNotAForeignControlsOne)
{
    ScopedApplication app;
    RecordingTopWindow top;
    top.Create();
    struct Host : VisualItemHost {
        using VisualItemHost::VisualItemHost;
    };
    auto* host = new Host(&top, new LayoutManager(0, 0, 60, 40, nullptr), WS_CHILD | WS_VISIBLE);
    auto* bar = new ScrollBarState(host, SB_VERT);
    host->SetVerticalState(bar);
    HWND foreign = CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 5, 5, top.Handle(), nullptr, nullptr, nullptr);
    const struct {
        WPARAM code;
        HWND control;
        int position;
    } steps[] = {{SB_LINEDOWN, nullptr, 1},  {SB_PAGEDOWN, nullptr, 11}, {MAKEWPARAM(SB_THUMBTRACK, 500), nullptr, 100},
                 {SB_TOP, foreign, 100}, {SB_PAGEUP, nullptr, 90},   {SB_TOP, nullptr, 0}};
    for (const auto& step : steps) {
        SendMessageA(host->Handle(), WM_VSCROLL, step.code, reinterpret_cast<LPARAM>(step.control));
        EXPECT_EQ(step.position, bar->position) << step.code;
    }
    DestroyWindow(foreign);
}
