#include "analysis/MarkovCohortSteps.h"

#include "foundation/Host.h"
#include "foundation/StringHelpers.h"
#include "model/MarkovInfo.h"
#include "model/NodeFormula.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

#include <cmath>

namespace {

constexpr double kFalseLimit = 1e-10;
constexpr uint32_t kStatusInterval = 501;

const char* const kRewardNames[3] = {"initial reward", "incremental reward", "final reward"};

// One reward formula; an empty or missing one is 0 and is not evaluated.
double EvaluateReward(TreeNode* node, Expression* expression, const char* role, RunFault* error, bool& present)
{
    if (expression == nullptr || expression->IsEmpty())
        return 0.0;
    present = true;
    return EvaluateNodeFormula(node, *expression, role, error, false);
}

// Sets the calculation state's tunnel number for the lifetime of the scope.
class TunnelScope {
public:
    TunnelScope(CalcState& calc, int tunnel) : calc(calc), saved(calc.tunnelIndex) { calc.tunnelIndex = tunnel; }
    ~TunnelScope() { calc.tunnelIndex = saved; }
    TunnelScope(const TunnelScope&) = delete;
    TunnelScope& operator=(const TunnelScope&) = delete;

private:
    CalcState& calc;
    int32_t saved;
};

}  // namespace

int TunnelNumber(const TreeNode* state)
{
    const MarkovInfo* info = state->markovInfo.get();
    return info != nullptr && info->tunnelCount < 0 ? -info->tunnelCount : 0;
}

const char* StateRewardRole(int rewardKind)
{
    return kRewardNames[rewardKind];
}

bool EvaluateStateReward(TreeNode* state, int rewardKind, const MarkovRunArgs& args, RunFault* error, ValueTriple& out)
{
    TunnelScope tunnel(state->document->CalcStateRecord, TunnelNumber(state));
    const char* role = kRewardNames[rewardKind];
    bool present = false;
    return CombineStateReward(args, error, out, [&](int payoff) {
        return EvaluateReward(state, state->MarkovRewardExpr(rewardKind, payoff == 0 ? args.valuePayoff : args.costPayoff),
                              role, error, present);
    });
}

bool SumTransitionRewards(TreeNode* terminal, TreeNode* state, const MarkovRunArgs& args, RunFault* error,
                          ValueTriple& out)
{
    out = ValueTriple();
    bool present = false;
    for (TreeNode* node = terminal; node != nullptr && node != state && !*error; node = node->parent) {
        if (node->markovInfo == nullptr)
            continue;
        if (args.costEffectiveness) {
            out.effectiveness += EvaluateReward(node, node->MarkovTransitionRewardExpr(args.valuePayoff),
                                                "transition reward", error, present);
            if (!*error)
                out.cost += EvaluateReward(node, node->MarkovTransitionRewardExpr(args.costPayoff),
                                           "transition reward", error, present);
        } else {
            out.value += EvaluateReward(node, node->MarkovTransitionRewardExpr(args.valuePayoff), "transition reward",
                                        error, present);
        }
    }
    if (present && args.costEffectiveness)
        out.ComputeRatio();
    return present;
}

Expression& MarkovTerminationCondition(TreeNode* markov, bool shared, int payoffIndex)
{
    Expression* condition = shared ? markov->MarkovSharedTerminationExpr() : markov->MarkovTerminationExpr(payoffIndex);
    static Expression missing;  // a node without Markov settings evaluates the empty condition
    return condition != nullptr ? *condition : missing;
}

bool MarkovTerminatesOn(double value, const CalcState& calc, bool failed)
{
    if (failed)
        return true;
    if (std::fabs(value) >= kFalseLimit)
        return true;
    return calc.stageCounter >= kMarkovCycleLimit;
}

bool MarkovTerminates(TreeNode* markov, bool shared, int payoffIndex, const CalcState& calc, RunFault* error)
{
    const double value = EvaluateNodeFormula(markov, MarkovTerminationCondition(markov, shared, payoffIndex),
                                             "termination condition", error, false);
    return MarkovTerminatesOn(value, calc, static_cast<bool>(*error));
}

MarkovStatus::MarkovStatus(TreeNode* markov) : markov(markov)
{
    Show(0);
}

MarkovStatus::~MarkovStatus()
{
    TheHost().ShowStatus("");
}

// Every run shows its status twice: the texts keep their storage from run to run.
void MarkovStatus::Show(int32_t stage)
{
    static zString text;
    text = "Markov EV at ";
    text += NodeMention(*markov, "");
    text += "; Stage ";
    AppendInt(text, stage);
    TheHost().ShowStatus(text.Text());
}

bool MarkovStatus::Update(int32_t stage)
{
    const uint32_t now = TheHost().TickCount();
    if (updated && now - lastUpdate < kStatusInterval)
        return false;
    updated = true;
    lastUpdate = now;
    Show(stage);
    return TheHost().EscapePressed();
}
