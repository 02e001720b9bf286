#include "dialogs/TableConflictDialog.h"
#include "graph/TableEntryDialog.h"
#include "dialogs/TablePropertiesDialog.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/DialogControls.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TableDialogsOnScreen, AddingPairsWithMoreAndOk)
{
    OnScreen screen;
    TableEntryDialog::SetPresenter(nullptr);
    TableEntryDialog adding(false);
    ModalDialogDriver driver;
    std::string caption;
    driver
        .Then([&](DialogFrameCL& dialog) {
            char text[64] = {};
            GetWindowTextA(dialog.Handle(), text, sizeof text);
            caption = text;
            EXPECT_TRUE(IsWindowVisible(dialog.FindChild(Ctl::AddTableEntry::More)->Handle()));
        })
        .Type(Ctl::AddTableEntry::IndexEdit, "1.5")
        .Type(Ctl::AddTableEntry::ValueEdit, "-2")
        .Press(Ctl::AddTableEntry::More)
        .Then([&](DialogFrameCL& dialog) {
            // The field shows the loaded number without its sign, which the validator does not take.
            EXPECT_EQ(TextOf(dialog, Ctl::AddTableEntry::IndexEdit), "0");
            EXPECT_EQ(GetFocus(), dialog.FindChild(Ctl::AddTableEntry::IndexEdit)->Handle());
        })
        .Type(Ctl::AddTableEntry::IndexEdit, "3")
        .Type(Ctl::AddTableEntry::ValueEdit, "4.25")
        .Press(IDOK);
    ASSERT_EQ(adding.RunModal(), 1);
    EXPECT_EQ(caption, "Add Table Entry");
    ASSERT_EQ(adding.Pairs().size(), 2u);
    EXPECT_EQ(adding.Pairs()[0].index, 1.5);
    EXPECT_EQ(adding.Pairs()[0].value, -2.0);
    EXPECT_EQ(adding.Pairs()[1].index, 3.0);
    EXPECT_EQ(adding.Pairs()[1].value, 4.25);

    TableEntryDialog editing(true, 7, 8);
    ModalDialogDriver editDriver;
    editDriver
        .Then([&](DialogFrameCL& dialog) {
            EXPECT_FALSE(IsWindowVisible(dialog.FindChild(Ctl::AddTableEntry::More)->Handle()));
            EXPECT_EQ(TextOf(dialog, Ctl::AddTableEntry::ValueEdit), "8");
        })
        .Press(IDCANCEL);
    EXPECT_EQ(editing.RunModal(), 0);
    EXPECT_TRUE(editing.Pairs().empty());
}

TEST(TableDialogsOnScreen, PropertiesStayOpenOnTheFailingFieldUntilOk)
{
    OnScreen screen;
    MessageBoxRecorder boxes;
    TablePropertiesDialog::SetPresenter(nullptr);
    TablePropertiesDialog properties(nullptr, "NewTable", "newtable", "", 2, false);
    ModalDialogDriver driver;
    driver
        .Then([&](DialogFrameCL& dialog) {
            EXPECT_EQ(GetFocus(), dialog.FindChild(Ctl::PropertiesNewTable::NameEdit)->Handle());
            EXPECT_EQ(
                SendMessageA(dialog.FindChild(Ctl::PropertiesNewTable::Interpolation)->Handle(), BM_GETCHECK, 0, 0),
                BST_CHECKED);
        })
        .Type(Ctl::PropertiesNewTable::FileEdit, "bad|name")
        .Press(Ctl::PropertiesNewTable::IndexSpecific)
        .Then([](DialogFrameCL& dialog) {
            SendMessageA(dialog.FindChild(Ctl::PropertiesNewTable::IndexSpecific)->Handle(), BM_CLICK, 0, 0);
            SendMessageA(dialog.FindChild(Ctl::PropertiesNewTable::IndexOffEdgeIsError)->Handle(), BM_CLICK, 0, 0);
        })
        .Press(IDOK)
        .Then([&](DialogFrameCL& dialog) {
            EXPECT_TRUE(IsWindowVisible(dialog.Handle()));
            EXPECT_EQ(GetFocus(), dialog.FindChild(Ctl::PropertiesNewTable::FileEdit)->Handle());
        })
        .Type(Ctl::PropertiesNewTable::FileEdit, "goodname")
        .Press(IDOK);
    ASSERT_EQ(properties.RunModal(), 1);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "\"bad|name\" is not a legal filename.");
    EXPECT_EQ(properties.file, "goodname");
    EXPECT_EQ(properties.Method(), 3);
    EXPECT_EQ(properties.offEdgeIsError, 1);
}

TEST(TableDialogsOnScreen, ConflictAnswersTheButtonPressed)
{
    OnScreen screen;
    TableConflictDialog::SetPresenter(nullptr);
    const struct {
        unsigned button;
        TableConflictDialog::Choice choice;
    } cases[] = {{3403, TableConflictDialog::Overwrite},
                 {3402, TableConflictDialog::Rename},
                 {IDCANCEL, TableConflictDialog::Ignore}};
    for (const auto& c : cases) {
        TableConflictDialog conflict("Costs");
        ModalDialogDriver driver;
        driver.Then([](DialogFrameCL& dialog) { EXPECT_EQ(TextOf(dialog, 3401), "Costs"); }).Press(c.button);
        EXPECT_EQ(conflict.Run(), c.choice) << c.button;
    }
}

} // namespace
