#include "treewin/DistributionParameterRow.h"
#include "framework/dialog/OkCancelDialog.h"
#include "tests/support/DialogControls.h"

#include <gtest/gtest.h>

namespace {

// The row is taken from the Add Table Entry template: label 2501, field 2503, button 2508.
TEST(DistributionParameterRow, ShowsAndHidesItsThreeControlsAndHandsItsFieldToTheEditor)
{
    OnScreen screen;
    OkCancelDialog dialog(&screen.frame, ResourceId(2500u, nullptr));
    dialog.Show(SW_SHOW);
    zString text("Mean");
    std::string edited;
    DistributionParameterRow row(&dialog, 2501, 2503, 2508, &text, [&](EditCtrl& field) {
        edited = field.GetText().Text();
        field.SetText("Mean*2");
    });
    row.Show(false);
    for (unsigned id : {2501u, 2503u, 2508u})
        EXPECT_FALSE(IsWindowVisible(dialog.FindChild(id)->Handle())) << id;
    EXPECT_TRUE(IsWindowVisible(dialog.FindChild(2504)->Handle()));
    row.Show(true);
    for (unsigned id : {2501u, 2503u, 2508u})
        EXPECT_TRUE(IsWindowVisible(dialog.FindChild(id)->Handle())) << id;

    SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(2508, BN_CLICKED), 0);
    EXPECT_EQ(edited, "Mean");
    EXPECT_EQ(dialog.ValidateAndStore(), 1);
    EXPECT_EQ(text, "Mean*2");
    EXPECT_EQ(SendMessageA(row.Field()->Handle(), EM_GETLIMITTEXT, 0, 0), 256);
}

} // namespace
