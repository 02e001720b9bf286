// The status bar's progress display on the main frame: the stack of messages, the top one shown with its bar.

#include "app/MainFrame.h"
#include "widgets/ProgressBar.h"
#include "app/ProgressWindow.h"
#include "framework/visual/VisualStatusPane.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

class ProgressDisplay : public ::testing::Test, private HoldsFocusTestLock {
protected:
    ProgressDisplay()
    {
        frame = new MainFrame;
        MoveWindow(frame->Handle(), 0, 0, 800, 400, TRUE);
        frame->Show(SW_SHOWNOACTIVATE);
    }
    ~ProgressDisplay() override { delete frame; }

    std::string ShownText() const { return frame->Progress()->Text(); }
    int BarPosition() const
    {
        return static_cast<int>(SendMessageA(frame->Progress()->ActiveBar()->Handle(), PBM_GETPOS, 0, 0));
    }
    int ItemWidth() const
    {
        const RECT bounds = frame->Progress()->Bounds();
        return bounds.right - bounds.left;
    }

    ScopedApplication app;
    MainFrame* frame;
};

TEST_F(ProgressDisplay, OnlyTheTopMessageIsShownAndPoppingItShowsTheOneBelowWithAFreshBar)
{
    ASSERT_NE(frame->Progress(), nullptr);
    const int idleWidth = ItemWidth();
    frame->SetStatusPane("Ready", 0);
    // A message alone shows nothing until a step comes late enough: a short operation never flickers.
    const uint32_t quick = ProgressWindow::Push("Quick", 0.0, 2.0);
    ProgressWindow::Step(quick, 1.0);
    EXPECT_EQ(frame->Progress()->ActiveBar(), nullptr);
    ProgressWindow::Pop(quick);
    EXPECT_EQ(idleWidth, ItemWidth());
    EXPECT_EQ("Ready", frame->StatusPane()->FindItem(0)->Text());

    const uint32_t a = ProgressWindow::Push("Rolling back", 10.0, 20.0);
    Sleep(ProgressWindow::ShowDelay + 50); // the tick count moves in steps of up to a few tens of ms
    ProgressWindow::Step(a, 15.0);
    EXPECT_EQ("", frame->StatusPane()->FindItem(0)->Text());
    EXPECT_EQ(32767, BarPosition());
    const uint32_t b = ProgressWindow::Push("Reading", 0.0, 4.0);
    EXPECT_EQ(a + 1, b);
    EXPECT_EQ("Reading", ShownText());
    EXPECT_GT(ItemWidth(), ProgressWindow::BarWidth);
    ProgressWindow::Step(a, 18.0);
    EXPECT_EQ(0, BarPosition());
    ProgressWindow::Pop(b);
    EXPECT_EQ("Rolling back", ShownText());
    EXPECT_EQ(0, BarPosition()); // a new bar at A's Low

    // Popping a message under the top one leaves the display alone.
    const uint32_t c = ProgressWindow::Push("Checking", 0.0, 1.0);
    ProgressWindow::Pop(a);
    EXPECT_EQ("Checking", ShownText());
    ProgressWindow::Pop(c);
    EXPECT_FALSE(ProgressWindow::HasEntries());
    EXPECT_EQ("", ShownText());
    EXPECT_EQ(idleWidth, ItemWidth());
}

TEST_F(ProgressDisplay, BarPositionIsTheScaledValueAndAnEmptyRangeNeverDivides)
{
    const struct {
        double low, high, value;
        int position;
    } rows[] = {
        {0.0, 4.0, 1.0, 16383},       // trunc(65535 / 4)
        {-2.0, 6.0, 4.0, 49151},      // trunc(6 x 65535 / 8)
        {0.0, 3.0, 7.0, 65535},       // above High: full
        {5.0, 5.0, 5.0, 65535},       // no range: full at High
        {5.0, 5.0, 4.0, 0},           // and empty below it
    };
    // Over a bar already shown, each message shows at once.
    const uint32_t base = ProgressWindow::Push("Base", 0.0, 1.0);
    Sleep(ProgressWindow::ShowDelay + 50); // the tick count moves in steps of up to a few tens of ms
    ProgressWindow::Step(base, 0.0);
    for (const auto& row : rows) {
        const uint32_t handle = ProgressWindow::Push("Working", row.low, row.high);
        ProgressWindow::Step(handle, row.value);
        EXPECT_EQ(row.position, BarPosition()) << row.low << ".." << row.high << " at " << row.value;
        ProgressWindow::Pop(handle);
    }
    ProgressWindow::Pop(base);
}

} // namespace
