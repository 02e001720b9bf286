#include "analysis/OverUnderAnalysis.h"

#include "analysis/RollBack.h"
#include "analysis/TreeQueries.h"
#include "analysis/VariableSubstitution.h"
#include "foundation/Host.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "foundation/PresenterSlot.h"
#include "model/NodePath.h"
#include "model/StoredAnalysis.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"

#include <cmath>
#include <utility>

namespace {

using Slot = PresenterSlot<OverUnderResult, OverUnderPresenter>;

void AddOutcome(TreeNode* node, void* arg)
{
    auto& request = *static_cast<OverUnderRequest*>(arg);
    if (request.error || (node->kind != TerminalNode && node->kind != MarkovNode))
        return;
    const double v = node->value;
    const bool counts = v > request.target ||
                        (request.targetCountsAbove != 0 && std::fabs(v - request.target) < 1e-10);
    if (counts)
        request.probabilityAbove += PathProbability(node, &request.error, request.node, false);
}

// "Probability ^<side> target:" with "^" standing for the words of the side that includes the target.
void FillLabel(zString& label, const char* side, bool includesTarget)
{
    label = "Probability ";
    if (includesTarget)
        label += "at or ";
    label += side;
    label += " target:";
}

void Present(const OverUnderRequest& request)
{
    if (!Slot::Current())
        return;
    const NumericFormat& format = request.node->document->NumberFormat();
    OverUnderResult result;
    FormatNumber(format, request.target, result.target, true, true, DigitsOfFormat);
    FormatNumber(format, request.probabilityAbove, result.above, false, false, DigitsOfFormat);
    FormatNumber(format, 1.0 - request.probabilityAbove, result.below, false, false, DigitsOfFormat);
    FillLabel(result.aboveLabel, "above", request.targetCountsAbove != 0);
    FillLabel(result.belowLabel, "below", request.targetCountsAbove == 0);
    Slot::Current()(result);
}

StoredAnalysis* MakeRecord(const OverUnderRequest& request)
{
    StoredAnalysis* record = NewStoredRecordAt(OverUnderKind, request.node, 0);
    zString text;
    FormatNumber(DefaultNumericFormat, request.target, text, false, false, -9);
    record->parameters->AddCopy(text);
    AddNumberItem(*record->parameters, request.targetCountsAbove);
    return record;
}

// The record's node and target; false when either cannot be read.
bool ReadRecord(TreeDocument* document, StoredAnalysis* record, OverUnderRequest& request)
{
    if (document == nullptr || record->parameters == nullptr)
        return false;
    StoredItemReader items{*record->parameters};
    const zString* path = items.Next();
    request.node = path != nullptr ? FindNodeByPath(document->Root, path->Text()) : nullptr;
    int error = 0;
    request.target = ReadNumberItem(items, error);
    request.targetCountsAbove = static_cast<int32_t>(ReadNumberItem(items, error));
    return request.node != nullptr && error == 0;
}

}  // namespace

OverUnderPresenter SetOverUnderPresenter(OverUnderPresenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

void OverUnderCompute(OverUnderRequest& request, bool rerun)
{
    {
        OutcomeRelay relay(request.outcome);
        HostWaitCursor wait;
        RollBackTree(request.node, &request.error, RollBackPlain);
        if (!request.error)
            WalkSubtreeByKind(request.node, AddOutcome, &request, false);
    }
    if (request.error)
        return;
    Present(request);
    if (!rerun)
        request.node->document->SetStoredAnalysis(MakeRecord(request));
}

void RunOverUnder(StoredAnalysis* record, TreeDocument* document)
{
    OverUnderRequest request;
    if (ReadRecord(document, record, request))
        OverUnderCompute(request, true);
}

void OverUnderDescribe(TreeDocument* document, StoredAnalysis* record, zString& text)
{
    text = "Over/Under";
    text += " at node";
    text += "\r\n";
    if (document == nullptr || record->parameters == nullptr)
        return;
    StoredItemReader items{*record->parameters};
    const zString* path = items.Next();
    TreeNode* node = path != nullptr ? FindNodeByPath(document->Root, path->Text()) : nullptr;
    if (node == nullptr)
        return;
    zString name;
    node->GetShortText(name, 30);
    text += name;
    int error = 0;
    const double target = ReadNumberItem(items, error);
    if (error != 0)
        return;
    text += "\r\nTarget: ";
    zString number;
    FormatNumber(DefaultNumericFormat, target, number, false, false, -9);
    text += number;
}
