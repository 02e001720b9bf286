#include "analysis/RollBack.h"

#include "analysis/MarkovCohort.h"
#include "analysis/ProbabilityVerification.h"
#include "analysis/RollBackPlan.h"
#include "foundation/Host.h"
#include "formula/RunOutcome.h"
#include "foundation/NumericHelpers.h"
#include "analysis/ChooseCostEffectiveStrategy.h"
#include "analysis/DecisionNodeStrategySet.h"
#include "formula/Expression.h"
#include "analysis/CEDominance.h"
#include "model/NodeFormula.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "model/TreeDocument.h"

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr double kTieTolerance = 1e-10;
constexpr double kOverflowLimit = 1e21;
constexpr uint32_t kCancelCheckInterval = 601;
constexpr uint32_t kNodesPerClockRead = 63;

bool IsPositive(double p)
{
    return p > 0.0;
}

void ReportOverflow(TreeNode* node)
{
    zString message("Numeric overflow. Unable to represent the value of ");
    message += NodeMention(*node);
    message += ".";
    ReportFailure(OutcomeCode::ValueOverflow, node, nullptr, message.Text(), -1);
}

// An error naming the node (as `namedAs "<name>"`, see NodeMention) after the lead; the node is to be selected.
void ReportNodeProblem(OutcomeCode code, TreeNode* node, const char* lead, const char* namedAs, const char* after)
{
    zString message(lead);
    message += NodeMention(*node, namedAs);
    message += after;
    ReportNodeFault(code, node, nullptr, message.Text(), -1);
}

}  // namespace

void RollBackState::Init(int32_t first, RunFault* errorFlag, TreeDocument* tree, int mode)
{
    *this = RollBackState();
    callerTag = first;
    error = errorFlag;
    document = tree;
    calcState = &document->CalcStateRecord;
    calcMethod = document->CalcPrefs.CalcMethod;
    maximize = document->OptimalPathDirection();
    costEffectiveness = calcMethod == CostEffectivenessMethod ? 1 : 0;
    maximin = document->CalcPrefs.RollBackCalculatesKey == RollBackMaximin && (mode == 2 || mode == 3) ? 1 : 0;
    useUtility = document->CalcPrefs.UseUtility;
    evaluateAll = mode != 0 ? 1 : 0;
}

void RollBackState::Start()
{
    started = 1;
    lastCheckTime = TheHost().TickCount();
    TheHost().EscapePressed();
}

bool RollBackState::CheckCancel()
{
    // The clock is read once every few nodes: evaluating a node takes far less than a millisecond.
    if (!started || (++cancelPolls & kNodesPerClockRead) != 0)
        return false;
    const uint32_t now = TheHost().TickCount();
    if (now - lastCheckTime < kCancelCheckInterval)
        return false;
    lastCheckTime = now;
    if (!TheHost().EscapePressed())
        return false;
    error->Set(OutcomeCode::Cancelled);
    return true;
}

void RollBackState::ShowProgress(long total)
{
    progressId = TheHost().PushProgress("Roll Back", static_cast<double>(total));
    progressTotal = total;
    progressCount = 0;
}

void RollBackState::Step()
{
    ++progressCount;
    if (progressTotal > 0 && (progressCount == progressTotal || progressPace.Due()))
        TheHost().StepProgress(progressId, static_cast<double>(progressCount));
}

void RollBackState::EndProgress()
{
    if (progressId != -1)
        TheHost().PopProgress(progressId);
    progressId = -1;
    progressTotal = 0;
    progressCount = 0;
}

bool RollBackState::ChecksProbabilities() const
{
    return !skipProbabilityChecks && calcState->probabilityCheck != 0;
}

// Kept apart from the checks, so that they stay small enough to be inlined where every branch is checked.
[[gnu::noinline]] bool RollBackState::ReportProbabilityFault(TreeNode* node, OutcomeCode code)
{
    VerifyProbabilities(document, 0, node, nullptr, 0);
    error->Set(code);
    return false;
}

bool RollBackState::CheckProbabilityRange(double p, TreeNode* node)
{
    if (!ChecksProbabilities() || ProbabilityInRange(p))
        return true;
    return ReportProbabilityFault(node, OutcomeCode::ProbabilityOutOfRange);
}

bool RollBackState::CheckProbabilitySum(double sum, TreeNode* node)
{
    if (*error)
        return false;
    if (!ChecksProbabilities() || ProbabilitySumIsOne(sum))
        return true;
    return ReportProbabilityFault(node, OutcomeCode::ProbabilitiesNotOne);
}

double RollBackTree(TreeNode* node, RunFault* error, int mode)
{
    if (*error)
        return 0.0;
    TreeDocument* document = node->document;
    RollBackState state;
    state.Init(0, error, document, mode);
    double value;
    if (document->ValuesCurrent() && document->CalcPrefs.RollBackCalculatesKey != RollBackMaximin && mode == 0) {
        value = node->ExpectedValue();
    } else {
        FreshValues afresh(*document);
        state.Start();
        if (mode == RollBackWithProgress)
            state.ShowProgress(CountSubtreeNodes(node, true));
        if (!RollBackPlan::RollBack(node, state, &value)) {
            value = EvaluateNode(node, state);
            if (!*error)
                RollBackPlan::Keep(node, state);
        }
        if (!*error && state.useUtility)
            InverseUtilityChecked(document, value, error);
        if (mode != RollBackSilent)
            state.EndProgress();
    }
    if (!*error && !(value >= -kOverflowLimit && value <= kOverflowLimit)) {
        error->Set(OutcomeCode::ValueOverflow);
        ReportOverflow(node);
    }
    return value;
}

bool ProbabilityIsComplement(const Expression& expression)
{
    return expression.Text()[0] == '#';
}

bool TiesWithBest(double value, double best)
{
    return std::fabs(value - best) < kTieTolerance;
}

double BranchProbability(TreeNode* node, RunFault* error, bool quiet)
{
    if (*error)
        return 0.0;
    TreeDocument* document = node->document;
    if (document != nullptr && document->ValuesCurrent() && document->CalcPrefs.RollBackCalculatesKey != RollBackMaximin)
        return node->branchProbability;
    double p;
    if (ProbabilityIsComplement(node->probability)) {
        p = 1.0;
        for (int i = 0; node->parent != nullptr && i < node->parent->childCount && !*error; ++i) {
            TreeNode* sibling = node->parent->GetChild(i);
            if (sibling != node)
                p -= EvaluateNodeFormula(sibling, sibling->probability, "probability", error, quiet);
        }
    } else {
        p = EvaluateNodeFormula(node, node->probability, "probability", error, quiet);
    }
    node->branchProbability = p;
    return p;
}

double BranchProbabilityEx(TreeNode* node, RunFault* error, int* usesVariables)
{
    if (ProbabilityIsComplement(node->probability)) {
        *usesVariables = 1;
        return 0.0;
    }
    bool uses = false;
    const double p = EvaluateNodeFormula(node, node->probability, "probability", error, false, &uses);
    *usesVariables = uses ? 1 : 0;
    return p;
}

TreeNode* EvaluateBranchProbabilities(TreeNode* node, RunFault* error)
{
    double remaining = 1.0;
    TreeNode* complement = nullptr;
    for (int i = 0; i < node->childCount; ++i) {
        TreeNode* child = node->GetChild(i);
        if (ProbabilityIsComplement(child->probability)) {
            if (complement != nullptr) {
                BranchProbability(child, error, false);
                return child;
            }
            complement = child;
            continue;
        }
        child->branchProbability = EvaluateNodeFormula(child, child->probability, "probability", error, false);
        remaining -= child->branchProbability;
        if (*error)
            return child;
    }
    if (complement != nullptr)
        complement->branchProbability = remaining;
    return nullptr;
}

TreeNode* SelectLogicBranch(TreeNode* node, RunFault* error, bool check)
{
    if (check && EvaluateBranchProbabilities(node, error) != nullptr)
        return nullptr;
    if (node->childCount == 0)
        return nullptr;
    for (int i = 0; i < node->childCount; ++i) {
        if (IsPositive(node->GetChild(i)->branchProbability))
            return node->GetChild(i);
    }
    return node->GetChild(node->childCount - 1);
}

double TerminalPayoff(TreeNode* node, RunFault* error, int payoffIndex)
{
    Expression& payoff = node->Payoff(payoffIndex);
    TreeDocument* document = node->document;
    if (payoff.IsEmpty() && document != nullptr && document->CalcPrefs.AllowTermNodeNameAsPayoff) {
        zString fieldText;
        if (PayoffFromNodeName(node, fieldText, payoffIndex)) {
            RunFault fieldError;
            bool usesVariables = false;
            const double value =
                EvaluateNodeFormulaText(node, fieldText.Text(), "payoff", &fieldError, true, &usesVariables);
            if (!fieldError && !usesVariables)
                return value;
        }
    }
    return EvaluateNodeFormula(node, payoff, "payoff", error, false);
}

double EndNodeValue(TreeNode* node, RunFault* error, PayoffEvaluator evaluator)
{
    return ComputeMultiAttributeValue(node->document, node, evaluator, error);
}

namespace {

// One node on the evaluation stack: where it stands among its children and what it has summed so far.
struct Frame {
    TreeNode* node;
    int16_t next = 0;
    TreeNode* chosen = nullptr;  // logic nodes
    double value = 0.0;
    double sum = 0.0;
    double pendingProbability = 0.0;
    size_t firstChildValue = 0;  // decision nodes: their children's values start here
    // Chance nodes: children below this index have their probability in branchProbability already,
    // evaluated by a "#" sibling before them.
    int16_t probabilitiesKnown = 0;
    bool haveCandidate = false;
};

// The working stacks of one evaluation. They are kept, emptied, for the next evaluation, so that repeated roll
// backs (one per Monte Carlo trial, per sensitivity value) allocate nothing; a formula may start another roll
// back while one runs, so each running evaluation holds stacks of its own.
struct EvaluationStacks {
    std::vector<Frame> frames;
    std::vector<double> childValues;
};

// The document's spare stacks.
struct SpareStacks : KeptAnalysisWork {
    std::vector<std::unique_ptr<EvaluationStacks>> spare;
};

SpareStacks& SpareStacksOf(TreeDocument& document)
{
    return document.Runs.Get<SpareStacks>(RunContext::RollBackStacks);
}

std::unique_ptr<EvaluationStacks> TakeStacks(TreeDocument& document)
{
    auto& spare = SpareStacksOf(document).spare;
    if (spare.empty())
        return std::make_unique<EvaluationStacks>();
    std::unique_ptr<EvaluationStacks> stacks = std::move(spare.back());
    spare.pop_back();
    return stacks;
}

class Evaluator {
public:
    explicit Evaluator(RollBackState& state)
        : state(state), error(state.error), stacks(TakeStacks(*state.document)), frames(stacks->frames),
          childValues(stacks->childValues)
    {
    }
    ~Evaluator()
    {
        frames.clear();
        childValues.clear();
        SpareStacksOf(*state.document).spare.push_back(std::move(stacks));
    }
    Evaluator(const Evaluator&) = delete;
    Evaluator& operator=(const Evaluator&) = delete;
    double Run(TreeNode* root);

private:
    // Either pushes a frame for the node or evaluates it at once into `result`.
    bool Enter(TreeNode* node);
    // The next child to evaluate for the frame, or null when the frame is complete.
    TreeNode* NextChild(Frame& frame);
    // The probability of the branch into the frame's current child (BranchProbability).
    double ChildProbability(Frame& frame, TreeNode* child);
    // A "#" branch: one minus its siblings' probabilities, each formula evaluated once in the frame.
    double ComplementProbability(Frame& frame, TreeNode* child);
    void ChildDone(Frame& frame, TreeNode* child, double childValue);
    double Finish(Frame& frame);
    void ChooseCostEffectiveChild(TreeNode* node);
    void ChooseBestChild(Frame& frame);
    // Steps 3 to 5 shared by every kind: ratio, stored results, utilities.
    double Complete(TreeNode* node, double value, bool endNode);

    RollBackState& state;
    RunFault* error;
    std::unique_ptr<EvaluationStacks> stacks;
    std::vector<Frame>& frames;
    std::vector<double>& childValues;
    double result = 0.0;
};

double Evaluator::Run(TreeNode* root)
{
    if (!Enter(root))
        return result;
    while (!frames.empty()) {
        Frame& frame = frames.back();
        TreeNode* child = NextChild(frame);
        if (child == nullptr) {
            result = Finish(frames.back());
            frames.pop_back();
            if (frames.empty())
                break;
            ChildDone(frames.back(), frames.back().node->GetChild(frames.back().next - 1), result);
            continue;
        }
        if (!Enter(child))
            ChildDone(frames.back(), child, result);
    }
    return result;
}

bool Evaluator::Enter(TreeNode* node)
{
    if (*error || state.CheckCancel()) {
        result = 0.0;
        return false;
    }
    state.Step();
    switch (node->kind) {
    case TerminalNode:
        result = Complete(node, EndNodeValue(node, error, TerminalPayoff), true);
        return false;
    case MarkovNode:
        result = Complete(node,
                          state.costEffectiveness ? MarkovCostEffectivenessValue(node, error)
                                                  : EndNodeValue(node, error, MarkovCohortValue),
                          true);
        return false;
    case ChanceNode:
    case LabelNode:
    case LogicNode:
    case DecisionNode:
    case ReversedDecisionNode:
        break;
    default:
        result = Complete(node, 0.0, false);
        return false;
    }
    Frame frame;
    frame.node = node;
    if (state.costEffectiveness && !node->IsDecision())
        node->triple = ValueTriple();
    if (node->kind == LogicNode) {
        node->EnsureOptimalList()->Empty();
        frame.chosen = SelectLogicBranch(node, error, true);
        if (frame.chosen == nullptr) {
            if (!*error) {
                error->Set(OutcomeCode::LogicNodeWithoutBranches);
                ReportNodeProblem(OutcomeCode::LogicNodeWithoutBranches, node, "", "The logic node",
                                  " has no branches. Unable to evaluate it.");
            }
            result = Complete(node, 0.0, false);
            return false;
        }
        node->optimal->Add(frame.chosen);
    }
    if (node->IsDecision()) {
        node->EnsureOptimalList()->Empty();
        frame.firstChildValue = childValues.size();
    }
    frames.push_back(frame);
    return true;
}

TreeNode* Evaluator::NextChild(Frame& frame)
{
    TreeNode* node = frame.node;
    switch (node->kind) {
    case ChanceNode:
        if (state.maximin) {
            if (*error || frame.next >= node->childCount)
                return nullptr;
            return node->GetChild(frame.next++);
        }
        while (frame.next < node->childCount) {
            TreeNode* child = node->GetChild(frame.next++);
            const double p = ChildProbability(frame, child);
            if (*error || !state.CheckProbabilityRange(p, node))
                return nullptr;
            if (!state.evaluateAll && !IsPositive(p)) {
                if (!state.costEffectiveness)
                    frame.sum += p;
                continue;
            }
            frame.pendingProbability = p;
            return child;
        }
        state.CheckProbabilitySum(frame.sum, node);
        return nullptr;
    case LabelNode:
        if (frame.next > 0 || node->childCount == 0 || *error)
            return nullptr;
        return node->GetChild(frame.next++);
    case LogicNode:
        if (*error)
            return nullptr;
        if (!state.evaluateAll) {
            if (frame.next > 0)
                return nullptr;
            frame.next = static_cast<int16_t>(node->IndexOfChild(frame.chosen) + 1);
            return frame.chosen;
        }
        return frame.next < node->childCount ? node->GetChild(frame.next++) : nullptr;
    default:
        if (*error || frame.next >= node->childCount)
            return nullptr;
        return node->GetChild(frame.next++);
    }
}

double Evaluator::ChildProbability(Frame& frame, TreeNode* child)
{
    if (frame.next <= frame.probabilitiesKnown)
        return child->branchProbability;
    if (!*error && ProbabilityIsComplement(child->probability) &&
        !(state.document->ValuesCurrent() && state.document->CalcPrefs.RollBackCalculatesKey != RollBackMaximin))
        return ComplementProbability(frame, child);
    return BranchProbability(child, error, false);
}

// The siblings before the child were evaluated by this frame; those after it are evaluated here and kept
// for their own turn, unless another "#" follows (its formula is evaluated as a sibling's, as before).
double Evaluator::ComplementProbability(Frame& frame, TreeNode* child)
{
    TreeNode* node = frame.node;
    const int index = frame.next - 1;
    bool keep = true;
    double p = 1.0;
    for (int i = 0; i < node->childCount && !*error; ++i) {
        TreeNode* sibling = node->GetChild(i);
        if (i == index)
            continue;
        const bool complement = ProbabilityIsComplement(sibling->probability);
        if (i < index && !complement) {
            p -= sibling->branchProbability;
            continue;
        }
        const double q = EvaluateNodeFormula(sibling, sibling->probability, "probability", error, false);
        p -= q;
        if (complement)
            keep = false;
        else if (keep)
            sibling->branchProbability = q;
    }
    if (keep && !*error)
        frame.probabilitiesKnown = node->childCount;
    child->branchProbability = p;
    return p;
}

void Evaluator::ChildDone(Frame& frame, TreeNode* child, double childValue)
{
    TreeNode* node = frame.node;
    switch (node->kind) {
    case ChanceNode:
        if (state.maximin) {
            if (!frame.haveCandidate || state.document->IsBetter(nullptr, frame.value, childValue))
                frame.value = childValue;
            frame.haveCandidate = true;
        } else if (state.costEffectiveness) {
            node->triple.cost += frame.pendingProbability * child->triple.cost;
            node->triple.effectiveness += frame.pendingProbability * child->triple.effectiveness;
            node->triple.value += frame.pendingProbability * child->triple.value;
            frame.sum += frame.pendingProbability;
        } else {
            frame.value += frame.pendingProbability * childValue;
            frame.sum += frame.pendingProbability;
        }
        break;
    case LabelNode:
        frame.value = childValue;
        break;
    case LogicNode:
        if (child == frame.chosen)
            frame.value = childValue;
        break;
    default:
        childValues.push_back(childValue);
        break;
    }
}

void Evaluator::ChooseCostEffectiveChild(TreeNode* node)
{
    CEPointList points(2, true);
    BuildCEPoints(DecisionNodeStrategySet(node), points, 1);
    const int index = ChooseCostEffectiveStrategy(state.document->CESettings, points, state.document, error);
    const CEPoint* point = index >= 0 ? points.Point(index) : nullptr;
    TreeNode* chosen = point != nullptr ? node->GetChild(point->strategyIndex) : nullptr;
    if (chosen == nullptr) {
        // No value may be made up for a node without a strategy: the roll back stops here.
        node->triple = ValueTriple();
        if (!*error) {
            error->Set(OutcomeCode::NoStrategyChosen);
            ReportNodeProblem(OutcomeCode::NoStrategyChosen, node, "No strategy of ", "the decision node",
                              " is within the cost-effectiveness limits. Unable to choose its optimal strategy.");
        }
        return;
    }
    node->optimal->Add(chosen);
    node->triple = chosen->triple;
}

void Evaluator::ChooseBestChild(Frame& frame)
{
    TreeNode* node = frame.node;
    const size_t count = childValues.size() - frame.firstChildValue;
    if (count == 0) {
        frame.value = 0.0;
        return;
    }
    const double* values = childValues.data() + frame.firstChildValue;
    double best = values[0];
    for (size_t i = 1; i < count; ++i)
        best = state.document->BetterValue(node, best, values[i]);
    for (size_t i = 0; i < count; ++i) {
        if (TiesWithBest(values[i], best))
            node->optimal->Add(node->GetChild(static_cast<int>(i)));
    }
    frame.value = best;
}

double Evaluator::Finish(Frame& frame)
{
    TreeNode* node = frame.node;
    if (node->IsDecision()) {
        if (state.costEffectiveness) {
            if (!*error)
                ChooseCostEffectiveChild(node);
        } else {
            ChooseBestChild(frame);
        }
        childValues.resize(frame.firstChildValue);
    } else if (state.costEffectiveness && node->kind != ChanceNode) {
        const TreeNode* source = node->kind == LogicNode ? frame.chosen : node->GetChild(0);
        if (source != nullptr) {
            node->triple.cost = source->triple.cost;
            node->triple.effectiveness = source->triple.effectiveness;
        }
    }
    return Complete(node, frame.value, false);
}

double Evaluator::Complete(TreeNode* node, double value, bool endNode)
{
    if (state.costEffectiveness) {
        node->triple.ComputeRatio();
        value = node->triple.value;
    }
    node->value = value;
    node->triple.value = value;
    if (state.useUtility && !*error) {
        if (endNode) {
            UtilityChecked(state.document, value, error);
            node->value = value;
        } else {
            InverseUtilityChecked(state.document, node->triple.value, error);
        }
    }
    return value;
}

}  // namespace

double EvaluateNode(TreeNode* node, RollBackState& state)
{
    Evaluator evaluator(state);
    return evaluator.Run(node);
}
