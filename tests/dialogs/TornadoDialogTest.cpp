// The tornado set-up on the screen: bars added with their ranges, removed again, and handed to the analysis.

#include "analysis/TornadoDiagram.h"
#include "dialogs/TornadoDialog.h"
#include "model/DocVariable.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/DialogControls.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Add p over 0..1 (an empty range refused first), add v over the range it keeps (whole numbers shown without a
// dot), remove v again: v returns to the available list and the run sweeps p alone, each branch of the
// decision a series.
TEST(TornadoDialog, BarsAddedRemovedAndHandedToTheRun)
{
    OnScreen screen;
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    tree.Bind(tree.Root(), "p", "0.3");
    tree.Bind(tree.Root(), "v", "50");
    TreeNode* a = tree.Add(tree.Root(), ChanceNode, "A");
    tree.Terminal(a, "win", "p", "100");
    tree.Terminal(a, "lose", "#", "0");
    tree.Terminal(tree.Root(), "B", "", "v");
    // A range kept as numbers alone, as a threshold analysis keeps it.
    DocVariable* v = tree.Document().FindVariable("v", false);
    ASSERT_NE(v, nullptr);
    v->hasRange = 1;
    v->low = FormattedValue{zString(), 10.0};
    v->high = FormattedValue{zString(), 30.5};
    TornadoResults shown;
    auto previousPresenter = SetTornadoPresenter([&shown](const TornadoResults& results) { shown = results; });
    auto previousDialog = SetTornadoSetupDialog(nullptr);
    InstallTornadoSetupDialog();

    ModalDialogDriver driver;
    driver.Then([](DialogFrameCL& dialog) { EXPECT_FALSE(IsWindowVisible(dialog.FindChild(2108)->Handle())); })
        .Press(Ctl::TornadoDiagram::Add)
        .Type(2503, "0")
        .Type(2504, "0")
        .Press(IDOK)
        .Type(2504, "1")
        .Press(IDOK)
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(Lines(dialog, Ctl::TornadoDiagram::AnalyzeList), 1);
            EXPECT_EQ(TextOf(dialog, Ctl::TornadoDiagram::HighText), "1");
            EXPECT_TRUE(IsWindowEnabled(dialog.FindChild(Ctl::TornadoDiagram::Range)->Handle()));
        })
        .Press(Ctl::TornadoDiagram::Add)
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(TextOf(dialog, 2503), "10");
            EXPECT_EQ(TextOf(dialog, 2504), "30.5");
        })
        .Press(IDOK)
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(TextOf(dialog, Ctl::TornadoDiagram::LowText), "10");
            EXPECT_EQ(TextOf(dialog, Ctl::TornadoDiagram::HighText), "30.5");
            EXPECT_EQ(Lines(dialog, Ctl::TornadoDiagram::AnalyzeList), 2);
            EXPECT_EQ(Lines(dialog, Ctl::TornadoDiagram::VariablesToAnalyzeList), 0);
            SendMessageA(dialog.FindChild(Ctl::TornadoDiagram::AnalyzeList)->Handle(), LB_SETCURSEL, 1, 0);
        })
        .Press(Ctl::TornadoDiagram::Remove)
        .Then([](DialogFrameCL& dialog) { EXPECT_EQ(Lines(dialog, Ctl::TornadoDiagram::VariablesToAnalyzeList), 1); })
        .Type(Ctl::TornadoDiagram::IntervalsEdit, "2")
        .Press(IDOK);
    RunAnalysis(std::make_unique<TornadoDiagram>(&tree.Document(), tree.Root()));
    while (tree.Document().CurrentAnalysis != nullptr)
        tree.Document().CurrentAnalysis->OnIdle();
    SetTornadoPresenter(previousPresenter);
    SetTornadoSetupDialog(previousDialog);

    EXPECT_TRUE(driver.Finished());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The high value must be greater than the low value.");
    ASSERT_TRUE(shown.bars);
    ASSERT_EQ(shown.bars->Count(), 1);
    EXPECT_EQ(shown.intervals, 2);
    EXPECT_FALSE(shown.thisNodeOnly);
    EXPECT_EQ(shown.bars->At(0)->values.size(), 6u);
    EXPECT_EQ(shown.bars->At(0)->highResult, 100.0);
    EXPECT_EQ(tree.Document().FindVariable("v", false)->hasRange, 1);
    EXPECT_EQ(std::string(tree.Root()->FindBinding("p", false)->definition.Text().Text()), "0.3");
}

}  // namespace
