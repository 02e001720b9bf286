// Menus of names: the plain pop-up menu's items and the name menu's grouping of long lists by initial.

#include "app/NamePopupMenu.h"
#include "framework/dialog/Menu.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MenuTest, ItemsAndSeparators)
{
    Menu menu;
    ASSERT_NE(menu.Handle(), nullptr);
    EXPECT_EQ(menu.ItemCount(), 0);
    EXPECT_TRUE(menu.AppendItem(500, "Rates"));
    EXPECT_TRUE(menu.AppendSeparator());
    EXPECT_TRUE(menu.AppendItem(501, "Costs"));
    EXPECT_EQ(menu.ItemCount(), 3);
    zString text;
    EXPECT_TRUE(menu.ItemText(501, text));
    EXPECT_STREQ(text.Text(), "Costs");
    EXPECT_FALSE(menu.ItemText(502, text));
    menu.Clear();
    EXPECT_EQ(menu.ItemCount(), 0);
    EXPECT_FALSE(menu.ItemText(500, text));
}

TEST(NamePopupMenuTest, ShortListIsFlat)
{
    NamePopupMenu menu;
    menu.AddName(20001, "alpha");
    menu.AddName(20002, "Beta");
    menu.Build();
    EXPECT_EQ(menu.GetMenu().ItemCount(), 2);
    EXPECT_EQ(menu.NameCount(), 2);
    EXPECT_EQ(menu.IdAt(1), 20002u);
    EXPECT_EQ(menu.IdAt(2), 0u);
    zString text;
    EXPECT_TRUE(menu.ItemText(20002, text));
    EXPECT_STREQ(text.Text(), "Beta");

    menu.Rebuild();
    EXPECT_EQ(menu.NameCount(), 0);
    EXPECT_EQ(menu.GetMenu().ItemCount(), 0);
    EXPECT_FALSE(menu.ItemText(20001, text));
}

TEST(NamePopupMenuTest, LongListIsGroupedByInitial)
{
    // 26 names: ten under "A" (either case), ten under "B", six under "C".
    struct Row {
        char initial;
        int count;
    };
    const Row rows[] = {{'a', 5}, {'A', 5}, {'b', 10}, {'C', 6}};
    NamePopupMenu menu;
    unsigned id = 20001;
    for (const Row& row : rows) {
        for (int i = 0; i < row.count; ++i, ++id)
            menu.AddName(id, (std::string(1, row.initial) + std::to_string(id)).c_str());
    }
    menu.Build();
    ASSERT_EQ(menu.NameCount(), 26);
    const Menu& top = menu.GetMenu();
    ASSERT_EQ(top.ItemCount(), 3);
    const char* captions[] = {"A", "B", "C"};
    const int sizes[] = {10, 10, 6};
    for (int i = 0; i < 3; ++i) {
        char caption[8] = {};
        GetMenuStringA(top.Handle(), static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
        EXPECT_STREQ(caption, captions[i]);
        HMENU sub = GetSubMenu(top.Handle(), i);
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(GetMenuItemCount(sub), sizes[i]);
    }
    // Items are found by their ids through the sub-menus.
    zString text;
    EXPECT_TRUE(menu.ItemText(20026, text));
    EXPECT_STREQ(text.Text(), "C20026");

    // Rebuilding a grouped menu leaves it empty and usable again.
    menu.Rebuild();
    EXPECT_EQ(top.ItemCount(), 0);
    menu.AddName(7, "x");
    menu.Build();
    EXPECT_EQ(top.ItemCount(), 1);
}

}  // namespace
