// The custom interface panel over a tree window's pane: its buttons, what they hand to the tree window, and
// the tree hidden behind it.

#include "treewin/CustomInterfacePanel.h"

#include "analysis/NodeValueRecord.h"
#include "app/StartProgram.h"
#include "framework/dialog/DialogUnits.h"
#include "framework/draw/GdiScopes.h"
#include "framework/draw/zFont.h"
#include "framework/window/MDIframeCL.h"
#include "model/StoredAnalysisList.h"
#include "model/TreeNode.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/TreePane.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A tree whose custom interface can be shown: one parameter and one stored analysis.
void GiveCustomInterface(TreeWindow& window, const char* comment)
{
    auto settings = std::make_unique<CustomInterfaceSettings>();
    auto* parameter = new CustomInterfaceParameter;
    parameter->variableName = "p";
    settings->Add(parameter);
    settings->comment = comment;
    window.Document().CustomInterface = std::move(settings);
    window.StoredAnalyses().Add(MakeNodeValueRecord(window.Document().Root, 1605, 0));
}

struct ShownButton {
    unsigned id;
    std::string text;
    RECT rect; // in the button pane's client
};

std::vector<ShownButton> Buttons(const CustomInterfacePanel& panel)
{
    std::vector<ShownButton> buttons;
    for (WindowCL* child : panel.ButtonBlock().Children()) {
        RECT rect{};
        GetWindowRect(child->Handle(), &rect);
        MapWindowPoints(nullptr, panel.ButtonBlock().Handle(), reinterpret_cast<POINT*>(&rect), 2);
        char text[40] = "";
        GetWindowTextA(child->Handle(), text, sizeof text);
        buttons.push_back({child->Id(), text, rect});
    }
    return buttons;
}

int PanelsOver(TreeWindow& window)
{
    int count = 0;
    for (WindowCL* child : window.Pane()->Children())
        count += dynamic_cast<CustomInterfacePanel*>(child) != nullptr ? 1 : 0;
    return count;
}

struct CustomInterfacePanelTest : testing::Test {
    FocusTestLock focus;
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    TreeWindow window;
    void SetUp() override
    {
        frame.Show(SW_SHOW);
        window.Show(SW_SHOW);
    }
};

} // namespace

TEST_F(CustomInterfacePanelTest, ShowCustomInterfaceCoversTheTreeWithItsButtonsUntilShowTree)
{
    GiveCustomInterface(window, "Read me");
    window.Document().CustomInterface->options.allowRiskToggle = 1;
    window.SelectNode(window.Document().Root, 1, nullptr, false);
    window.OnCommand(1416);
    window.ShowCustomInterface(1);
    ASSERT_NE(window.CustomPanel(), nullptr);
    EXPECT_EQ(PanelsOver(window), 1);
    LogicalRect bounds{1, 1, 1, 1};
    window.Bounds(bounds);
    EXPECT_EQ(bounds.right - bounds.left, 0.0f);
    EXPECT_EQ(bounds.bottom - bounds.top, 0.0f);

    zDialogUnit units;
    if (CurrentDialogFont != nullptr) {
        ScopedScreenInfoContext dc;
        ScopedSelection font(dc.Get(), CurrentDialogFont->Handle());
        units = zDialogUnit(dc.Get());
    }
    const struct {
        unsigned id;
        const char* text;
        int top;
    } expected[] = {{1191, "Options...", 15}, {1192, "Change Values...", 35}, {1193, "Comments...", 86},
                    {1416, "Show Tree", 105}, {1194, "Analyze...", 55}};
    const std::vector<ShownButton> shown = Buttons(*window.CustomPanel());
    ASSERT_EQ(shown.size(), 5u);
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].id, expected[i].id);
        EXPECT_EQ(shown[i].text, expected[i].text);
        EXPECT_EQ(shown[i].rect.left, units.ToPixelsX(38));
        EXPECT_EQ(shown[i].rect.top, units.ToPixelsY(expected[i].top));
        EXPECT_EQ(shown[i].rect.right - shown[i].rect.left, units.ToPixelsX(65));
        EXPECT_EQ(shown[i].rect.bottom - shown[i].rect.top, units.ToPixelsY(14));
    }

    // "Show Tree" clicked: the tree comes back without a selection.
    const HWND showTree = GetDlgItem(window.CustomPanel()->ButtonBlock().Handle(), 1416);
    SendMessageA(window.CustomPanel()->ButtonBlock().Handle(), WM_COMMAND, MAKEWPARAM(1416, BN_CLICKED),
                 reinterpret_cast<LPARAM>(showTree));
    EXPECT_EQ(window.CustomInterfaceShown, 0);
    EXPECT_EQ(window.CustomPanel(), nullptr);
    EXPECT_EQ(PanelsOver(window), 0);
    EXPECT_EQ(window.Document().Selection.Count(), 0);
    window.Bounds(bounds);
    EXPECT_GT(bounds.right - bounds.left, 0.0f);
}

TEST_F(CustomInterfacePanelTest, OptionsAndCommentsShowOnlyWhenTheInterfaceHasThem)
{
    const struct {
        int16_t riskToggle, methodChange, viewAndSave;
        bool withChoice;
        const char* comment;
        std::vector<unsigned> ids;
    } cases[] = {
        {0, 0, 1, false, "", {1192, 1416, 1194}},
        {0, 1, 0, false, "Note", {1192, 1193, 1416, 1194}},
        {0, 1, 0, true, "", {1191, 1192, 1416, 1194}},
    };
    for (const auto& c : cases) {
        GiveCustomInterface(window, c.comment);
        CustomInterfaceOptions& options = window.Document().CustomInterface->options;
        options.allowRiskToggle = c.riskToggle;
        options.allowCalcMethodChange = c.methodChange;
        options.allowViewTree = options.allowSaveTree = c.viewAndSave;
        if (c.withChoice)
            options.Add(new CalcMethodChoice{"Costs", 5});
        window.ShowCustomInterface(1);
        std::vector<unsigned> ids;
        for (const ShownButton& button : Buttons(*window.CustomPanel()))
            ids.push_back(button.id);
        EXPECT_EQ(ids, c.ids) << c.comment;
        window.ShowCustomInterface(0);
    }
}

TEST(CustomInterfaceOnOpen, ATreeWithItsInterfaceOpensOnIt)
{
    const std::string path = std::string(std::getenv("TEMP") ? std::getenv("TEMP") : ".") + "\\kivo_custom.tre";
    zString message;
    {
        TreeWindow designed;
        GiveCustomInterface(designed, "");
        ASSERT_TRUE(designed.SaveAs(path.c_str(), message)) << message.Text();
    }
    TreeWindow opened(path.c_str());
    EXPECT_EQ(opened.CustomInterfaceShown, 1);
    std::remove(path.c_str());
}
