#include "analysis/EvpiCalculation.h"

#include "analysis/ProbabilityVerification.h"
#include "analysis/RollBack.h"
#include "analysis/VariableSubstitution.h"
#include "formula/RunOutcome.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "foundation/PresenterSlot.h"
#include "model/NodePath.h"
#include "model/StoredAnalysis.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <cmath>
#include <utility>

namespace {

constexpr int kMaxLevel = 32;
constexpr const char* kNoDecision =
    "There are no decision nodes to the left of the selected chance node(s). The EVPI cannot be calculated.";

using ChooserSlot = PresenterSlot<EvpiCalculation, EvpiChooser>;

using Slot = PresenterSlot<EvpiCalculation, EvpiPresenter>;

bool IsDecision(const TreeNode* node)
{
    return node->kind == DecisionNode || node->kind == ReversedDecisionNode;
}

TreeNode* AncestorAt(TreeNode* node, int steps)
{
    for (int i = 0; i < steps && node != nullptr; ++i)
        node = node->parent;
    return node;
}

// The check of the selection before a calculation; the message of the first failure, or null.
const char* SelectionProblem(const NodeChildList& selected)
{
    if (selected.At(0)->document->CalcPrefs.CalcMethod != PayoffMethod)
        return "EVPI may only be calculated when the calculation method for your tree is \"simple.\"";
    for (int i = 0; i < selected.Count(); ++i) {
        const TreeNode* node = selected.At(i);
        if (node->kind != ChanceNode)
            return "To calculate EVPI, select the chance node(s) which represent the outcome which you would like "
                   "to know with perfect certainty.";
        if (node->parent == nullptr)
            return kNoDecision;
        if (node->parent != selected.At(0)->parent)
            return "To calculate EVPI, the chance nodes you select must be immediate descendants of the same node.";
    }
    return nullptr;
}

StoredAnalysis* MakeRecord(const EvpiCalculation& calculation)
{
    StoredAnalysis* record = StoredAnalysis::New();
    record->kind = EvpiKind;
    AddNumberItem(*record->parameters, calculation.selection.Count());
    zString path;
    for (int i = 0; i < calculation.selection.Count(); ++i) {
        NodePathString(calculation.selection.At(i), path, nullptr);
        record->parameters->AddCopy(path);
    }
    AddNumberItem(*record->parameters, calculation.level);
    return record;
}

// The scratch-tree steps shared by a calculation and a re-run.
void ComputeFromDecision(EvpiCalculation& calculation)
{
    if (!calculation.error)
        calculation.ComputeWithout();
    if (!calculation.error)
        calculation.BuildScratchTree();
    if (!calculation.error)
        calculation.GraftPaths();
    if (!calculation.error)
        calculation.ComputeWith();
}

}  // namespace

EvpiChooser SetEvpiChooser(EvpiChooser chooser)
{
    return ChooserSlot::Replace(std::move(chooser));
}

EvpiPresenter SetEvpiPresenter(EvpiPresenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

EvpiCalculation::~EvpiCalculation()
{
    if (scratchRoot != nullptr) {
        // The scratch root was never one of its parent's branches.
        scratchRoot->parent = nullptr;
        delete scratchRoot;
    }
}

void EvpiCalculation::FindEquivalentNodes()
{
    TreeNode* parent = eventNode->parent;
    std::vector<double> eventProbabilities;
    for (int i = 0; i < eventNode->childCount && !error; ++i)
        eventProbabilities.push_back(BranchProbability(eventNode->GetChild(i), &error, false));
    std::vector<TreeNode*> candidates;
    for (int s = 0; s < parent->childCount && !error; ++s) {
        TreeNode* sibling = parent->GetChild(s);
        if (sibling->kind != ChanceNode || selection.Contains(sibling) || sibling->childCount != eventNode->childCount)
            continue;
        bool close = true;
        for (int i = 0; i < sibling->childCount && close && !error; ++i) {
            // A difference entered as exactly 0.1 is not close, whatever the rounding of its parts.
            const double p = BranchProbability(sibling->GetChild(i), &error, false);
            close = std::fabs(p - eventProbabilities[i]) < 0.1 - 1e-9;
        }
        if (close && !error)
            candidates.push_back(sibling);
    }
    if (error || candidates.empty() || !ChooserSlot::Current().equivalentNodes)
        return;
    std::vector<bool> chosen(candidates.size(), false);
    if (!ChooserSlot::Current().equivalentNodes(candidates, chosen)) {
        error.Set(OutcomeCode::Cancelled);
        return;
    }
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (chosen[i])
            selection.Add(candidates[i]);
    }
}

void EvpiCalculation::ChooseDecisionNode()
{
    std::vector<TreeNode*> decisions;
    std::vector<int> levels;
    int steps = 0;
    for (TreeNode* node = eventNode->parent; node != nullptr; node = node->parent) {
        ++steps;
        if (IsDecision(node)) {
            decisions.push_back(node);
            levels.push_back(steps);
        }
    }
    if (decisions.empty()) {
        ReportFailure(OutcomeCode::EvpiNoDecision, nullptr, nullptr, kNoDecision, -1);
        error.Set(OutcomeCode::EvpiNoDecision);
        return;
    }
    int index = 0;
    if (decisions.size() > 1 && ChooserSlot::Current().decisionLevel)
        index = ChooserSlot::Current().decisionLevel(decisions);
    if (index < 0 || index >= static_cast<int>(decisions.size())) {
        error.Set(OutcomeCode::Cancelled);
        return;
    }
    decisionNode = decisions[index];
    level = levels[index];
}

void EvpiCalculation::ComputeWithout()
{
    evWithout = RollBackTree(decisionNode, &error, RollBackSilent);
}

void EvpiCalculation::BuildScratchTree()
{
    scratchRoot = new TreeNode(*decisionNode, false);
    scratchRoot->parent = decisionNode->parent;
    scratchRoot->kind = ChanceNode;
    eventNode->CopyBindingsTo(scratchRoot, true);
    for (int i = 0; i < eventNode->childCount; ++i) {
        auto* outcome = new TreeNode(*eventNode->GetChild(i), false);
        outcome->kind = DecisionNode;
        scratchRoot->InsertChildOrThrow(outcome, -1);
        outcomes.Add(outcome);
    }
    currentNode = decisionNode;
}

void EvpiCalculation::GraftPaths()
{
    const int payoff = document->CalcPrefs.CurrentPayoff;
    for (int m = level - 1; m >= 0; --m) {
        NodeChildList next(4, Ownership::Borrows);
        TreeNode* nextCurrent = currentNode;
        const int branchCount = currentNode->childCount;
        for (int i = 0; i < branchCount; ++i) {
            TreeNode* x = currentNode->GetChild(i);
            const bool onPath = eventNode->IsDescendantOf(x);
            const bool chosen = m == 0 && selection.Contains(x);
            if (onPath) {
                nextCurrent = x;
                x->CopyBindingsTo(scratchRoot, false);
            }
            for (int k = 0; k < outcomes.Count(); ++k) {
                auto* copy = new TreeNode(*x, false);
                outcomes.At(k)->InsertChildOrThrow(copy, -1);
                if (onPath) {
                    next.Add(copy);
                    continue;
                }
                copy->kind = TerminalNode;
                const TreeNode* valued = chosen && k < x->childCount ? x->GetChild(k) : x;
                zString text;
                FormatNumber(DefaultNumericFormat, valued->ExpectedValue(), text, false, false, -9);
                copy->SetPayoffText(text.Text(), payoff, false);
            }
        }
        outcomes.Clear();
        for (int k = 0; k < next.Count(); ++k)
            outcomes.Add(next.At(k));
        currentNode = nextCurrent;
    }
}

void EvpiCalculation::ComputeWith()
{
    if (VerifyProbabilities(document, 0, scratchRoot, nullptr, 0) != 1) {
        error.Set(OutcomeCode::ProbabilitiesNotOne);
        return;
    }
    const double evWith = RollBackTree(scratchRoot, &error, RollBackSilent);
    if (error)
        return;
    evpi = evWith - evWithout;
    if (!document->IsMaximizing())
        evpi = -evpi;
}

double CalculateEvpi(const NodeChildList& selected, RunFault* error)
{
    if (selected.Count() == 0)
        return 0.0;
    if (const char* problem = SelectionProblem(selected)) {
        ReportFailure(OutcomeCode::EvpiSelection, nullptr, nullptr, problem, -1);
        error->Set(OutcomeCode::EvpiSelection);
        return 0.0;
    }
    TreeDocument* document = selected.At(0)->document;
    EvpiCalculation calculation(document);
    for (int i = 0; i < selected.Count(); ++i)
        calculation.selection.Add(selected.At(i));
    calculation.eventNode = selected.At(0);
    calculation.FindEquivalentNodes();
    if (!calculation.error)
        calculation.ChooseDecisionNode();
    ComputeFromDecision(calculation);
    if (calculation.error) {
        error->Set(calculation.error.Code());
        return calculation.evpi;
    }
    document->SetStoredAnalysis(MakeRecord(calculation));
    return calculation.evpi;
}

void RerunEvpi(StoredAnalysis* record, TreeDocument* document)
{
    if (document == nullptr || record->parameters == nullptr || document->CalcPrefs.CalcMethod != PayoffMethod)
        return;
    StoredItemReader items{*record->parameters};
    int readError = 0;
    const double count = ReadNumberItem(items, readError);
    if (readError != 0 || count < 1 || count + 2 > record->parameters->Count())
        return;
    EvpiCalculation calculation(document);
    for (int i = 0; i < static_cast<int>(count); ++i) {
        const zString* path = items.Next();
        TreeNode* node = path != nullptr ? FindNodeByPath(document->Root, path->Text()) : nullptr;
        if (node == nullptr)
            return;
        calculation.selection.Add(node);
    }
    const double level = ReadNumberItem(items, readError);
    if (readError != 0 || level < 0 || level > kMaxLevel)
        return;
    calculation.eventNode = calculation.selection.At(0);
    calculation.level = static_cast<int>(level);
    calculation.decisionNode = AncestorAt(calculation.eventNode, calculation.level);
    if (calculation.decisionNode == nullptr || !IsDecision(calculation.decisionNode))
        return;
    ComputeFromDecision(calculation);
    if (!calculation.error && Slot::Current())
        Slot::Current()(document, calculation.evpi);
}

void EvpiDescribe(TreeDocument* document, StoredAnalysis* record, zString& text)
{
    text = "EVPI at ";
    if (document == nullptr || record->parameters == nullptr || record->parameters->Count() < 2)
        return;
    TreeNode* node = FindNodeByPath(document->Root, record->parameters->At(1)->Text());
    if (node == nullptr)
        return;
    zString name;
    node->GetShortText(name, 30);
    text += name;
}
