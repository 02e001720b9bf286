// Jump targets of a Markov subtree: resolution of jump names into state indexes and nodes, and the renaming
// of state references.

#include "model/MarkovInfoJumps.h"

#include "foundation/StringHelpers.h"
#include "model/MarkovBinding.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// Calls visit(terminal, state, stateNumber) on every terminal below every state of the Markov node. Each
// run resolves the jumps when it starts: the walk allocates nothing for a shallow state.
template <typename Visit> void ForEachStateTerminal(TreeNode* markov, Visit visit)
{
    for (int i = 0; i < markov->childCount; ++i) {
        TreeNode* state = markov->GetChild(i);
        ForEachInSubtree(state, [&](TreeNode* node) {
            if (node->IsTerminal())
                visit(node, state, i + 1);
        });
    }
}

// Every jump of every run is resolved against every state: the texts are compared without copies.
int MatchStateText(const TreeNode* markov, const zString& upperName)
{
    for (int i = 0; i < markov->childCount; ++i) {
        if (UpperCasedEquals(markov->GetChild(i)->text.Text(), upperName))
            return i + 1;
    }
    return 0;
}

// The same for a name not yet upper-cased.
int MatchStateName(const TreeNode* markov, const char* name)
{
    for (int i = 0; i < markov->childCount; ++i) {
        if (EqualsNoCase(markov->GetChild(i)->text, name))
            return i + 1;
    }
    return 0;
}

const MarkovBinding* FindBindingUpTo(const TreeNode* node, const TreeNode* markov, const char* upperUserName)
{
    for (const TreeNode* at = node; at != nullptr; at = at->parent) {
        if (at->markovBindings != nullptr) {
            if (const MarkovBinding* binding = at->markovBindings->FindUserName(upperUserName))
                return binding;
        }
        if (at == markov)
            break;
    }
    return nullptr;
}

}  // namespace

int TreeNode::FindStateIndexByName(const char* name) const
{
    const TreeNode* markov = FindMarkovNode();
    if (markov == nullptr)
        return 0;
    // A plain state name (every jump of an ordinary model) is matched without copying it.
    if (name == nullptr || name[0] != '=')
        return MatchStateName(markov, name != nullptr ? name : "");
    zString current(name);
    current.MakeUpper();
    // User names already followed: a chain of bindings that comes back to one of them is unresolved.
    std::vector<std::string> followed;
    for (;;) {
        if (int index = MatchStateText(markov, current))
            return index;
        if (current[0] != '=')
            return 0;
        std::string userName(current.Text() + 1);
        for (const std::string& seen : followed) {
            if (seen == userName)
                return 0;
        }
        followed.push_back(userName);
        const MarkovBinding* binding = FindBindingUpTo(this, markov, userName.c_str());
        if (binding == nullptr)
            return 0;
        current = binding->upperTarget;
    }
}

void ResolveMarkovJumpIndexes(TreeNode* node)
{
    TreeNode* markov = node != nullptr ? node->FindMarkovNode() : nullptr;
    if (markov == nullptr)
        return;
    ForEachStateTerminal(markov, [](TreeNode* terminal, TreeNode* state, int stateNumber) {
        MarkovInfo* info = terminal->EnsureMarkovInfo();
        info->jumpIndex = static_cast<int16_t>(terminal == state ? stateNumber
                                                                 : terminal->FindStateIndexByName(info->jumpName.Text()));
    });
}

void ResetMarkovJumpTargets(TreeNode* node)
{
    TreeNode* markov = node != nullptr ? node->FindMarkovNode() : nullptr;
    if (markov == nullptr)
        return;
    ForEachStateTerminal(markov, [](TreeNode* terminal, TreeNode*, int) { terminal->EnsureMarkovInfo()->jumpIndex = 0; });
}

void ResolveJumpTargetNodes(TreeNode* markov)
{
    ForEachStateTerminal(markov, [markov](TreeNode* terminal, TreeNode* state, int) {
        MarkovInfo* info = terminal->EnsureMarkovInfo();
        info->jumpNode = terminal == state ? state : markov->GetChild(info->jumpIndex - 1);
    });
}

void ClearJumpTargetNodes(TreeNode* markov)
{
    ForEachInSubtree(markov, [](TreeNode* node) {
        if (node->markovInfo != nullptr)
            node->markovInfo->jumpNode = nullptr;
    });
}

void TreeNode::UpdateMarkovStateBindings(const char* oldText, const char* newText)
{
    if (parent == nullptr || parent->kind != MarkovNode)
        return;
    zString upperOld(oldText);
    upperOld.MakeUpper();
    if (std::strcmp(oldText, newText) == 0)
        return;
    TreeNode* markov = parent;
    auto visit = [&](TreeNode* node) {
        if (node->markovBindings != nullptr) {
            for (int i = 0; i < node->markovBindings->Count(); ++i) {
                MarkovBinding* binding = node->markovBindings->At(i);
                if (binding->upperTarget == upperOld)
                    binding->SetTarget(newText);
                if (binding->upperUserName == upperOld)
                    binding->SetUserName(newText);
            }
        }
        if (node->IsTerminal() && node->markovInfo != nullptr) {
            zString upperJump(node->markovInfo->jumpName);
            upperJump.MakeUpper();
            if (upperJump == upperOld)
                node->SetMarkovJumpState(newText, true);
        }
    };
    for (int i = 0; i < markov->childCount; ++i)
        ForEachInSubtree(markov->GetChild(i), visit);
    visit(markov);
}
