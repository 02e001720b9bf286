// Menu state of a tree window: items grayed, checked and titled by the selection and the window's state, read
// back from the menus as the system shows them.

#include "treewin/TreeWindow.h"

#include "app/MainFrame.h"
#include "widgets/MainToolbar.h"
#include "treewin/VariablesWindow.h"
#include "framework/dialog/Menu.h"
#include "framework/visual/VisualListPane.h"
#include "framework/visual/VisualToggleSet.h"
#include "tests/support/IdleAnalysis.h"
#include "tests/support/MenuItemState.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "framework/window/ResourceId.h"
#include "model/TreeNode.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string Text(HMENU menu, unsigned id)
{
    char text[120] = "";
    GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

// Alt and a letter pick the one item of an open menu underlined by it: no two items of the Edit menu share
// their underlined letter, whatever the window titled them.
void ExpectOneItemPerMnemonic(HMENU bar)
{
    HMENU edit = GetSubMenu(bar, 1);
    ASSERT_NE(GetMenuState(edit, 1206, MF_BYCOMMAND), static_cast<UINT>(-1));
    std::map<char, std::string> seen;
    for (int i = 0; i < GetMenuItemCount(edit); ++i) {
        char text[120] = "";
        GetMenuStringA(edit, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        if (const char* amp = std::strchr(text, '&')) {
            EXPECT_TRUE(seen.emplace(static_cast<char>(std::tolower(static_cast<unsigned char>(amp[1]))), text).second) << text;
        }
    }
}

// Root "R" (decision) with terminals "A" and "B" and chance "C" (terminal "C1" below it).
struct MenuFixture {
    TreeWindow window;
    TreeDocument& tree = window.Document();
    TreeNode* a = tree.AddChild(tree.Root, TerminalNode, "A", "", "1");
    TreeNode* b = tree.AddChild(tree.Root, TerminalNode, "B", "", "2");
    TreeNode* c = tree.AddChild(tree.Root, ChanceNode, "C");
    std::unique_ptr<Menu> treeMenus{Menu::FromResource(ResourceId(115u, nullptr))};
    std::unique_ptr<Menu> frameMenus{Menu::FromResource(ResourceId(116u, nullptr))};

    MenuFixture()
    {
        tree.AddChild(c, TerminalNode, "C1", "1");
        window.Document().EnsureVariable("v", nullptr);
    }
    void Select(std::initializer_list<TreeNode*> nodes)
    {
        window.ClearSelection();
        for (TreeNode* node : nodes)
            window.Selection.Add(node);
    }
    void Update()
    {
        window.UpdateMenus(treeMenus->Handle());
        window.UpdateMenus(frameMenus->Handle());
    }
    bool Grayed(unsigned id) const
    {
        return MenuItemGrayed(GetMenuState(treeMenus->Handle(), id, MF_BYCOMMAND) != static_cast<UINT>(-1)
                                  ? treeMenus->Handle()
                                  : frameMenus->Handle(),
                              id);
    }
};

TEST(TreeMenuState, ItemsFollowTheSelectionAndTheWindowsState)
{
    struct Case {
        const char* what;
        std::function<void(MenuFixture&)> arrange;
        std::vector<unsigned> grayed;
        std::vector<unsigned> enabled;
    } cases[] = {
        {"nothing selected", [](MenuFixture&) {}, {1403, 1404, 1413}, {1303, 1517}},
        {"one chance node", [](MenuFixture& f) { f.Select({f.c}); }, {1303, 1506, 1408}, {1403, 1404, 1413, 1409}},
        {"opened snapshot", [](MenuFixture& f) { f.tree.RolledBack = RolledBackValues::Snapshot; },
         {1104, 1105, 1612, 1301, 1314}, {1114}},
        {"maximin roll back", [](MenuFixture& f) {
             f.Select({f.tree.Root});
             f.tree.RolledBack = RolledBackValues::Computed;
             f.tree.CalcPrefs.RollBackCalculatesKey = 3;
         }, {1651, 1652, 1654, 1610, 1515, 1605, 1618, 1606, 1613}, {1612, 1611}},
        {"custom interface shown", [](MenuFixture& f) {
             f.Select({f.a});
             f.window.CustomInterfaceShown = 1;
         }, {1114, 1308, 1402, 1502, 1506, 1612, 1208, 1350, 1104}, {1309, 1517}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MenuFixture f;
        c.arrange(f);
        f.Update();
        for (unsigned id : c.grayed)
            EXPECT_TRUE(f.Grayed(id)) << id;
        for (unsigned id : c.enabled)
            EXPECT_FALSE(f.Grayed(id)) << id;
        ExpectOneItemPerMnemonic(f.frameMenus->Handle());
    }
}

TEST(TreeMenuState, TitlesFollowTheSelection)
{
    MenuFixture f;
    const HMENU menus = f.treeMenus->Handle();
    // A clone copy alone may be detached, though it has children.
    f.window.Document().AddCloneMaster(f.c, "master");
    TreeNode* copy = f.tree.AddChild(f.tree.Root, ChanceNode, "copy");
    f.tree.AddChild(copy, TerminalNode, "copy1");
    copy->cloneStatus = CloneCopyNode;
    f.Select({copy});
    f.Update();
    EXPECT_FALSE(MenuItemGrayed(f.frameMenus->Handle(), 1207));
    EXPECT_EQ(Text(f.frameMenus->Handle(), 1207), "Det&ach Clone...");

    // Two terminals under cost-effectiveness name the cost and effectiveness payoffs.
    f.tree.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    f.Select({f.a, f.b});
    f.Update();
    EXPECT_FALSE(MenuItemGrayed(menus, 1506));
    EXPECT_EQ(Text(menus, 1506), "Chan&ge Active Payoff (1,2)\tCtrl+Y");
    f.tree.CalcPrefs.CalcMethod = PayoffMethod;
    f.Select({f.a});
    f.Update();
    EXPECT_EQ(Text(menus, 1506), "Chan&ge Payoff...\tCtrl+Y");

    // Add Branches on a childless node, Add Branch on one with children; roll back is check-marked.
    f.Select({f.c});
    f.tree.RolledBack = RolledBackValues::Computed;
    f.Update();
    EXPECT_EQ(Text(menus, 1403), "&Add Branch\tCtrl+A");
    EXPECT_TRUE(MenuItemChecked(menus, 1612));
    f.tree.RolledBack = RolledBackValues::None;
    f.Select({f.tree.Root->GetChild(2)->GetChild(0)});
    f.Update();
    EXPECT_TRUE(MenuItemGrayed(menus, 1403));
    EXPECT_FALSE(MenuItemChecked(menus, 1612));
}

TEST(TreeMenuState, NodePopupGetsTheDefineVariableMenu)
{
    MenuFixture f;
    std::unique_ptr<Menu> popup(Menu::PopupFromResource(ResourceId(118u, nullptr)));
    f.Select({f.a});
    f.window.UpdateMenuTexts(popup->Handle());
    char title[60] = "";
    GetMenuStringA(popup->Handle(), 5, title, sizeof title, MF_BYPOSITION);
    EXPECT_STREQ(title, "Define Variable");
    const HMENU variables = GetSubMenu(popup->Handle(), 5);
    ASSERT_NE(variables, nullptr);
    EXPECT_EQ(GetMenuItemID(variables, 0), 1195u);
    EXPECT_EQ(Text(variables, 1195), "New...");
    EXPECT_EQ(GetMenuItemCount(variables), 3);
    EXPECT_EQ(Text(popup->Handle(), 1602), "Probability Distribution");
    // The Analysis menu names a comparison of several nodes; the pop-up keeps its title.
    f.Select({f.tree.Root, f.c});
    f.window.UpdateMenuTexts(popup->Handle());
    EXPECT_EQ(Text(popup->Handle(), 1602), "Probability Distribution");
}

TEST(TreeMenuState, TheFrameAsksTheActiveTreeWhenAMenuOpens)
{
    ScopedApplication app;
    auto* frame = new MainFrame;
    frame->EndStartup();
    {
        MenuFixture f;
        f.window.Show(SW_SHOWNORMAL);
        ASSERT_EQ(static_cast<MDIchildCL*>(&f.window), frame->ActiveChild());
        const HMENU bar = GetMenu(frame->Handle());
        const HMENU file = GetSubMenu(bar, 0);
        SendMessageA(frame->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
        for (unsigned id : {1104u, 1105u, 1208u, 1211u})
            EXPECT_FALSE(MenuItemGrayed(bar, id)) << id;
        f.tree.RolledBack = RolledBackValues::Snapshot;
        SendMessageA(frame->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
        EXPECT_TRUE(MenuItemGrayed(bar, 1104));
        EXPECT_TRUE(MenuItemGrayed(bar, 1105));
        EXPECT_FALSE(MenuItemGrayed(bar, 1114));
    }
    delete frame;
}

// The tool bar follows the tree's rules; while one of the tree's bound windows is active the tree's clipboard
// and link items stay on, and of the tool bar only the variables buttons.
TEST(TreeMenuState, ToolBarAndBoundWindowsFollowTheTree)
{
    FocusTestLock focus;
    ScopedApplication app;
    auto* frame = new MainFrame;
    frame->EndStartup();
    BuildMainToolbar(frame->ToolBar());
    {
        MenuFixture f;
        f.window.Show(SW_SHOWNORMAL);
        auto button = [&](unsigned id) { return VisualCtrlKit::IsItemEnabled(frame->ToolBar(), id); };
        const std::vector<unsigned> buttons = {1513, 1651, 1602, 1614, 1405, 1502, 1556, 1612};
        for (int ci : {0, 1}) {
            f.Select({f.c});
            f.window.CustomInterfaceShown = static_cast<int16_t>(ci);
            frame->RefreshCommands();
            for (unsigned id : buttons)
                EXPECT_EQ(button(id), ci == 0) << id << " ci " << ci;
            EXPECT_FALSE(button(1303));
        }
        f.window.CustomInterfaceShown = 0;
        f.tree.OwnedAnalysis = std::make_unique<IdleAnalysis>(&f.tree);
        frame->RefreshCommands();
        EXPECT_FALSE(button(1612));
        f.tree.OwnedAnalysis.reset();

        f.window.OnCommand(1306);
        ASSERT_NE(f.window.VariablesView, nullptr);
        ASSERT_EQ(static_cast<MDIchildCL*>(f.window.VariablesView), frame->ActiveChild());
        const HMENU bar = GetMenu(frame->Handle());
        SendMessageA(frame->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(bar, 0)), 0);
        for (unsigned id : {1208u, 1211u, 1213u})
            EXPECT_FALSE(MenuItemGrayed(bar, id)) << id;
        for (unsigned id : {1217u, 1220u, 1104u})
            EXPECT_TRUE(MenuItemGrayed(bar, id)) << id;
        frame->RefreshCommands();
        EXPECT_TRUE(button(1502));
        EXPECT_TRUE(button(1556));
        for (unsigned id : {1513u, 1651u, 1602u, 1104u, 1303u})
            EXPECT_FALSE(button(id)) << id;
    }
    DestroyMainToolbar();
    delete frame;
}

}  // namespace
