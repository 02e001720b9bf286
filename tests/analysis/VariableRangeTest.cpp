// Variable ranges and range sets: construction and the archive form.

#include "analysis/SensitivityRangeSet.h"
#include "analysis/VariableRange.h"
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
