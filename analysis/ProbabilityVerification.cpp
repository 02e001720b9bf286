#include "analysis/ProbabilityVerification.h"

#include "analysis/MarkovCohortSteps.h"
#include "model/RiskPrefAssessment.h"
#include "foundation/MessageBoxes.h"
#include "formula/RunOutcome.h"
#include "model/MarkovInfo.h"
#include "analysis/RollBack.h"
#include "analysis/RiskPreference.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"
#include "formula/Expression.h"

#include <cmath>
#include <vector>

namespace {

constexpr double kProbabilityTolerance = 1e-6;
constexpr double kNegligibleShare = 1e-12;

struct VerificationState {
    RunFault error;
    const char* extraText = nullptr;
};

// The node named as `namedAs "<name>"` after the lead (see NodeMention).
void ReportProblem(VerificationState& state, OutcomeCode code, TreeNode* node, const char* lead, const char* namedAs,
                   const char* after)
{
    zString message(lead);
    message += NodeMention(*node, namedAs);
    message += after;
    if (state.extraText != nullptr) {
        message += "\r\n\r\n";
        message += state.extraText;
    }
    state.error.Set(code);
    ReportNodeFault(code, node, nullptr, message.Text(), -1);
}

void CheckNode(VerificationState& state, TreeNode* node)
{
    if (state.error)
        return;
    if (node->kind == LabelNode) {
        if (node->childCount >= 2)
            ReportProblem(state, OutcomeCode::LabelNodeBranches, node, "", "The label node",
                          " may not have more than one branch.");
        return;
    }
    if (!node->HasBranchProbabilities())
        return;
    if (EvaluateBranchProbabilities(node, &state.error) != nullptr || state.error) {
        state.error.Set(OutcomeCode::FormulaFailed);
        return;
    }
    if (node->kind == LogicNode)
        return;
    // Without branches there is no sum to speak of: the node itself is what needs mending.
    if (node->kind == ChanceNode && node->childCount == 0) {
        ReportProblem(state, OutcomeCode::ProbabilitiesNotOne, node, "", "The chance node", " has no branches.");
        return;
    }
    double sum = 0.0;
    for (int i = 0; i < node->childCount; ++i) {
        TreeNode* child = node->GetChild(i);
        const double p = child->branchProbability;
        if (!(p >= -kProbabilityTolerance && p <= 1.0 + kProbabilityTolerance)) {
            ReportProblem(state, OutcomeCode::ProbabilityOutOfRange, child, "The probability of ", "node",
                          " is not between zero and one.");
            return;
        }
        sum += p;
    }
    if (std::fabs(sum - 1.0) > kProbabilityTolerance)
        ReportProblem(state, OutcomeCode::ProbabilitiesNotOne, node, "The probabilities on the branches emanating from ",
                      "node", " do not add up to 1.0.");
}

}  // namespace

int VerifyProbabilities(TreeDocument* document, int report, TreeNode* start, const char* extraText, int thisNodeOnly)
{
    if (document == nullptr || document->ValuesCurrent())
        return 1;
    VerificationState state;
    state.extraText = extraText;
    TreeNode* first = start != nullptr ? start : document->Root;
    // A Markov state's subtree is checked with the evaluation's tunnel number set to the state's; inside a
    // Markov node whose cohort is running, states the cohort has (almost) left are skipped.
    struct Pending {
        TreeNode* node;
        int32_t tunnel;
        bool inCohort;
    };
    int32_t& tunnelIndex = document->CalcStateRecord.tunnelIndex;
    const int32_t savedTunnel = tunnelIndex;
    // Checks the entry's node; false for a state the cohort has left, whose subtree is skipped.
    auto check = [&](Pending& entry) {
        TreeNode* node = entry.node;
        if (node->parent != nullptr && node->parent->kind == MarkovNode) {
            if (entry.inCohort && node->markovInfo != nullptr && node->markovInfo->probability < kNegligibleShare)
                return false;
            entry.tunnel = TunnelNumber(node);
        }
        if (node->kind == MarkovNode && node->markovRunFlag != 0)
            entry.inCohort = true;
        tunnelIndex = entry.tunnel;
        CheckNode(state, node);
        return true;
    };
    Pending top{first, savedTunnel, false};
    if (thisNodeOnly) {
        // Every random branch of a trial asks for its node alone: no list is made for it.
        check(top);
    } else {
        std::vector<Pending> pending{top};
        while (!pending.empty() && !state.error) {
            Pending entry = pending.back();
            pending.pop_back();
            if (!check(entry))
                continue;
            for (int i = entry.node->childCount - 1; i >= 0; --i)
                pending.push_back({entry.node->GetChild(i), entry.tunnel, entry.inCohort});
        }
    }
    tunnelIndex = savedTunnel;
    if (state.error)
        return 0;
    if (report)
        ReportNotice(OutcomeCode::ProbabilitiesVerified, nullptr, "All probabilities sum to 1.0.", -1);
    return 1;
}

namespace {

bool ConstantBranchProbabilities(const TreeNode* node)
{
    for (int i = 0; i < node->childCount; ++i) {
        const Expression& probability = node->GetChild(i)->probability;
        double value = 0.0;
        if (!ProbabilityIsComplement(probability) && !probability.CachedNumber(&value) &&
            !IsConstantTree(probability.GetParseTree()))
            return false;
    }
    return true;
}

}  // namespace

int RepeatedProbabilityCheck::Verify(TreeDocument* document, TreeNode* start, const char* extraText)
{
    if (!noted_ || whole_) {
        if (VerifyProbabilities(document, 0, start, extraText, 0) == 0)
            return 0;
        if (noted_ || document == nullptr)
            return 1;
        noted_ = true;
        std::vector<TreeNode*> pending{start != nullptr ? start : document->Root};
        while (!pending.empty() && !whole_) {
            TreeNode* node = pending.back();
            pending.pop_back();
            whole_ = node->kind == MarkovNode;
            if (node->kind != LabelNode && node->HasBranchProbabilities() && !ConstantBranchProbabilities(node))
                varying_.push_back(node);
            for (int i = node->childCount - 1; i >= 0; --i)
                pending.push_back(node->GetChild(i));
        }
        return 1;
    }
    if (document == nullptr || document->ValuesCurrent())
        return 1;
    VerificationState state;
    state.extraText = extraText;
    for (TreeNode* node : varying_) {
        CheckNode(state, node);
        if (state.error)
            return 0;
    }
    return 1;
}

int CheckRiskPreference(TreeDocument* document, const char* extraText)
{
    zString message;
    auto endValues = [document](double& lowest, double& highest) { return TreeEndValueRange(document, lowest, highest); };
    if (!document->CalcPrefs.UseUtility || document->RiskAssessment.Check(*document, message, endValues))
        return 1;
    if (message.IsEmpty())
        return 0;
    if (extraText != nullptr) {
        message += "\r\n\r\n";
        message += extraText;
    }
    message += "\r\n\r\nDo you want to turn off your risk preference function now?";
    if (AskYesNo("Risk Preference Error", message.Text(), -1) != 1)
        return 0;
    document->CalcPrefs.UseUtility = 0;
    document->UpdateStatusIndicators();
    return 1;
}

namespace {

void ReportUtilityOverflow()
{
    ReportFailure(OutcomeCode::UtilityOverflow, nullptr, nullptr, "Numeric overflow. Risk preference function has been inappropriately entered.", -1);
}

}  // namespace

void UtilityChecked(TreeDocument* document, double& value, RunFault* error)
{
    if (*error || !document->CalcPrefs.UseUtility)
        return;
    value = Utility(document, value, error);
    if (*error)
        ReportUtilityOverflow();
}

void InverseUtilityChecked(TreeDocument* document, double& value, RunFault* error)
{
    if (*error || !document->CalcPrefs.UseUtility)
        return;
    value = InverseUtility(document, value, error);
    if (*error)
        ReportUtilityOverflow();
}
