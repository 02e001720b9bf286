// The rows of a tree window's Analysis menu in its command table (TreeCommandTable.h), with the custom
// interface's Analyze.

#include "treewin/TreeCommandTable.h"

#include "model/TreeNode.h"
#include "treewin/TreeCommandHandlers.h"

#include "CommandIds.h"

#include <iterator>

using CommandHandlers = TreeWindow::CommandHandlers;

namespace {

using MenuFacts = TreeMenuFacts;

bool ExpectedValue(const MenuFacts& f) { return !f.customInterface && f.any && !f.someInMarkov && f.free; }
bool OnMarkovNode(const MenuFacts& f) { return f.first != nullptr && f.first->kind == MarkovNode; }

const TreeWindow::CommandRow rows[] = {
    // The Analysis menu.
    {Cmd::AnalysisProbabilityDistribution, &CommandHandlers::ProbabilityDistribution,
     [](const MenuFacts& f) {
         return !f.customInterface && f.any && !f.someLogic && f.allHaveChildren && !OnMarkovNode(f) &&
                !f.someInMarkov && f.free;
     },
     nullptr},
    {Cmd::AnalysisMarkovAnalysis, &CommandHandlers::MarkovAnalysis,
     [](const MenuFacts& f) { return f.markov1 && f.free && !f.rolledBack && !f.customInterface; }, nullptr},
    {Cmd::AnalysisGraphRiskPreferenceFunction, &CommandHandlers::GraphRiskPreference,
     [](const MenuFacts& f) {
         const RiskPrefAssessment& risk = f.window->Document().RiskAssessment;
         return (risk.constantAssessed || risk.pointsAssessed) && !f.customInterface;
     },
     nullptr},
    {Cmd::AnalysisExpectedValue, &CommandHandlers::ExpectedValue, ExpectedValue, nullptr},
    {Cmd::AnalysisPathProbability, &CommandHandlers::PathProbability,
     [](const MenuFacts& f) { return !f.customInterface && f.any && f.free && !f.someInMarkov && !f.root1; }, nullptr},
    {Cmd::AnalysisOverUnder, &CommandHandlers::OverUnder,
     [](const MenuFacts& f) {
         return !f.customInterface && f.one && f.free && !f.someInMarkov && f.kids >= 1 && !OnMarkovNode(f);
     },
     nullptr},
    {Cmd::AnalysisPayoffRange, &CommandHandlers::PayoffRange,
     [](const MenuFacts& f) {
         return !f.customInterface && f.one && f.free && !f.someInMarkov && f.kids >= 1 && !OnMarkovNode(f);
     },
     nullptr},
    {Cmd::AnalysisStandardDeviation, &CommandHandlers::StandardDeviation,
     [](const MenuFacts& f) {
         return !f.customInterface && f.one && f.first->kind == ChanceNode && f.kids >= 1 && f.free;
     }, nullptr},
    {Cmd::AnalysisShowOptimalPath, &CommandHandlers::ShowOptimalPath,
     [](const MenuFacts& f) { return f.decision1 && !f.copy1 && f.free && !f.customInterface; }, nullptr},
    {Cmd::AnalysisVerifyProbabilities, &CommandHandlers::VerifyProbabilities, NoCustomInterface, nullptr},
    // Either way the roll back would take the running analysis's place, or change the tree under it.
    {Cmd::AnalysisRollBack, &CommandHandlers::RollBack,
     [](const MenuFacts& f) { return !f.customInterface && !f.snapshot && !f.running; }, nullptr},
    {Cmd::AnalysisThresholdAnalysis, &CommandHandlers::Threshold,
     [](const MenuFacts& f) {
         return !f.customInterface && f.one && !f.someInMarkov && !f.locked && f.decision1 && !f.subtreeHighlighted &&
                f.variables >= 1 && f.free;
     },
     nullptr},
    {Cmd::AnalysisMonteCarloSimulation, &CommandHandlers::MonteCarlo,
     [](const MenuFacts& f) {
         return f.one && f.free && f.kids >= 1 && !f.someInMarkov && !f.customInterface;
     }, nullptr},
    {Cmd::AnalysisSaveLast, &CommandHandlers::SaveLastAnalysis,
     [](const MenuFacts& f) { return f.window->Document().LastAnalysis != nullptr && !f.customInterface; }, nullptr},
    {Cmd::AnalysisRunOldAnalysis, &CommandHandlers::RunOldAnalysis,
     [](const MenuFacts& f) { return f.free && f.analyses > 0 && !f.busy; }, nullptr},
    {Cmd::AnalysisMaintainAnalyses, &CommandHandlers::MaintainAnalyses,
     [](const MenuFacts& f) { return f.analyses > 0 && !f.customInterface; }, nullptr},
    {Cmd::AnalysisExpectedValueOfPerfectInfo, &CommandHandlers::PerfectInformation,
     [](const MenuFacts& f) { return f.any && f.free && !f.customInterface; }, nullptr},
    {Cmd::AnalysisRankings, &CommandHandlers::Rankings,
     [](const MenuFacts& f) { return ExpectedValue(f) && f.decision1; }, nullptr},
    {Cmd::AnalysisCostEffectiveness, &CommandHandlers::CostEffectiveness,
     [](const MenuFacts& f) { return f.decision1 && f.free && f.calcMethod == CostEffectivenessMethod && !f.customInterface; }, nullptr},
    {Cmd::AnalysisOneWay, &CommandHandlers::OneWay,
     [](const MenuFacts& f) { return f.one && f.free && f.variables >= 1 && !f.busy; }, nullptr},
    {Cmd::AnalysisTwoWay, &CommandHandlers::TwoWay,
     [](const MenuFacts& f) { return f.decision1 && f.free && f.variables >= 2 && !f.busy; }, nullptr},
    {Cmd::AnalysisThreeWay, &CommandHandlers::ThreeWay,
     [](const MenuFacts& f) {
         return f.decision1 && f.free && f.variables >= 3 && !f.busy && f.calcMethod != CostEffectivenessMethod;
     }, nullptr},
    // With nothing selected the tornado is for the whole tree; its bars need two variables to compare.
    {Cmd::AnalysisTornadoDiagram, &CommandHandlers::Tornado,
     [](const MenuFacts& f) { return f.n <= 1 && f.free && f.variables >= 2 && !f.busy; }, nullptr},
    // The custom interface's Analyze: no menu item, but a chain of stored analyses is not joined while
    // another runs.
    {Cmd::CustomInterfaceAnalyze, &CommandHandlers::CustomInterfaceAnalyze,
     [](const MenuFacts& f) { return f.free && f.analyses > 0; }, nullptr},
};

} // namespace

TreeCommandRows AnalysisCommandRows()
{
    return {rows, std::size(rows)};
}
