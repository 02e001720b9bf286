// The custom interface of a tree window: the panel over its pane and the commands of its buttons.

#include "treewin/CustomInterfacePanel.h"

#include "analysis/NodeValueRecord.h"
#include "dialogs/ChangeValuesDialog.h"
#include "dialogs/InterfaceOptionsDialog.h"
#include "dialogs/NamedCommentDialog.h"
#include "framework/dialog/DialogUnits.h"
#include "framework/window/MDIframeCL.h"
#include "model/StoredAnalysisList.h"
#include "model/TreeNode.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/TreePane.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <list>
#include <string>
#include <vector>

namespace {

// A custom interface that can be shown: one parameter, and a stored analysis in the tree.
CustomInterfaceSettings& GiveCustomInterface(TreeWindow& window, const char* comment)
{
    window.Document().CustomInterface = std::make_unique<CustomInterfaceSettings>();
    CustomInterfaceSettings& settings = *window.Document().CustomInterface;
    settings.Add(new CustomInterfaceParameter{"unbound"});
    settings.comment = comment;
    window.StoredAnalyses().Add(MakeNodeValueRecord(window.Document().Root, 1605, 0));
    return settings;
}

std::vector<unsigned> ButtonIds(TreeWindow& window)
{
    std::vector<unsigned> ids;
    for (WindowCL* child : window.CustomPanel()->ButtonBlock().Children())
        ids.push_back(child->Id());
    return ids;
}

long PanelsOver(TreeWindow& window)
{
    const std::list<WindowCL*>& children = window.Pane()->Children();
    return std::count_if(children.begin(), children.end(),
                         [](WindowCL* child) { return dynamic_cast<CustomInterfacePanel*>(child) != nullptr; });
}

struct CustomInterfacePanelTest : testing::Test {
    FocusTestLock focus;
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    TreeWindow window;
    void SetUp() override { frame.Show(SW_SHOW), window.Show(SW_SHOW); }
};

} // namespace

TEST_F(CustomInterfacePanelTest, CoversTheTreeWithItsButtonsUntilShowTree)
{
    GiveCustomInterface(window, "Read me").options.allowRiskToggle = 1;
    window.SelectNode(window.Document().Root, 1, nullptr, false);
    window.OnCommand(1416);
    window.ShowCustomInterface(1);
    ASSERT_NE(window.CustomPanel(), nullptr);
    EXPECT_EQ(window.Document().Selection.Count(), 0);
    EXPECT_EQ(PanelsOver(window), 1);
    LogicalRect bounds{1, 1, 1, 1};
    window.Bounds(bounds);
    EXPECT_EQ(bounds.right - bounds.left + bounds.bottom - bounds.top, 0.0f);

    const HWND block = window.CustomPanel()->ButtonBlock().Handle();
    const zDialogUnit units; // the tests run without the program's dialog font
    const struct { unsigned id; const char* text; int top; } expected[] = {
        {1191, "Options...", 15}, {1192, "Change Values...", 35}, {1193, "Comments...", 86},
        {1416, "Show Tree", 105}, {1194, "Analyze...", 55}};
    ASSERT_EQ(ButtonIds(window).size(), 5u);
    for (const auto& button : expected) {
        EXPECT_EQ(ButtonIds(window)[&button - expected], button.id);
        char text[40] = "";
        GetDlgItemTextA(block, static_cast<int>(button.id), text, sizeof text);
        EXPECT_STREQ(text, button.text);
        RECT rect{};
        GetWindowRect(GetDlgItem(block, static_cast<int>(button.id)), &rect);
        MapWindowPoints(nullptr, block, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, units.ToPixelsX(38));
        EXPECT_EQ(rect.top, units.ToPixelsY(button.top));
        EXPECT_EQ(rect.right - rect.left, units.ToPixelsX(65));
        EXPECT_EQ(rect.bottom - rect.top, units.ToPixelsY(14));
    }

    window.SelectNode(window.Document().Root, 1, nullptr, false);
    SendMessageA(block, WM_COMMAND, MAKEWPARAM(1416, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(block, 1416)));
    EXPECT_EQ(window.CustomInterfaceShown, 0);
    EXPECT_EQ(window.CustomPanel(), nullptr);
    EXPECT_EQ(PanelsOver(window), 0);
    EXPECT_EQ(window.Document().Selection.Count(), 0);
    window.Bounds(bounds);
    EXPECT_GT(bounds.right - bounds.left, 0.0f);
}

TEST_F(CustomInterfacePanelTest, OptionsAndCommentsShowOnlyWhenTheInterfaceHasThem)
{
    const struct { int16_t methodChange, viewAndSave; bool withChoice; const char* comment; std::vector<unsigned> ids; }
        cases[] = {{0, 1, false, "", {1192, 1416, 1194}},
                   {1, 0, false, "Note", {1192, 1193, 1416, 1194}},
                   {1, 0, true, "", {1191, 1192, 1416, 1194}}};
    for (const auto& c : cases) {
        CustomInterfaceOptions& options = GiveCustomInterface(window, c.comment).options;
        options.allowCalcMethodChange = c.methodChange;
        options.allowViewTree = options.allowSaveTree = c.viewAndSave;
        if (c.withChoice)
            options.Add(new CalcMethodChoice{"Costs", 5});
        window.ShowCustomInterface(1);
        EXPECT_EQ(ButtonIds(window), c.ids) << c.comment;
        window.ShowCustomInterface(0);
    }
}

TEST(CustomInterfaceCommands, ATreeWithItsInterfaceOpensOnIt)
{
    const std::string path = std::string(std::getenv("TEMP") ? std::getenv("TEMP") : ".") + "\\kivo_custom.tre";
    zString message;
    {
        TreeWindow designed;
        GiveCustomInterface(designed, "");
        ASSERT_TRUE(designed.SaveAs(path.c_str(), message)) << message.Text();
    }
    EXPECT_EQ(TreeWindow(path.c_str()).CustomInterfaceShown, 1);
    std::remove(path.c_str());
}

// Set Options starts from the tree's switch and method; OK sets what the designer lets the user set.
TEST(CustomInterfaceCommands, SetOptionsSwitchesTheRiskFunctionAndPicksTheMethod)
{
    TreeWindow window;
    CustomInterfaceOptions& options = GiveCustomInterface(window, "").options;
    options.allowRiskToggle = options.allowCalcMethodChange = 1;
    options.constantRiskAversion = 0;
    options.Add(new CalcMethodChoice{"Second payoff", 2});
    options.Add(new CalcMethodChoice{"Cost-effectiveness", 5});
    TreeCalcPrefs& prefs = window.Document().CalcPrefs;
    std::string seen;
    auto previous = InterfaceOptionsDialog::SetPresenter([&](InterfaceOptionsDialog& d) {
        seen += std::to_string(d.useUtility) + "/" + std::to_string(d.choice) + " ";
        d.useUtility = 1;
        d.choice = prefs.CurrentPayoff == 0 ? 0 : 1;
        return IDOK;
    });
    window.OnCommand(1191);
    EXPECT_EQ(prefs.UseUtility + window.Document().RiskAssessment.type + prefs.CurrentPayoff, 1 + 2 + 1);
    EXPECT_EQ(window.Document().Modified, 1);
    window.OnCommand(1191);
    InterfaceOptionsDialog::SetPresenter(previous);
    EXPECT_EQ(prefs.CalcMethod, CostEffectivenessMethod);
    EXPECT_EQ(seen, "0/-1 1/0 ");
}

// Change Values writes each row into its variable's definition at the root, as typed or formatted; a
// variable bound nowhere is skipped.
TEST(CustomInterfaceCommands, ChangeValuesWritesTheRowsIntoTheDefinitions)
{
    TreeWindow window;
    TreeNode* root = window.Document().Root;
    const struct { const char* name; int16_t onOff; const char* typed; double value; const char* written; } rows[] = {
        {"p", 0, "0.250", 0.0, "0.250"}, {"x", 0, "", 0.25, "0.25"}, {"y", 0, "", 1e-11, "0"}, {"s", 1, "", 0.0, "0"}};
    CustomInterfaceSettings& settings = GiveCustomInterface(window, "");
    for (const auto& row : rows) {
        root->SetBinding(row.name, "1", false);
        settings.Add(new CustomInterfaceParameter{row.name, "", "1"});
        settings.At(settings.Count() - 1)->onOffSwitch = row.onOff;
    }
    auto previous = ChangeValuesDialog::SetPresenter([&](ChangeValuesDialog& d) {
        for (const auto& row : rows) {
            CustomInterfaceParameter& parameter = *d.parameters.At(static_cast<int>(&row - rows) + 1);
            EXPECT_STREQ(parameter.workingText.Text(), "1");
            parameter.workingText = row.typed;
            parameter.workingValue = row.value;
        }
        return IDOK;
    });
    window.OnCommand(1192);
    ChangeValuesDialog::SetPresenter(previous);
    for (const auto& row : rows)
        EXPECT_STREQ(root->FindBinding(row.name, false)->definition.Text().Text(), row.written) << row.name;
    EXPECT_EQ(root->FindBinding("unbound", false), nullptr);
    // This user may not save the tree: it is not marked modified.
    EXPECT_EQ(window.Document().Modified, 0);

    std::string shown;
    settings.comment = "Costs are in dollars.";
    auto comment = NamedCommentDialog::SetPresenter([&](NamedCommentDialog& d) { return shown = d.text.Text(), IDOK; });
    window.OnCommand(1193);
    NamedCommentDialog::SetPresenter(comment);
    EXPECT_EQ(shown, "Costs are in dollars.");
}
