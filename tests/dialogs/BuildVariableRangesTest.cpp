// The ranges that the correlated variables chosen for an analysis add to its range set.

#include "analysis/SensitivityRangeSet.h"
#include "analysis/VariableRange.h"
#include "dialogs/CorrelationsDialog.h"
#include "formula/CorrelationList.h"
#include "model/DocVariable.h"
#include "model/TreeDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void SetRange(DocVariable* variable, double low, double high, const char* lowText, const char* highText)
{
    variable->hasRange = 1;
    variable->low.value = low;
    variable->low.text = lowText;
    variable->high.value = high;
    variable->high.text = highText;
}

CorrelationItem* Item(std::vector<CorrelationItem>& store, const char* name, int negative)
{
    CorrelationItem item;
    item.name = name;
    item.negative = static_cast<int16_t>(negative);
    store.push_back(item);
    return &store.back();
}

TEST(BuildVariableRanges, OneRangePerChosenVariableWithARange)
{
    TreeDocument document;
    SetRange(document.EnsureVariable("up", nullptr), 1, 5, "1", "5");
    SetRange(document.EnsureVariable("Down", nullptr), 1, 5, "1.0", "5.0");
    SetRange(document.EnsureVariable("plain", nullptr), 2.5, 7, "", "");
    document.EnsureVariable("bare", nullptr);

    std::vector<CorrelationItem> store;
    store.reserve(8);
    const std::vector<CorrelationItem*> chosen = {
        Item(store, "UP", 0), Item(store, "DOWN", 1), Item(store, "BARE", 0),
        Item(store, "GONE", 0), Item(store, "PLAIN", 1),
    };
    SensitivityRangeSet set;
    set.Add(new VariableRange(zString("Main"), FormattedValue(), FormattedValue()));
    BuildVariableRanges(chosen, set, document);

    struct Row {
        const char* name;
        const char* key;
        const char* lowText;
        double low;
        const char* highText;
        double high;
    };
    // Names as the document spells them; a negative correlation runs from the high end down; a variable
    // without a range or no longer defined adds nothing; bounds without text get their values' text.
    const Row rows[] = {
        {"Main", "MAIN", "", 0, "", 0},
        {"up", "UP", "1", 1, "5", 5},
        {"Down", "DOWN", "5.0", 5, "1.0", 1},
        {"plain", "PLAIN", "7", 7, "2.5", 2.5},
    };
    ASSERT_EQ(set.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        const VariableRange* range = set.RangeAt(i);
        EXPECT_STREQ(range->name.Text(), rows[i].name) << i;
        EXPECT_STREQ(range->key.Text(), rows[i].key) << i;
        EXPECT_STREQ(range->low.text.Text(), rows[i].lowText) << i;
        EXPECT_EQ(range->low.value, rows[i].low) << i;
        EXPECT_STREQ(range->high.text.Text(), rows[i].highText) << i;
        EXPECT_EQ(range->high.value, rows[i].high) << i;
        EXPECT_EQ(range->mode, 0) << i;
    }
    // The document's variables keep their own bounds.
    EXPECT_EQ(document.FindVariable("DOWN", true)->low.value, 1.0);
    EXPECT_TRUE(document.FindVariable("PLAIN", true)->low.text.IsEmpty());
}

TEST(BuildVariableRanges, NothingChosenAddsNothing)
{
    TreeDocument document;
    SensitivityRangeSet set;
    BuildVariableRanges({}, set, document);
    EXPECT_EQ(set.Count(), 0);
    EXPECT_EQ(set.intervals, -1);
}

}  // namespace
