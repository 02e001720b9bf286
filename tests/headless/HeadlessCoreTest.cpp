// The computing core without any window library: this program links only foundation, formula, model and
// analysis. A tree with document variables, a distribution and a Markov node is built, rolled back and its
// cohort run; the values are worked out by hand below.

#include "analysis/CEPoint.h"
#include "analysis/MarkovCohort.h"
#include "analysis/OneWaySensitivityAnalysis.h"
#include "analysis/RollBack.h"
#include "analysis/StoredAnalysisKinds.h"
#include "analysis/TreeEngines.h"
#include "foundation/Host.h"
#include "formula/Distribution.h"
#include "formula/DistributionList.h"
#include "formula/DistributionRecord.h"
#include "formula/DistributionTypes.h"
#include "model/StoredAnalysis.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "tests/analysis/MarkovTestTrees.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// Distribution 1: a uniform on [2, 4], mean 3.
void AddUniform(TreeDocument& document)
{
    AddUniform(document, 1, "2", "4");
}

// Decision: "Treat" leads to the Markov cohort Well/Dead (death q per cycle, reward "gain" per cycle in
// Well, 10 cycles), "Wait" pays DistSamp(1) (its mean while not sampling) times "scale".
// Cohort by hand: sum over k = 1..9 of gain (1 - q)^k (no reward in the first and last cycle as set up).
TEST(HeadlessCore, RollsBackATreeWithVariablesADistributionAndAMarkovNode)
{
    MarkovTestTree model("_stage >= 10");
    TreeDocument& document = model.Document();
    model.tree.Bind(model.tree.Root(), "q", "0.1");
    model.tree.Bind(model.tree.Root(), "gain", "2");
    model.tree.Bind(model.tree.Root(), "scale", "4");
    AddUniform(document);
    model.markov->SetText("Treat", false);
    model.WellDead("q", "0", "0", "gain");
    model.tree.Terminal(model.tree.Root(), "Wait", "", "DistSamp(1) * scale");

    double cohort = 0.0;
    for (int k = 1; k <= 9; ++k)
        cohort += 2.0 * std::pow(0.9, k);

    RunFault error;
    EXPECT_NEAR(EvaluateMarkovNode(model.markov, &error, 0, nullptr), cohort, 1e-9);
    EXPECT_FALSE(error);
    EXPECT_NEAR(model.well->markovInfo->probability, std::pow(0.9, 10), 1e-12);

    error.Clear();
    const double best = RollBackTree(document.Root, &error, RollBackSilent);
    EXPECT_FALSE(error);
    EXPECT_NEAR(best, std::max(cohort, 12.0), 1e-9);
}

// Counts the message boxes that reach the host.
class CountingHost : public Host {
public:
    int PresentMessage(const MessageBoxRequest& request) override
    {
        ++messages;
        return Host::PresentMessage(request);
    }
    int messages = 0;
};

// Root: "Treat" is a chance node, 0.3 of 10 and the rest of 0 (3 by hand); "Wait" pays "w". With w = 2
// Treat is best; with w undefined the roll back fails and tells why, showing nothing itself.
TEST(HeadlessCore, RollBackDocumentGivesTheRootValuesOrTheError)
{
    TreeDocument document;
    TreeNode* treat = document.AddChild(document.Root, ChanceNode, "Treat");
    document.AddChild(treat, TerminalNode, "better", "0.3", "10");
    document.AddChild(treat, TerminalNode, "same", "#", "0");
    TreeNode* wait = document.AddChild(document.Root, TerminalNode, "Wait", nullptr, "w");  // no probability text
    document.EnsureVariable("w", nullptr);

    CountingHost host;
    Host* previous = SetHost(&host);
    const RollBackResult failed = RollBackDocument(document);
    SetHost(previous);
    EXPECT_NE(failed.status, 0);
    EXPECT_FALSE(document.ValuesCurrent());
    EXPECT_EQ(failed.outcome.code, OutcomeCode::FormulaFailed);
    EXPECT_EQ(failed.outcome.node, wait);
    EXPECT_GT(failed.outcome.text.Length(), 0);
    EXPECT_EQ(host.messages, 0);

    wait->SetBinding("w", "2", false);
    const RollBackResult result = RollBackDocument(document);
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(document.ValuesCurrent());
    EXPECT_NEAR(result.root.value, 3.0, 1e-12);
    EXPECT_FALSE(result.outcome.Failed());
}

// Well/Dead with death 0.5 per cycle, reward 1 per cycle in Well, ending at stage 3: by hand the rows
// carry stage rewards 0, 0.5, 0.25 and a last row of 0, Well's share halving each cycle.
TEST(HeadlessCore, RunMarkovCohortAtGivesTheStageRowsAndTotals)
{
    MarkovTestTree model("_stage >= 3");
    model.WellDead("0.5");
    const MarkovCohortResult result = RunMarkovCohortAt(model.Document(), model.markov);
    ASSERT_EQ(result.status, 0);
    const double stages[] = {0.0, 0.5, 0.25, 0.0};
    ASSERT_EQ(result.stages.size(), 4u);
    double total = 0.0;
    for (size_t r = 0; r < result.stages.size(); ++r) {
        total += stages[r];
        EXPECT_NEAR(result.stages[r].stage.value, stages[r], 1e-12) << r;
        EXPECT_NEAR(result.stages[r].total.value, total, 1e-12) << r;
        ASSERT_EQ(result.stages[r].states.size(), 2u);
        EXPECT_NEAR(result.stages[r].states[0].probability, std::pow(0.5, r), 1e-12) << r;
    }
    EXPECT_NEAR(result.total.value, 0.75, 1e-12);
}

// Strategies (cost, effectiveness): A (10, 1), B (20, 1) dominated by A, C (40, 3) at 30 / 2 = 15 per unit
// over A, D (100, 4) at 60 over C. A willingness to pay of 0 recommends the most effective, D.
TEST(HeadlessCore, CostEffectivenessFrontierGivesDominanceRatiosAndTheChoice)
{
    TreeDocument document;
    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    const char* strategies[][3] = {{"D", "100", "4"}, {"B", "20", "1"}, {"A", "10", "1"}, {"C", "40", "3"}};
    for (const auto& s : strategies)
        document.AddChild(document.Root, TerminalNode, s[0], "", s[1])->SetPayoffText(s[2], 1, false);
    const CEFrontierResult result = CostEffectivenessFrontier(document, document.Root);
    ASSERT_EQ(result.status, 0);
    ASSERT_EQ(result.points.size(), 4u);
    const int children[] = {2, 1, 3, 0};
    const int states[] = {CEPoint::Undominated, CEPoint::Dominated, CEPoint::Undominated, CEPoint::Undominated};
    const double ratios[] = {kNoRatio, kNoRatio, 15.0, 60.0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(result.points[i].strategyIndex, children[i]) << i;
        EXPECT_EQ(result.points[i].state, states[i]) << i;
        EXPECT_NEAR(result.points[i].ratio, ratios[i], 1e-9) << i;
    }
    EXPECT_EQ(result.recommended, 0);
}

// The same words from two failures: a stored one-way analysis whose variable was deleted, and a new one on
// a variable defined nowhere. What reaches the presenter tells them apart by code.
TEST(HeadlessCore, FailuresWithTheSameWordsDifferByCode)
{
    TreeDocument document;
    document.AddChild(document.Root, TerminalNode, "A", nullptr, "1");
    std::vector<RunOutcome> presented;
    OutcomePresenter previous = SetOutcomePresenter([&](const RunOutcome& outcome) { presented.push_back(outcome); });

    StoredAnalysis* record = StoredAnalysis::New();
    record->kind = OneWaySensitivityKind;
    record->version.SetFromKey(KnownVersion::k3_0_Beta2);
    for (const char* text : {"@0,", "r", "0", "1", "4", "1", "@0,", "r", "1"})
        record->parameters->AddText(text);
    RunStoredAnalysis(record, &document);
    StoredAnalysis::Delete(record);

    document.EnsureVariable("r", nullptr);
    OneWaySettings settings;
    settings.variable = "r";
    settings.low.value = 0.0;
    settings.high.value = 1.0;
    settings.intervals = 4;
    RunAnalysis(std::make_unique<OneWaySensitivityAnalysis>(document.Root, settings));
    SetOutcomePresenter(previous);

    ASSERT_EQ(presented.size(), 2u);
    EXPECT_EQ(presented[0].text, presented[1].text);
    EXPECT_STREQ(presented[0].text.Text(), "The variable \"r\" has no definitions.");
    EXPECT_EQ(presented[0].code, OutcomeCode::StoredVariableMissing);
    EXPECT_EQ(presented[1].code, OutcomeCode::VariableWithoutDefinitions);
    EXPECT_EQ(document.CurrentAnalysis, nullptr);
}

// A driver opening files tells a file of another kind from a damaged one by code; the text names the file.
TEST(HeadlessCore, FilesThatCannotBeReadTellWhyByCode)
{
    std::string whole;
    {
        TreeDocument source;
        source.AddChild(source.Root, TerminalNode, "A", nullptr, "1");
        zString message;
        ASSERT_TRUE(source.WriteTreeFile("headless-whole.dec", message));
        std::ifstream in("headless-whole.dec", std::ios::binary);
        whole.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    struct Case {
        const char* path;
        std::string bytes;
        OutcomeCode code;
        const char* words;
    };
    const Case cases[] = {
        {"headless-not-ours.dec", "Nothing here is a tree.", OutcomeCode::FileRefused, "not created by KIVO"},
        {"headless-cut.dec", whole.substr(0, whole.size() / 2), OutcomeCode::FileDamaged, "damaged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::ofstream(c.path, std::ios::binary) << c.bytes;
        TreeDocument document;
        OutcomeScope scope;
        EXPECT_FALSE(document.ReadTreeFile(c.path));
        EXPECT_EQ(scope.Outcome().code, c.code);
        const std::string text = scope.Outcome().text.Text();
        EXPECT_NE(text.find(c.words), std::string::npos) << text;
        EXPECT_NE(text.find(c.path), std::string::npos) << text;
    }
}

}  // namespace
