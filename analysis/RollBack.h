#pragma once
// Roll back: the value of a node computed from the leaves up. Chance nodes take the probability-weighted sum
// of their children, decision nodes the best child, terminal nodes their payoff by the calculation method,
// logic nodes the child chosen by rule and label nodes their first child. Results (value, expected value,
// cost and effectiveness, branch probabilities, optimal children) stay in the nodes.

#include "formula/RunOutcome.h"
#include "analysis/CalcMethods.h"
#include "model/TreeCalcPrefs.h"
#include "foundation/HostPace.h"
#include "foundation/NumericHelpers.h"

#include <cstdint>

class CalcState;
class Expression;
class TreeDocument;
struct TreeNode;

// What the probability checks accept: a probability within -1e-6..1+1e-6, a sum within 1e-6 of 1.
constexpr double kProbabilityTolerance = 1e-6;
inline bool ProbabilityInRange(double p)
{
    return p >= -kProbabilityTolerance && p <= 1.0 + kProbabilityTolerance;
}
inline bool ProbabilitySumIsOne(double sum)
{
    return MagnitudeAtMost(sum - 1.0, kProbabilityTolerance);
}

// Modes of RollBackTree.
enum RollBackMode { RollBackPlain = 0, RollBackWithProgress = 2, RollBackSilent = 3 };

class RollBackState {
public:
    void Init(int32_t first, RunFault* errorFlag, TreeDocument* document, int mode);
    // Records the start time and forgets a pending Escape press.
    void Start();
    // At most every 601 ms: Escape pressed sets the error and reports a cancel.
    bool CheckCancel();
    void ShowProgress(long total);
    void Step();
    void EndProgress();
    // With the probability checks on: a probability outside -1e-6..1+1e-6, or a sum further than 1e-6 from
    // 1, is reported through the probability verification at the node and fails.
    bool CheckProbabilityRange(double p, TreeNode* node);
    bool CheckProbabilitySum(double sum, TreeNode* node);
    // The probability checks are on.
    bool ChecksProbabilities() const;

    RunFault* error = nullptr;
    TreeDocument* document = nullptr;
    CalcState* calcState = nullptr;
    CalcMethodKind calcMethod = PayoffMethod;
    int32_t maximize = 1;
    int32_t costEffectiveness = 0;
    int32_t maximin = 0;
    int32_t useUtility = 0;
    int32_t evaluateAll = 0;
    int32_t started = 0;
    int32_t skipProbabilityChecks = 0;
    int32_t progressId = -1;
    long progressCount = 0;
    long progressTotal = 0;
    uint32_t lastCheckTime = 0;
    uint32_t cancelPolls = 0;
    // The progress bar moves a few times a second, not per node.
    HostPace progressPace;
    int32_t callerTag = 0;

private:
    // Reports the probability fault at the node through the verification; false.
    bool ReportProbabilityFault(TreeNode* node, OutcomeCode code);
};

// The node's value; 0.0 when *error is already set. Mode 0 may answer from the values stored by the last
// roll back; any other mode evaluates everything, every child of chance and logic nodes included.
double RollBackTree(TreeNode* node, RunFault* error, int mode);
// The evaluation itself, without the checks of RollBackTree. Runs on its own stack, so tree depth costs no
// native stack.
double EvaluateNode(TreeNode* node, RollBackState& state);

// The probability of the branch into node, cached in the node ("#": one minus the siblings' probabilities).
double BranchProbability(TreeNode* node, RunFault* error, bool quiet);
// The same without caching; a "#" branch gives 0.0 and sets *usesVariables without evaluating.
double BranchProbabilityEx(TreeNode* node, RunFault* error, int* usesVariables);
// Evaluates and caches the branch probabilities of every child; null, or the child whose formula failed.
TreeNode* EvaluateBranchProbabilities(TreeNode* node, RunFault* error);
bool ProbabilityIsComplement(const Expression& expression);
// A decision node's child whose value ties with the best value is on the optimal path too.
bool TiesWithBest(double value, double best);
// The child a logic node follows: the first with a positive branch probability, else the last; null for a
// node without children.
TreeNode* SelectLogicBranch(TreeNode* node, RunFault* error, bool check);
// Payoff i of a terminal node (or, when empty and allowed, field i of the node's name).
double TerminalPayoff(TreeNode* node, RunFault* error, int payoffIndex);
// The value of an end node by the calculation method.
double EndNodeValue(TreeNode* node, RunFault* error, PayoffEvaluator evaluator);
