// Building the imported tree from the parsed records: formula conversion, the root, the nodes with their
// branches and clones, the Markov settings and the window's calculation preferences.

#include "model/LegacyTreeImporter.h"

#include "model/CloneCopies.h"
#include "model/LegacyTreeText.h"
#include "model/MarkovBinding.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

#include <algorithm>
#include <set>

namespace {

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    return text;
}

// The memory a built node holds, near enough to bound an import: the node and its child list, its texts
// and formulas, its bindings and its Markov record.
long NodeFootprint(const TreeNode* node)
{
    long bytes = static_cast<long>(sizeof(TreeNode) + sizeof(NodeChildList)) + node->text.Length() +
                 node->probability.Text().Length();
    for (int i = 0; node->HasPayoffs() && i < 4; ++i)
        bytes += node->Payoff(i).Text().Length();
    for (int i = 0; i < node->BindingCount(); ++i) {
        const VariableDefinition* binding = node->GetBinding(i);
        bytes += static_cast<long>(sizeof(VariableDefinition)) + binding->name.Length() +
                 binding->definition.Text().Length();
    }
    if (node->markovInfo != nullptr)
        bytes += static_cast<long>(sizeof(MarkovInfo));
    return bytes;
}

struct SubtreeCost {
    long nodes = 0;
    long bytes = 0;
};

SubtreeCost CostOfSubtree(const TreeNode* node)
{
    SubtreeCost cost;
    std::vector<const TreeNode*> pending{node};
    while (!pending.empty()) {
        const TreeNode* current = pending.back();
        pending.pop_back();
        ++cost.nodes;
        cost.bytes += NodeFootprint(current);
        for (int i = 0; i < current->childCount; ++i)
            pending.push_back(current->GetChild(i));
    }
    return cost;
}

// Every node below `node` (not the node), copies included.
template <typename Visit>
void ForEachBelow(TreeNode* node, Visit visit)
{
    std::vector<TreeNode*> pending;
    for (int i = node->childCount - 1; i >= 0; --i)
        pending.push_back(node->GetChild(i));
    while (!pending.empty()) {
        TreeNode* current = pending.back();
        pending.pop_back();
        visit(current);
        for (int i = current->childCount - 1; i >= 0; --i)
            pending.push_back(current->GetChild(i));
    }
}

// A binding of the name at the node or its nearest ancestor that binds it.
bool DefinedUpTree(const TreeNode* node, const char* upperName)
{
    for (; node != nullptr; node = node->parent) {
        if (node->FindBinding(upperName, true) != nullptr)
            return true;
    }
    return false;
}

void ClearStyleFields(NumericFormat& format, uint8_t digits)
{
    format.expValDigits = digits;
    format.commas = 0;
    format.chopOff = 0;
    format.spare = 0;
    format.unitsKind = NumericFormat::UnitsNone;
}

}  // namespace

std::string LegacyTreeImporter::Convert(const std::string& formula)
{
    std::string converted = ConvertLegacyFormula(formula, changedNames, options.truncate8Chars != 0, masks);
    if (converted.size() > Expression::kMaxStoredTextLength && error == NoError) {
        error = FormulaTooLong;
        errorSubject = converted.substr(0, 30);
    }
    return converted;
}

void LegacyTreeImporter::ConvertFormulas()
{
    for (const auto& record : records) {
        for (std::string& payoff : record->payoffs)
            payoff = Convert(payoff);
        for (const auto& branch : record->branches) {
            branch->probability = Convert(branch->probability);
            for (std::string& reward : branch->rewards)
                reward = Convert(reward);
            for (std::string& toll : branch->tolls)
                toll = Convert(toll);
            for (int i = 0; i < branch->bindings.Count(); ++i) {
                VariableDefinition* binding = branch->bindings.At(i);
                const std::string converted = Convert(binding->definition.Text().Text());
                if (converted != binding->definition.Text().Text())
                    binding->definition.SetText(converted.c_str());
            }
        }
    }
    // The default definitions become the root's bindings: they are written in the same older language.
    for (int i = 0; i < variables.Count(); ++i) {
        Expression& definition = variables.At(i)->definition;
        if (!definition.IsEmpty())
            definition.SetText(Convert(definition.Text().Text()).c_str());
    }
}

bool LegacyTreeImporter::ChooseRoot(LegacyNodeRecord*& rootRecord)
{
    std::vector<LegacyNodeRecord*> candidates;
    for (const auto& record : records) {
        if (record->rootCandidate)
            candidates.push_back(record.get());
    }
    if (candidates.empty()) {
        error = NoRoot;
        return false;
    }
    if (candidates.size() == 1) {
        rootRecord = candidates.front();
        return true;
    }
    std::vector<std::string> names;
    for (const LegacyNodeRecord* candidate : candidates)
        names.push_back(candidate->name);
    const int chosen = AskLegacyRootChoice(names);
    if (chosen < 0 || chosen >= static_cast<int>(candidates.size())) {
        error = RootChoiceCancelled;
        errorSubject = std::to_string(candidates.size());
        return false;
    }
    rootRecord = candidates[chosen];
    return true;
}

bool LegacyTreeImporter::CountBuilt(long nodes, long bytes)
{
    nodesBuilt += nodes;
    bytesBuilt += bytes;
    if (nodesBuilt > kMaxNodes)
        error = TooManyNodes;
    else if (bytesBuilt > kMaxBytes)
        error = TooLarge;
    return error == NoError;
}

TreeNode* LegacyTreeImporter::MakeNode(LegacyNodeRecord* record)
{
    if (!CountBuilt(1, 0))
        return nullptr;
    TreeNode* node = new TreeNode(document);
    node->SetText(record->name.c_str(), false);
    node->SetKind(record->kind != 0 ? record->kind : TerminalNode, false);
    if (node->IsTerminal()) {
        for (int i = 0; i < 2; ++i)
            node->SetPayoffText(record->payoffs[i].c_str(), i, false);
    }
    return node;
}

void LegacyTreeImporter::ApplyBranch(TreeNode* child, const LegacyBranchRecord& branch)
{
    child->SetProbabilityText(branch.probability.c_str(), false);
    for (int i = 0; i < branch.bindings.Count(); ++i) {
        const VariableDefinition* binding = branch.bindings.At(i);
        child->SetBinding(binding->name.Text(), binding->definition.Text().Text(), false);
    }
    if (branch.hasRewards) {
        for (int payoff = 0; payoff < 2; ++payoff) {
            for (int kind = 0; kind < 3; ++kind)
                child->SetMarkovRewardText(kind, branch.rewards[payoff * 3 + kind].c_str(), payoff);
        }
    }
    if (branch.tunnelCount > 0)
        child->SetMarkovTunnelCount(branch.tunnelCount, false);
    if (branch.hasTolls) {
        for (int payoff = 0; payoff < 2; ++payoff) {
            if (!branch.tolls[payoff].empty())
                child->SetMarkovTransitionReward(branch.tolls[payoff].c_str(), payoff);
        }
    }
}

void LegacyTreeImporter::MakeCloneCopy(TreeNode* child, LegacyNodeRecord* target)
{
    TreeNode* master = target->built;
    if (master->cloneStatus != CloneMasterNode) {
        document->AddCloneMaster(master, ("Clone of \"" + target->name + "\"").c_str());
    }
    // The copy holds the master's subtree without the master itself.
    const SubtreeCost copied = CostOfSubtree(master);
    if (!CountBuilt(copied.nodes - 1, copied.bytes - NodeFootprint(master)))
        return;
    // The copies are refreshed once the whole tree is built.
    CopyCloneMaster(child, master, nullptr, false);
    clonesMade = true;
}

// Depth first with an explicit stack, so that long chains need no deep recursion. A record is on the build
// path while its subtree is being built: naming it again below itself is a cycle, pruned as a recursive
// clone with the clone option and refused without it (the tree would have no end).
void LegacyTreeImporter::BuildTree(LegacyNodeRecord* rootRecord)
{
    root = MakeNode(rootRecord);
    for (int i = 0; i < variables.Count(); ++i) {
        DocVariable* variable = variables.At(i);
        if (variable->definition.IsEmpty())
            continue;
        if (root->FindBinding(variable->upperName.Text(), true) == nullptr)
            root->SetBinding(variable->name.Text(), variable->definition.Text().Text(), false);
        variable->definition.SetText("");
    }
    if (!CountBuilt(0, NodeFootprint(root)))
        return;
    struct Frame {
        LegacyNodeRecord* record;
        TreeNode* node;
        size_t next;
    };
    std::vector<Frame> stack{{rootRecord, root, 0}};
    rootRecord->built = root;
    rootRecord->onBuildPath = true;
    while (!stack.empty() && error == NoError) {
        Frame& frame = stack.back();
        if (frame.next >= frame.record->branches.size()) {
            frame.record->onBuildPath = false;
            stack.pop_back();
            continue;
        }
        const LegacyBranchRecord& branch = *frame.record->branches[frame.next++];
        TreeNode* parent = frame.node;
        LegacyNodeRecord* target = branch.target;
        if (target->onBuildPath && options.useClones == 0) {
            error = NodeNamesItsAncestor;
            errorSubject = target->name;
            break;
        }
        if (parent->childCount >= TreeNode::kMaxChildren) {
            error = TooManyBranches;
            errorSubject = frame.record->name;
            break;
        }
        TreeNode* child = MakeNode(target);
        if (!child)
            break;
        parent->InsertChildOrThrow(child, -1);
        ApplyBranch(child, branch);
        if (!CountBuilt(0, NodeFootprint(child)))
            break;
        if (target->built && options.useClones != 0) {
            if (target->onBuildPath) {
                if (std::find(prunedClones.begin(), prunedClones.end(), target->name) == prunedClones.end())
                    prunedClones.push_back(target->name);
            } else if (target->kind != TerminalNode && target->kind != 0) {
                MakeCloneCopy(child, target);
            }
            continue;
        }
        if (!target->built)
            target->built = child;
        target->onBuildPath = true;
        stack.push_back(Frame{target, child, 0});
    }
    for (const auto& record : records)
        record->onBuildPath = false;
}

void LegacyTreeImporter::DropUnboundVariables()
{
    std::set<std::string> bound;
    auto collect = [&bound](TreeNode* node) {
        for (int i = 0; i < node->BindingCount(); ++i)
            bound.insert(node->GetBinding(i)->upperName.Text());
    };
    collect(root);
    ForEachBelow(root, collect);
    for (int i = variables.Count() - 1; i >= 0; --i) {
        if (bound.count(variables.At(i)->upperName.Text()) == 0)
            variables.DeleteAt(i);
    }
}

void LegacyTreeImporter::ConvertMarkovNode(TreeNode* markov)
{
    const bool stop = DefinedUpTree(markov, "M_STOP");
    const bool cycleMax = DefinedUpTree(markov, "M_CYCMAX");
    const bool cycleMin = DefinedUpTree(markov, "M_CYCMIN");
    const bool cycleSum = DefinedUpTree(markov, "M_CYCSUM");
    std::string condition;
    if (stop) {
        condition = "m_STOP";
    } else {
        const std::string sumTest = std::string(costEffectiveness ? "_stage_eff" : "_stage_reward") + " < " +
                                    (cycleSum ? "m_CYCSUM" : "0.0001");
        if (cycleMin)
            condition = "_stage >= m_CYCMIN & ";
        if (!cycleMax)
            condition += sumTest;
        else if (!cycleSum)
            condition += "_stage >= m_CYCMAX";
        else
            condition += "(_stage >= m_CYCMAX | " + sumTest + ")";
    }
    markov->SetMarkovTerminationText(condition.c_str(), 0);
    if (costEffectiveness) {
        markov->SetMarkovTerminationText(condition.c_str(), 1);
        markov->SetMarkovSharedTermination(condition.c_str());
    }

    std::set<std::string> stateNames;
    for (int i = 0; i < markov->childCount; ++i)
        stateNames.insert(Upper(markov->GetChild(i)->text.Text()));
    std::set<std::string> jumpTexts;
    ForEachBelow(markov, [&jumpTexts](TreeNode* node) {
        if (!node->IsTerminal())
            return;
        zString jump;
        node->GetPayoffText(jump, 0);
        node->SetMarkovJumpState(jump.Text(), false);
        node->SetPayoffText("", 0, false);
        jumpTexts.insert(Upper(jump.Text()));
    });
    std::set<std::string> noted;
    ForEachBelow(markov, [&](TreeNode* node) {
        if (node->kind == MarkovNode)
            return;
        for (int i = node->BindingCount() - 1; i >= 0; --i) {
            const VariableDefinition* binding = node->GetBinding(i);
            const std::string name = binding->name.Text();
            const std::string formula = binding->definition.Text().Text();
            if (jumpTexts.count(Upper(name)) == 0 || stateNames.count(Upper(TrimBlanks(formula))) == 0)
                continue;
            node->RemoveBinding(name.c_str(), false, false);
            node->MarkovBindings()->Add(new MarkovBinding(TrimBlanks(formula).c_str(), name.c_str()));
            noted.insert(Upper(name));
        }
    });
    ForEachBelow(markov, [&noted](TreeNode* node) {
        if (!node->IsTerminal() || node->markovInfo == nullptr)
            return;
        const std::string jump = node->markovInfo->jumpName.Text();
        if (noted.count(Upper(jump)) != 0)
            node->SetMarkovJumpState(("=" + jump).c_str(), false);
    });
}

// Pre-order over the tree without entering clone copies (they are refreshed from their masters at the end).
void LegacyTreeImporter::ConvertMarkovNodes()
{
    const int payoffs = costEffectiveness ? 2 : 1;
    std::vector<TreeNode*> pending{root};
    while (!pending.empty()) {
        TreeNode* node = pending.back();
        pending.pop_back();
        if (node->kind == MarkovNode)
            ConvertMarkovNode(node);
        if (node->parent != nullptr && node->parent->kind == MarkovNode) {
            for (int payoff = 0; payoff < payoffs; ++payoff) {
                for (int kind = 0; kind < 3; ++kind) {
                    const Expression* reward = node->MarkovRewardExpr(kind, payoff);
                    if (reward == nullptr || reward->IsEmpty())
                        node->SetMarkovRewardText(kind, "0", payoff);
                }
            }
        }
        if (options.explicitHashMark != 0 && node->HasBranchProbabilities() && node->childCount > 1) {
            bool anyHash = false;
            bool anyText = false;
            for (int i = 0; i < node->childCount; ++i) {
                anyHash = anyHash || node->GetChild(i)->ProbabilityIsComplement();
                anyText = anyText || !node->GetChild(i)->IsProbabilityEmpty();
            }
            if (!anyHash && anyText) {
                TreeNode* last = node->GetChild(node->childCount - 1);
                zString old;
                last->GetProbabilityText(old);
                hashMarkNodes.push_back(std::string(last->text.Text()) + " -- prob was: " + old.Text());
                last->SetProbabilityText("#", false);
            }
        }
        if (node->cloneStatus == CloneCopyNode)
            continue;
        for (int i = node->childCount - 1; i >= 0; --i)
            pending.push_back(node->GetChild(i));
    }
    if (clonesMade)
        UpdateCloneCopies(root, false);
}

void LegacyTreeImporter::SetCalculationPreferences()
{
    if (!document)
        return;
    TreeCalcPrefs& prefs = document->CalcPrefs;
    if (costEffectiveness) {
        prefs.CalcMethod = CostEffectivenessMethod;
        prefs.CECostPayoff = 0;
        prefs.CEEffPayoff = 1;
        ClearStyleFields(document->CalcPrefs.PayoffFormats[0], 2);
        ClearStyleFields(document->CalcPrefs.PayoffFormats[1], 3);
    } else {
        prefs.CalcMethod = PayoffMethod;
        prefs.CurrentPayoff = 0;
        ClearStyleFields(document->NumberFormat(), 3);
    }
}
