// The Markov queries, accessors and setters of a tree node.

#include "model/CloneCopies.h"
#include "model/MarkovBinding.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

namespace {

// A negative index means the window's current payoff; indexes are kept within 0 to 3.
int PayoffSlot(const TreeNode* node, int payoffIndex)
{
    if (payoffIndex < 0)
        payoffIndex = node->document != nullptr ? node->document->CalcPrefs.CurrentPayoff : 0;
    if (payoffIndex < 0)
        return 0;
    return payoffIndex >= kMarkovPayoffCount ? kMarkovPayoffCount - 1 : payoffIndex;
}

// Which expression of a Markov record a setter changes; copied into clone counterparts by the same choice.
struct MarkovField {
    enum Kind { Termination, SharedTermination, Reward, TransitionReward } kind;
    int rewardKind;
    int payoff;

    Expression* In(MarkovInfo* info) const
    {
        switch (kind) {
        case Termination:
            return &info->termination[payoff];
        case SharedTermination:
            return &info->sharedTermination;
        case Reward:
            return info->Reward(rewardKind, payoff);
        case TransitionReward:
            return &info->transitionReward[payoff];
        }
        return nullptr;
    }
};

void CopyFieldToCounterpart(TreeNode* counterpart, TreeNode* node, void* arg)
{
    const auto* field = static_cast<const MarkovField*>(arg);
    Expression* target = field->In(counterpart->EnsureMarkovInfo());
    const Expression* source = field->In(node->EnsureMarkovInfo());
    if (target != nullptr && source != nullptr)
        target->Assign(*source);
}

void SetFieldText(TreeNode* node, const MarkovField& field, const char* newText)
{
    Expression* expr = field.In(node->EnsureMarkovInfo());
    if (expr == nullptr)
        return;
    expr->SetText(newText != nullptr ? newText : "");
    node->ModelChanged();
    MarkovField copy = field;
    ForEachCloneCounterpart(node, CopyFieldToCounterpart, &copy);
}

void SetFieldExpr(TreeNode* node, const MarkovField& field, const Expression& source, bool propagate)
{
    Expression* expr = field.In(node->EnsureMarkovInfo());
    if (expr == nullptr)
        return;
    expr->Assign(source);
    node->ModelChanged();
    if (propagate) {
        MarkovField copy = field;
        ForEachCloneCounterpart(node, CopyFieldToCounterpart, &copy);
    }
}

void CopyText(const Expression* expr, zString& out)
{
    if (expr != nullptr)
        out = expr->Text();
    else
        out.Clear();
}

}  // namespace

MarkovInfo* TreeNode::EnsureMarkovInfo()
{
    if (markovInfo == nullptr)
        markovInfo = std::make_unique<MarkovInfo>();
    return markovInfo.get();
}

MarkovBindingList* TreeNode::MarkovBindings()
{
    if (markovBindings == nullptr)
        markovBindings = std::make_unique<MarkovBindingList>();
    return markovBindings.get();
}

TreeNode* TreeNode::FindMarkovNode() const
{
    for (const TreeNode* node = this; node != nullptr; node = node->parent) {
        if (node->kind == MarkovNode)
            return const_cast<TreeNode*>(node);
    }
    return nullptr;
}

bool TreeNode::IsInMarkovSubtree() const
{
    return kind != MarkovNode && FindMarkovNode() != nullptr;
}

TreeNode* TreeNode::FindMarkovState() const
{
    for (const TreeNode* node = this; node != nullptr; node = node->parent) {
        if (node->parent != nullptr && node->parent->kind == MarkovNode)
            return const_cast<TreeNode*>(node);
    }
    return nullptr;
}

void TreeNode::GetMarkovRewardText(int rewardKind, zString& out, int payoffIndex)
{
    out = "0";
    if (markovInfo == nullptr)
        return;
    Expression* expr = markovInfo->Reward(rewardKind, PayoffSlot(this, payoffIndex));
    if (expr == nullptr)
        return;
    if (expr->IsEmpty())
        expr->SetText("0");
    out = expr->Text();
}

void TreeNode::GetMarkovTerminationText(zString& out, int payoffIndex) const
{
    CopyText(markovInfo != nullptr ? &markovInfo->termination[PayoffSlot(this, payoffIndex)] : nullptr, out);
}

void TreeNode::GetMarkovSharedTermination(zString& out) const
{
    CopyText(markovInfo != nullptr ? &markovInfo->sharedTermination : nullptr, out);
}

void TreeNode::GetMarkovTransitionReward(zString& out, int payoffIndex) const
{
    CopyText(markovInfo != nullptr ? &markovInfo->transitionReward[PayoffSlot(this, payoffIndex)] : nullptr, out);
}

Expression* TreeNode::MarkovRewardExpr(int rewardKind, int payoffIndex)
{
    return markovInfo != nullptr ? markovInfo->Reward(rewardKind, PayoffSlot(this, payoffIndex)) : nullptr;
}

Expression* TreeNode::MarkovTerminationExpr(int payoffIndex)
{
    return markovInfo != nullptr ? &markovInfo->termination[PayoffSlot(this, payoffIndex)] : nullptr;
}

Expression* TreeNode::MarkovSharedTerminationExpr()
{
    return markovInfo != nullptr ? &markovInfo->sharedTermination : nullptr;
}

Expression* TreeNode::MarkovTransitionRewardExpr(int payoffIndex)
{
    return markovInfo != nullptr ? &markovInfo->transitionReward[PayoffSlot(this, payoffIndex)] : nullptr;
}

void TreeNode::SetMarkovRewardText(int rewardKind, const char* newText, int payoffIndex)
{
    SetFieldText(this, {MarkovField::Reward, rewardKind, PayoffSlot(this, payoffIndex)}, newText);
}

void TreeNode::SetMarkovTerminationText(const char* newText, int payoffIndex)
{
    SetFieldText(this, {MarkovField::Termination, 0, PayoffSlot(this, payoffIndex)}, newText);
}

void TreeNode::SetMarkovSharedTermination(const char* newText)
{
    SetFieldText(this, {MarkovField::SharedTermination, 0, 0}, newText);
}

void TreeNode::SetMarkovTransitionReward(const char* newText, int payoffIndex)
{
    SetFieldText(this, {MarkovField::TransitionReward, 0, PayoffSlot(this, payoffIndex)}, newText);
}

void TreeNode::SetMarkovRewardExpr(int rewardKind, const Expression& expr, int payoffIndex, bool propagate)
{
    SetFieldExpr(this, {MarkovField::Reward, rewardKind, PayoffSlot(this, payoffIndex)}, expr, propagate);
}

void TreeNode::SetMarkovTerminationExpr(const Expression& expr, int payoffIndex, bool propagate)
{
    SetFieldExpr(this, {MarkovField::Termination, 0, PayoffSlot(this, payoffIndex)}, expr, propagate);
}

void TreeNode::SetMarkovSharedTerminationExpr(const Expression& expr, bool propagate)
{
    SetFieldExpr(this, {MarkovField::SharedTermination, 0, 0}, expr, propagate);
}

void TreeNode::SetMarkovTransitionRewardExpr(const Expression& expr, int payoffIndex, bool propagate)
{
    SetFieldExpr(this, {MarkovField::TransitionReward, 0, PayoffSlot(this, payoffIndex)}, expr, propagate);
}

void TreeNode::SetMarkovTunnelCount(int count, bool propagate)
{
    EnsureMarkovInfo()->tunnelCount = static_cast<int16_t>(count);
    ModelChanged();
    if (propagate)
        ForEachCloneCounterpart(this, [](TreeNode* counterpart, TreeNode* node, void*) {
            counterpart->SetMarkovTunnelCount(node->markovInfo->tunnelCount, false);
        }, nullptr);
}

void TreeNode::SetMarkovJumpState(const char* name, bool propagate)
{
    EnsureMarkovInfo()->jumpName = name != nullptr ? name : "";
    ModelChanged();
    if (propagate)
        ForEachCloneCounterpart(this, [](TreeNode* counterpart, TreeNode* node, void*) {
            counterpart->SetMarkovJumpState(node->markovInfo->jumpName.Text(), false);
        }, nullptr);
}
