// Result columns at the nodes where the tree visibly ends: their values against hand-computed trees, and
// their table as Copy Special puts it on the clipboard.

#include "treewin/CopySpecialDialog.h"
#include "treewin/ResultBoxes.h"
#include "model/ResultCellList.h"
#include "framework/window/Clipboard.h"
#include "model/DisplayColumnList.h"
#include "model/TreeNode.h"
#include "model/NodeGeometry.h"
#include "tests/support/FramedTreeWindow.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScreenCheck.h"
#include "treewin/TreeLinkCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

void AddColumn(TreeDocument& tree, const char* header, int kind, const char* formula = "")
{
    auto* column = new DisplayColumn;
    column->header = header;
    column->kind = kind;
    column->formatSource = DisplayColumn::kNoFormat;
    column->formula = formula;
    tree.RollBackColumns.Add(column);
}

std::string CopiedTable(TreeWindow& window)
{
    auto previous = CopySpecialDialog::SetPresenter([](CopySpecialDialog& dialog) {
        EXPECT_TRUE(dialog.Offers(CopySpecialDialog::ColumnsTable));
        dialog.choice = CopySpecialDialog::ColumnsTable;
        return IDOK;
    });
    TreeLinks::CopySpecial(window);
    CopySpecialDialog::SetPresenter(previous);
    Clipboard clipboard(&window);
    std::unique_ptr<char[]> text(clipboard.GetText());
    return text ? text.get() : "";
}

// A decision between A (10) and a chance node B of 30 and 20 at 0.4 and 0.6 (24): the marginal value is
// the distance to the better strategy, the best has none, and chance branches have none.
TEST(ResultColumns, TableOfTheEndNodesAsCopySpecialCopiesIt)
{
    FocusTestLock focus;
    FramedTreeWindow t;
    t.frame.Show(SW_SHOW);
    TreeDocument& tree = t.tree;
    tree.Root->SetBinding("x", "3", false);
    tree.AddChild(tree.Root, TerminalNode, "A", "", "10");
    TreeNode* b = tree.AddChild(tree.Root, ChanceNode, "B");
    tree.AddChild(b, TerminalNode, "B1", "0.4", "30");
    tree.AddChild(b, TerminalNode, "B2", "0.6", "20");
    AddColumn(tree, "EV", DisplayColumn::kExpectedValue);
    AddColumn(tree, "Path", DisplayColumn::kPathProbability);
    AddColumn(tree, "Marginal", DisplayColumn::kMarginalValue);
    AddColumn(tree, "Twice", DisplayColumn::kCustomCalculation, "x*2");
    AddColumn(tree, "Broken", DisplayColumn::kCustomCalculation, "x*");
    // One column draws in a font of its own.
    tree.RollBackColumns.At(3)->font = std::make_unique<FontRecord>();
    tree.RollBackColumns.At(3)->font->pointSize = 16;
    tree.DisplayPrefs.ShowColumns = 1;
    t.window.Show(SW_MAXIMIZE);
    t.window.OnCommand(1612);
    ASSERT_TRUE(tree.IsRolledBack());
    // Drawn beside the tree: the boxes and headers are what a full repaint draws.
    {
        ScreenOnTop raised(t.frame.Handle());
        ExpectScreenEqualsRepaint(t.frame.Handle());
    }
    const DisplayColumnList& columns = tree.RollBackColumns;
    float right = 0.0f;
    for (int i = 0; i < tree.Root->childCount; ++i)
        right = std::max(right, tree.Root->GetChild(i)->Geometry().SymbolX);
    EXPECT_GE(columns.At(0)->x, right + 0.15f);
    for (int i = 1; i < columns.Count(); ++i)
        EXPECT_FLOAT_EQ(columns.At(i)->x, columns.At(i - 1)->x + columns.At(i - 1)->width + 0.15f);
    EXPECT_GT(columns.At(0)->width, 0.0f);
    EXPECT_EQ(CopiedTable(t.window), "Node\tEV\tPath\tMarginal\tTwice\tBroken\r\n"
                                     "A\t10\t1\t14\t6\t\r\n"
                                     "B1\t30\t0.4\t\t6\t\r\n"
                                     "B2\t20\t0.6\t\t6\t\r\n");
    // A collapsed node ends the tree visibly: it gets a row, its hidden children none.
    b->collapsed = 1;
    EXPECT_EQ(CopiedTable(t.window), "Node\tEV\tPath\tMarginal\tTwice\tBroken\r\n"
                                     "A\t10\t1\t14\t6\t\r\n"
                                     "B\t24\t1\t\t6\t\r\n");
    EXPECT_EQ(t.boxes.Count(), 0u);
}

// Under cost-effectiveness the strategies are ranked by cost; a less effective one is passed over as the
// predecessor of the later ones but gets its own values.
TEST(ResultColumns, MarginalCostEffectivenessAgainstTheStrategyBefore)
{
    TreeDocument tree;
    tree.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    struct Strategy {
        const char* name;
        double cost, effectiveness;
        bool has;
        double ratio, costs, effects;
    };
    const Strategy strategies[] = {
        {"A", 100, 5, true, 50, 50, 1},
        {"B", 50, 4, false, 0, 0, 0},
        {"C", 200, 3, true, -50, 100, -2},
        {"D", 300, 8, true, 200.0 / 3, 200, 3},
    };
    for (const Strategy& strategy : strategies) {
        TreeNode* node = tree.AddChild(tree.Root, TerminalNode, strategy.name);
        node->triple.cost = strategy.cost;
        node->triple.effectiveness = strategy.effectiveness;
    }
    for (int i = 0; i < 4; ++i) {
        const Strategy& expected = strategies[i];
        const TreeNode* node = tree.Root->GetChild(i);
        double values[3] = {};
        const int kinds[3] = {DisplayColumn::kMarginalValue, DisplayColumn::kMarginalCost,
                              DisplayColumn::kMarginalEffectiveness};
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(ResultBoxes::MarginalValue(tree, node, kinds[k], values[k]), expected.has) << expected.name;
        if (!expected.has)
            continue;
        EXPECT_DOUBLE_EQ(values[0], expected.ratio) << expected.name;
        EXPECT_DOUBLE_EQ(values[1], expected.costs) << expected.name;
        EXPECT_DOUBLE_EQ(values[2], expected.effects) << expected.name;
    }
    // Cost is money; effectiveness is not, though its payoff's format names a currency.
    tree.CalcPrefs.CECostPayoff = 0;
    tree.CalcPrefs.CEEffPayoff = 1;
    for (NumericFormat& format : tree.CalcPrefs.PayoffFormats)
        format.unitsKind = NumericFormat::UnitsCurrency;
    const std::pair<int32_t, int32_t> columns[] = {{DisplayColumn::kCost, DisplayColumn::kCostFormat},
                                                   {DisplayColumn::kEffectiveness, DisplayColumn::kEffectivenessFormat}};
    std::vector<bool> currency;
    for (const auto& [kind, source] : columns) {
        DisplayColumn column;
        column.kind = kind;
        column.formatSource = source;
        ResultCell cell;
        ResultBoxes::ComputeCell(tree, tree.Root->GetChild(0), column, cell);
        currency.push_back(std::string(cell.text.Text()).find('$') != std::string::npos);
    }
    EXPECT_EQ(currency, (std::vector<bool>{true, false}));
}

} // namespace
