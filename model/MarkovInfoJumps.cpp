// Jump targets of a Markov subtree: resolution of jump names into state indexes and nodes, and the renaming
// of state references.

#include "model/MarkovInfoJumps.h"

#include "formula/WorkStack.h"
#include "foundation/StringHelpers.h"
#include "model/MarkovBinding.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"

#include <cstdint>
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

// The first state whose name equals an upper-cased name reached through bindings; 0 when none.
int MatchStateText(const TreeNode* markov, const zString& upperName)
{
    for (int i = 0; i < markov->childCount; ++i) {
        if (UpperCasedEquals(markov->GetChild(i)->text.Text(), upperName))
            return i + 1;
    }
    return 0;
}

// The states' names upper-cased once, so that the names of all jumps are matched against them by length
// and bytes alone. Small models need no allocation.
class StateNames {
public:
    explicit StateNames(const TreeNode* markov) : count(markov->childCount)
    {
        for (int i = 0; i < count; ++i) {
            const zString& text = markov->GetChild(i)->text;
            const uint32_t length = text.Length();
            lengths.Push(length);
            for (uint32_t k = 0; k < length; ++k)
                upper.Push(UpperChar(text[k]));
            total += length;
        }
        lengthAt = lengths.Last(count);
        upperAt = upper.Last(static_cast<int>(total));
    }
    StateNames(const StateNames&) = delete;
    StateNames& operator=(const StateNames&) = delete;

    // The number of the first state whose name equals `name` regardless of case; 0 when none.
    int Find(const char* name) const
    {
        const uint32_t length = static_cast<uint32_t>(std::strlen(name));
        WorkStack<char, 64> upperName;
        bool upperCased = false;
        const char* at = upperAt;
        for (int i = 0; i < count; at += lengthAt[i], ++i) {
            if (lengthAt[i] != length)
                continue;
            if (!upperCased) {
                for (uint32_t k = 0; k < length; ++k)
                    upperName.Push(UpperChar(name[k]));
                upperCased = true;
            }
            // Compared in place: the names are short, and a library call per state costs more.
            const char* wanted = upperName.Last(static_cast<int>(length));
            uint32_t k = 0;
            while (k < length && at[k] == wanted[k])
                ++k;
            if (k == length)
                return i + 1;
        }
        return 0;
    }

private:
    int count;
    uint32_t total = 0;
    WorkStack<uint32_t, 32> lengths;
    WorkStack<char, 256> upper;
    const uint32_t* lengthAt = nullptr;
    const char* upperAt = nullptr;
};

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

// The state a jump name resolves to from `from`, with the names of the states of its Markov node.
int ResolveJumpName(const TreeNode* from, const TreeNode* markov, const StateNames& states, const char* name)
{
    // A plain state name: every jump of an ordinary model.
    if (name[0] != '=')
        return states.Find(name);
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
        const MarkovBinding* binding = FindBindingUpTo(from, markov, userName.c_str());
        if (binding == nullptr)
            return 0;
        current = binding->upperTarget;
    }
}

}  // namespace

int TreeNode::FindStateIndexByName(const char* name) const
{
    const TreeNode* markov = FindMarkovNode();
    if (markov == nullptr)
        return 0;
    return ResolveJumpName(this, markov, StateNames(markov), name != nullptr ? name : "");
}

void ResolveMarkovJumpIndexes(TreeNode* node)
{
    TreeNode* markov = node != nullptr ? node->FindMarkovNode() : nullptr;
    if (markov == nullptr)
        return;
    const StateNames states(markov);
    ForEachStateTerminal(markov, [&](TreeNode* terminal, TreeNode* state, int stateNumber) {
        MarkovInfo* info = terminal->EnsureMarkovInfo();
        int index = stateNumber;
        if (terminal != state) {
            // A terminal of a Markov node nested in a state resolves against that node's states.
            const TreeNode* own = terminal->FindMarkovNode();
            index = own == markov ? ResolveJumpName(terminal, markov, states, info->jumpName.Text())
                                  : terminal->FindStateIndexByName(info->jumpName.Text());
        }
        info->jumpIndex = static_cast<int16_t>(index);
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
