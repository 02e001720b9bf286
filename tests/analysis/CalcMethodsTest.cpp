// Value triples, the optimisation direction and the comparisons of the calculation methods.

#include "foundation/ValueTriple.h"
#include "foundation/MemoryStream.h"
#include "foundation/VersionRecord.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(ValueTriples, ComponentsSelectionAndRatio)
{
    ValueTriple triple{100.0, 4.0, 0.0};
    triple.ComputeRatio();
    EXPECT_EQ(triple.value, 25.0);
    struct Row {
        double effectiveness;
        double ratio;
    } rows[] = {{4.0, 25.0}, {0.0, 1e20}, {-2.0, 1e20}, {1e-12, 1e14}};
    for (const Row& row : rows) {
        ValueTriple t{100.0, row.effectiveness, 0.0};
        t.ComputeRatio();
        EXPECT_DOUBLE_EQ(t.value, row.ratio) << row.effectiveness;
    }
    const ValueTriple low{1.0, 9.0, 5.0};
    const ValueTriple high{2.0, 3.0, 7.0};
    EXPECT_EQ(low.Compare(high), -1);
    {
        ValueTripleSelector byEffectiveness(ComponentEffectiveness);
        EXPECT_EQ(low.Compare(high), 1);
        EXPECT_EQ(low.Selected(), 9.0);
    }
    EXPECT_EQ(ValueTriple::Selector(), ComponentValue);
    EXPECT_EQ(low.Component(7), 5.0);
    EXPECT_TRUE(low.NearlyEqual(ValueTriple{1.0 + 5e-11, 9.0, 5.0}));
    EXPECT_FALSE(low.NearlyEqual(ValueTriple{1.0 + 2e-10, 9.0, 5.0}));
}

TEST(ValueTriples, OlderFilesHoldPlainValues)
{
    MemoryStream stream(100);
    stream.WriteDouble(1.5);
    stream.WriteDouble(-2.0);
    MemoryStream reader(const_cast<uint8_t*>(stream.Data()), stream.Position(), false);
    VersionRecord version(3, 0, 0);
    std::unique_ptr<ValueTriple[]> triples(LoadValueTriples(reader, version, 2));
    EXPECT_EQ(triples[0].value, 1.5);
    EXPECT_EQ(triples[0].cost, 0.0);
    EXPECT_EQ(triples[1].value, -2.0);
    EXPECT_EQ(triples[1].effectiveness, 0.0);

    MemoryStream newer(100);
    ValueTriple written[1] = {{1.0, 2.0, 3.0}};
    StoreValueTriples(newer, written, 1);
    MemoryStream newerReader(const_cast<uint8_t*>(newer.Data()), newer.Position(), false);
    std::unique_ptr<ValueTriple[]> read(LoadValueTriples(newerReader, VersionRecord(), 1));
    EXPECT_TRUE(read[0].NearlyEqual(written[0]));

    // A count the file cannot hold is refused before its memory is asked for.
    MemoryStream shortReader(const_cast<uint8_t*>(newer.Data()), newer.Position(), false);
    EXPECT_EQ(LoadValueTriples(shortReader, VersionRecord(), 2), nullptr);
    EXPECT_TRUE(shortReader.Failed());
}

TEST(CalcMethodRules, DirectionByMethod)
{
    TreeDocument document;
    struct Row {
        CalcMethodKind method;
        int optPath0;
        int multiAttr;
        int direction;
    } rows[] = {{PayoffMethod, 1, 1, 1}, {PayoffMethod, 0, 1, 0}, {CostEffectivenessMethod, 1, 1, 0},
                {BenefitCostMethod, 0, 0, 1}, {MultiAttributeMethod, 1, 0, 0}, {MultiAttributeMethod, 0, 1, 1},
                {static_cast<CalcMethodKind>(9), 0, 0, 1}};
    for (const Row& row : rows) {
        document.CalcPrefs.CalcMethod = row.method;
        document.CalcPrefs.OptPath[0] = row.optPath0;
        document.CalcPrefs.MultiAttrOptPath = row.multiAttr;
        EXPECT_EQ(document.OptimalPathDirection(), row.direction) << static_cast<int>(row.method);
    }
    document.CalcPrefs.CalcMethod = BenefitCostMethod;
    EXPECT_EQ(document.CostPayoffIndex(), document.CalcPrefs.BCCostPayoff);
    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    EXPECT_EQ(document.CostPayoffIndex(), document.CalcPrefs.CECostPayoff);
}

TEST(CalcMethodRules, BetterValueAndIsBetter)
{
    TreeDocument document;
    TreeNode reversed(&document);
    reversed.kind = ReversedDecisionNode;
    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;  // minimises
    EXPECT_EQ(document.BetterValue(nullptr, 3.0, 5.0), 3.0);
    EXPECT_EQ(document.BetterValue(&reversed, 3.0, 5.0), 5.0);
    EXPECT_TRUE(document.IsBetter(nullptr, 4.0, 4.0));
    document.CalcPrefs.CalcMethod = BenefitCostMethod;  // maximises
    EXPECT_EQ(document.BetterValue(nullptr, 3.0, 5.0), 5.0);
    EXPECT_TRUE(document.IsBetter(nullptr, 4.0, 4.0));
    EXPECT_FALSE(document.IsBetter(nullptr, 3.0, 4.0));
    zString weight;
    EXPECT_FALSE(document.GetMultiAttrWeight(2, weight));
    document.CalcPrefs.MultiAttrWeight[2].SetText("0.3");
    EXPECT_TRUE(document.GetMultiAttrWeight(2, weight));
    EXPECT_EQ(weight, "0.3");
}

}  // namespace
