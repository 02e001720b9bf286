// Variable ranges and range sets: construction, steps, substitution and the archive form.

#include "analysis/SensitivityRangeSet.h"
#include "analysis/VariableRange.h"
#include "analysis/VariableSubstitution.h"
#include "model/CloneCopies.h"
#include "tests/model/TreeBuilder.h"
#include "foundation/Archive.h"
#include "foundation/MemoryStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

FormattedValue Value(const char* text, double value)
{
    FormattedValue formatted;
    formatted.text = text;
    formatted.value = value;
    return formatted;
}

TEST(VariableRange, ConstructionKeepsNameAndBounds)
{
    const VariableRange range(zString("costOfCare"), Value("1e3", 1000.0), Value("2,500", 2500.0));
    EXPECT_STREQ(range.name.Text(), "costOfCare");
    EXPECT_STREQ(range.key.Text(), "COSTOFCARE");
    EXPECT_STREQ(range.low.text.Text(), "1e3");
    EXPECT_EQ(range.low.value, 1000.0);
    EXPECT_STREQ(range.high.text.Text(), "2,500");
    EXPECT_EQ(range.high.value, 2500.0);
    EXPECT_EQ(range.thirdValue.value, 0.0);
    EXPECT_TRUE(range.thirdValue.text.IsEmpty());
    EXPECT_EQ(range.tolerance.value, 0.0);
    EXPECT_EQ(range.mode, 0);
    EXPECT_EQ(range.bindings.Count(), 0);
}

std::vector<uint8_t> Store(SensitivityRangeSet& set)
{
    MemoryStream out(100);
    set.Serialize(out);
    return std::vector<uint8_t>(out.Data(), out.Data() + out.Position());
}

TEST(SensitivityRangeSet, ArchiveRoundTrip)
{
    SensitivityRangeSet set;
    set.intervals = 12;
    set.Add(new VariableRange(zString("p"), Value("0.1", 0.1), Value("0.9", 0.9)));
    auto* tolerant = new VariableRange(zString("Cost"), Value("500", 500.0), Value("", 0.0));
    tolerant->thirdValue = Value("7", 7.0);
    tolerant->tolerance = Value("15", 15.0);
    tolerant->mode = 1;
    set.Add(tolerant);
    std::vector<uint8_t> bytes = Store(set);

    MemoryStream in(bytes.data(), static_cast<uint32_t>(bytes.size()), false);
    SensitivityRangeSet read;
    read.Serialize(in);
    ASSERT_FALSE(in.Failed());
    EXPECT_EQ(in.Position(), bytes.size());
    EXPECT_EQ(read.intervals, 12);
    ASSERT_EQ(read.Count(), 2);
    struct Row {
        const char* name;
        const char* key;
        const char* lowText;
        double high;
        double third;
        double tolerance;
        int mode;
    };
    const Row rows[] = {
        {"p", "P", "0.1", 0.9, 0.0, 0.0, 0},
        {"Cost", "COST", "500", 0.0, 7.0, 15.0, 1},
    };
    for (int i = 0; i < 2; ++i) {
        const VariableRange* range = read.RangeAt(i);
        EXPECT_STREQ(range->name.Text(), rows[i].name);
        EXPECT_STREQ(range->key.Text(), rows[i].key);
        EXPECT_STREQ(range->low.text.Text(), rows[i].lowText);
        EXPECT_EQ(range->high.value, rows[i].high);
        EXPECT_EQ(range->thirdValue.value, rows[i].third);
        EXPECT_EQ(range->tolerance.value, rows[i].tolerance);
        EXPECT_EQ(range->mode, rows[i].mode);
    }
    EXPECT_STREQ(read.RangeAt(1)->thirdValue.text.Text(), "7");
    EXPECT_STREQ(read.RangeAt(1)->tolerance.text.Text(), "15");
}

TEST(SensitivityRangeSet, TruncatedStreamsKeepOnlyWholeRanges)
{
    SensitivityRangeSet set;
    set.intervals = 4;
    set.Add(new VariableRange(zString("a"), Value("1", 1.0), Value("2", 2.0)));
    set.Add(new VariableRange(zString("b"), Value("3", 3.0), Value("4", 4.0)));
    std::vector<uint8_t> bytes = Store(set);
    for (size_t length = 0; length < bytes.size(); ++length) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + length);
        cut.push_back(0);
        MemoryStream in(cut.data(), static_cast<uint32_t>(length), false);
        SensitivityRangeSet read;
        read.Serialize(in);
        EXPECT_TRUE(in.Failed()) << length;
        EXPECT_LT(read.Count(), 2) << length;
        for (int i = 0; i < read.Count(); ++i)
            EXPECT_FALSE(read.RangeAt(i)->name.IsEmpty()) << length;
    }
}

TEST(SensitivityRangeSet, NegativeCountIsAFormatError)
{
    const uint8_t bytes[] = {3, 0, 0, 0, 0xFF, 0xFF};
    MemoryStream in(const_cast<uint8_t*>(bytes), sizeof bytes, false);
    SensitivityRangeSet read;
    read.Serialize(in);
    EXPECT_EQ(in.FormatError(), static_cast<uint32_t>(Archive::FormatListMarkerOrCount));
    EXPECT_EQ(read.Count(), 0);
}

}  // namespace

TEST(VariableRange, StepsRunFromLowToHighEitherWay)
{
    const struct {
        double low, high;
        int n;
        double step1;
    } cases[] = {{0.0, 1.0, 4, 0.25}, {5.0, -3.0, 4, 3.0}, {0.1, 0.7, 3, 0.3}};
    for (const auto& c : cases) {
        const VariableRange range(zString("x"), Value("", c.low), Value("", c.high));
        EXPECT_EQ(range.StepValue(0, c.n), c.low);
        EXPECT_NEAR(range.StepValue(1, c.n), c.step1, 1e-15);
        EXPECT_NEAR(range.StepValue(c.n, c.n), c.high, 1e-15);
    }
}

TEST(VariableRange, DescribesPlainAndToleranceRanges)
{
    VariableRange range(zString("x"), Value("1e3", 1000.0), Value("2,500", 2500.0));
    zString text;
    range.Describe(text);
    EXPECT_STREQ(text.Text(), "1e3 .. 2,500");
    range.tolerance = Value("15", 15.0);
    range.mode = 1;
    range.Describe(text);
    EXPECT_STREQ(text.Text(), "1e3 +/- 15%");
}

// p bound at the root, at a clone master's child and so in its copy; the sweep writes and restores them all.
TEST(SensitivityRangeSet, SweepWritesStepTextsAndRestoresEveryDefinition)
{
    TreeBuilder tree;
    TreeDocument& document = tree.Document();
    tree.Bind(tree.Root(), "p", "0.2 + 0.05");
    TreeNode* master = tree.Add(tree.Root(), ChanceNode, "master");
    TreeNode* inner = tree.Terminal(master, "inner", "p", "1");
    inner->SetBinding("p", " p*2 ", false);
    master->cloneStatus = CloneMasterNode;
    master->cloneId = 1;
    document.AddCloneMaster(master, "m");
    TreeNode* copy = tree.Add(tree.Root(), ChanceNode, "copy");
    CopyCloneMaster(copy, master, nullptr);
    TreeNode* copiedInner = copy->GetChild(0);

    SensitivityRangeSet set;
    set.intervals = 3;
    auto* range = new VariableRange(zString("P"), Value("0", 0.0), Value("1", 1.0));
    CollectVariableDefinitions(range->bindings, tree.Root(), "P", true);
    set.Add(range);
    ASSERT_EQ(range->bindings.Count(), 2) << "root default and the master's child, not the copy";

    zString text;
    set.ApplyStep(1, &text);
    EXPECT_STREQ(text.Text(), "0.333333333");
    EXPECT_STREQ(tree.Root()->FindBinding("P", true)->definition.Text().Text(), "0.333333333");
    EXPECT_STREQ(copiedInner->FindBinding("P", true)->definition.Text().Text(), "0.333333333");
    set.ApplyStep(3, &text);
    EXPECT_STREQ(text.Text(), "1");
    set.RestoreAll();
    EXPECT_STREQ(tree.Root()->FindBinding("P", true)->definition.Text().Text(), "0.2 + 0.05");
    EXPECT_STREQ(inner->FindBinding("P", true)->definition.Text().Text(), " p*2 ");
    EXPECT_STREQ(copiedInner->FindBinding("P", true)->definition.Text().Text(), " p*2 ");
}
