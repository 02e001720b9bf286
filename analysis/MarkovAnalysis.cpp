#include "analysis/MarkovAnalysis.h"

#include "analysis/MarkovCohort.h"
#include "analysis/NodeValueRecord.h"
#include "analysis/ProbabilityVerification.h"
#include "analysis/StoredAnalysisKinds.h"
#include "model/StoredAnalysis.h"
#include "foundation/Host.h"
#include "foundation/StringHelpers.h"
#include "model/MarkovInfo.h"
#include "model/NodePath.h"
#include "analysis/RollBack.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

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

bool ParseInteger(const zString* text, long& out)
{
    if (text == nullptr || text->IsEmpty())
        return false;
    char* end = nullptr;
    out = std::strtol(text->Text(), &end, 10);
    return *end == '\0';
}

void AddNumber(StoredNameList& parameters, long number)
{
    zString text;
    AppendInt(text, number);
    parameters.AddCopy(text);
}

}  // namespace

MarkovAnalysis::MarkovAnalysis(TreeDocument* window, TreeNode* node, int* ok, int kind)
    : kind(kind), node(node), document(window), context(&window->CalcStateRecord)
{
    Run(ok);
}

void MarkovAnalysis::Run(int* ok)
{
    *ok = 1;
    if (CheckRiskPreference(document, nullptr) == 0) {
        *ok = 0;
        return;
    }
    costEffectiveness = document->CalcPrefs.CalcMethod == CostEffectivenessMethod ? 1 : 0;
    HostWaitCursor cursor;
    MarkovAnalysis* previous = document->CurrentMarkovAnalysis;
    document->CurrentMarkovAnalysis = this;
    int error = 0;
    RollBackTree(node, &error, RollBackSilent);
    document->CurrentMarkovAnalysis = previous;
    if (error != 0)
        *ok = 0;
    if (kind == 0 && *ok != 0)
        document->SetStoredAnalysis(MakeNodeValueRecord(node, kMarkovAnalysisCommand, 1));
}

void MarkovAnalysis::AddStageRow()
{
    ++lastStage;
    auto* row = new MarkovStageRow;
    row->stage = context->stage;
    row->total = context->total;
    // Tunnel copies exist only while the cohort runs: their shares and rewards count for the state the user
    // made, so rows and names list the user's states alone.
    std::vector<TreeNode*> states;
    for (int i = 0; i < node->childCount; ++i) {
        TreeNode* state = node->GetChild(i);
        if (state->markovInfo != nullptr && state->markovInfo->tunnelCount < 0)
            continue;
        states.push_back(state);
        auto* entry = new MarkovStateEntry;
        if (state->markovInfo != nullptr) {
            entry->probability = state->markovInfo->probability;
            entry->reward = state->markovInfo->reward;
        }
        row->Add(entry);
    }
    for (int i = 0; i < node->childCount; ++i) {
        TreeNode* copy = node->GetChild(i);
        if (copy->markovInfo == nullptr || copy->markovInfo->tunnelCount >= 0)
            continue;
        const auto origin = std::find(states.begin(), states.end(), FindTunnelOrigin(copy));
        if (origin == states.end())
            continue;
        MarkovStateEntry* entry = row->At(static_cast<int>(origin - states.begin()));
        entry->probability += copy->markovInfo->probability;
        entry->reward.cost += copy->markovInfo->reward.cost;
        entry->reward.effectiveness += copy->markovInfo->reward.effectiveness;
        entry->reward.value += copy->markovInfo->reward.value;
    }
    rows.Add(row);
    if (stateNames.Count() == 0) {
        for (TreeNode* state : states) {
            zString name;
            state->GetShortText(name, 30);
            stateNames.AddCopy(name);
        }
    }
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

void MarkovAnalysis::ShowGraph()
{
    MarkovGraphRequest request;
    LineGraphData graph;
    if (MakeGraph(request, graph))
        ShowLineGraph(graph);
}

bool ReadMarkovRequest(TreeDocument* window, StoredAnalysis* record, MarkovGraphRequest& request, TreeNode** node)
{
    const StoredNameList& parameters = *record->parameters;
    *node = nullptr;
    long reportKind = 0;
    long step = 0;
    long first = 0;
    if (parameters.Count() < 4 || !ParseInteger(parameters.At(1), reportKind) || !ParseInteger(parameters.At(2), step) ||
        !ParseInteger(parameters.At(3), first) || step < 1 || step > 32767 || first < 0 || first > 32767)
        return false;
    request = MarkovGraphRequest();
    request.reportKind = static_cast<int32_t>(reportKind);
    request.stageStep = static_cast<int16_t>(step);
    request.firstStage = static_cast<int16_t>(first);
    long settingA = 0;
    long settingB = 0;
    if (parameters.Count() >= 6 && ParseInteger(parameters.At(4), settingA) && ParseInteger(parameters.At(5), settingB)) {
        request.settingA = static_cast<int16_t>(settingA);
        request.settingB = static_cast<int32_t>(settingB);
    }
    TreeNode* found = FindNodeByPath(window->Root, parameters.At(0)->Text());
    if (found == nullptr || found->kind != MarkovNode)
        return false;
    *node = found;
    return true;
}

StoredAnalysis* MakeMarkovRecord(TreeNode* node, const MarkovGraphRequest& request)
{
    StoredAnalysis* record = StoredAnalysis::New();
    record->kind = MarkovCohortKind;
    record->templateAllowed = 1;
    zString path;
    NodePathString(node, path, nullptr);
    record->parameters->AddCopy(path);
    AddNumber(*record->parameters, request.reportKind);
    AddNumber(*record->parameters, request.stageStep);
    AddNumber(*record->parameters, request.firstStage);
    AddNumber(*record->parameters, request.settingA);
    AddNumber(*record->parameters, request.settingB);
    return record;
}

void RunStoredMarkovAnalysis(StoredAnalysis* record, TreeDocument* window)
{
    MarkovGraphRequest request;
    TreeNode* node = nullptr;
    if (!ReadMarkovRequest(window, record, request, &node))
        return;
    int ok = 0;
    auto* analysis = new MarkovAnalysis(window, node, &ok, 1);
    if (ok != 0) {
        LineGraphData graph;
        if (analysis->MakeGraph(request, graph))
            ShowLineGraph(graph);
    }
    delete analysis;
    if (ok != 0)
        RunNextStoredAnalysis(record, window);
}
