#include "analysis/TreeEngines.h"

#include "analysis/CEDominance.h"
#include "analysis/ChooseCostEffectiveStrategy.h"
#include "analysis/DecisionNodeStrategySet.h"
#include "analysis/ProbabilityVerification.h"
#include "analysis/RollBack.h"
#include "foundation/Host.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

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
    void ShowStatus(const char* text) override { Next().ShowStatus(text); }

    zString lastText;

private:
    // The host that was in charge; the headless one when none was installed.
    Host& Next() { return previous != nullptr ? *previous : headless; }

    Host* previous;
    Host headless;
};

}  // namespace

RollBackResult RollBackDocument(TreeDocument& document)
{
    RollBackResult result;
    MessageRecorder recorder;
    if (CheckRiskPreference(&document, nullptr) == 0) {
        result.status = 1;
    } else {
        RollBackTree(document.Root, &result.status, RollBackSilent);
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
    int ok = 0;
    MarkovAnalysis analysis(&document, markov, &ok, 1);
    if (ok == 0) {
        result.status = 1;
        result.error = recorder.lastText;
        return result;
    }
    for (int i = 0; i < analysis.rows.Count(); ++i) {
        const MarkovStageRow* row = analysis.rows.At(i);
        MarkovStage stage{row->stage, row->total, {}};
        for (int j = 0; j < row->Count(); ++j)
            stage.states.push_back(*row->At(j));
        result.stages.push_back(stage);
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
