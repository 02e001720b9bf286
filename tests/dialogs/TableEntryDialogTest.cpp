// Add Table Entry and Edit Table Entry: the pairs the caller receives.

#include "graph/TableEntryDialog.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(TableEntryDialogTest, AddingCollectsEveryPair)
{
    auto previous = TableEntryDialog::SetPresenter([](TableEntryDialog& dialog) {
        EXPECT_TRUE(dialog.MoreShown());
        EXPECT_EQ(dialog.index, 0);
        dialog.index = 1;
        dialog.value = 10;
        dialog.OnMore();
        EXPECT_EQ(dialog.index, 0);
        EXPECT_EQ(dialog.value, 0);
        EXPECT_EQ(dialog.FocusedField(), Ctl::AddTableEntry::IndexEdit);
        dialog.index = 2;
        dialog.value = 20;
        return IDOK;
    });
    TableEntryDialog add(false);
    EXPECT_STREQ(add.Caption().Text(), "Add Table Entry");
    ASSERT_EQ(add.RunModal(), 1);
    ASSERT_EQ(add.Pairs().size(), 2u);
    EXPECT_EQ(add.Pairs()[0].index, 1);
    EXPECT_EQ(add.Pairs()[0].value, 10);
    EXPECT_EQ(add.Pairs()[1].index, 2);
    EXPECT_EQ(add.Pairs()[1].value, 20);
    TableEntryDialog::SetPresenter(previous);
}

TEST(TableEntryDialogTest, EditingGivesOnePairAndCancelNone)
{
    auto previous = TableEntryDialog::SetPresenter([](TableEntryDialog& dialog) {
        EXPECT_FALSE(dialog.MoreShown());
        EXPECT_EQ(dialog.index, 4);
        dialog.value = 8;
        dialog.OnMore();
        return IDOK;
    });
    TableEntryDialog edit(true, 4, 5);
    EXPECT_STREQ(edit.Caption().Text(), "Edit Table Entry");
    ASSERT_EQ(edit.RunModal(), 1);
    ASSERT_EQ(edit.Pairs().size(), 1u);
    EXPECT_EQ(edit.Pairs()[0].index, 4);
    EXPECT_EQ(edit.Pairs()[0].value, 8);

    TableEntryDialog::SetPresenter([](TableEntryDialog& dialog) {
        dialog.OnMore();
        return IDCANCEL;
    });
    TableEntryDialog cancelled(false);
    EXPECT_EQ(cancelled.RunModal(), 0);
    EXPECT_TRUE(cancelled.Pairs().empty());
    TableEntryDialog::SetPresenter(previous);
}

}  // namespace
