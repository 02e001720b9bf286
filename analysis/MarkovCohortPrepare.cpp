// Preparing and finishing a Markov run, and the tunnel copies that exist while it runs.

#include "analysis/MarkovCohort.h"

#include "foundation/Host.h"
#include "foundation/StringHelpers.h"
#include "model/MarkovBinding.h"
#include "model/MarkovInfo.h"
#include "model/MarkovInfoCheck.h"
#include "model/MarkovInfoJumps.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"
#include "model/TreeWalks.h"

#include <cstring>
#include <unordered_map>
#include <vector>

namespace {

const char* const kTunnelMark = "_Tun_";

// A jump name or binding target of a tunnel state's own subtree that was pointed at its first tunnel copy,
// with the text it had, so that finishing the run gives the user's text back unchanged.
struct Redirect {
    TreeNode* node;
    MarkovBinding* binding;  // null for the node's jump name
    zString original;
};

// The redirects of the document's Markov nodes whose tunnel copies exist.
struct TunnelRedirects : KeptAnalysisWork {
    std::unordered_map<const TreeNode*, std::vector<Redirect>> byMarkovNode;
};

std::unordered_map<const TreeNode*, std::vector<Redirect>>& RedirectsByMarkovNode(TreeDocument& document)
{
    return document.Runs.Get<TunnelRedirects>(RunContext::TunnelRedirects).byMarkovNode;
}

// Only the Markov fields: a run inside a Monte Carlo trial keeps the trial's switches.
void ResetMarkovFields(CalcState& calc)
{
    calc.stage = ValueTriple();
    calc.previousStage = ValueTriple();
    calc.total = ValueTriple();
    calc.stageCounter = 0;
    calc.tunnelIndex = 0;
    calc.currentState = nullptr;
    calc.flaggedVariables = 0;
}

// Jump names and binding targets naming the state (compared as name resolution compares them: upper-cased)
// get the new text; each change is reported to `changed`.
template <typename Changed>
void RedirectReferences(TreeNode* top, const zString& upperStateText, const char* newText, Changed changed)
{
    ForEachInSubtree(top, [&](TreeNode* node) {
        if (node->IsTerminal() && node->markovInfo != nullptr) {
            zString upperJump(node->markovInfo->jumpName);
            upperJump.MakeUpper();
            if (upperJump == upperStateText) {
                changed(node, nullptr, node->markovInfo->jumpName);
                node->markovInfo->jumpName = newText;
            }
        }
        if (node->markovBindings == nullptr)
            return;
        for (int i = 0; i < node->markovBindings->Count(); ++i) {
            MarkovBinding* binding = node->markovBindings->At(i);
            if (binding->upperTarget == upperStateText) {
                changed(node, binding, binding->target);
                binding->SetTarget(newText);
            }
        }
    });
}

// The tunnel copies are the run's own scaffolding: adding and removing them leaves a rolled-back tree
// rolled back.
class ScaffoldingEdits {
public:
    explicit ScaffoldingEdits(TreeDocument* tree) : document(tree), saved(tree->RolledBack)
    {
        tree->RolledBack = RolledBackValues::None;
    }
    ~ScaffoldingEdits() { document->RolledBack = saved; }
    ScaffoldingEdits(const ScaffoldingEdits&) = delete;
    ScaffoldingEdits& operator=(const ScaffoldingEdits&) = delete;

private:
    TreeDocument* document;
    RolledBackValues saved;
};

zString TunnelName(const zString& stateText, int number)
{
    zString name(stateText);
    name += kTunnelMark;
    AppendInt(name, number);
    return name;
}

// The copies that expanding the node's tunnel states adds.
int TunnelCopyCount(const TreeNode* markov)
{
    int copies = 0;
    for (int i = 0; i < markov->childCount; ++i) {
        const TreeNode* state = markov->GetChild(i);
        if (state->markovInfo != nullptr && state->markovInfo->tunnelCount > 0)
            copies += state->markovInfo->tunnelCount;
    }
    return copies;
}

}  // namespace

bool ExpandTunnelStates(TreeNode* markov)
{
    ScaffoldingEdits scaffolding(markov->document);
    bool expanded = false;
    const int originalCount = markov->childCount;
    for (int i = 0; i < originalCount; ++i) {
        TreeNode* state = markov->GetChild(i);
        const int count = state->markovInfo != nullptr ? state->markovInfo->tunnelCount : 0;
        if (count <= 0)
            continue;
        std::vector<Redirect>& redirects = RedirectsByMarkovNode(*markov->document)[markov];
        expanded = true;
        const zString& stateText = state->text;
        zString upperText(stateText);
        upperText.MakeUpper();
        for (int k = 1; k <= count; ++k) {
            auto* copy = new TreeNode(*state, true);
            copy->SetProbabilityText("0", false);
            copy->EnsureMarkovInfo()->tunnelCount = static_cast<int16_t>(-k);
            copy->text = TunnelName(stateText, k + 1);
            const zString target = k < count ? TunnelName(stateText, k + 2) : copy->text;
            RedirectReferences(copy, upperText, target.Text(), [](TreeNode*, MarkovBinding*, const zString&) {});
            markov->InsertChildOrThrow(copy, -1);
        }
        const zString firstCopy = TunnelName(stateText, 2);
        RedirectReferences(state, upperText, firstCopy.Text(),
                           [&](TreeNode* node, MarkovBinding* binding, const zString& original) {
                               redirects.push_back(Redirect{node, binding, original});
                           });
    }
    return expanded;
}

TreeNode* FindTunnelOrigin(TreeNode* copy)
{
    TreeNode* markov = copy->parent;
    if (markov == nullptr)
        return nullptr;
    const char* text = copy->text.Text();
    const char* cut = std::strstr(text, kTunnelMark);
    if (cut == nullptr)
        return nullptr;
    if (const char* second = std::strstr(cut + 1, kTunnelMark))
        cut = second;
    zString originText(text);
    originText.Truncate(static_cast<uint32_t>(cut - text));
    for (int i = 0; i < markov->childCount; ++i) {
        TreeNode* sibling = markov->GetChild(i);
        if (sibling->markovInfo != nullptr && sibling->markovInfo->tunnelCount >= 1 && sibling->text == originText)
            return sibling;
    }
    return nullptr;
}

void CollapseTunnelStates(TreeNode* markov)
{
    ScaffoldingEdits scaffolding(markov->document);
    std::vector<TreeNode*> copies;
    for (int i = 0; i < markov->childCount; ++i) {
        TreeNode* child = markov->GetChild(i);
        if (child->markovInfo == nullptr || child->markovInfo->tunnelCount >= 0)
            continue;
        copies.push_back(child);
        TreeNode* origin = FindTunnelOrigin(child);
        if (origin == nullptr)
            continue;
        origin->triple.cost += child->triple.cost;
        origin->triple.effectiveness += child->triple.effectiveness;
        origin->triple.value += child->triple.value;
        origin->EnsureMarkovInfo()->probability += child->markovInfo->probability;
    }
    auto& redirects = RedirectsByMarkovNode(*markov->document);
    auto found = redirects.empty() ? redirects.end() : redirects.find(markov);
    if (found != redirects.end()) {
        for (Redirect& redirect : found->second) {
            if (redirect.binding != nullptr)
                redirect.binding->SetTarget(redirect.original.Text());
            else
                redirect.node->markovInfo->jumpName = redirect.original;
        }
        redirects.erase(found);
    }
    for (TreeNode* copy : copies) {
        markov->RemoveChild(copy);
        delete copy;
    }
}

bool PrepareMarkovRun(TreeNode* markov, RunFault* error)
{
    if (!MarkovRunReuse::JumpsResolved(markov))
        ResolveMarkovJumpIndexes(markov);
    if (!CheckMarkovStructure(markov)) {
        error->Set(OutcomeCode::MarkovStructureFault);
        return false;
    }
    // The tunnel copies become branches of the node: they must fit beside the states.
    if (!markov->CheckRoomForChildren(TunnelCopyCount(markov))) {
        error->Set(OutcomeCode::NodeFull);
        return false;
    }
    error->Clear();
    markov->markovRunFlag = 1;
    ResetMarkovFields(markov->document->CalcStateRecord);
    // The copies' jump names are resolved with the rest; without copies the indexes are already current.
    if (ExpandTunnelStates(markov))
        ResolveMarkovJumpIndexes(markov);
    else
        MarkovRunReuse::KeepJumps(markov);
    ResolveJumpTargetNodes(markov);
    TheHost().EscapePressed();
    return true;
}

void FinishMarkovRun(TreeNode* markov)
{
    markov->markovRunFlag = 0;
    CollapseTunnelStates(markov);
    ClearJumpTargetNodes(markov);
    ResetMarkovFields(markov->document->CalcStateRecord);
}
