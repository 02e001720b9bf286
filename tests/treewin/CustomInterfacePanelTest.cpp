// The custom interface of a tree window: the panel over its pane and the commands of its buttons.

#include "treewin/CustomInterfacePanel.h"

#include "analysis/NodeValueRecord.h"
#include "treewin/ChangeValuesDialog.h"
#include "treewin/InterfaceOptionsDialog.h"
#include "treewin/NamedCommentDialog.h"
#include "framework/dialog/DialogUnits.h"
#include "framework/window/MDIframeCL.h"
#include "model/StoredAnalysisList.h"
#include "model/TreeNode.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
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
    window.Document().StoredAnalyses().Add(MakeNodeValueRecord(window.Document().Root, 1605, 0));
    return settings;
}

// The panel's buttons as "id text", in the order they were made.
std::vector<std::string> Buttons(TreeWindow& window)
{
    std::vector<std::string> buttons;
    for (WindowCL* child : window.CustomPanel()->ButtonBlock().Children())
        buttons.push_back(std::to_string(child->Id()) + " " + child->Text());
    return buttons;
}

long PanelsOver(TreeWindow& window)
{
    const std::list<WindowCL*>& children = window.Pane()->Children();
    return std::count_if(children.begin(), children.end(),
                         [](WindowCL* child) { return dynamic_cast<CustomInterfacePanel*>(child) != nullptr; });
}

} // namespace

TEST(CustomInterfacePanel, CoversTheTreeWithItsButtonsUntilShowTree)
{
    FocusTestLock focus;
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    frame.Show(SW_SHOW);
    TreeWindow window;
    window.Show(SW_SHOW);
    CustomInterfaceSettings& settings = GiveCustomInterface(window, "Read me");
    settings.options.allowRiskToggle = 1;
    window.SelectNode(window.Document().Root, 1, nullptr, false);
    SetFocus(window.Pane()->Handle());
    window.OnCommand(1416);
    window.ShowCustomInterface(1);
    ASSERT_NE(window.CustomPanel(), nullptr);
    EXPECT_EQ(GetParent(GetFocus()), window.CustomPanel()->ButtonBlock().Handle());
    EXPECT_EQ(window.Selection.Count(), 0);
    EXPECT_EQ(PanelsOver(window), 1);
    ExpectScreenEqualsRepaint(frame.Handle());
    LogicalRect bounds{1, 1, 1, 1};
    window.Bounds(bounds);
    EXPECT_EQ(bounds.right - bounds.left + bounds.bottom - bounds.top, 0.0f);

    EXPECT_EQ(Buttons(window), (std::vector<std::string>{"1191 Options...", "1192 Change Values...",
                                                         "1193 Comments...", "1416 Show Tree", "1194 Analyze..."}));
    const HWND block = window.CustomPanel()->ButtonBlock().Handle();
    const zDialogUnit units; // the tests run without the program's dialog font
    const int tops[] = {15, 35, 86, 105, 55};
    const int* top = tops;
    for (WindowCL* button : window.CustomPanel()->ButtonBlock().Children()) {
        RECT rect{};
        GetWindowRect(button->Handle(), &rect);
        MapWindowPoints(nullptr, block, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ((std::vector<long>{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}),
                  (std::vector<long>{units.ToPixelsX(38), units.ToPixelsY(*top++), units.ToPixelsX(65),
                                     units.ToPixelsY(14)}))
            << button->Text();
    }

    window.SelectNode(window.Document().Root, 1, nullptr, false);
    SendMessageA(block, WM_COMMAND, MAKEWPARAM(1416, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(block, 1416)));
    EXPECT_EQ(window.CustomPanel(), nullptr);
    EXPECT_EQ(GetFocus(), window.Pane()->Handle());
    EXPECT_EQ(PanelsOver(window), 0);
    EXPECT_EQ(window.Selection.Count(), 0);
    window.Bounds(bounds);
    EXPECT_GT(bounds.right - bounds.left, 0.0f);
    ExpectScreenEqualsRepaint(frame.Handle());

    // Options only with something to set (a method change without methods is nothing), Comments with a text.
    settings.options.allowRiskToggle = 0;
    settings.options.allowCalcMethodChange = 1;
    settings.comment = "";
    window.ShowCustomInterface(1);
    EXPECT_EQ(Buttons(window), (std::vector<std::string>{"1192 Change Values...", "1416 Show Tree", "1194 Analyze..."}));
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
    prefs.CalcMethod = PayoffMethod;
    prefs.CurrentPayoff = 0;
    prefs.UseUtility = 0;
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
    MessageBoxRecorder boxes;
    auto previous = ChangeValuesDialog::SetPresenter([&](ChangeValuesDialog& d) {
        for (const auto& row : rows) {
            CustomInterfaceParameter& parameter = *d.parameters.At(static_cast<int>(&row - rows) + 1);
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
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "These values were not set, because their variables are no longer defined in the "
                                 "tree: \"unbound\".");
    // This user may not save the tree: it is not marked modified.
    EXPECT_EQ(window.Document().Modified, 0);

    std::string shown;
    settings.comment = "Costs are in dollars.";
    auto comment = NamedCommentDialog::SetPresenter([&](NamedCommentDialog& d) { return shown = d.text.Text(), IDOK; });
    window.OnCommand(1193);
    NamedCommentDialog::SetPresenter(comment);
    EXPECT_EQ(shown, "Costs are in dollars.");
}
