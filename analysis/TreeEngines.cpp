#include "analysis/TreeEngines.h"

#include "analysis/CEDominance.h"
#include "analysis/ChooseCostEffectiveStrategy.h"
#include "analysis/DecisionNodeStrategySet.h"
#include "analysis/MarkovCohort.h"
#include "analysis/ProbabilityVerification.h"
#include "analysis/RollBack.h"
#include "foundation/Host.h"
#include "formula/RunOutcome.h"
#include "model/MarkovInfo.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <algorithm>

namespace {

// Keeps the cohort's stages while it runs, with the shares and rewards of tunnel copies counted for the
// state each was made from.
class StageCollector : public MarkovStageRecorder {
public:
    StageCollector(TreeNode* markov, MarkovCohortResult& result)
        : markov(markov), calc(markov->document->CalcStateRecord), result(result)
    {
    }

    void AddStageRow() override
    {
        MarkovStage stage{calc.stage, calc.total, {}};
        std::vector<TreeNode*> states;
        for (int i = 0; i < markov->childCount; ++i) {
            TreeNode* state = markov->GetChild(i);
            if (state->markovInfo != nullptr && state->markovInfo->tunnelCount < 0)
                continue;
            states.push_back(state);
            MarkovStateEntry entry;
            if (state->markovInfo != nullptr) {
                entry.probability = state->markovInfo->probability;
                entry.reward = state->markovInfo->reward;
            }
            stage.states.push_back(entry);
        }
        for (int i = 0; i < markov->childCount; ++i) {
            TreeNode* copy = markov->GetChild(i);
            if (copy->markovInfo == nullptr || copy->markovInfo->tunnelCount >= 0)
                continue;
            const auto origin = std::find(states.begin(), states.end(), FindTunnelOrigin(copy));
            if (origin == states.end())
                continue;
            MarkovStateEntry& entry = stage.states[origin - states.begin()];
            entry.probability += copy->markovInfo->probability;
            entry.reward.cost += copy->markovInfo->reward.cost;
            entry.reward.effectiveness += copy->markovInfo->reward.effectiveness;
            entry.reward.value += copy->markovInfo->reward.value;
        }
        result.stages.push_back(stage);
        if (result.stateNames.empty()) {
            for (TreeNode* state : states) {
                zString name;
                state->GetShortText(name, 30);
                result.stateNames.push_back(name);
            }
        }
    }

private:
    TreeNode* markov;
    const CalcState& calc;
    MarkovCohortResult& result;
};

// A run's status from its fault; a fault that reported no notice (Escape, a question answered No, a quiet
// evaluation) still gives the outcome its code.
int Finish(const RunFault& fault, RunOutcome& outcome)
{
    if (fault && !outcome.Failed())
        outcome.code = fault.Code();
    return fault ? 1 : 0;
}

}  // namespace

RollBackResult RollBackDocument(TreeDocument& document, bool withProgress)
{
    RollBackResult result;
    OutcomeScope scope(result.outcome);
    RunFault fault;
    if (CheckRiskPreference(&document, nullptr) == 0) {
        fault.Set(OutcomeCode::Cancelled);
    } else {
        HostWaitCursor cursor;
        RollBackTree(document.Root, &fault, withProgress ? RollBackWithProgress : RollBackSilent);
        if (!fault) {
            document.MarkRolledBack();
            result.root = document.Root->triple;
        }
    }
    result.status = Finish(fault, result.outcome);
    return result;
}

RunOutcome CheckTreeProbabilities(TreeDocument& document)
{
    RunOutcome outcome;
    OutcomeScope scope(outcome);
    VerifyProbabilities(&document, 1, document.Root, nullptr, 0);
    return outcome;
}

MarkovCohortResult RunMarkovCohortAt(TreeDocument& document, TreeNode* markov)
{
    MarkovCohortResult result;
    OutcomeScope scope(result.outcome);
    RunFault fault;
    if (CheckRiskPreference(&document, nullptr) == 0) {
        fault.Set(OutcomeCode::Cancelled);
        result.status = Finish(fault, result.outcome);
        return result;
    }
    HostWaitCursor cursor;
    StageCollector collector(markov, result);
    MarkovStageRecorder* previous = document.CurrentMarkovRecorder;
    document.CurrentMarkovRecorder = &collector;
    RollBackTree(markov, &fault, RollBackSilent);
    document.CurrentMarkovRecorder = previous;
    result.status = Finish(fault, result.outcome);
    if (fault) {
        result.stateNames.clear();
        result.stages.clear();
        return result;
    }
    if (!result.stages.empty())
        result.total = result.stages.back().total;
    return result;
}

CEFrontierResult CostEffectivenessFrontier(TreeDocument& document, TreeNode* decision)
{
    CEFrontierResult result;
    OutcomeScope scope(result.outcome);
    RunFault fault;
    RollBackTree(decision, &fault, RollBackSilent);
    CEPointList points(2, true);
    int chosen = -1;
    if (!fault) {
        BuildCEPoints(DecisionNodeStrategySet(decision), points, 1);
        chosen = ChooseCostEffectiveStrategy(document.CESettings, points, &document, &fault);
    }
    result.status = Finish(fault, result.outcome);
    if (fault)
        return result;
    const CEPoint* previous = nullptr;
    for (int i = 0; i < points.Count(); ++i) {
        const CEPoint* point = points.Point(i);
        CEFrontierPoint out;
        out.cost = point->cost;
        out.effectiveness = point->effectiveness;
        out.state = point->state;
        out.strategyIndex = point->strategyIndex;
        out.name = point->name;
        if (point->IsUndominated()) {
            if (previous != nullptr)
                out.ratio = IncrementalRatio(*previous, *point);
            previous = point;
        }
        result.points.push_back(out);
    }
    if (chosen >= 0)
        result.recommended = points.Point(chosen)->strategyIndex;
    return result;
}
