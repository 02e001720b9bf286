// The Analysis menu of a tree window and the custom interface's Analyze: each handler starts its analysis
// after its own checks, since a stored analysis run again reaches it while the menu item would be grayed.

#include "treewin/TreeWindow.h"

#include "analysis/AnalysisRun.h"
#include "analysis/MarkovAnalysis.h"
#include "analysis/NodeValueRecord.h"
#include "analysis/OneWaySensitivityAnalysis.h"
#include "analysis/ProbabilityDistribution.h"
#include "analysis/ProbabilityVerification.h"
#include "analysis/RiskPreference.h"
#include "analysis/RollBack.h"
#include "analysis/RollBackAnalysis.h"
#include "analysis/StoredAnalysisKinds.h"
#include "analysis/TornadoDiagram.h"
#include "analysis/TreeEngines.h"
#include "analysis/TreeQueries.h"
#include "widgets/CursorStack.h"
#include "treewin/CEAnalysisDialog.h"
#include "dialogs/CorrelationsDialog.h"
#include "treewin/MarkovAnalysisWindow.h"
#include "treewin/MonteCarloProgressDialog.h"
#include "dialogs/NodeValueDialogs.h"
#include "treewin/PayoffRangeDialog.h"
#include "treewin/RankingsDialog.h"
#include "dialogs/RiskPreferenceDialogs.h"
#include "dialogs/SensitivityDialogs.h"
#include "treewin/StoredAnalysisDialogs.h"
#include "foundation/MessageBoxes.h"
#include "graph/CEGraph.h"
#include "model/StoredAnalysis.h"
#include "model/TreeNode.h"
#include "treewin/TreeCommandHandlers.h"

#include "CommandIds.h"

#include <limits>
#include <memory>

using Handlers = TreeWindow::CommandHandlers;

void Handlers::ExpectedValue(TreeWindow& tree)
{
    DisplayAnyVal(&tree.document, Cmd::AnalysisExpectedValue, tree.Selection);
}

void Handlers::PathProbability(TreeWindow& tree)
{
    DisplayAnyVal(&tree.document, Cmd::AnalysisPathProbability, tree.Selection);
}

void Handlers::StandardDeviation(TreeWindow& tree)
{
    DisplayAnyVal(&tree.document, Cmd::AnalysisStandardDeviation, tree.Selection);
}

void Handlers::PerfectInformation(TreeWindow& tree)
{
    DisplayAnyVal(&tree.document, Cmd::AnalysisExpectedValueOfPerfectInfo, tree.Selection);
}

void Handlers::MarkovAnalysis(TreeWindow& tree)
{
    if (tree.CurrentNode() == nullptr)
        return;
    auto analysis = std::make_unique<::MarkovAnalysis>(&tree.document, tree.CurrentNode(), 0);
    if (analysis->Run())
        MarkovAnalysisWindow::Open(tree, std::move(analysis));
}

void Handlers::OverUnder(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr)
        OverUnderDialog::Run(tree.CurrentNode());
}

void Handlers::ShowOptimalPath(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr)
        ShowOptimalPath(tree, tree.CurrentNode());
}

void Handlers::Threshold(TreeWindow& tree)
{
    TreeNode* node = tree.CurrentNode();
    if (node == nullptr)
        return;
    ThresholdDialog dialog(&tree.document, node);
    if (dialog.Run() != 0)
        RunAnalysis(std::make_unique<ThresholdAnalysis>(node, dialog.Threshold()));
}

void Handlers::MonteCarlo(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr)
        RunMonteCarlo(tree.CurrentNode());
}

void Handlers::OneWay(TreeWindow& tree)
{
    // One analysis at a time, and a variable to vary.
    TreeNode* node = tree.CurrentNode();
    TreeDocument& document = tree.document;
    if (node == nullptr || document.CurrentAnalysis != nullptr || document.Variables.Count() < 1)
        return;
    SensitivityDialog dialog(&document, node);
    if (dialog.Run() == 0)
        return;
    auto analysis = std::make_unique<OneWaySensitivityAnalysis>(node, dialog.settings);
    // The risk coefficient has no correlations; a cancelled chooser runs nothing.
    if (analysis->riskCoefficient != 0 || GatherCorrelatedRanges(document, analysis->ranges))
        RunAnalysis(std::move(analysis));
}

void Handlers::ProbabilityDistribution(TreeWindow& tree)
{
    RunProbabilityDistribution(&tree.document, tree.Selection, nullptr);
}

void Handlers::PayoffRange(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr)
        ShowPayoffRange(tree, tree.CurrentNode());
}

void Handlers::Rankings(TreeWindow& tree)
{
    TreeNode* node = tree.CurrentNode();
    if (node != nullptr && RollBackWithWait(tree, node)) {
        RankingsDialog(node).Run();
        tree.document.SetStoredAnalysis(MakeNodeValueRecord(node, Cmd::AnalysisRankings, 0));
    }
}

void Handlers::CostEffectiveness(TreeWindow& tree) { ShowCostEffectiveness(tree, tree.CurrentNode()); }
void Handlers::TwoWay(TreeWindow& tree) { StartSensitivity(tree, Cmd::AnalysisTwoWay, tree.CurrentNode()); }
void Handlers::ThreeWay(TreeWindow& tree) { StartSensitivity(tree, Cmd::AnalysisThreeWay, tree.CurrentNode()); }
void Handlers::Tornado(TreeWindow& tree) { StartSensitivity(tree, Cmd::AnalysisTornadoDiagram, tree.CurrentNode()); }

void Handlers::SaveLastAnalysis(TreeWindow& tree)
{
    TreeDocument& document = tree.document;
    // The list owns the record once it is saved.
    if (document.LastAnalysis != nullptr &&
        SaveAnalysisDialog(&document, document.LastAnalysis, document.StoredAnalyses()).Run())
        document.LastAnalysis = nullptr;
}

void Handlers::RunOldAnalysis(TreeWindow& tree) { RunStoredAnalyses(tree, false); }
void Handlers::CustomInterfaceAnalyze(TreeWindow& tree) { RunStoredAnalyses(tree, true); }

void Handlers::MaintainAnalyses(TreeWindow& tree)
{
    StoredAnalysesDialog(&tree.document, tree.document.StoredAnalyses()).Run();
}

void Handlers::VerifyProbabilities(TreeWindow& tree) { PresentOutcome(CheckTreeProbabilities(tree.document)); }

void Handlers::RollBack(TreeWindow& tree)
{
    TreeDocument& document = tree.document;
    if (document.IsRolledBack()) {
        document.EndRolledBack();
        return;
    }
    RunAnalysis(std::make_unique<RollBackAnalysis>(&document));
    // Edits made before the results were shown are not taken back over them.
    if (document.IsRolledBack())
        tree.ClearUndoHistory();
}

void Handlers::StartSensitivity(TreeWindow& tree, int command, TreeNode* node)
{
    // One analysis at a time; two- and three-way analyses compare the branches of a decision.
    const int needed = command == Cmd::AnalysisThreeWay ? 3 : 2;
    if (tree.document.CurrentAnalysis != nullptr || tree.document.Variables.Count() < needed)
        return;
    if (command == Cmd::AnalysisTornadoDiagram) {
        // With nothing selected the diagram is for the whole tree.
        RunAnalysis(std::make_unique<TornadoDiagram>(&tree.document, node != nullptr ? node : tree.document.Root));
        return;
    }
    if (node == nullptr || !node->IsDecision())
        return;
    // The correlated variables of X, then Y (then Z) are chosen in turn; Cancel in any runs nothing.
    std::unique_ptr<RegionSweepRun> analysis;
    if (command == Cmd::AnalysisTwoWay) {
        TwoWaySensitivityDialog dialog(&tree.document, node);
        if (dialog.Run() == 0)
            return;
        analysis = std::make_unique<TwoWaySensitivityAnalysis>(node, dialog.Settings());
    } else {
        ThreeWaySensitivityDialog dialog(&tree.document, node);
        if (dialog.Run() == 0)
            return;
        analysis = std::make_unique<ThreeWaySensitivityAnalysis>(node, dialog.Settings());
    }
    for (int a = 0; a < analysis->AxisCount(); ++a) {
        if (!GatherCorrelatedRanges(tree.document, analysis->AxisRanges(a)))
            return;
    }
    RunAnalysis(std::move(analysis));
}

bool Handlers::RollBackWithWait(TreeWindow& tree, TreeNode* node)
{
    RunFault error;
    WaitCursorScope wait;
    RollBackTree(node, &error, 0);
    return !error;
}

void Handlers::GraphRiskPreference(TreeWindow& tree)
{
    RiskPrefAssessment& risk = tree.document.RiskAssessment;
    int form = 0;
    if (risk.constantAssessed && risk.pointsAssessed) {
        RiskPrefGraphDialog dialog;
        if (!dialog.Run())
            return;
        form = dialog.IsConstantRiskAversion() ? 1 : 2;
    }
    // The graph is drawn with the chosen function on; the tree keeps its own settings.
    const auto useUtility = tree.document.CalcPrefs.UseUtility;
    const int32_t type = risk.type;
    if (form != 0)
        risk.type = form;
    tree.document.CalcPrefs.UseUtility = 1;
    ShowRiskPreferenceGraph(&tree.document);
    tree.document.CalcPrefs.UseUtility = useUtility;
    risk.type = type;
}

void Handlers::ShowPayoffRange(TreeWindow& tree, TreeNode* node)
{
    double lowest = std::numeric_limits<double>::max();
    double highest = -std::numeric_limits<double>::max();
    RunFault error;
    {
        WaitCursorScope wait;
        RangeOfEndValues(node, &lowest, &highest, &error);
    }
    if (error)
        return;
    PayoffRangeDialog(node, lowest, highest).Run();
    tree.document.SetStoredAnalysis(MakeNodeValueStoredRecord(tree.Selection, Cmd::AnalysisPayoffRange, 0));
}

void Handlers::ShowCostEffectiveness(TreeWindow& tree, TreeNode* node)
{
    if (!tree.document.IsCostEffectiveness() || node == nullptr || !node->IsDecision()) {
        ShowErrorBox(nullptr,
                     "You must set the calculation method to Cost-Effectiveness and select a decision node first.", 0);
        return;
    }
    if (!RollBackWithWait(tree, node))
        return;
    const int effectivenessOnX = RunCEAnalysisDialog();
    if (effectivenessOnX < 0)
        return;
    auto* graph = new CEGraph(node, effectivenessOnX);
    graph->Layout();
    graph->Show(SW_SHOWNORMAL);
    tree.document.SetStoredAnalysis(MakeNodeValueRecord(node, Cmd::AnalysisCostEffectiveness, 1));
}

void Handlers::RunStoredAnalyses(TreeWindow& tree, bool customInterfaceForm)
{
    RunStoredAnalysisDialog dialog(&tree.document, tree.document.StoredAnalyses(), customInterfaceForm);
    if (!dialog.Run() || dialog.SelectedCount() == 0)
        return;
    // Linked from the last to the first, so that the chain runs in list order.
    StoredAnalysis* chain = nullptr;
    for (int i = dialog.SelectedCount() - 1; i >= 0; --i) {
        StoredAnalysis* record = dialog.Selected(i);
        record->next = chain;
        chain = record;
    }
    RunStoredAnalysis(chain, &tree.document);
}

void Handlers::ShowOptimalPath(TreeWindow& tree, TreeNode* node)
{
    if (CheckRiskPreference(&tree.document, nullptr) != 1 || !RollBackWithWait(tree, node) ||
        node->optimal == nullptr || node->optimal->Count() == 0)
        return;
    tree.ClearSelection();
    for (int i = 0; i < node->optimal->Count(); ++i)
        tree.SelectNode(node->optimal->At(i), 1, nullptr, i > 0);
}
