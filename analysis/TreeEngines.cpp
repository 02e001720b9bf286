#include "analysis/TreeEngines.h"

#include "analysis/CEDominance.h"
#include "analysis/ChooseCostEffectiveStrategy.h"
#include "analysis/DecisionNodeStrategySet.h"
#include "analysis/MarkovCohort.h"
#include "analysis/ProbabilityVerification.h"
#include "analysis/RollBack.h"
#include "foundation/Host.h"
#include "model/MarkovInfo.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <algorithm>

namespace {

// Passes every message to the host in charge and keeps the text of the last one.
class MessageRecorder : public Host {
public:
    MessageRecorder() : previous(SetHost(this)) {}
    ~MessageRecorder() override { SetHost(previous); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    int PresentMessage(const MessageBoxRequest& request) override
    {
        lastText = request.text;
        return Next().PresentMessage(request);
    }
    bool EscapePressed() override { return Next().EscapePressed(); }
    uint32_t TickCount() override { return Next().TickCount(); }
    int32_t PushProgress(const char* text, double total) override { return Next().PushProgress(text, total); }
    void StepProgress(int32_t handle, double position) override { Next().StepProgress(handle, position); }
    void PopProgress(int32_t handle) override { Next().PopProgress(handle); }
    void PushWaitCursor() override { Next().PushWaitCursor(); }
    void PopCursor() override { Next().PopCursor(); }
    PixelsPerInch ScreenResolution() override { return Next().ScreenResolution(); }
    void ShowStatus(const char* text) override { Next().ShowStatus(text); }
    void CommandsChanged() override { Next().CommandsChanged(); }
    void AddIdleTask(IdleWork* task) override { Next().AddIdleTask(task); }
    void RemoveIdleTask(IdleWork* task) override { Next().RemoveIdleTask(task); }
    void TablesChanged(TablesEvent event) override { Next().TablesChanged(event); }
    TableConflictChoice ChooseTableConflict(const char* tableName) override
    {
        return Next().ChooseTableConflict(tableName);
    }
    PasteChoice ChoosePasteMerge() override { return Next().ChoosePasteMerge(); }
    bool EditTableProperties(const LookupTable* table, TableProperties& properties) override
    {
        return Next().EditTableProperties(table, properties);
    }
    void ShowVariableDefinitions(const char* name, const NameList& lines) override
    {
        Next().ShowVariableDefinitions(name, lines);
    }
    bool LocateFile(const char* title, const char* initial, const char* const* filters, zString& path) override
    {
        return Next().LocateFile(title, initial, filters, path);
    }

    zString lastText;

private:
    // The host that was in charge; the headless one when none was installed.
    Host& Next() { return previous != nullptr ? *previous : headless; }

    Host* previous;
    Host headless;
};

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

}  // namespace

RollBackResult RollBackDocument(TreeDocument& document, bool withProgress)
{
    RollBackResult result;
    MessageRecorder recorder;
    if (CheckRiskPreference(&document, nullptr) == 0) {
        result.status = 1;
    } else {
        HostWaitCursor cursor;
        RollBackTree(document.Root, &result.status, withProgress ? RollBackWithProgress : RollBackSilent);
        if (result.status == 0) {
            document.RolledBack = 1;
            result.root = document.Root->triple;
        }
    }
    if (result.status != 0)
        result.error = recorder.lastText;
    return result;
}

MarkovCohortResult RunMarkovCohortAt(TreeDocument& document, TreeNode* markov)
{
    MarkovCohortResult result;
    MessageRecorder recorder;
    if (CheckRiskPreference(&document, nullptr) == 0) {
        result.status = 1;
        result.error = recorder.lastText;
        return result;
    }
    HostWaitCursor cursor;
    StageCollector collector(markov, result);
    MarkovStageRecorder* previous = document.CurrentMarkovRecorder;
    document.CurrentMarkovRecorder = &collector;
    RollBackTree(markov, &result.status, RollBackSilent);
    document.CurrentMarkovRecorder = previous;
    if (result.status != 0) {
        result.error = recorder.lastText;
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
    MessageRecorder recorder;
    RollBackTree(decision, &result.status, RollBackSilent);
    CEPointList points(2, true);
    int chosen = -1;
    if (result.status == 0) {
        BuildCEPoints(DecisionNodeStrategySet(decision), points, 1);
        chosen = ChooseCostEffectiveStrategy(document.CESettings, points, &document, &result.status);
    }
    if (result.status != 0) {
        result.error = recorder.lastText;
        return result;
    }
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
