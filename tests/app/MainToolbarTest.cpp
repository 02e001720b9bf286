#include "widgets/MainToolbar.h"
#include "framework/draw/Bitmap.h"
#include "framework/visual/VisualLayoutRule.h"
#include "framework/visual/VisualListPane.h"
#include "framework/visual/VisualStatusPane.h"
#include "framework/visual/VisualToggleSet.h"
#include "framework/window/DockLayout.h"
#include "framework/window/ResourceId.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// A frame with a container pane holding the tool bar at the top and a status pane at the bottom.
struct FrameWithToolbar : HoldsThePointerAway {
    ScopedApplication app;
    RecordingTopWindow frame{nullptr, "frame", WS_OVERLAPPEDWINDOW, new ChildLayout(0, 0, 900, 300, nullptr)};
    ChildWindow* container;
    VisualListPane* toolBar;
    VisualPane* status;
    FrameWithToolbar()
    {
        frame.Create();
        container = new ChildWindow(&frame, new DockLayout(LayoutManager::FillTopLeft, 0,
                                                           static_cast<ChildLayout*>(frame.Layout())),
                                    WS_VISIBLE);
        container->Create();
        auto* containerLayout = static_cast<ChildLayout*>(container->Layout());
        toolBar = new VisualForwardingListPane(container, new DockLayout(LayoutManager::DockTop, 31, containerLayout),
                                               VisualListPane::AutoEdge);
        status = new VisualPane(container, new DockLayout(LayoutManager::DockBottom, 0, containerLayout),
                                VisualPane::PaneShowsHelp);
        toolBar->Show(SW_SHOW);
        status->Show(SW_SHOW);
        container->Show(SW_SHOW);
        BuildMainToolbar(toolBar);
    }
    ~FrameWithToolbar() { DestroyMainToolbar(); }
    HWND Button(unsigned id) const { return VisualCtrlKit::FindChildById(toolBar, id)->Handle(); }
    bool Enabled(unsigned id) const { return IsWindowEnabled(Button(id)) != 0; }
    bool Checked(unsigned id) const { return SendMessageA(Button(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
};

const struct {
    unsigned command;
    unsigned bitmap;
    const char* help;
} Buttons[] = {
    {1115, 32328, "Create a new document"},
    {1103, 32313, "Open an existing KIVO file"},
    {1104, 32319, "Save the current document"},
    {1108, 32315, "Print the active document"},
    {1112, 32314, "Show how the printed document will appear"},
    {1106, 32327, "Convert a tree to or from an outline, or an influence diagram to a tree"},
    {1303, 32306, "Change the font of the selected item"},
    {1556, 32322, "Show the variables window for the active tree"},
    {1502, 32305, "Edit the variables and tables lists, or define variables at the selected node(s)"},
    {1513, 32317, "Assess subjective probabilities using a probability wheel"},
    {1405, 32304, "Change the type of the selected node(s)"},
    {1602, 32316, "Display the probability distribution at the selected node"},
    {1651, 32320, "Perform a one-variable sensitivity analysis at the selected node"},
    {1652, 32321, "Perform a two-variable sensitivity analysis at the selected node"},
    {1614, 32307, "Perform a random simulation"},
    {1612, 32318, "Roll back the tree"},
    {1554, 32308, "Toggle the main use of arrow keys in trees between node-navigation and text-editing"},
    {1754, 32303, "Draw a new arc"},
    {1750, 32311, "Draw a new decision node"},
    {1751, 32310, "Draw a new chance node"},
    {1752, 32326, "Draw a new deterministic node"},
    {1753, 32312, "Draw a new value node"},
};

} // namespace

TEST(MainToolbar, RowOfButtonsAndGapsInOrderWithNoModePressed)
{
    FrameWithToolbar bar;
    std::vector<int> orders;
    for (LayoutManager* rule : static_cast<ChildLayout*>(bar.toolBar->Layout())->Children())
        if (auto* barRule = dynamic_cast<VisualLayoutRule*>(rule))
            orders.push_back(barRule->Order());
    ASSERT_EQ(29u, orders.size()); // 23 buttons and 6 gaps
    for (size_t i = 0; i < orders.size(); ++i)
        EXPECT_EQ(static_cast<int>(i) + 2, orders[i]);
    RECT previous{};
    for (const auto& button : Buttons) {
        RECT r{};
        GetWindowRect(bar.Button(button.command), &r);
        EXPECT_EQ(23, r.right - r.left);
        EXPECT_LT(previous.left, r.left) << button.command; // left to right in the row's order
        previous = r;
        Bitmap picture(ResourceId(button.bitmap, nullptr));
        EXPECT_EQ(23, picture.Size().cx) << button.bitmap;
        EXPECT_EQ(23, picture.Size().cy) << button.bitmap;
    }
    EXPECT_FALSE(IsWindowVisible(bar.Button(Cmd::ModeNone)));
    for (unsigned id = 1750; id <= 1754; ++id) {
        EXPECT_FALSE(bar.Enabled(id)) << id;
        EXPECT_FALSE(bar.Checked(id)) << id;
    }
}

TEST(MainToolbar, PointerOnEachButtonShowsItsHelpAndClicksReachTheFrame)
{
    FrameWithToolbar bar;
    for (const auto& button : Buttons) {
        PostMessageA(bar.Button(button.command), WM_MOUSEMOVE, 0, MAKELPARAM(11, 11));
        PumpMessagesUntil([&] { return bar.status->HelpText() == button.help; });
        EXPECT_EQ(button.help, bar.status->HelpText()) << button.command;
    }
    PostMessageA(bar.Button(1104), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(11, 11));
    PostMessageA(bar.Button(1104), WM_LBUTTONUP, 0, MAKELPARAM(11, 11));
    PumpMessagesUntil([&] { return !bar.frame.commands.empty(); });
    EXPECT_EQ(std::vector<unsigned>{1104}, bar.frame.commands);
    EXPECT_FALSE(bar.status->ShowingHelp()); // the release ended the help
}

TEST(MainToolbar, ModeAndRollBackButtonStates)
{
    FrameWithToolbar bar;
    SelectModeButton(1751);
    for (unsigned id = 1750; id <= Cmd::ModeNone; ++id) {
        EXPECT_TRUE(bar.Enabled(id)) << id;
        EXPECT_EQ(id == 1751, bar.Checked(id)) << id;
    }
    SelectModeButton(0);
    EXPECT_EQ(Cmd::ModeNone, ModeButtonSet()->Current());
    EXPECT_FALSE(bar.Checked(1751));
    EXPECT_TRUE(bar.Enabled(1751));
    SelectDefaultMode();
    EXPECT_FALSE(bar.Enabled(1751));

    EnableRollBack(1, 1);
    EXPECT_TRUE(bar.Enabled(1612));
    EXPECT_TRUE(bar.Checked(1612));
    EnableRollBack(1, 0);
    EXPECT_FALSE(bar.Checked(1612));
    DisableAnalysisCommands();
    for (unsigned id : {1651u, 1652u, 1602u, 1614u, 1612u, 1405u})
        EXPECT_FALSE(bar.Enabled(id)) << id;
    SetNavigatingButton(1);
    EXPECT_TRUE(bar.Checked(1554));
    SetNavigatingButton(0);
    EXPECT_FALSE(bar.Checked(1554));
}

TEST(MainToolbar, PicturesTakeTheButtonFaceColourBehindTheirDrawing)
{
    ScopedApplication app;
    std::unique_ptr<Bitmap> save(LoadToolbarPicture(32319));
    ASSERT_NE(nullptr, save);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, save->Handle());
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPixel(memory, 0, 0)); // background
    EXPECT_EQ(RGB(0, 0, 128), GetPixel(memory, 5, 5));              // the disk itself
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(nullptr, LoadToolbarPicture(1));
}
