#include "framework/draw/BitmapDisplay.h"
#include "framework/visual/VisualButton.h"
#include "framework/visual/VisualLayoutRule.h"
#include "framework/visual/VisualListPane.h"
#include "framework/visual/VisualToggleSet.h"
#include "framework/window/DockLayout.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

namespace {

// A frame with a container pane whose top holds a forwarding button row, 31 pixels high.
struct ButtonRow : HoldsThePointerAway {
    ScopedApplication app;
    RecordingTopWindow frame{nullptr, "frame", WS_OVERLAPPEDWINDOW, new ChildLayout(0, 0, 400, 200, nullptr)};
    ChildWindow* container;
    VisualListPane* pane;
    explicit ButtonRow(unsigned style)
    {
        frame.Create();
        container = new ChildWindow(&frame, new DockLayout(LayoutManager::FillTopLeft, 0,
                                                           static_cast<ChildLayout*>(frame.Layout())),
                                    WS_VISIBLE);
        container->Create();
        pane = new VisualForwardingListPane(
            container, new DockLayout(LayoutManager::DockTop, 31, static_cast<ChildLayout*>(container->Layout())),
            style);
    }
    VisualBitmapButton* Button(int order, unsigned id, unsigned style = 0x6220)
    {
        auto* rule = new VisualLayoutRule(order, 23, 23, static_cast<ChildLayout*>(pane->Layout()));
        return new VisualBitmapButton(pane, rule, style | WS_CHILD | WS_VISIBLE, id, nullptr);
    }
    void Show()
    {
        pane->Show(SW_SHOW);
        container->Show(SW_SHOW);
        frame.Layout()->Arrange(nullptr);
    }
    void Click(unsigned id, WPARAM notification = 0)
    {
        HWND button = VisualCtrlKit::FindChildById(pane, id)->Handle();
        PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        if (notification)
            PostMessageA(pane->Handle(), WM_COMMAND, MAKEWPARAM(id, notification), 0);
        PumpMessagesFor(100);
    }
    bool Checked(unsigned id) { return VisualCtrlKit::GetCheck(VisualCtrlKit::FindChildById(pane, id)) == 1; }
    bool TabStop(unsigned id)
    {
        return (GetWindowLongA(VisualCtrlKit::FindChildById(pane, id)->Handle(), GWL_STYLE) & WS_TABSTOP) != 0;
    }
};

} // namespace

TEST(VisualListPane, RowOnTopHasOneDarkLineAtItsBottomAndClicksReachTheGrandparent)
{
    ButtonRow row(VisualListPane::AutoEdge);
    VisualBitmapButton* first = row.Button(2, 501, 0x6010);
    VisualBitmapButton* third = row.Button(4, 502, 0x6010);
    row.Show();
    RECT a{}, b{};
    GetWindowRect(first->Handle(), &a);
    GetWindowRect(third->Handle(), &b);
    EXPECT_EQ(23, a.right - a.left);
    EXPECT_EQ(a.top, b.top);
    EXPECT_EQ(a.right + 9, b.left); // an empty place of the default width between them
    row.Click(502);
    EXPECT_EQ(std::vector<unsigned>{502}, row.frame.commands);

    BitmapDisplay picture(60, 31);
    picture.Lock();
    PatBlt(picture.DeviceContext(), 0, 0, 60, 31, WHITENESS);
    picture.Unlock();
    row.pane->PushDisplay(&picture);
    row.pane->PrintPageSetup(nullptr, nullptr);
    row.pane->PopDisplay();
    picture.Lock();
    int darkRows = 0;
    for (int y = 0; y < 31; ++y)
        darkRows += GetPixel(picture.DeviceContext(), 30, y) == RGB(0, 0, 0);
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(picture.DeviceContext(), 30, 30));
    picture.Unlock();
    EXPECT_EQ(1, darkRows);
}

TEST(VisualToggleSet, OneMemberCheckedWrappingAndClicksMoveTheCheckAndTheTabStop)
{
    ButtonRow row(0);
    for (unsigned id = 10; id <= 13; ++id)
        row.Button(static_cast<int>(id), id);
    row.Show();
    auto* set = new VisualToggleSet(row.pane, 10, 13);
    EXPECT_TRUE(row.Checked(10)); // none was checked: the first is
    const struct {
        unsigned id;
        bool checked;
        unsigned current;
    } steps[] = {{13, true, 13}, {13, false, 10}, {11, false, 12}, {11, true, 11}};
    for (const auto& step : steps) {
        EXPECT_EQ(1, VisualCtrlKit::SetItemChecked(row.pane, step.id, step.checked));
        EXPECT_EQ(step.current, set->Current());
        for (unsigned id = 10; id <= 13; ++id)
            EXPECT_EQ(id == step.current, row.Checked(id)) << id;
    }
    row.Click(13);
    EXPECT_EQ(13u, set->Current());
    EXPECT_TRUE(row.Checked(13));
    EXPECT_FALSE(row.Checked(11));
    EXPECT_TRUE(row.TabStop(13));
    EXPECT_FALSE(row.TabStop(11));
    PostMessageA(row.pane->Handle(), WM_COMMAND, MAKEWPARAM(11, 1), 0); // a notification code: nothing
    PumpMessagesFor(100);
    EXPECT_EQ(13u, set->Current());
    row.pane->DeleteToggleSet(set);
    // Without a set a member is checked on its own.
    EXPECT_EQ(0, VisualCtrlKit::SetItemChecked(row.pane, 12, true));
    EXPECT_TRUE(row.Checked(12));
    EXPECT_TRUE(row.Checked(13));
}
