// A table's pairs as text: writing them and pasting them back, with the duplicate-index question.

#include "dialogs/PasteTableDialog.h"
#include "formula/LookupTable.h"
#include "formula/RunOutcome.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<double, double>> Pairs(LookupTable& table)
{
    std::vector<std::pair<double, double>> pairs;
    for (int i = 0; i < table.EntryCount(); ++i) {
        double index = 0;
        double value = 0;
        table.GetEntry(i, index, value);
        pairs.emplace_back(index, value);
    }
    return pairs;
}

LookupTable MakeTable(std::initializer_list<std::pair<double, double>> pairs)
{
    LookupTable table;
    table.SetLoaded(true);
    for (const auto& pair : pairs)
        table.SetEntry(pair.first, pair.second);
    return table;
}

TEST(TableTextTest, WritesOneLinePerPair)
{
    LookupTable table = MakeTable({{2, 0.125}, {-1, 1500}, {3.5, -2}});
    zString text;
    table.ToText(text);
    EXPECT_STREQ(text.Text(), "-1\t1500\r\n2\t0.125\r\n3.5\t-2\r\n");
    LookupTable empty = MakeTable({});
    empty.ToText(text);
    EXPECT_STREQ(text.Text(), "");
}

TEST(TableTextTest, TextReadsBackEqual)
{
    LookupTable table = MakeTable({{0.1, 1.0 / 3}, {7, 123456.789}, {12.25, -0.000001}});
    zString text;
    table.ToText(text);
    LookupTable copy = MakeTable({{99, 99}});
    copy.PasteText(text.Text(), true);
    const auto original = Pairs(table);
    const auto pasted = Pairs(copy);
    ASSERT_EQ(pasted.size(), original.size());
    for (size_t i = 0; i < original.size(); ++i) {
        EXPECT_NEAR(pasted[i].first, original[i].first, 1e-9);
        EXPECT_NEAR(pasted[i].second, original[i].second, 1e-9 * (1 + std::abs(original[i].second)));
    }
}

TEST(TableTextTest, PastingStopsAtTheFirstLineThatIsNotAPair)
{
    struct Row {
        const char* text;
        std::vector<std::pair<double, double>> expected;
    };
    const Row rows[] = {
        {"1\t10\n2\t20", {{1, 10}, {2, 20}}},
        {"1\t10\r\n\r\n\n2\t20\r", {{1, 10}, {2, 20}}},
        {"1\t10\nno tab here\n2\t20", {{1, 10}}},
        {"1\t10\nx\t5\n2\t20", {{1, 10}}},
        {"1\tten\n2\t20", {}},
        {"", {}},
    };
    for (const Row& row : rows) {
        LookupTable table = MakeTable({});
        table.PasteText(row.text, true);
        EXPECT_EQ(Pairs(table), row.expected) << row.text;
        EXPECT_TRUE(table.IsLoaded());
    }
}

TEST(TableTextTest, DuplicatesAskOnceAndTheAnswerHolds)
{
    struct Row {
        PasteTableDialog::Choice choice;
        std::vector<std::pair<double, double>> expected;
    };
    const Row rows[] = {
        {PasteTableDialog::KeepLast, {{1, 11}, {2, 22}, {3, 30}}},
        {PasteTableDialog::KeepFirst, {{1, 10}, {2, 20}, {3, 30}}},
        {PasteTableDialog::SumEntries, {{1, 21}, {2, 42}, {3, 30}}},
        {PasteTableDialog::Cancel, {{1, 10}, {2, 20}}},
    };
    for (const Row& row : rows) {
        int asked = 0;
        auto previous = PasteTableDialog::SetPresenter([&] {
            ++asked;
            return row.choice;
        });
        LookupTable table = MakeTable({{1, 10}, {2, 20}});
        EXPECT_EQ(table.PasteText("1\t11\n3\t30\n2\t22\n", false), row.choice != PasteTableDialog::Cancel);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(Pairs(table), row.expected) << row.choice;
        PasteTableDialog::SetPresenter(previous);
    }
}

TEST(TableTextTest, PastingClearsTheLookupCache)
{
    LookupTable table = MakeTable({{1, 10}, {3, 30}});
    RunFault fault;
    EXPECT_EQ(table.Lookup(2, &fault), 20);
    table.PasteText("2\t100\n", false);
    EXPECT_EQ(table.Lookup(2, &fault), 100);
    table.PasteText("1\t5\n", true);
    EXPECT_EQ(table.Lookup(2, &fault), 5);
    EXPECT_FALSE(fault);
}

}  // namespace
