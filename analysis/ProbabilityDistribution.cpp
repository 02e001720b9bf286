#include "analysis/ProbabilityDistribution.h"

#include "analysis/BarGraphData.h"
#include "analysis/DistributionCollector.h"
#include "analysis/ProbabilityVerification.h"
#include "analysis/StoredAnalysisKinds.h"
#include "analysis/VariableSubstitution.h"
#include "model/NodePath.h"
#include "model/StoredAnalysis.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int kTextLength = 30;

StoredAnalysis* MakeRecord(const NodeChildList& nodes)
{
    StoredAnalysis* record = StoredAnalysis::New();
    record->kind = ProbabilityDistributionKind;
    record->templateAllowed = 1;
    AddNumberItem(*record->parameters, nodes.Count());
    for (int i = 0; i < nodes.Count(); ++i) {
        zString text;
        zString path;
        nodes.At(i)->GetShortText(text, kTextLength);
        NodePathString(nodes.At(i), path, nullptr);
        record->parameters->AddCopy(text);
        record->parameters->AddCopy(path);
    }
    return record;
}

// Each node's outcomes over one common value range, shown as lines to compare.
bool RunComparativeDistributions(TreeDocument* document, const NodeChildList& nodes, StoredAnalysis* stored)
{
    for (int i = 0; i < nodes.Count(); ++i)
        if (nodes.At(i)->IsInCloneCopy() || VerifyProbabilities(document, 0, nodes.At(i), nullptr, 0) != 1)
            return false;
    auto data = std::make_unique<ComparativeDistributionData>();
    bool first = true;
    for (int i = 0; i < nodes.Count(); ++i) {
        TreeNode* node = nodes.At(i);
        ComparativeDistributionData::Node entry;
        entry.outcomes = std::make_unique<OutcomeDistribution>(16, true);
        if (DistributionCollector().Collect(node, *entry.outcomes) != 0)
            return false;
        zString text;
        node->GetShortText(text, kTextLength);
        entry.text = text.Text();
        entry.expectedValue = node->ExpectedValue();
        for (int k = 0; k < entry.outcomes->Count(); ++k) {
            const double value = entry.outcomes->OutcomeAt(k)->triple.value;
            data->low = first ? value : std::min(data->low, value);
            data->high = first ? value : std::max(data->high, value);
            first = false;
        }
        data->requestedIntervals = std::max(data->requestedIntervals, static_cast<int>(entry.outcomes->Count()));
        data->nodes.push_back(std::move(entry));
    }
    if (data->high - data->low < 1e-10)
        data->high = data->low + 1.0;
    data->numberFormat = document->NumberFormat();
    data->graphTemplate = stored != nullptr ? stored->graphTemplate : nullptr;
    ShowComparativeDistributionGraph(std::move(data));
    return true;
}

}  // namespace

void RunProbabilityDistribution(TreeDocument* document, const NodeChildList& nodes, StoredAnalysis* stored)
{
    if (nodes.Count() < 1)
        return;
    if (nodes.Count() > 1) {
        if (RunComparativeDistributions(document, nodes, stored) && stored == nullptr)
            document->SetStoredAnalysis(MakeRecord(nodes));
        return;
    }
    TreeNode* node = nodes.At(0);
    if (VerifyProbabilities(document, 0, node, nullptr, 0) != 1)
        return;
    auto data = std::make_unique<ProbDistributionData>();
    if (DistributionCollector().Collect(node, data->outcomes) != 0)
        return;
    data->title = "Probability Distribution at";
    zString text;
    node->GetShortText(text, kTextLength);
    data->nodeText = text.Text();
    data->minimum = data->maximum = data->outcomes.OutcomeAt(0)->triple.value;
    for (int i = 1; i < data->outcomes.Count(); ++i) {
        data->minimum = std::min(data->minimum, data->outcomes.OutcomeAt(i)->triple.value);
        data->maximum = std::max(data->maximum, data->outcomes.OutcomeAt(i)->triple.value);
    }
    data->numberFormat = document->NumberFormat();
    data->calcFlag = static_cast<uint8_t>(document->CalcPrefs.CalcMethod);
    data->graphTemplate = stored != nullptr ? stored->graphTemplate : nullptr;
    ShowProbDistributionGraph(std::move(data));
    if (stored == nullptr)
        document->SetStoredAnalysis(MakeRecord(nodes));
}

void RerunProbabilityDistribution(StoredAnalysis* record, TreeDocument* document)
{
    StoredItemReader items{*record->parameters};
    int error = 0;
    const int count = static_cast<int>(ReadNumberItem(items, error));
    if (error != 0 || count < 1 || record->parameters->Count() < 1 + 2 * count)
        return;
    NodeChildList nodes(2, Ownership::Borrows);
    for (int i = 0; i < count; ++i) {
        items.Next();
        TreeNode* node = FindNodeByPath(document->Root, items.Next()->Text());
        if (node == nullptr)
            return;
        nodes.Add(node);
    }
    RunProbabilityDistribution(document, nodes, record);
    RunNextStoredAnalysis(record, document);
}

void DescribeProbabilityDistribution(TreeDocument*, StoredAnalysis* record, zString& text)
{
    StoredItemReader items{*record->parameters};
    int error = 0;
    const int count = static_cast<int>(ReadNumberItem(items, error));
    text = "Probability Distribution at\r\n";
    for (int i = 0; i < count && i < 3; ++i) {
        text += StoredItemText(*record->parameters, 1 + 2 * i);
        text += "\r\n";
    }
    if (count > 3)
        text += " (and others)";
}
