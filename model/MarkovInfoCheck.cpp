#include "model/MarkovInfoCheck.h"

#include "formula/WorkStack.h"
#include "formula/RunOutcome.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

namespace {

constexpr int kStructureHelpContext = 30014;

// The rule a node of a state's subtree breaks, or null.
const char* StructureFault(const TreeNode* node, bool isState)
{
    if (!node->IsTerminal() && node->childCount == 0)
        return "State must either be terminal or have branches.";
    if (node->IsDecision() || node->kind == MarkovNode)
        return "Decision nodes not allowed in a Markov subtree.";
    if (isState && node->IsProbabilityEmpty())
        return "Empty initial state probability.";
    if (node->IsTerminal() && node->markovInfo != nullptr && node->markovInfo->jumpIndex == 0)
        return "Unresolved state transition.";
    if (node->IsTerminal() && isState && node->markovInfo != nullptr && node->markovInfo->tunnelCount > 0)
        return "Absorbing states may not be tunnel states.";
    return nullptr;
}

void ClearRunResults(TreeNode* node)
{
    node->triple = ValueTriple();
    node->value = 0.0;
    node->branchProbability = 0.0;
    node->EnsureMarkovInfo()->ClearRunValues();
}

void ReportFault(TreeNode* node, const char* rule)
{
    zString message(rule);
    message += " Bad node: ";
    message += NodeMention(*node, "");
    message += ".";
    ReportNodeFault(OutcomeCode::MarkovStructureFault, node, "Markov Structure Error", message.Text(),
                    kStructureHelpContext);
}

}  // namespace

bool CheckMarkovStructure(TreeNode* markov)
{
    // A run checks the structure each time it starts: the list allocates nothing for shallow states.
    WorkStack<TreeNode*, 32> pending;
    for (int i = 0; i < markov->childCount; ++i) {
        TreeNode* state = markov->GetChild(i);
        pending.Push(state);
        while (!pending.Empty()) {
            TreeNode* node = pending.Pop();
            if (const char* rule = StructureFault(node, node == state)) {
                ReportFault(node, rule);
                return false;
            }
            ClearRunResults(node);
            for (int c = node->childCount - 1; c >= 0; --c)
                pending.Push(node->GetChild(c));
        }
    }
    ClearRunResults(markov);
    return true;
}
