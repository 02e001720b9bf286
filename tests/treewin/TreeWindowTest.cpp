// The tree window's variables menu follows its document's variables.

#include "treewin/TreeWindow.h"

#include "widgets/NamePopupMenu.h"
#include "model/DocumentVariableOps.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string MenuText(TreeWindow& window, unsigned id)
{
    zString text;
    if (!window.VariablesMenu || !window.VariablesMenu->ItemText(id, text))
        return "";
    return text.Text();
}

TEST(TreeWindowVariablesMenu, IdsFollowTheSortedNames)
{
    TreeWindow treeWindow;
    TreeDocument& document = treeWindow.Document();
    document.EnsureVariable("Beta", nullptr);
    document.EnsureVariable("alpha", nullptr);
    EXPECT_EQ(MenuText(treeWindow, 20001), "alpha");
    EXPECT_EQ(MenuText(treeWindow, 20002), "Beta");
    RenameVariable(document, "alpha", "zeta");
    EXPECT_EQ(MenuText(treeWindow, 20001), "Beta");
    EXPECT_EQ(MenuText(treeWindow, 20002), "zeta");
    DeleteVariable(document, "BETA");
    EXPECT_EQ(MenuText(treeWindow, 20001), "zeta");
    EXPECT_EQ(MenuText(treeWindow, 20002), "");
    // A tree opened from its file lists the variables it holds.
    const std::string path = std::string(std::getenv("TEMP") ? std::getenv("TEMP") : ".") + "\\kivo_menu.tre";
    zString message;
    ASSERT_TRUE(document.WriteTreeFile(path.c_str(), message));
    TreeWindow opened(path.c_str());
    std::remove(path.c_str());
    EXPECT_EQ(MenuText(opened, 20001), "zeta");
}

}  // namespace
