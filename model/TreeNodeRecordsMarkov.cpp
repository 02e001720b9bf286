#include "model/TreeNodeRecordsMarkov.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

// Markov fields by selector, in stored order. "flag + expr" is a 16-bit flag, followed by the expression's
// stored form when the flag is non-zero. Old means a record older than 2.6.
//
//   s  role                    2.6 and later                                      old
//   0  none                    nothing                                            nothing
//   1  Markov node             4 x flag + expr: termination of payoff 0..3;       string: termination of the
//                              3.5 and later: flag + expr: shared termination     current payoff
//   2  state                   4 x (3 x flag + expr: initial, incremental and     3 strings: the rewards of
//                              final reward); 16-bit tunnel count                 the current payoff
//   3  terminal in a state     3.5 and later: string, the jump-to state (before   same
//                              3.5 the node's own name); then the fields of 4
//   4  transition rewards      4 x flag + expr: transition reward of payoff 0..3  same

namespace {

// Reads a flag and, when it is set, the expression; false when no expression follows.
bool ReadOptionalExpression(Archive& archive, Expression& expr)
{
    int16_t present = 0;
    archive.ReadShort(present);
    if (present == 0 || archive.Failed())
        return false;
    expr.Serialize(archive);
    return !archive.Failed();
}

void WriteOptionalExpression(Archive& archive, const Expression& expr)
{
    archive.WriteShort(expr.IsEmpty() ? 0 : 1);
    if (!expr.IsEmpty())
        const_cast<Expression&>(expr).Serialize(archive);
}

int PayoffOrZero(int index)
{
    return index >= 0 && index < kMarkovPayoffCount ? index : 0;
}

// Records before 3.5 have no shared termination: it is the cost-effectiveness pair's common condition.
void DeriveSharedTermination(TreeNode* node)
{
    if (node->document == nullptr || node->markovInfo == nullptr)
        return;
    const Expression& effectiveness = node->markovInfo->termination[PayoffOrZero(node->document->CalcPrefs.CEEffPayoff)];
    const Expression& cost = node->markovInfo->termination[PayoffOrZero(node->document->CostPayoffIndex())];
    if (!effectiveness.IsEmpty() && effectiveness.Text() == cost.Text())
        node->SetMarkovSharedTerminationExpr(effectiveness, true);
}

void ReadTransitionRewards(TreeNode* node, Archive& archive)
{
    for (int p = 0; p < kMarkovPayoffCount && !archive.Failed(); ++p) {
        Expression expr;
        if (ReadOptionalExpression(archive, expr))
            node->SetMarkovTransitionRewardExpr(expr, p, true);
    }
}

}  // namespace

int16_t MarkovSelectorFor(const TreeNode* node)
{
    if (node->markovInfo == nullptr)
        return MarkovSelectorNone;
    if (node->kind == MarkovNode)
        return MarkovSelectorMarkovNode;
    if (node->parent != nullptr && node->parent->kind == MarkovNode)
        return MarkovSelectorState;
    if (!node->IsInMarkovSubtree())
        return MarkovSelectorNone;
    return node->IsTerminal() ? MarkovSelectorTransition : MarkovSelectorTransitionRewards;
}

void ReadMarkovFields(TreeNode* node, Archive& archive, int selector, int32_t versionKey)
{
    const bool old = versionKey < KnownVersion::k2_6;
    const bool withSharedFields = versionKey >= KnownVersion::k3_5;
    // A record with Markov fields makes the node's Markov record even when every field is empty, so that the
    // node is written back with the same selector.
    if (selector != MarkovSelectorNone)
        node->EnsureMarkovInfo();
    switch (selector) {
    case MarkovSelectorMarkovNode:
        if (old) {
            zString text;
            LoadString(archive, text);
            if (!archive.Failed())
                node->SetMarkovTerminationText(text.Text(), -1);
            return;
        }
        for (int p = 0; p < kMarkovPayoffCount && !archive.Failed(); ++p) {
            Expression expr;
            if (ReadOptionalExpression(archive, expr))
                node->SetMarkovTerminationExpr(expr, p, true);
        }
        if (withSharedFields) {
            Expression expr;
            if (ReadOptionalExpression(archive, expr))
                node->SetMarkovSharedTerminationExpr(expr, true);
        } else if (!archive.Failed()) {
            DeriveSharedTermination(node);
        }
        return;
    case MarkovSelectorState:
        if (old) {
            zString text;
            for (int k = InitialReward; k <= FinalReward && !archive.Failed(); ++k) {
                LoadString(archive, text);
                if (!archive.Failed())
                    node->SetMarkovRewardText(k, text.Text(), -1);
            }
            return;
        }
        for (int p = 0; p < kMarkovPayoffCount; ++p) {
            for (int k = InitialReward; k <= FinalReward && !archive.Failed(); ++k) {
                Expression expr;
                if (ReadOptionalExpression(archive, expr))
                    node->SetMarkovRewardExpr(k, expr, p, true);
            }
        }
        {
            int16_t tunnels = 0;
            archive.ReadShort(tunnels);
            if (!archive.Failed())
                node->SetMarkovTunnelCount(tunnels, true);
        }
        return;
    case MarkovSelectorTransition: {
        zString text;
        if (withSharedFields)
            LoadString(archive, text);
        else
            text = node->text;
        if (!archive.Failed() && !text.IsEmpty())
            node->SetMarkovJumpState(text.Text(), false);
        ReadTransitionRewards(node, archive);
        return;
    }
    case MarkovSelectorTransitionRewards:
        ReadTransitionRewards(node, archive);
        return;
    default:
        return;
    }
}

void WriteMarkovFields(const TreeNode* node, Archive& archive, int selector)
{
    const MarkovInfo* info = node->markovInfo.get();
    if (info == nullptr)
        return;
    switch (selector) {
    case MarkovSelectorMarkovNode:
        for (const Expression& expr : info->termination)
            WriteOptionalExpression(archive, expr);
        WriteOptionalExpression(archive, info->sharedTermination);
        return;
    case MarkovSelectorState:
        for (int p = 0; p < kMarkovPayoffCount; ++p) {
            WriteOptionalExpression(archive, info->initialReward[p]);
            WriteOptionalExpression(archive, info->incrementalReward[p]);
            WriteOptionalExpression(archive, info->finalReward[p]);
        }
        archive.WriteShort(info->tunnelCount);
        return;
    case MarkovSelectorTransition:
        StoreString(archive, info->jumpName);
        for (const Expression& expr : info->transitionReward)
            WriteOptionalExpression(archive, expr);
        return;
    case MarkovSelectorTransitionRewards:
        for (const Expression& expr : info->transitionReward)
            WriteOptionalExpression(archive, expr);
        return;
    default:
        return;
    }
}
