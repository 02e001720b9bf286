#include "model/DecimalConversion.h"

#include "formula/Distribution.h"
#include "formula/DistributionRecord.h"
#include "foundation/zString.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <gtest/gtest.h>

namespace {

// Only number literals change: never names, argument separators or quoted texts.
TEST(DecimalConversion, OnlyNumberLiteralsChange)
{
    struct Case {
        const char* text;
        char from, to;
        const char* expected;
    } cases[] = {
        {"1,5*2", ',', '.', "1.5*2"},
        {"MAX(1, 2;3,25)", ',', '.', "MAX(1, 2;3.25)"},
        {"X1,5+A_2,5", ',', '.', "X1,5+A_2,5"},
        {"IF(A=\"1,5\";10,5;0)", ',', '.', "IF(A=\"1,5\";10.5;0)"},
        {"0.25+.5", '.', ',', "0,25+.5"},
        {"1,", ',', '.', "1,"},
    };
    for (const Case& c : cases) {
        zString text(c.text);
        EXPECT_EQ(ChangeLiteralDecimals(text, c.from, c.to), std::string(c.text) != c.expected) << c.text;
        EXPECT_STREQ(text.Text(), c.expected);
    }
}

// The document's own formulas change with the tree's.
TEST(DecimalConversion, EveryFormulaOfTheDocument)
{
    TreeDocument document;
    document.AddChild(document.Root, TerminalNode, "End", "", "2,5");
    auto* record = new DistributionRecord;
    record->index = 1;
    record->SetDistribution(MakeDistribution(1));
    record->GetDistribution()->Parameter(0)->SetText("0,5");
    document.Distributions.InsertSorted(record);
    document.CalcPrefs.MultiAttrWeight[1].SetText("0,25");
    document.CESettings.costCeiling.SetText("1000,5");
    EXPECT_EQ(ChangeTreeDecimals(document, ',', '.', nullptr).changed, 4);
    EXPECT_STREQ(document.Root->GetChild(0)->Payoff(0).Text().Text(), "2.5");
    EXPECT_STREQ(record->GetDistribution()->Parameter(0)->Text().Text(), "0.5");
    EXPECT_STREQ(document.CalcPrefs.MultiAttrWeight[1].Text().Text(), "0.25");
    EXPECT_STREQ(document.CESettings.costCeiling.Text().Text(), "1000.5");
}

} // namespace
