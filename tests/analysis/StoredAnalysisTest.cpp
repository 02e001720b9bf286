// Stored analyses: the record through the archive in the current and older forms, lookup, copies, kinds.

#include "analysis/MarkovAnalysis.h"
#include "analysis/StoredAnalysisKinds.h"
#include "model/StoredAnalysis.h"
#include "model/StoredAnalysisList.h"
#include "foundation/MemoryStream.h"
#include "foundation/StoredString.h"
#include "model/GraphTemplate.h"
#include "tests/analysis/MarkovTestTrees.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

StoredAnalysis* MakeRecord(const char* name, int kind, std::vector<const char*> parameters)
{
    StoredAnalysis* record = StoredAnalysis::New();
    record->name = name;
    record->kind = kind;
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

TEST(StoredAnalysisArchive, EveryFieldRoundTrips)
{
    StoredAnalysisList list;
    StoredAnalysis* full = MakeRecord("Markov run", MarkovCohortKind, {"@0,", "1", "2", "3", "1", "30"});
    full->comment = "checked by hand";
    full->version.SetFromKey(KnownVersion::k3_0_Build4);
    full->templateAllowed = 1;
    full->graphTemplate = new GraphTemplate;
    full->graphTemplate->description = "Wide";
    full->graphTemplate->width = 6.5f;
    full->graphTemplate->title = "Survival";
    full->graphTemplate->flags[0] = 1;
    full->graphTemplate->extraBytes = {1, 2, 3};
    list.Add(full);
    list.Add(MakeRecord("plain", RollBackKind, {}));
    MemoryStream out(100);
    list.Serialize(out);

    MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
    StoredAnalysisList back;
    back.Serialize(in);
    ASSERT_FALSE(in.Failed());
    EXPECT_EQ(in.Position(), out.Position());
    ASSERT_EQ(back.Count(), 2);
    const StoredAnalysis& record = *back.At(0);
    EXPECT_STREQ(record.name.Text(), "Markov run");
    EXPECT_EQ(record.kind, MarkovCohortKind);
    EXPECT_EQ(Parameters(record), (std::vector<std::string>{"@0,", "1", "2", "3", "1", "30"}));
    EXPECT_EQ(record.version.Key(), KnownVersion::k3_0_Build4);
    EXPECT_STREQ(record.comment.Text(), "checked by hand");
    EXPECT_EQ(record.templateAllowed, 1);
    ASSERT_NE(record.graphTemplate, nullptr);
    EXPECT_STREQ(record.graphTemplate->description.Text(), "Wide");
    EXPECT_EQ(record.graphTemplate->width, 6.5f);
    EXPECT_STREQ(record.graphTemplate->title.Text(), "Survival");
    EXPECT_EQ(record.graphTemplate->flags[0], 1);
    EXPECT_EQ(record.graphTemplate->extraBytes, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(back.At(1)->graphTemplate, nullptr);
    EXPECT_EQ(back.At(1)->next, nullptr);
}

// Older files: 2.5 holds the name in the string's short form and nothing after the parameters; 3.0 beta 2
// adds the settings version and the comment but no template fields.
TEST(StoredAnalysisArchive, OlderFileForms)
{
    struct Case {
        int32_t fileVersion;
        bool shortName;
        bool hasSettingsVersion;
        bool hasComment;
        int32_t expectedSettingsVersion;
        const char* expectedComment;
    };
    const Case cases[] = {
        {KnownVersion::k2_5, true, false, false, KnownVersion::k2_5, ""},
        {KnownVersion::k2_6_Beta5, false, false, false, KnownVersion::k2_5, ""},
        {KnownVersion::k3_0_Beta2, false, true, true, KnownVersion::k3_0_Build4, "old note"},
    };
    for (const Case& row : cases) {
        MemoryStream out(100);
        VersionRecord version;
        version.SetFromKey(row.fileVersion);
        version.Serialize(out);
        out.WriteShort(ThresholdKind);
        zString name("Threshold");
        if (row.shortName)
            name.Serialize(out);
        else
            StoreString(out, name);
        StoredNameList parameters(2, true);
        parameters.AddText("p");
        parameters.AddText("0.25");
        parameters.Serialize(out);
        if (row.hasSettingsVersion) {
            VersionRecord settings;
            settings.SetFromKey(KnownVersion::k3_0_Build4);
            settings.Serialize(out);
        }
        if (row.hasComment)
            StoreString(out, "old note");

        MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
        StoredAnalysis* record = StoredAnalysis::New();
        StoredAnalysisList::Serialize(*record, in);
        EXPECT_FALSE(in.Failed());
        EXPECT_EQ(in.Position(), out.Position()) << std::hex << row.fileVersion;
        EXPECT_STREQ(record->name.Text(), "Threshold");
        EXPECT_EQ(record->kind, ThresholdKind);
        EXPECT_EQ(Parameters(*record), (std::vector<std::string>{"p", "0.25"}));
        EXPECT_EQ(record->version.Key(), row.expectedSettingsVersion);
        EXPECT_STREQ(record->comment.Text(), row.expectedComment);
        EXPECT_EQ(record->templateAllowed, 0);
        EXPECT_EQ(record->graphTemplate, nullptr);
        StoredAnalysis::Delete(record);
    }
}

TEST(StoredAnalysisArchive, TruncatedRecordFailsWithoutTemplate)
{
    StoredAnalysis* record = MakeRecord("cut", RollBackKind, {"a"});
    record->graphTemplate = new GraphTemplate;
    MemoryStream out(100);
    StoredAnalysisList::Serialize(*record, out);
    MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position() - 20, false);
    StoredAnalysis* back = StoredAnalysis::New();
    StoredAnalysisList::Serialize(*back, in);
    EXPECT_TRUE(in.Failed());
    StoredAnalysis::Delete(back);
    StoredAnalysis::Delete(record);
}

TEST(StoredAnalysisList, LookupIgnoresCaseAndClonesOwnTheirData)
{
    TreeBuilder tree;
    StoredAnalysisList& list = tree.Document().StoredAnalyses();
    list.Add(MakeRecord("Base Case", RollBackKind, {"x"}));
    list.Add(MakeRecord("Sweep", ThresholdKind, {"y"}));
    EXPECT_EQ(tree.Document().FindStoredAnalysis("base case"), list.At(0));
    EXPECT_EQ(tree.Document().FindStoredAnalysis("SWEEP"), list.At(1));
    EXPECT_EQ(tree.Document().FindStoredAnalysis("Sweeps"), nullptr);

    list.At(0)->graphTemplate = new GraphTemplate;
    list.At(0)->graphTemplate->title = "kept";
    StoredAnalysisList copy;
    copy.Copy(list, true);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_NE(copy.At(0)->parameters, list.At(0)->parameters);
    EXPECT_NE(copy.At(0)->graphTemplate, list.At(0)->graphTemplate);
    EXPECT_STREQ(copy.At(0)->graphTemplate->title.Text(), "kept");
    list.Clear();  // the copies stay whole after their sources are freed
    EXPECT_EQ(Parameters(*copy.At(0)), (std::vector<std::string>{"x"}));
    EXPECT_STREQ(copy.At(0)->graphTemplate->title.Text(), "kept");
}

TEST(StoredAnalysisKinds, RetiredAndUnknownKinds)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    StoredAnalysis* record = MakeRecord("old", ObsoleteKind, {});
    RunStoredAnalysis(record, &tree.Document());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "That analysis is no longer supported.");
    record->kind = 77;
    zString description("unchanged");
    RunStoredAnalysis(record, &tree.Document());
    DescribeStoredAnalysis(&tree.Document(), record, description);
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_STREQ(description.Text(), "unchanged");
    StoredAnalysis::Delete(record);
}

TEST(StoredMarkovRecord, ReadDescribeAndRefuse)
{
    MarkovTestTree model;
    model.State(TerminalNode, "Alive", "1", "0", "1", "0");
    TreeDocument& document = model.Document();
    struct Case {
        std::vector<const char*> parameters;
        bool valid;
        const char* description;
    };
    const Case cases[] = {
        {{"@0,", "2", "5", "1", "1", "30"}, true, "Markov Per-Stage Rewards\r\n at node Cohort"},
        {{"@0,", "4", "1", "0"}, true, "Markov Reward Per State\r\n at node Cohort"},
        {{"@0,", "2", "0", "0"}, false, "Markov Per-Stage Rewards\r\n at node "},  // stage step 0
        {{"@0,0,", "1", "1", "0"}, false, "Markov Probability Analysis\r\n at node "},  // not a Markov node
        {{"@3,", "12", "1", "0"}, false, "\r\n at node "},                          // no such node
    };
    for (const Case& row : cases) {
        StoredAnalysis* record = MakeRecord("m", MarkovCohortKind, row.parameters);
        MarkovGraphRequest request;
        TreeNode* node = nullptr;
        EXPECT_EQ(ReadMarkovRequest(&document, record, request, &node), row.valid) << row.description;
        zString text;
        DescribeStoredAnalysis(&document, record, text);
        EXPECT_STREQ(text.Text(), row.description);
        StoredAnalysis::Delete(record);
    }
    MarkovGraphRequest request;
    request.reportKind = 3;
    request.stageStep = 2;
    request.firstStage = 4;
    StoredAnalysis* record = MakeMarkovRecord(model.markov, request);
    MarkovGraphRequest back;
    TreeNode* node = nullptr;
    ASSERT_TRUE(ReadMarkovRequest(&document, record, back, &node));
    EXPECT_EQ(node, model.markov);
    EXPECT_EQ(back.reportKind, 3);
    EXPECT_EQ(back.stageStep, 2);
    EXPECT_EQ(back.firstStage, 4);
    EXPECT_EQ(back.settingA, 1);
    EXPECT_EQ(back.settingB, 30);
    StoredAnalysis::Delete(record);
}

}  // namespace

TEST(StoredAnalysisKinds, OneWaySensitivityDescription)
{
    TreeBuilder tree;
    tree.Root()->SetText("Choose", false);
    StoredAnalysis* record = MakeRecord("", OneWaySensitivityKind, {"", "p", "0", "1", "4", "1"});
    zString text;
    DescribeStoredAnalysis(&tree.Document(), record, text);
    EXPECT_STREQ(text.Text(), "Sensitivity Analysis on p\r\nAt Node \"Choose\"\r\nLow = 0\r\nHigh = 1\r\n4 Intervals, Cost-Eff");
    StoredAnalysis::Delete(record);
}
