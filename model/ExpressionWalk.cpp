#include "model/ExpressionWalk.h"

#include "foundation/Host.h"
#include "foundation/HostPace.h"
#include "model/EvalContext.h"
#include "formula/Expression.h"
#include "formula/FormulaErrors.h"
#include "formula/FormulaRef.h"
#include "foundation/StringHelpers.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "model/VariableDefinition.h"

#include <vector>

namespace {

constexpr long kProgressThreshold = 100;

void VisitOne(ExpressionVisitor& visitor, TreeNode* node, Expression& formula)
{
    if (visitor.countOnly)
        ++visitor.counter;
    else if (visitor.visit != nullptr)
        visitor.visit(visitor, node, formula, visitor.visitArg);
    if (visitor.progress != nullptr)
        visitor.progress(visitor.progressArg);
}

// The renamed text of the formula into context.scratch; true when anything was replaced. Without a
// replacement name the parse tree of a formula that mentions the name is dropped, and the result is false.
bool RenamedText(NameEditContext& context, Expression& formula)
{
    if (context.replacement != nullptr) {
        context.scratch = formula.Text();
        return ReplaceAll(context.scratch, context.name.Text(), context.replacement->Text(), true, false, 0, true) > 0;
    }
    if (FindInText(formula.Text(), context.name.Text(), false, false, 0) > 0)
        formula.DropParseTree();
    return false;
}

// The editing function of the renaming and removal walks; true when the text changed.
bool EditName(NameEditContext& context, Expression& formula)
{
    if (!RenamedText(context, formula))
        return false;
    formula.SetText(context.scratch.Text());
    return true;
}

// One Markov formula of a node: the terminations (the shared one after those of the payoffs), the initial,
// incremental and final rewards of each payoff, the transition rewards.
struct MarkovFormula {
    enum Kind { Termination, SharedTermination, Reward, TransitionReward } kind;
    int rewardKind;
    int payoff;

    Expression& In(MarkovInfo& info) const
    {
        switch (kind) {
        case Termination:
            return info.termination[payoff];
        case SharedTermination:
            return info.sharedTermination;
        case Reward:
            return *info.Reward(rewardKind, payoff);
        case TransitionReward:
            break;
        }
        return info.transitionReward[payoff];
    }

    // Stores a new text through the node's setter, which copies it into the clone counterparts.
    void Store(TreeNode* node, const char* text) const
    {
        switch (kind) {
        case Termination:
            node->SetMarkovTerminationText(text, payoff);
            return;
        case SharedTermination:
            node->SetMarkovSharedTermination(text);
            return;
        case Reward:
            node->SetMarkovRewardText(rewardKind, text, payoff);
            return;
        case TransitionReward:
            node->SetMarkovTransitionReward(text, payoff);
            return;
        }
    }
};

const std::vector<MarkovFormula>& MarkovFormulas()
{
    static const std::vector<MarkovFormula> formulas = [] {
        std::vector<MarkovFormula> all;
        for (int payoff = 0; payoff < kMarkovPayoffCount; ++payoff)
            all.push_back({MarkovFormula::Termination, 0, payoff});
        all.push_back({MarkovFormula::SharedTermination, 0, 0});
        for (int payoff = 0; payoff < kMarkovPayoffCount; ++payoff) {
            for (int rewardKind = InitialReward; rewardKind <= FinalReward; ++rewardKind)
                all.push_back({MarkovFormula::Reward, rewardKind, payoff});
        }
        for (int payoff = 0; payoff < kMarkovPayoffCount; ++payoff)
            all.push_back({MarkovFormula::TransitionReward, 0, payoff});
        return all;
    }();
    return formulas;
}

}  // namespace

void VisitNodeExpressions(TreeNode* node, ExpressionVisitor& visitor)
{
    if (node->parent != nullptr && node->parent->HasBranchProbabilities())
        VisitOne(visitor, node, node->probability);
    for (int i = 0; i < node->BindingCount(); ++i)
        VisitOne(visitor, node, node->GetBinding(i)->definition);
    if (node->kind == TerminalNode) {
        for (int i = 0; i < kPayoffCount; ++i)
            VisitOne(visitor, node, node->Payoff(i));
    }
    // Every Markov formula the node holds, whatever its role now: a node that changes kind keeps them.
    if (node->markovInfo != nullptr) {
        for (const MarkovFormula& formula : MarkovFormulas())
            VisitOne(visitor, node, formula.In(*node->markovInfo));
    }
}

void WalkNodeExpressions(TreeNode* root, ExpressionVisitor& visitor)
{
    WalkTreeWithSkip(root, [](TreeNode* node, void* arg) {
        VisitNodeExpressions(node, *static_cast<ExpressionVisitor*>(arg));
    }, &visitor, true);
}

void ReplaceNameInNodeExpressions(TreeNode* node, NameEditContext& context)
{
    HostSilence quiet(Silence::FormulaMessages);
    for (int i = 0; i < node->BindingCount(); ++i)
        EditName(context, node->GetBinding(i)->definition);
    if (node->kind == TerminalNode) {
        for (int i = 0; i < kPayoffCount; ++i)
            EditName(context, node->Payoff(i));
    }
    EditName(context, node->probability);
    if (node->markovInfo != nullptr) {
        for (const MarkovFormula& formula : MarkovFormulas()) {
            if (RenamedText(context, formula.In(*node->markovInfo)))
                formula.Store(node, context.scratch.Text());
        }
    }
}

void ReparseFormula(ExpressionVisitor&, TreeNode* node, Expression& formula, void*)
{
    if (formula.HasParseTree() || formula.IsEmpty())
        return;
    FormulaRef handle(new EvalContext(node->document, node), 0, nullptr);
    handle.Evaluate(formula);
}

void ReparseTreeBindings(TreeNode* root, bool reparse, ExpressionVisitFunction fn, void* arg,
                         const char* progressText)
{
    if (reparse) {
        fn = ReparseFormula;
        progressText = "Updating parse trees...";
    }
    ExpressionVisitor visitor;
    visitor.document = root->document;
    struct Progress {
        int32_t handle = 0;
        long position = 0;
        HostPace pace;
    } progress;
    if (progressText != nullptr) {
        visitor.countOnly = 1;
        WalkNodeExpressions(root, visitor);
        visitor.countOnly = 0;
        if (visitor.counter >= kProgressThreshold) {
            progress.handle = TheHost().PushProgress(progressText, static_cast<double>(visitor.counter));
            visitor.progressArg = &progress;
            visitor.progress = [](void* state) {
                auto* current = static_cast<Progress*>(state);
                ++current->position;
                if (current->pace.Due())
                    TheHost().StepProgress(current->handle, static_cast<double>(current->position));
            };
        }
    }
    visitor.visit = fn;
    visitor.visitArg = arg;
    WalkNodeExpressions(root, visitor);
    if (progress.handle != 0)
        TheHost().PopProgress(progress.handle);
}
