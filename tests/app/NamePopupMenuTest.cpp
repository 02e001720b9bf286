// Menus of names: the plain pop-up menu's items and the name menu's grouping of long lists by initial.

#include "widgets/NamePopupMenu.h"
#include "framework/dialog/Menu.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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

// The menu as text: items by name, sub-menus as title{...}, separated by commas.
std::string Describe(HMENU menu)
{
    std::string text;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char caption[80] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
        text += (i ? "," : "") + std::string(caption);
        if (HMENU sub = GetSubMenu(menu, i))
            text += "{" + Describe(sub) + "}";
    }
    return text;
}

// count names: prefix followed by a, b, c...
std::vector<std::string> Names(const std::string& prefix, int count)
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(prefix + static_cast<char>('a' + i));
    return names;
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ",") + name;
    return text;
}

template <class... Lists>
std::vector<std::string> Concat(const Lists&... lists)
{
    std::vector<std::string> all;
    (all.insert(all.end(), lists.begin(), lists.end()), ...);
    return all;
}

TEST(NamePopupMenuTest, LongListsSplitIntoGroupsOfAtMost25ByInitial)
{
    struct Case {
        const char* what;
        std::vector<std::string> names;
        std::string expected;
    };
    const Case cases[] = {
        {"25 names stay flat", Names("A", 25), Joined(Names("A", 25))},
        {"26 names: groups A-B and C",
         Concat(Names("a", 5), Names("B", 15), Names("C", 6)),
         "A-B{" + Joined(Concat(Names("a", 5), Names("B", 15))) + "},C{" + Joined(Names("C", 6)) + "}"},
        {"one initial collapses into its second characters",
         Concat(Names("SA", 8), Names("SB", 8), Names("SC", 8), Names("SD", 8)),
         "SA-SC{" + Joined(Concat(Names("SA", 8), Names("SB", 8), Names("SC", 8))) + "},SD{" + Joined(Names("SD", 8)) +
             "}"},
        {"digits form their own group; other characters stay above the groups",
         Concat(Names("#", 3), Names("1", 3), Names("B", 20)),
         Joined(Names("#", 3)) + ",1{" + Joined(Names("1", 3)) + "},B{" + Joined(Names("B", 20)) + "}"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.what);
        NamePopupMenu menu;
        unsigned id = 20001;
        for (const std::string& name : row.names)
            menu.AddName(id++, name.c_str());
        menu.Build();
        EXPECT_EQ(Describe(menu.Handle()), row.expected);
        EXPECT_EQ(menu.NameCount(), static_cast<int>(row.names.size()));
        zString text;
        EXPECT_TRUE(menu.ItemText(id - 1, text));
        EXPECT_EQ(text.Text(), row.names.back());
    }
}

TEST(NamePopupMenuTest, NamesSortByKeyWithoutUnderscoresAndLaterEqualKeysFirst)
{
    NamePopupMenu menu;
    menu.AddName(1, "_stage");
    menu.AddName(2, "beta");
    menu.AddName(3, "Stage");
    menu.AddName(4, "Alpha");
    menu.Build();
    EXPECT_EQ(Describe(menu.Handle()), "Alpha,beta,Stage,_stage");

    // Rebuilding leaves the menu empty and usable again.
    menu.Rebuild();
    EXPECT_EQ(Describe(menu.Handle()), "");
    EXPECT_EQ(menu.NameCount(), 0);
    menu.AddName(7, "x");
    menu.Build();
    EXPECT_EQ(Describe(menu.Handle()), "x");
}

TEST(NamePopupMenuTest, CopyMenuCopiesTheTreeAndCutsLongTexts)
{
    NamePopupMenu menu;
    unsigned id = 100;
    for (const std::string& name : Concat(Names("A", 20), Names("B", 10)))
        menu.AddName(id++, name.c_str());
    menu.AddName(id, std::string(70, 'z').c_str());
    menu.Build();
    std::unique_ptr<Menu> copy = CopyMenu(menu.Handle());
    const std::string original = Describe(menu.Handle());
    EXPECT_EQ(Describe(copy->Handle()), original.substr(0, original.size() - 71) + std::string(63, 'z') + "}");
    EXPECT_NE(GetSubMenu(copy->Handle(), 0), GetSubMenu(menu.Handle(), 0));
    zString text;
    EXPECT_TRUE(copy->ItemText(115, text));
    EXPECT_STREQ(text.Text(), "Ap");
}

}  // namespace
