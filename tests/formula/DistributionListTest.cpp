// Distribution records and the document's list: Dist and DistSamp values, copies, stored forms and the
// messages of recursive and table-based records.

#include "foundation/RandomGenerator.h"
#include "formula/DistributionList.h"
#include "formula/DistributionTypes.h"
#include "formula/FormulaRef.h"
#include "formula/LookupTable.h"
#include "formula/ParseOnlyContext.h"
#include "formula/TableDirectory.h"
#include "formula/RunOutcome.h"
#include "foundation/MemoryStream.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

DistributionRecord* MakeRecord(int index, int type, std::vector<double> parameters)
{
    std::vector<double> values{static_cast<double>(type), 1.0};
    values.insert(values.end(), parameters.begin(), parameters.end());
    RunFault fault;
    auto* record = new DistributionRecord;
    record->index = index;
    record->SetDistribution(MakeDistributionFromValues(static_cast<int>(values.size()), values.data(), &fault));
    return record;
}

struct DistRow {
    const char* text;
    double value;
    int error;
};

TEST(DistributionListTest, DistInFormulas)
{
    const DistRow rows[] = {
        {"Dist(dNormal; 1; 3; 2)", 3, 0},
        {"Dist(dLinear; 1; 2; 6)", 4, 0},
        {"Dist(dGamma; 1; 6; 2)", 3, 0},
        {"Dist(dBeta; 2; 1; 3)", 0.25, 0},
        {"Dist(17; 1; 0; 3; 6)", 3, 0},
        {"Dist(dNormal; 1; 3)", 0, 19},
        {"Dist(dNormal; 1; 3; 2; 1)", 0, 19},
        {"Dist(0; 1; 3)", 0, 19},
    };
    for (const DistRow& row : rows) {
        FormulaRef ref(new ParseOnlyContext, 1, "payoff");
        const double value = ref.EvaluateText(row.text);
        EXPECT_EQ(ref.ErrorCode(), row.error) << row.text;
        if (!row.error) {
            EXPECT_DOUBLE_EQ(value, row.value) << row.text;
        }
    }
}

TEST(DistributionListTest, MakeFromValuesChecksTheCount)
{
    const double values[] = {7, 1, 0.5, 9};
    RunFault fault;
    EXPECT_EQ(MakeDistributionFromValues(4, values, &fault), nullptr);
    EXPECT_EQ(fault.Code(), OutcomeCode::DistributionDescriptionInvalid);
    fault.Clear();
    std::unique_ptr<Distribution> d(MakeDistributionFromValues(3, values, &fault));
    ASSERT_TRUE(d);
    EXPECT_DOUBLE_EQ(d->Mean(&fault), 2.0);
    EXPECT_FALSE(fault);
}

TEST(DistributionListTest, SortedInsertAndValues)
{
    DistributionList list;
    list.InsertSorted(MakeRecord(5, 1, {50, 1}));
    list.InsertSorted(MakeRecord(2, 1, {20, 1}));
    DistributionRecord* second = MakeRecord(5, 1, {51, 1});
    EXPECT_EQ(list.InsertSorted(second), 1);  // an equal index goes in front
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.RecordAt(0)->index, 2);
    EXPECT_EQ(list.FindByIndex(5), second);
    EXPECT_EQ(list.FindByIndex(9), nullptr);
    zString call;
    list.RecordAt(0)->FormatIndexCall(call);
    EXPECT_STREQ(call.Text(), "DISTSAMP(2)");
}

TEST(DistributionListTest, UnsampledRecordGivesItsExpectedValue)
{
    std::unique_ptr<DistributionRecord> record(MakeRecord(1, 7, {0.25}));
    record->sampled = 0;
    RunFault fault;
    for (int trial = 0; trial < 3; ++trial) {
        record->Sample(&fault);
        EXPECT_EQ(record->CurrentSample(&fault), 4.0);
    }
    EXPECT_FALSE(fault);
}

TEST(DistributionListTest, ClonedRecordOwnsItsOwnDistribution)
{
    DistributionList list;
    list.InsertSorted(MakeRecord(1, 2, {0, 10}));
    DistributionList copy;
    copy.Copy(list, true);
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_NE(copy.RecordAt(0)->GetDistribution(), list.RecordAt(0)->GetDistribution());
    copy.Clear();
    RunFault fault;
    EXPECT_EQ(list.RecordAt(0)->ExpectedValue(&fault), 5.0);  // still valid after the copy is gone
}

TEST(DistributionListTest, RecursiveRecordIsReported)
{
    std::unique_ptr<DistributionRecord> record(MakeRecord(3, 1, {0, 1}));
    record->busy = 1;
    MessageBoxRecorder boxes;
    RunFault fault;
    EXPECT_EQ(record->ExpectedValue(&fault), 0.0);
    EXPECT_EQ(fault.Code(), OutcomeCode::DistributionRecursive);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Distribution index 3 has a recursive parameter.");
}

TEST(DistributionListTest, TableRecordWithoutItsTable)
{
    auto* table = new TableDistribution;
    table->Parameter(0)->SetText("NoSuchTable");
    DistributionRecord record;
    record.SetDistribution(table);
    EXPECT_STREQ(record.tableKey.Text(), "NOSUCHTABLE");
    MessageBoxRecorder boxes;
    RunFault fault;
    record.Sample(&fault);
    EXPECT_EQ(fault.Code(), OutcomeCode::DistributionTableMissing);
    EXPECT_EQ(record.hasSample, 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The table \"NoSuchTable\"was not found, and cannot be used as a distribution.");
}

TEST(DistributionListTest, RecordStoredFormRoundTrip)
{
    DistributionList list;
    DistributionRecord* record = MakeRecord(12, 17, {1, 2, 6});
    record->comment = "triangle";
    record->resampleEachStage = 1;
    record->hasSample = 1;
    record->sampleValue = 2.5;
    list.InsertSorted(record);
    MemoryStream out(100);
    list.Serialize(out);
    ASSERT_FALSE(out.Failed());
    MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
    DistributionList back;
    back.Serialize(in);
    ASSERT_FALSE(in.Failed());
    ASSERT_EQ(back.Count(), 1);
    DistributionRecord* read = back.RecordAt(0);
    EXPECT_EQ(read->index, 12);
    EXPECT_EQ(read->resampleEachStage, 1);
    EXPECT_EQ(read->sampleValue, 2.5);
    EXPECT_STREQ(read->comment.Text(), "triangle");
    zString text;
    read->GetDistribution()->FormatText(text, false);
    EXPECT_STREQ(text.Text(), "Triangular; Min = 1; Likeliest = 2; Max = 6");
}

TEST(DistributionListTest, OlderStoredDistributionHoldsNumbers)
{
    // Version 3.0 (before 3.5.b2): parameters are plain numbers; the Uniform's first is a leftover.
    std::vector<uint8_t> bytes = {3, 0, 0, 2, 0, 1, 0, 3, 0};
    for (double v : {99.0, 2.0, 8.0}) {
        const uint8_t* p = reinterpret_cast<const uint8_t*>(&v);
        bytes.insert(bytes.end(), p, p + 8);
    }
    MemoryStream in(bytes.data(), static_cast<uint32_t>(bytes.size()), false);
    std::unique_ptr<Distribution> d(LoadDistribution(in));
    ASSERT_TRUE(d);
    zString text;
    d->FormatText(text, false);
    EXPECT_STREQ(text.Text(), "Uniform; Low Value = 2; High Value = 8");
    std::vector<uint8_t> unknown = {3, 5, 0, 20, 0, 1, 0, 0, 0};
    MemoryStream in2(unknown.data(), static_cast<uint32_t>(unknown.size()), false);
    EXPECT_EQ(LoadDistribution(in2), nullptr);
}

// A record's stored bytes, written as a program of that version would; distribution holds the stored form
// of the record's distribution, when it has one.
std::vector<uint8_t> RecordBytes(std::initializer_list<uint8_t> version, bool withResample, const char* tableName,
                                 const std::vector<uint8_t>& distribution = {})
{
    std::vector<uint8_t> bytes(version);
    auto number = [&bytes](uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    };
    auto text = [&](const char* chars) {
        bytes.insert(bytes.end(), version);
        number(std::strlen(chars), 4);
        bytes.insert(bytes.end(), chars, chars + std::strlen(chars));
        bytes.push_back(0);
    };
    number(7, 2);  // index
    number(1, 2);  // hasSample
    number(0, 2);
    double sample = 4.5;
    uint64_t bits = 0;
    std::memcpy(&bits, &sample, 8);
    number(bits, 8);
    number(0, 8);
    number(distribution.empty() ? 0 : 1, 2);  // has-distribution flag
    text("note");
    bytes.insert(bytes.end(), distribution.begin(), distribution.end());
    if (withResample)
        number(1, 2);
    if (tableName)
        text(tableName);
    return bytes;
}

TEST(DistributionListTest, OlderRecordFormsRead)
{
    struct Row {
        const char* what;
        std::vector<uint8_t> bytes;
        int32_t resample;
        const char* tableName;
    };
    const Row rows[] = {
        {"2.6: neither resample flag nor table", RecordBytes({2, 6, 0}, false, nullptr), 0, ""},
        {"3.0.b2: resample flag only", RecordBytes({3, 0, 0xB2}, true, nullptr), 1, ""},
        {"3.0: both", RecordBytes({3, 0, 0}, true, "Survival"), 1, "Survival"},
        {"3.5: both", RecordBytes({3, 5, 0}, true, "Rates"), 1, "Rates"},
    };
    for (const Row& row : rows) {
        std::vector<uint8_t> bytes = row.bytes;
        MemoryStream in(bytes.data(), static_cast<uint32_t>(bytes.size()), false);
        DistributionRecord record;
        record.Serialize(in);
        EXPECT_FALSE(in.Failed()) << row.what;
        EXPECT_EQ(in.Position(), bytes.size()) << row.what;
        EXPECT_EQ(record.index, 7) << row.what;
        EXPECT_EQ(record.hasSample, 1) << row.what;
        EXPECT_EQ(record.sampleValue, 4.5) << row.what;
        EXPECT_STREQ(record.comment.Text(), "note") << row.what;
        EXPECT_EQ(record.resampleEachStage, row.resample) << row.what;
        EXPECT_STREQ(record.tableName.Text(), row.tableName) << row.what;
        zString upper(row.tableName);
        upper.MakeUpper();
        EXPECT_STREQ(record.tableKey.Text(), upper.Text()) << row.what;
        EXPECT_EQ(record.GetDistribution(), nullptr) << row.what;
    }
}

// A stored distribution of version 3.0: type, variant 1, two numbers as parameters.
std::vector<uint8_t> DistributionBytes(uint8_t type)
{
    std::vector<uint8_t> bytes = {3, 0, 0, type, 0, 1, 0, 2, 0};
    for (double v : {5.0, 2.0}) {
        const uint8_t* p = reinterpret_cast<const uint8_t*>(&v);
        bytes.insert(bytes.end(), p, p + 8);
    }
    return bytes;
}

TEST(DistributionListTest, RecordNamingAnUnknownTypeIsAFormatError)
{
    const struct {
        uint8_t type;
        uint32_t formatError;
    } rows[] = {{1, 0}, {0, kDistributionFormatError}, {20, kDistributionFormatError}};
    for (const auto& row : rows) {
        std::vector<uint8_t> bytes = RecordBytes({3, 0, 0}, true, "", DistributionBytes(row.type));
        MemoryStream in(bytes.data(), static_cast<uint32_t>(bytes.size()), false);
        DistributionRecord record;
        record.Serialize(in);
        EXPECT_EQ(in.FormatError(), row.formatError) << int(row.type);
        EXPECT_EQ(record.GetDistribution() != nullptr, row.formatError == 0) << int(row.type);
    }
}

TEST(DistributionListTest, FailedArchiveStopsTheRecord)
{
    std::vector<uint8_t> bytes = RecordBytes({3, 5, 0}, true, "Rates");
    MemoryStream in(bytes.data(), static_cast<uint32_t>(bytes.size()), false);
    in.SetFormatError(30);
    DistributionRecord record;
    record.Serialize(in);
    EXPECT_EQ(in.Position(), 0u);
    EXPECT_EQ(record.index, 0);

    // A stream that ends inside the record leaves it failed without reading past the end.
    for (size_t cut : {size_t(5), size_t(20), bytes.size() - 3}) {
        std::vector<uint8_t> shortBytes(bytes.begin(), bytes.begin() + static_cast<long>(cut));
        MemoryStream partial(shortBytes.data(), static_cast<uint32_t>(shortBytes.size()), false);
        DistributionRecord cutRecord;
        cutRecord.Serialize(partial);
        EXPECT_TRUE(partial.Failed()) << cut;
        EXPECT_LE(partial.Position(), shortBytes.size()) << cut;
    }
}

TEST(DistributionListTest, ResampleEachStageDrawsOnlyMarkedRecords)
{
    DistributionList list;
    DistributionRecord* marked = MakeRecord(1, 2, {0, 1});
    marked->resampleEachStage = 1;
    DistributionRecord* unmarked = MakeRecord(2, 2, {0, 1});
    list.InsertSorted(marked);
    list.InsertSorted(unmarked);
    auto* broken = new DistributionRecord;  // marked, but without a distribution
    broken->index = 3;
    broken->resampleEachStage = 1;
    list.InsertSorted(broken);
    SeedRandom(11);
    RunFault fault;
    EXPECT_EQ(list.ResampleEachStage(&fault), 2);
    EXPECT_EQ(fault.Code(), OutcomeCode::DistributionUndefined);
    EXPECT_EQ(marked->hasSample, 1);
    EXPECT_EQ(unmarked->hasSample, 0);
    EXPECT_EQ(broken->hasSample, 0);
}

TEST(DistributionListTest, RangeAroundMean)
{
    struct Row {
        double kLow;
        double kHigh;
        double lo;
        double hi;
    };
    // Normal (10, 2).
    const Row rows[] = {{1, 2, 8, 14}, {3, -1, 4, 16}, {0, 0, 10, 10}};
    for (const Row& row : rows) {
        std::unique_ptr<DistributionRecord> record(MakeRecord(1, 1, {10, 2}));
        double lo = 0;
        double hi = 0;
        RunFault fault;
        record->GetDistribution()->RangeAroundMean(lo, hi, &fault, row.kLow, row.kHigh);
        EXPECT_DOUBLE_EQ(lo, row.lo) << row.kLow << " " << row.kHigh;
        EXPECT_DOUBLE_EQ(hi, row.hi) << row.kLow << " " << row.kHigh;
        EXPECT_FALSE(record->GetDistribution()->UsesCache());
    }
}

TEST(DistributionListTest, ParameterFormulaErrorNamesTheArgument)
{
    std::unique_ptr<Distribution> d(MakeDistribution(1));
    d->Parameter(1)->SetText("1/0");
    MessageBoxRecorder boxes;
    RunFault fault;
    EXPECT_EQ(d->Density(0, &fault), 0.0);
    EXPECT_EQ(fault.Code(), OutcomeCode::FormulaFailed);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_NE(boxes.Last().text.find("argument \"Std Dev\" of Normal distribution"), std::string::npos)
        << boxes.Last().text;
}

}  // namespace
