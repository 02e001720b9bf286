#include "analysis/StoredAnalysisKinds.h"

#include "analysis/EvpiCalculation.h"
#include "analysis/MarkovAnalysis.h"
#include "analysis/MonteCarloSimulation.h"
#include "analysis/NodeValueRecord.h"
#include "analysis/OneWaySensitivityAnalysis.h"
#include "analysis/OverUnderAnalysis.h"
#include "analysis/ProbabilityDistribution.h"
#include "analysis/RollBackAnalysis.h"
#include "analysis/ThreeWaySensitivityAnalysis.h"
#include "analysis/TornadoDiagram.h"
#include "analysis/TwoWaySensitivityAnalysis.h"
#include "model/StoredAnalysis.h"
#include "model/StoredAnalysisVariables.h"
#include "formula/RunOutcome.h"

#include <map>

namespace {

void RunRollBack(StoredAnalysis* record, TreeDocument* document)
{
    RunAnalysis(std::make_unique<RollBackAnalysis>(document, record));
}

void RunRetiredKind(StoredAnalysis*, TreeDocument*)
{
    ReportNotice(OutcomeCode::AnalysisUnsupported, nullptr, "That analysis is no longer supported.", -1);
}

// A kind that computes at once and shows its result: the record's successor in a chain runs when it
// returns, as after an analysis run, also when the record no longer fits the tree.
template <StoredRunFunction Run>
void RunThenContinueChain(StoredAnalysis* record, TreeDocument* document)
{
    StoredAnalysis* successor = TakeNextStoredAnalysis(record);
    Run(record, document);
    if (successor != nullptr)
        RunStoredAnalysis(successor, document);
}

std::map<int, StoredAnalysisHandlers>& KindTable()
{
    static std::map<int, StoredAnalysisHandlers> table = {
        {OneWaySensitivityKind, {RunStoredOneWaySensitivity, DescribeOneWaySensitivity}},
        {ProbabilityDistributionKind, {RerunProbabilityDistribution, DescribeProbabilityDistribution}},
        {RollBackKind, {RunRollBack, nullptr}},
        {TwoWaySensitivityKind, {RunStoredTwoWaySensitivity, DescribeTwoWaySensitivity}},
        {ThreeWaySensitivityKind, {RunStoredThreeWaySensitivity, DescribeThreeWaySensitivity}},
        {ObsoleteKind, {RunRetiredKind, nullptr}},
        {MarkovCohortKind, {RunStoredMarkovAnalysis, DescribeMarkovAnalysis}},
        {TornadoKind, {RunStoredTornadoDiagram, DescribeTornadoDiagram}},
        {OverUnderKind, {RunThenContinueChain<RunOverUnder>, OverUnderDescribe}},
        {MonteCarloKind, {nullptr, DescribeMonteCarlo}},
        {EvpiKind, {RunThenContinueChain<RerunEvpi>, EvpiDescribe}},
        {NodeValuesKind, {RunNodeValueAnalysis, NodeValueAnalysisName}},
    };
    return table;
}

}  // namespace

void RegisterStoredAnalysisKind(int kind, StoredRunFunction run, StoredDescribeFunction describe)
{
    KindTable()[kind] = StoredAnalysisHandlers{run, describe};
}

StoredAnalysisHandlers StoredAnalysisKindHandlers(int kind)
{
    const auto& table = KindTable();
    const auto found = table.find(kind);
    return found != table.end() ? found->second : StoredAnalysisHandlers{};
}

void DescribeStoredAnalysis(TreeDocument* document, StoredAnalysis* record, zString& text)
{
    const StoredAnalysisHandlers handlers = StoredAnalysisKindHandlers(record->kind);
    if (handlers.describe != nullptr)
        handlers.describe(document, record, text);
}

namespace {

// A chain that stops before its record runs: no record keeps a link to one that will not run now, so a
// later run of any of them runs that record alone.
void DropStoredAnalysisChain(StoredAnalysis* record)
{
    while (record != nullptr)
        record = TakeNextStoredAnalysis(record);
}

} // namespace

void RunStoredAnalysis(StoredAnalysis* record, TreeDocument* document)
{
    const StoredAnalysisHandlers handlers = StoredAnalysisKindHandlers(record->kind);
    if (handlers.run == nullptr) {
        DropStoredAnalysisChain(record);
        return;
    }
    // A variable deleted since the record was made leaves the analysis nothing to vary; the record stays
    // so that the person can see what it was.
    zString missing;
    if (document != nullptr && FindMissingStoredVariable(*record, *document, missing)) {
        zString message("The variable \"");
        message += missing;
        message += "\" has no definitions.";
        ReportFailure(OutcomeCode::StoredVariableMissing, nullptr, "Sensitivity Error", message.Text(), -1);
        DropStoredAnalysisChain(record);
        return;
    }
    handlers.run(record, document);
}

StoredAnalysis* TakeNextStoredAnalysis(StoredAnalysis* record)
{
    StoredAnalysis* successor = record->next;
    record->next = nullptr;
    return successor;
}

void RunNextStoredAnalysis(StoredAnalysis* record, TreeDocument* document)
{
    if (StoredAnalysis* successor = TakeNextStoredAnalysis(record))
        RunStoredAnalysis(successor, document);
}
