// Variables named by stored analyses: where each kind keeps them, renaming, and running a record whose
// variable was deleted.

#include "model/StoredAnalysis.h"
#include "analysis/StoredAnalysisKinds.h"
#include "model/StoredAnalysisList.h"
#include "model/StoredAnalysisVariables.h"
#include "model/DocumentVariableOps.h"
#include "tests/support/MessageBoxRecorder.h"
#include "model/TreeDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace KnownVersion;

StoredAnalysis* MakeRecord(int kind, int32_t versionKey, std::vector<const char*> parameters)
{
    StoredAnalysis* record = StoredAnalysis::New();
    record->kind = kind;
    record->version.SetFromKey(versionKey);
    for (const char* text : parameters)
        record->parameters->AddText(text);
    return record;
}

std::vector<std::string> Parameters(const StoredAnalysis& record)
{
    std::vector<std::string> out;
    for (int i = 0; i < record.parameters->Count(); ++i)
        out.push_back(record.parameters->At(i)->Text());
    return out;
}

const int32_t kCurrent = VersionRecord().Key();

// One-way: path, name, low, high, intervals, cost-effectiveness flag, bindings (a node that happens to be
// named "p", then the risk coefficient entry), correlated ranges q and r, then the flags.
const std::vector<const char*> kOneWay = {"@0,", "p", "0", "1", "4", "0", "2", "@0,", "p", "$$ Risk Pref $$",
                                          "3", "q", "1", "2", "1", "@", "root", "r", "5", "1", "0",
                                          "1", "0", "0", "0"};
// Tornado: bar "Costs" with ranges c1 and c2, bar "p" with range p (bound at a node named "p").
const std::vector<const char*> kTornado = {"@", "4", "2", "Costs", "2", "c1", "0", "1", "0", "c2", "5", "6",
                                           "0", "p", "1", "p", "0", "1", "1", "@0,", "p", "1", "0", "0"};

struct NameItemsCase {
    const char* label;
    int kind;
    int32_t version;
    std::vector<const char*> parameters;
    std::vector<int> variables;
    std::vector<int> bars;
};

TEST(StoredAnalysisVariables, NameItemsByKindAndVersion)
{
    const NameItemsCase cases[] = {
        {"one-way", OneWaySensitivityKind, kCurrent, kOneWay, {1, 11, 17}, {}},
        {"one-way 3.0 beta 2: no flag, no correlated ranges", OneWaySensitivityKind, k3_0_Beta2,
         {"@0,", "p", "0", "1", "4", "1", "@0,", "p", "1"}, {1}, {}},
        {"one-way cut short", OneWaySensitivityKind, kCurrent, {"@0,", "p"}, {1}, {}},
        {"two-way", TwoWaySensitivityKind, kCurrent,
         {"@", "x", "y", "0", "1", "2", "3", "4", "5", "1", "@0,", "x", "0", "2", "z", "7", "8", "0", "1", "1"},
         {1, 2, 14}, {}},
        {"two-way 3.0: no correlated ranges", TwoWaySensitivityKind, k3_0_Build4,
         {"@", "x", "y", "0", "1", "2", "3", "4", "5", "0", "0", "1"}, {1, 2}, {}},
        {"three-way", ThreeWaySensitivityKind, kCurrent,
         {"@", "x", "y", "w", "0", "1", "2", "3", "4", "5", "2", "2", "2", "0", "0", "0", "2", "v", "0", "1", "0",
          "1", "1", "1"},
         {1, 2, 3, 17}, {}},
        {"tornado", TornadoKind, kCurrent, kTornado, {5, 9, 15}, {3, 13}},
        {"tornado 3.0: variable, bar name, low, high, bindings", TornadoKind, k3_0_Build4,
         {"@", "4", "1", "p", "p bar", "0", "1", "1", "@0,", "p", "1", "0", "0"}, {3}, {4}},
        {"tornado 3.0 beta 2: no bar name", TornadoKind, k3_0_Beta2, {"@", "4", "1", "p", "0", "1", "0"}, {3}, {}},
        {"roll back", RollBackKind, kCurrent, {"p"}, {}, {}},
        {"Markov", MarkovCohortKind, kCurrent, {"@0,", "1", "2", "3", "1", "30"}, {}, {}},
        {"node values", NodeValuesKind, kCurrent, {"1605", "1", "@0,"}, {}, {}},
    };
    for (const NameItemsCase& row : cases) {
        StoredAnalysis* record = MakeRecord(row.kind, row.version, row.parameters);
        std::vector<StoredNameItem> items;
        ListStoredNameItems(*record, items);
        std::vector<int> variables;
        std::vector<int> bars;
        for (const StoredNameItem& item : items)
            (item.isBarName ? bars : variables).push_back(item.index);
        EXPECT_EQ(variables, row.variables) << row.label;
        EXPECT_EQ(bars, row.bars) << row.label;
        StoredAnalysis::Delete(record);
    }
}

TEST(StoredAnalysisVariables, RenameReachesLastAndStoredRecords)
{
    TreeDocument document;
    document.EnsureVariable("p", nullptr);
    document.EnsureVariable("Risk", nullptr);
    document.SetStoredAnalysis(MakeRecord(OneWaySensitivityKind, kCurrent, kOneWay));
    StoredAnalysis* tornado = MakeRecord(TornadoKind, kCurrent, kTornado);
    document.StoredAnalyses().Add(tornado);
    StoredAnalysis* coefficient = MakeRecord(OneWaySensitivityKind, kCurrent,
                                             {"@0,", "Risk Preference Coeff.", "0", "1", "4", "0", "1",
                                              "$$ Risk Pref $$", "1", "1", "1", "0", "1"});
    document.StoredAnalyses().Add(coefficient);
    StoredAnalysis* groupBar = MakeRecord(TornadoKind, kCurrent, {"@", "4", "1", "p group", "1", "p", "0", "1",
                                                                  "0", "1", "0", "0"});
    document.StoredAnalyses().Add(groupBar);

    RenameVariable(document, "P", "Zed");
    RenameVariable(document, "risk", "Danger");

    std::vector<std::string> oneWay(kOneWay.begin(), kOneWay.end());
    oneWay[1] = "Zed";  // the node named "p" in the bindings (item 8) keeps its text
    EXPECT_EQ(Parameters(*document.LastAnalysis), oneWay);
    std::vector<std::string> bars(kTornado.begin(), kTornado.end());
    bars[13] = "Zed";  // the bar named after the variable
    bars[15] = "Zed";
    EXPECT_EQ(Parameters(*tornado), bars);
    EXPECT_EQ(Parameters(*coefficient)[1], "Risk Preference Coeff.");
    EXPECT_EQ(Parameters(*groupBar)[3], "p group");
    EXPECT_EQ(Parameters(*groupBar)[5], "Zed");
    // A name the records do not hold changes nothing.
    EXPECT_EQ(RenameVariableInStoredAnalysis(*tornado, "c", "d"), 0);
}

int runs = 0;
void CountRun(StoredAnalysis*, TreeDocument*) { ++runs; }

TEST(StoredAnalysisVariables, RunningARecordOfADeletedVariable)
{
    const StoredAnalysisHandlers saved = StoredAnalysisKindHandlers(OneWaySensitivityKind);
    RegisterStoredAnalysisKind(OneWaySensitivityKind, CountRun, nullptr);
    TreeDocument document;
    for (const char* name : {"p", "q", "r"})
        document.EnsureVariable(name, nullptr);
    StoredAnalysis* record = MakeRecord(OneWaySensitivityKind, kCurrent, kOneWay);
    StoredAnalysis* successor = MakeRecord(OneWaySensitivityKind, kCurrent, kOneWay);
    document.StoredAnalyses().Add(record);
    document.StoredAnalyses().Add(successor);
    StoredAnalysis* coefficient = MakeRecord(OneWaySensitivityKind, kCurrent,
                                             {"@0,", "risk preference coeff.", "0", "1", "4", "0", "1",
                                              "$$ Risk Pref $$", "1", "1", "1", "0", "1"});
    document.StoredAnalyses().Add(coefficient);

    MessageBoxRecorder boxes;
    runs = 0;
    RunStoredAnalysis(record, &document);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(boxes.Count(), 0u);

    struct Row {
        const char* deleted;
        const char* message;
    };
    // The main variable first, then a correlated one: the record stays and names what is missing.
    const Row rows[] = {
        {"R", "The variable \"r\" has no definitions."},
        {"p", "The variable \"p\" has no definitions."},
    };
    for (const Row& row : rows) {
        DeleteVariable(document, row.deleted);
        boxes.Clear();
        runs = 0;
        record->next = successor;
        RunStoredAnalysis(record, &document);
        EXPECT_EQ(runs, 0) << row.deleted;
        EXPECT_EQ(record->next, nullptr) << row.deleted;  // the stopped chain leaves no link behind
        ASSERT_EQ(boxes.Count(), 1u) << row.deleted;
        EXPECT_EQ(boxes.Last().caption, "Sensitivity Error");
        EXPECT_EQ(boxes.Last().text, row.message);
        EXPECT_EQ(Parameters(*record), std::vector<std::string>(kOneWay.begin(), kOneWay.end()));
        EXPECT_EQ(document.StoredAnalyses().Count(), 3);
    }
    // The risk preference coefficient is no document variable.
    boxes.Clear();
    runs = 0;
    RunStoredAnalysis(coefficient, &document);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(boxes.Count(), 0u);
    RegisterStoredAnalysisKind(OneWaySensitivityKind, saved.run, saved.describe);
}

}  // namespace
