#include "framework/window/ChildLayout.h"
#include "framework/window/DefaultLayoutArranger.h"
#include "framework/window/DockLayout.h"
#include "framework/window/FillLayout.h"
#include "framework/window/FitLayout.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/MDImarginCL.h"
#include "framework/window/PercentLayout.h"
#include "framework/window/PlainLayout.h"
#include "framework/window/Rect.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// One child of an arrangement: its kind, its reported size and, for absolute children, its position.
struct ChildSpec {
    int kind;
    int width;
    int height;
    int x = 0;
    int y = 0;
};

struct ArrangeCase {
    const char* what;
    RECT area;
    std::vector<ChildSpec> children;
    std::vector<RECT> placed;
    RECT areaAfter;
};

std::unique_ptr<LayoutManager> MakeChild(const ChildSpec& spec)
{
    if (spec.kind == LayoutManager::Absolute)
        return std::make_unique<ChildLayout>(spec.x, spec.y, spec.width, spec.height, nullptr);
    return std::make_unique<DockLayout>(spec.kind, spec.width, spec.height, nullptr);
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Text(const RECT& r)
{
    return "{" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + "}";
}

class Arrange : public testing::TestWithParam<ArrangeCase> {};

TEST_P(Arrange, PlacesChildrenInTheFreeArea)
{
    const ArrangeCase& c = GetParam();
    std::vector<std::unique_ptr<LayoutManager>> owned;
    LayoutChildren children;
    for (const ChildSpec& spec : c.children) {
        owned.push_back(MakeChild(spec));
        children.push_back(owned.back().get());
    }
    RECT area = c.area;
    DefaultLayoutArranger::Instance().Arrange(area, children, static_cast<int>(children.size()));
    for (std::size_t i = 0; i < owned.size(); ++i) {
        const RECT got = owned[i]->OwnRect();
        EXPECT_TRUE(SameRect(got, c.placed[i])) << c.what << ": child " << i << " at " << Text(got);
    }
    EXPECT_TRUE(SameRect(area, c.areaAfter)) << c.what << ": area " << Text(area);
}

const int Unset = LayoutUnset;

INSTANTIATE_TEST_SUITE_P(
    Cases, Arrange,
    testing::Values(
        ArrangeCase{"two docked left", {0, 0, 200, 100}, {{0, 50, 0}, {0, 30, 0}},
                    {{0, 0, 50, 100}, {50, 0, 80, 100}}, {0, 0, 80, 0}},
        ArrangeCase{"docked left with a height", {0, 0, 200, 100}, {{0, 50, 40}}, {{0, 0, 50, 40}}, {0, 0, 50, 0}},
        ArrangeCase{"docked right", {0, 0, 200, 100}, {{1, 40, 0}}, {{160, 0, 200, 100}}, {0, 0, 40, 0}},
        ArrangeCase{"top and bottom", {0, 0, 200, 100}, {{2, 0, 25}, {3, 0, 10}},
                    {{0, 0, 200, 25}, {0, 90, 200, 100}}, {0, 0, 0, 35}},
        ArrangeCase{"fill and centre", {0, 0, 100, 100}, {{4, 40, 20}}, {{30, 40, 70, 60}}, {0, 0, 100, 100}},
        ArrangeCase{"fill and centre without a size", {0, 0, 100, 100}, {{4, 0, 0}}, {{0, 0, 100, 100}},
                    {0, 0, 100, 100}},
        ArrangeCase{"dock then fill from the corner", {0, 0, 200, 100}, {{0, 50, 0}, {5, 0, 0}},
                    {{0, 0, 50, 100}, {50, 0, 200, 100}}, {0, 0, 200, 100}},
        ArrangeCase{"top then left share the rest", {0, 0, 200, 100}, {{2, 0, 30}, {0, 60, 0}},
                    {{0, 0, 200, 30}, {0, 30, 60, 100}}, {0, 0, 60, 30}},
        ArrangeCase{"absolute with unset width reaches the right edge", {0, 0, 200, 100}, {{6, Unset, 30, 10, 20}},
                    {{10, 20, 200, 50}}, {0, 0, 0, 0}},
        ArrangeCase{"absolute keeps the free area", {0, 0, 200, 100}, {{6, 20, 20, 5, 5}, {0, 50, 0}},
                    {{5, 5, 25, 25}, {0, 0, 50, 100}}, {0, 0, 50, 0}}));

TEST(LayoutMeasure, StacksTopChildrenAndTracksAbsoluteExtents)
{
    DockLayout top1(LayoutManager::DockTop, 30, 10, nullptr);
    DockLayout top2(LayoutManager::DockTop, 50, 20, nullptr);
    LayoutChildren stacked{&top1, &top2};
    LayoutGeometry geometry;
    DefaultLayoutArranger::Instance().Measure(geometry, stacked, 2);
    EXPECT_EQ(geometry.placed.cx, 50);
    EXPECT_EQ(geometry.placed.cy, 30);

    ChildLayout absolute(10, 5, 20, 20, nullptr);
    DockLayout left(LayoutManager::DockLeft, 15, 8, nullptr);
    LayoutChildren mixed{&absolute, &left};
    LayoutGeometry extent;
    DefaultLayoutArranger::Instance().Measure(extent, mixed, 2);
    EXPECT_EQ(extent.placed.cx, 30);
    EXPECT_EQ(extent.placed.cy, 25);
    EXPECT_EQ(extent.third.cx, 30);
}

TEST(PercentLayout, TakesItsShareOfTheOwnerTruncated)
{
    ChildLayout owner(0, 0, 101, 60, nullptr);
    PercentLayout half(LayoutManager::DockLeft, 0.0f, 50.0f, &owner);
    LayoutGeometry geometry;
    half.Geometry(geometry);
    EXPECT_EQ(geometry.placed.cx, 50);
    EXPECT_EQ(geometry.placed.cy, 60);
}

TEST(ChildLayout, AppendAddRemoveKeepOrderAndCount)
{
    ChildLayout container(nullptr);
    PlainLayout a(&container);
    PlainLayout b(nullptr);
    PlainLayout stranger(nullptr);
    container.Add(&b);
    EXPECT_EQ(container.Count(), 2);
    EXPECT_EQ(container.Children().front(), &b);
    EXPECT_EQ(a.Owner(), &container);
    container.Remove(&stranger);
    EXPECT_EQ(container.Count(), 2);
    b.Detach();
    EXPECT_EQ(container.Count(), 1);
    EXPECT_EQ(b.Owner(), nullptr);
}

TEST(ChildLayout, DeletingAContainerOrphansItsChildren)
{
    PlainLayout child(nullptr);
    {
        ChildLayout container(nullptr);
        container.Append(&child);
    }
    EXPECT_EQ(child.Owner(), nullptr);
}

TEST(ChildLayout, GeometryWithoutChildrenIsItsOwn)
{
    ChildLayout container(3, 4, 30, 40, nullptr);
    LayoutGeometry geometry;
    container.Geometry(geometry);
    EXPECT_EQ(geometry.x, 3);
    EXPECT_EQ(geometry.y, 4);
    EXPECT_EQ(geometry.placed.cx, 30);
    EXPECT_EQ(geometry.placed.cy, 40);
    EXPECT_EQ(geometry.kind, LayoutManager::Absolute);
}

TEST(WindowLayout, MinimisedSizeIsRecordedButNothingIsArranged)
{
    ScopedApplication app;
    auto* frameRule = new ChildLayout(nullptr);
    RecordingTopWindow frame(nullptr, "frame", WS_OVERLAPPEDWINDOW, frameRule);
    frame.Create();
    auto* paneRule = new DockLayout(LayoutManager::DockLeft, 50, frameRule);
    auto* pane = new ChildWindow(&frame, paneRule, WS_VISIBLE);
    pane->Create();
    const int widthAtCreation = paneRule->Width();

    SendMessageA(frame.Handle(), WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(300, 200));
    EXPECT_EQ(frameRule->Width(), 300);
    EXPECT_EQ(frameRule->Height(), 200);
    EXPECT_EQ(paneRule->Width(), widthAtCreation);

    SendMessageA(frame.Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    EXPECT_EQ(paneRule->Width(), 50);
    EXPECT_EQ(paneRule->Height(), 200);
    RECT rect;
    GetWindowRect(pane->Handle(), &rect);
    EXPECT_EQ(rect.right - rect.left, 50);
    EXPECT_EQ(rect.bottom - rect.top, 200);
}

TEST(WindowLayout, MoveRecordsSignedPositions)
{
    ScopedApplication app;
    auto* rule = new ChildLayout(nullptr);
    RecordingTopWindow window(nullptr, "w", WS_OVERLAPPEDWINDOW, rule);
    window.Create();
    // A window left of or above the screen's origin reports negative coordinates.
    const struct {
        int x, y;
    } rows[] = {{10, 20}, {-40, 3}, {7, -32768}, {0, 0}};
    for (const auto& row : rows) {
        SendMessageA(window.Handle(), WM_MOVE, 0, MAKELPARAM(row.x, row.y));
        EXPECT_EQ(rule->X(), row.x);
        EXPECT_EQ(rule->Y(), row.y);
    }
}

TEST(Rect, FromPointSizeAddsTheSizeToThePoint)
{
    const struct {
        POINT point;
        SIZE size;
        RECT expected;
    } rows[] = {{{10, 20}, {30, 40}, {10, 20, 40, 60}},
                {{-40, -5}, {30, 0}, {-40, -5, -10, -5}},
                {{Unset, Unset}, {Unset, Unset}, {Unset, Unset, 0, 0}}};
    for (const auto& row : rows) {
        const RECT got = Rect::FromPointSize(row.point, row.size);
        EXPECT_TRUE(SameRect(got, row.expected)) << Text(got);
    }
}

// A child window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST(FitLayout, TakesTheSizeItsChildrenUseAndMovesItsWindowThere)
{
    ScopedApplication app;
    RecordingTopWindow frame(nullptr, "frame", WS_OVERLAPPEDWINDOW, new ChildLayout(nullptr));
    frame.Create();
    auto* fit = new FitLayout(LayoutManager::DockLeft);
    auto* window = new ChildWindow(&frame, fit, WS_VISIBLE);
    window->Create();
    DockLayout top(LayoutManager::DockTop, 30, fit);
    DockLayout left(LayoutManager::DockLeft, 60, fit);
    LayoutGeometry geometry;
    fit->Geometry(geometry);
    EXPECT_EQ(geometry.placed.cx, 60);
    EXPECT_EQ(geometry.placed.cy, 30);
    EXPECT_EQ(geometry.kind, LayoutManager::DockLeft);

    RECT given{10, 20, 210, 120};
    fit->Place(&given, 0);
    EXPECT_EQ(fit->Width(), 60);
    EXPECT_EQ(fit->Height(), 30);
    const RECT moved = RectInParent(window->Handle());
    EXPECT_TRUE(SameRect(moved, RECT{10, 20, 70, 50})) << Text(moved);
}

TEST(FillLayout, ResizeFillsTheParentsNewClientArea)
{
    ScopedApplication app;
    RecordingTopWindow frame(nullptr, "frame", WS_OVERLAPPEDWINDOW, new ChildLayout(nullptr));
    frame.Create();
    auto* window = new ChildWindow(&frame, new FillLayout(nullptr), WS_VISIBLE);
    window->Create();
    SendMessageA(frame.Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    const RECT filled = RectInParent(window->Handle());
    EXPECT_TRUE(SameRect(filled, RECT{0, 0, 300, 200})) << Text(filled);
}

TEST(WindowLayout, BoundContainerMovesItsWindowUnlessAbsolute)
{
    const struct {
        const char* what;
        LayoutManager* (*make)(ChildLayout* owner);
        RECT expected;
    } rows[] = {{"docked left", [](ChildLayout* owner) -> LayoutManager* {
                     return new DockLayout(LayoutManager::DockLeft, 50, owner);
                 },
                 {0, 0, 50, 200}},
                {"absolute", [](ChildLayout* owner) -> LayoutManager* {
                     return new ChildLayout(5, 6, 40, 30, owner);
                 },
                 {5, 6, 45, 36}}};
    for (const auto& row : rows) {
        ScopedApplication app;
        auto* frameRule = new ChildLayout(nullptr);
        RecordingTopWindow frame(nullptr, "frame", WS_OVERLAPPEDWINDOW, frameRule);
        frame.Create();
        LayoutManager* rule = row.make(frameRule);
        auto* window = new ChildWindow(&frame, rule, WS_VISIBLE);
        window->Create();
        // An absolute rule records where the arranger puts it; only other kinds move the window there.
        rule->SetPosition(70, 80);
        SendMessageA(frame.Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
        const RECT got = RectInParent(window->Handle());
        EXPECT_TRUE(SameRect(got, row.expected)) << row.what << ": " << Text(got);
    }
}

TEST(MarginWindow, JoinsItsParentsLayoutAndSharesOneClass)
{
    ScopedApplication app;
    auto* frameRule = new ChildLayout(nullptr);
    RecordingTopWindow frame(nullptr, "frame", WS_OVERLAPPEDWINDOW, frameRule);
    frame.Create();
    PlainLayout elsewhere(nullptr);
    auto* leftRule = new DockLayout(LayoutManager::DockLeft, 40, &elsewhere);
    auto* left = new MDImarginCL(&frame, leftRule);
    auto* top = new MDImarginCL(&frame, new DockLayout(LayoutManager::DockTop, 25, nullptr));
    EXPECT_EQ(leftRule->Owner(), frameRule);
    EXPECT_EQ(elsewhere.Count(), 0);
    SendMessageA(frame.Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    EXPECT_TRUE(SameRect(RectInParent(left->Handle()), RECT{0, 0, 40, 200})) << Text(RectInParent(left->Handle()));
    EXPECT_TRUE(SameRect(RectInParent(top->Handle()), RECT{40, 0, 300, 25})) << Text(RectInParent(top->Handle()));
    const auto& names = app->RegisteredClasses();
    EXPECT_EQ(std::count(names.begin(), names.end(), "MDImarginCL"), 1);
}

} // namespace
