// The tornado diagram end to end on a decision between A = a, B = b and C = c, and the stored forms of a bar.

#include "analysis/StoredAnalysisKinds.h"
#include "analysis/TornadoDiagram.h"
#include "foundation/Archive.h"
#include "foundation/MemoryStream.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "model/StoredAnalysis.h"
#include "model/VariableDefinition.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

FormattedValue Value(double value)
{
    return FormattedValue{zString(std::to_string(static_cast<int>(value)).c_str()), value};
}

struct ThreeChoices {
    TreeBuilder tree;
    TornadoResults shown;
    TornadoPresenter savedPresenter;
    TornadoSetupDialog savedDialog;
    int32_t intervals = 2;

    ThreeChoices()
    {
        tree.Bind(tree.Root(), "a", "10");
        tree.Bind(tree.Root(), "b", "5");
        tree.Bind(tree.Root(), "c", "0");
        tree.Bind(tree.Root(), "z", "1");
        tree.Terminal(tree.Root(), "A", "", "a");
        tree.Terminal(tree.Root(), "B", "", "b");
        tree.Terminal(tree.Root(), "C", "", "c");
        savedPresenter = SetTornadoPresenter([this](const TornadoResults& results) { shown = results; });
    }
    ~ThreeChoices()
    {
        SetTornadoPresenter(savedPresenter);
        SetTornadoSetupDialog(savedDialog);
    }
    // The set-up dialog answers with one bar per name, each over 0 to 20.
    void Choose(std::vector<const char*> names, int32_t thisNodeOnly)
    {
        savedDialog = SetTornadoSetupDialog([=](TornadoSetupRequest& request) {
            for (const char* name : names) {
                auto* bar = new TornadoSetup;
                bar->barName = name;
                bar->ranges.Add(new VariableRange(zString(name), Value(0), Value(20)));
                request.bars->Add(bar);
            }
            request.intervals = intervals;
            request.thisNodeOnly = thisNodeOnly;
            return true;
        });
    }
    void RunToEnd()
    {
        while (tree.Document().CurrentAnalysis != nullptr)
            tree.Document().CurrentAnalysis->OnIdle();
    }
    std::string Definition(const char* name)
    {
        return tree.Root()->FindBinding(name, false)->definition.Text().Text();
    }
    std::vector<std::string> BarOrder()
    {
        std::vector<std::string> order;
        for (int b = 0; shown.bars && b < shown.bars->Count(); ++b)
            order.push_back(shown.bars->At(b)->barName.Text());
        return order;
    }
};

// Each branch is a series: a step's result is the best of the three; the bars are ordered by span, the later
// of two equal spans first; every definition is restored; the stored record runs again to the same bars.
TEST(TornadoDiagram, BarsSweepEachBranchSortBySpanAndRunAgain)
{
    ThreeChoices choices;
    choices.Choose({"a", "b", "c"}, 0);
    auto* run = new TornadoDiagram(&choices.tree.Document(), choices.tree.Root());
    RunAnalysis(std::unique_ptr<AnalysisRun>(run));
    ASSERT_EQ(choices.tree.Document().CurrentAnalysis, run);
    zString status;
    EXPECT_EQ(std::string(run->StatusText(status).Text()), "The tornado diagram is being prepared.");
    EXPECT_EQ(run->ProgressTotal(), 3 * 3 * 3);
    choices.RunToEnd();
    // a over {0, 10, 20} against 5 and 0: 5 .. 20; b against 10: 10 .. 20; c the same span, later, first.
    EXPECT_EQ(choices.BarOrder(), (std::vector<std::string>{"a", "c", "b"}));
    const TornadoSetup* a = choices.shown.bars->At(0);
    EXPECT_EQ(a->lowResult, 5.0);
    EXPECT_EQ(a->highResult, 20.0);
    ASSERT_EQ(a->values.size(), 9u);
    EXPECT_EQ(a->values[2], 20.0);  // series A at the range's high end
    EXPECT_EQ(a->values[3], 5.0);   // series B unchanged
    EXPECT_EQ(choices.shown.low, 5.0);
    EXPECT_EQ(choices.shown.high, 20.0);
    EXPECT_EQ(std::string(choices.shown.label.Text()), "Expected Value");
    for (const char* name : {"a", "b", "c"})
        EXPECT_EQ(choices.Definition(name), std::string(name) == "a" ? "10" : std::string(name) == "b" ? "5" : "0");

    // Run as the program runs it: a saved copy, since the run replaces the last analysis.
    ASSERT_NE(choices.tree.Document().LastAnalysis, nullptr);
    StoredAnalysis* record = choices.tree.Document().LastAnalysis->Clone();
    EXPECT_EQ(record->kind, TornadoKind);
    zString described;
    DescribeStoredAnalysis(&choices.tree.Document(), record, described);
    EXPECT_EQ(std::string(described.Text()), "Tornado Diagram");
    choices.shown = TornadoResults();
    RunStoredAnalysis(record, &choices.tree.Document());
    choices.RunToEnd();
    EXPECT_EQ(choices.BarOrder(), (std::vector<std::string>{"a", "c", "b"}));
    StoredAnalysis::Delete(record);

    // The tree changed: the decision lost the node the record names.
    MessageBoxRecorder boxes;
    StoredAnalysis* stale = choices.tree.Document().LastAnalysis->Clone();
    *stale->parameters->At(0) = "9";
    RunStoredAnalysis(stale, &choices.tree.Document());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The analysis cannot be performed. The tree structure is too different.");
    delete stale;
}

// The node alone, one series: results that never move still get a span of 0.1; a run stopped half way
// restores the definitions.
TEST(TornadoDiagram, FlatResultsWidenAndAStopRestores)
{
    ThreeChoices choices;
    choices.intervals = 4;
    choices.Choose({"z"}, 1);
    RunAnalysis(std::make_unique<TornadoDiagram>(&choices.tree.Document(), choices.tree.Root()));
    choices.RunToEnd();
    ASSERT_TRUE(choices.shown.bars);
    EXPECT_EQ(choices.shown.bars->At(0)->values.size(), 5u);
    EXPECT_EQ(choices.shown.low, 10.0);
    EXPECT_DOUBLE_EQ(choices.shown.high, 10.1);

    choices.Choose({"a", "b"}, 1);
    RunAnalysis(std::make_unique<TornadoDiagram>(&choices.tree.Document(), choices.tree.Root()));
    AnalysisRun* run = choices.tree.Document().CurrentAnalysis;
    for (int i = 0; i < 4; ++i)
        run->OnIdle();
    EXPECT_NE(choices.Definition("a"), "10");
    run->stopFlag = 1;
    choices.RunToEnd();
    EXPECT_EQ(choices.Definition("a"), "10");
    EXPECT_EQ(choices.Definition("b"), "5");
}

// A bar round-trips; the three older forms load with one range of the right name and ends.
TEST(TornadoDiagram, BarStoredFormsLoad)
{
    TornadoSetup bar;
    bar.barName = "Cost";
    bar.lowResult = 1.0;
    bar.highResult = 3.0;
    bar.values = {1.0, 2.0, 3.0};
    bar.ranges.intervals = 2;
    bar.ranges.Add(new VariableRange(zString("cost"), Value(0), Value(20)));
    MemoryStream out(100);
    bar.Serialize(out);
    MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
    TornadoSetup read;
    read.Serialize(in);
    ASSERT_FALSE(in.Failed());
    EXPECT_EQ(read.values, bar.values);
    EXPECT_EQ(read.highResult, 3.0);
    ASSERT_EQ(read.ranges.Count(), 1);
    EXPECT_EQ(std::string(read.ranges.RangeAt(0)->high.text.Text()), "20");

    struct Row {
        VersionRecord version;
        const char* rangeName;  // what the one range is called
    };
    const Row rows[] = {{VersionRecord(3, 0, 4), "var"}, {VersionRecord(2, 6, 2), "Bar"}, {VersionRecord(2, 5, 4), "Bar"}};
    for (Row row : rows) {
        MemoryStream old(100);
        row.version.Serialize(old);
        old.WriteDouble(2.0).WriteDouble(8.0).WriteDouble(-1.0).WriteDouble(4.0);
        StoreString(old, "Bar");
        if (row.version.IsAtLeast(KnownVersion::k2_6_Beta4)) {
            TornadoPointList().Serialize(old);
            old.WriteShort(1).WriteDouble(7.0);
            if (row.version.IsNewerThan(KnownVersion::k3_0_Beta2))
                StoreString(old, "var");
        }
        MemoryStream oldIn(const_cast<uint8_t*>(old.Data()), old.Position(), false);
        TornadoSetup oldBar;
        oldBar.Serialize(oldIn);
        ASSERT_FALSE(oldIn.Failed()) << row.rangeName;
        EXPECT_EQ(oldBar.lowResult, -1.0);
        EXPECT_EQ(std::string(oldBar.barName.Text()), "Bar");
        ASSERT_EQ(oldBar.ranges.Count(), 1);
        EXPECT_EQ(std::string(oldBar.ranges.RangeAt(0)->name.Text()), row.rangeName);
        EXPECT_EQ(oldBar.ranges.RangeAt(0)->high.value, 8.0);
    }
}

}  // namespace
