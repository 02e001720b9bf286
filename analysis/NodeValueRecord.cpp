#include "analysis/NodeValueRecord.h"

#include "foundation/PresenterSlot.h"
#include "model/StoredAnalysis.h"
#include "foundation/StringHelpers.h"
#include "model/NodePath.h"
#include "model/TreeNode.h"
#include "analysis/EvpiCalculation.h"
#include "analysis/RollBack.h"
#include "analysis/StoredAnalysisKinds.h"
#include "analysis/TreeQueries.h"
#include "analysis/VariableSubstitution.h"
#include "foundation/Host.h"
#include "formula/RunOutcome.h"
#include "model/TreeDocument.h"
#include "model/TreeDocumentView.h"

#include <utility>

StoredAnalysis* MakeNodeValueStoredRecord(const NodeChildList& nodes, int commandId, int templateAllowed)
{
    StoredAnalysis* record = StoredAnalysis::New();
    record->kind = NodeValuesKind;
    record->templateAllowed = static_cast<int16_t>(templateAllowed);
    AddNumberItem(*record->parameters, commandId);
    AddNumberItem(*record->parameters, nodes.Count());
    for (int i = 0; i < nodes.Count(); ++i) {
        zString path;
        NodePathString(nodes.At(i), path, nullptr);
        record->parameters->AddCopy(path);
    }
    return record;
}

StoredAnalysis* MakeNodeValueRecord(TreeNode* node, int commandId, int templateAllowed)
{
    NodeChildList nodes(1, Ownership::Borrows);
    nodes.Add(node);
    return MakeNodeValueStoredRecord(nodes, commandId, templateAllowed);
}

namespace {

using Slot = PresenterSlot<NodeValuePresenter, NodeValuePresenter>;

using SenderSlot = PresenterSlot<NodeValueCommandSender, NodeValueCommandSender>;

const char* CommandTitle(int command)
{
    switch (command) {
    case ProbabilityDistributionCommand: return "Probability Distribution";
    case MarkovAnalysisCommand: return "Markov Analysis";
    case ExpectedValueCommand: return "Expected Value";
    case PathProbabilityCommand: return "Path Probability";
    case PayoffRangeCommand: return "Payoff Range";
    case StandardDeviationCommand: return "Standard Deviation";
    case RankingsCommand: return "Rankings";
    case CostEffectivenessCommand: return "Cost Effectivness Analysis";
    default: return nullptr;
    }
}

bool IsDisplayAnyValCommand(int command)
{
    return command == ExpectedValueCommand || command == PathProbabilityCommand ||
           command == StandardDeviationCommand || command == EvpiCommand;
}

// The command id and the node count of a record, the count bounded by the paths the list holds.
bool ReadHeader(const StoredAnalysis* record, int& command, int& count)
{
    if (record->parameters == nullptr)
        return false;
    StoredItemReader items{*record->parameters};
    int error = 0;
    command = static_cast<int>(ReadNumberItem(items, error));
    const double n = ReadNumberItem(items, error);
    if (error != 0)
        return false;
    const int paths = record->parameters->Count() - 2;
    count = n < 0 ? 0 : (n > paths ? paths : static_cast<int>(n));
    return true;
}

}  // namespace

NodeValuePresenter SetNodeValuePresenter(NodeValuePresenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

NodeValueCommandSender SetNodeValueCommandSender(NodeValueCommandSender sender)
{
    return SenderSlot::Replace(std::move(sender));
}

RunOutcome DisplayAnyVal(TreeDocument* document, int command, const NodeChildList& nodes)
{
    RunOutcome outcome;
    double value = 0.0;
    RunFault error;
    const char* message = nullptr;
    const NodeChildList* optimal = nullptr;
    {
        OutcomeRelay relay(outcome);
        HostWaitCursor wait;
        switch (command) {
        case ExpectedValueCommand:
            for (int i = 0; i < nodes.Count() && !error; ++i)
                value += RollBackTree(nodes.At(i), &error, RollBackPlain);
            if (!error && nodes.Count() == 1) {
                TreeNode* node = nodes.At(0);
                if (node->kind == DecisionNode || node->kind == ReversedDecisionNode) {
                    optimal = node->optimal.get();
                    if (document->IsCostEffectiveness() && optimal != nullptr && optimal->Count() == 0)
                        message = "No strategy can be recommended, based on the cost-effectiveness parameters you "
                                  "entered.";
                }
            }
            break;
        case PathProbabilityCommand:
            for (int i = 0; i < nodes.Count() && !error; ++i)
                value += PathProbability(nodes.At(i), &error, nullptr, false);
            break;
        case StandardDeviationCommand:
            if (nodes.Count() > 0)
                value = NodeStandardDeviation(nodes.At(0), &error);
            break;
        case EvpiCommand:
            value = CalculateEvpi(nodes, &error);
            break;
        default:
            return outcome;
        }
        if (!error && message != nullptr)
            ReportNotice(OutcomeCode::NodeValueNotice, nullptr, message, -1);
    }
    if (error)
        return outcome;
    if (message == nullptr && Slot::Current())
        Slot::Current()(document, command, value, nodes, optimal);
    if (command != EvpiCommand)
        document->SetStoredAnalysis(MakeNodeValueStoredRecord(nodes, command, 0));
    return outcome;
}

void NodeValueAnalysisName(TreeDocument* document, StoredAnalysis* record, zString& text)
{
    int command = 0;
    int count = 0;
    if (!ReadHeader(record, command, count))
        return;
    zString name;
    TreeNode* first = count > 0 && document != nullptr ? FindNodeByPath(document->Root, record->parameters->At(2)->Text())
                                                     : nullptr;
    if (first != nullptr)
        first->GetShortText(name, 30);
    const char* title = CommandTitle(command);
    if (title == nullptr)
        return;
    if (command == ProbabilityDistributionCommand && count != 1) {
        text = "Comparative Distributions";
        return;
    }
    text = title;
    text += "\r\nAt \"";
    text += name;
    text += "\"";
}

void RunNodeValueAnalysis(StoredAnalysis* record, TreeDocument* document)
{
    int command = 0;
    int count = 0;
    if (document == nullptr || !ReadHeader(record, command, count))
        return;
    NodeChildList nodes(4, Ownership::Borrows);
    for (int i = 0; i < count; ++i) {
        TreeNode* node = FindNodeByPath(document->Root, record->parameters->At(2 + i)->Text());
        if (node != nullptr)
            nodes.Add(node);
    }
    // The window shows the nodes selected: the command runs on its selection. The command may replace the
    // document's last record, which may be this one: its successor is taken first.
    StoredAnalysis* successor = TakeNextStoredAnalysis(record);
    if (document->View != nullptr)
        document->View->PointAt(nodes);
    if (SenderSlot::Current())
        SenderSlot::Current()(document, command, nodes, record->graphTemplate);
    else if (IsDisplayAnyValCommand(command))
        DisplayAnyVal(document, command, nodes);
    document->SetStoredAnalysis(nullptr);
    if (successor != nullptr)
        RunStoredAnalysis(successor, document);
}
