#include "analysis/MarkovAnalysis.h"

#include "analysis/NodeValueRecord.h"
#include "analysis/StoredAnalysisKinds.h"
#include "analysis/TreeEngines.h"
#include "analysis/VariableSubstitution.h"
#include "model/StoredAnalysis.h"
#include "foundation/StringHelpers.h"
#include "model/NodePath.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

namespace {

constexpr int kMarkovAnalysisCommand = 1603;

struct CommandRequest {
    int command;
    int reportKind;
};

// The analysis window's graph menu.
constexpr CommandRequest kGraphCommands[] = {
    {1580, 1}, {1581, 4}, {1582, 2}, {1583, 3}, {1584, 6}, {1585, 7},
};

}  // namespace

MarkovAnalysis::MarkovAnalysis(TreeDocument* tree, TreeNode* node, int kind)
    : kind(kind), node(node), document(tree)
{
}

bool MarkovAnalysis::Run()
{
    const MarkovCohortResult result = RunMarkovCohortAt(*document, node);
    outcome = result.outcome;
    ForwardOutcome(outcome);
    if (result.status != 0)
        return false;
    costEffectiveness = document->CalcPrefs.CalcMethod == CostEffectivenessMethod ? 1 : 0;
    for (const zString& name : result.stateNames)
        stateNames.AddCopy(name);
    for (const MarkovStage& stage : result.stages) {
        auto* row = new MarkovStageRow;
        row->stage = stage.stage;
        row->total = stage.total;
        for (const MarkovStateEntry& entry : stage.states)
            row->Add(new MarkovStateEntry(entry));
        rows.Add(row);
        ++lastStage;
    }
    if (kind == 0)
        document->SetStoredAnalysis(MakeNodeValueRecord(node, kMarkovAnalysisCommand, 1));
    return true;
}

bool MarkovAnalysis::RequestForCommand(int command, MarkovGraphRequest& request)
{
    for (const CommandRequest& entry : kGraphCommands) {
        if (entry.command == command) {
            request = MarkovGraphRequest();
            request.reportKind = entry.reportKind;
            return true;
        }
    }
    return false;
}

bool ReadMarkovRequest(TreeDocument* document, StoredAnalysis* record, MarkovGraphRequest& request, TreeNode** node)
{
    const StoredNameList& parameters = *record->parameters;
    *node = nullptr;
    long reportKind = 0;
    long step = 0;
    long first = 0;
    if (parameters.Count() < 4 || !ReadIntegerItem(parameters, 1, reportKind) ||
        !ReadIntegerItem(parameters, 2, step) || !ReadIntegerItem(parameters, 3, first) || step < 1 || step > 32767 ||
        first < 0 || first > 32767)
        return false;
    request = MarkovGraphRequest();
    request.reportKind = static_cast<int32_t>(reportKind);
    request.stageStep = static_cast<int16_t>(step);
    request.firstStage = static_cast<int16_t>(first);
    long settingA = 0;
    long settingB = 0;
    if (parameters.Count() >= 6 && ReadIntegerItem(parameters, 4, settingA) && ReadIntegerItem(parameters, 5, settingB)) {
        request.settingA = static_cast<int16_t>(settingA);
        request.settingB = static_cast<int32_t>(settingB);
    }
    TreeNode* found = FindNodeByPath(document->Root, parameters.At(0)->Text());
    if (found == nullptr || found->kind != MarkovNode)
        return false;
    *node = found;
    return true;
}

StoredAnalysis* MakeMarkovRecord(TreeNode* node, const MarkovGraphRequest& request)
{
    StoredAnalysis* record = NewStoredRecordAt(MarkovCohortKind, node, 1);
    AddNumberItem(*record->parameters, request.reportKind);
    AddNumberItem(*record->parameters, request.stageStep);
    AddNumberItem(*record->parameters, request.firstStage);
    AddNumberItem(*record->parameters, request.settingA);
    AddNumberItem(*record->parameters, request.settingB);
    return record;
}

void RunStoredMarkovAnalysis(StoredAnalysis* record, TreeDocument* document)
{
    MarkovGraphRequest request;
    TreeNode* node = nullptr;
    if (!ReadMarkovRequest(document, record, request, &node))
        return;
    {
        MarkovAnalysis analysis(document, node, 1);
        if (!analysis.Run())
            return;
        LineGraphData graph;
        if (analysis.MakeGraph(request, graph))
            ShowLineGraph(graph);
    }
    RunNextStoredAnalysis(record, document);
}
