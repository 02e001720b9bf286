#include "treewin/TreeValueActions.h"

#include "model/MarkovInfo.h"
#include "model/NoteBox.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "treewin/TreeWindow.h"

#include <utility>

TreePreferencesAction::TreePreferencesAction(TreeWindow* tree, const TreeDisplayPrefs& oldDisplay,
                                             const TreeCalcPrefs& oldCalc, bool relayout)
    : TreeAction(tree, "Preferences"), display(oldDisplay), calc(oldCalc), relayout(relayout)
{
}

void TreePreferencesAction::Do()
{
    // A rolled-back tree's boxes hold results written in the number formats, which may have changed.
    if (relayout || tree->Document().IsRolledBack())
        tree->Redraw();
    else
        tree->Relayout();
    // The status bar names the calculation method and whether utilities are used.
    tree->StatusIndicatorsChanged();
}

void TreePreferencesAction::Undo()
{
    std::swap(tree->Document().DisplayPrefs, display);
    std::swap(tree->Document().CalcPrefs, calc);
    Do();
}

TreeFontChangeAction::TreeFontChangeAction(TreeWindow* tree, TreeNode* node, int part, const FontRecord& newFont)
    : TreeAction(tree, "Font Change"), part(part), newFont(newFont)
{
    if (part == 3) {
        if (tree->SelectedNote != nullptr)
            oldFont = std::make_unique<FontRecord>(tree->SelectedNote->font);
        note.Take(tree->SelectedNote);
        return;
    }
    RecordPath(node, path);
    const FontRecord* own = node->fonts[part == 4 ? 2 : part - 1].get();
    if (own != nullptr)
        oldFont = std::make_unique<FontRecord>(*own);
}

void TreeFontChangeAction::Do()
{
    Apply(&newFont);
}

void TreeFontChangeAction::Undo()
{
    // A node that had no font of its own goes back to the document's.
    Apply(oldFont.get());
}

void TreeFontChangeAction::Apply(const FontRecord* font)
{
    if (part == 3) {
        NoteBox* found = note.Find(*tree);
        if (found == nullptr || font == nullptr)
            return;
        found->font = *font;
        tree->Relayout();
        tree->SelectNoteBox(found, nullptr, false);
        return;
    }
    TreeNode* node = ResolvePath(path);
    if (node == nullptr)
        return;
    node->SetFont(part == 4 ? 2 : part - 1, font, true);
    tree->RedrawNode(node, 0);
    tree->SelectNode(node, part, nullptr, false);
}

TreeDocumentFontAction::TreeDocumentFontAction(TreeWindow* tree, const FontRecord& newFont)
    : TreeAction(tree, "Font Change"), font(newFont)
{
}

void TreeDocumentFontAction::Do()
{
    std::swap(tree->Document().DisplayPrefs.TreeFont, font);
    tree->Redraw();
}

TreeChangePayoffAction::TreeChangePayoffAction(TreeWindow* tree, const NodeChildList& nodes,
                                               const char* const newTexts[4], const bool newFlags[4])
    : TreeAction(tree, "Change Payoff")
{
    for (int i = 0; i < 4; ++i) {
        texts[i] = newTexts[i] != nullptr ? newTexts[i] : "";
        flags[i] = newFlags[i];
    }
    for (int n = 0; n < nodes.Count(); ++n) {
        Record record;
        RecordPath(nodes.At(n), record.path);
        for (int i = 0; i < 4; ++i)
            if (flags[i])
                nodes.At(n)->GetPayoffText(record.old[i], i);
        records.push_back(std::move(record));
    }
}

void TreeChangePayoffAction::Do()
{
    Apply(true);
}

void TreeChangePayoffAction::Undo()
{
    Apply(false);
}

void TreeChangePayoffAction::Apply(bool useNew)
{
    NodeChildList nodes(4, Ownership::Borrows);
    for (const Record& record : records) {
        TreeNode* node = ResolvePath(record.path);
        if (node == nullptr)
            continue;
        for (int i = 0; i < 4; ++i)
            if (flags[i])
                node->SetPayoffText((useNew ? texts[i] : record.old[i]).Text(), i, true);
        nodes.Add(node);
    }
    tree->RedrawNodes(nodes, 0);
    tree->SelectNodes(nodes);
}

TreeDefineVariableAction::TreeDefineVariableAction(TreeWindow* tree, const NodeChildList& nodes, const char* name,
                                                   const char* text)
    : TreeAction(tree, ""), variable(name), text(text != nullptr ? text : "")
{
    this->name = "Define Variable \"";
    this->name += name;
    this->name += "\"";
    NodeChildList targets(4, Ownership::Borrows);
    targets.AssignShallow(nodes);
    if (targets.Count() == 0)
        targets.Add(tree->Document().Root);
    for (int i = 0; i < targets.Count(); ++i) {
        Record record;
        RecordPath(targets.At(i), record.path);
        record.hadBindings = targets.At(i)->bindings != nullptr;
        if (const VariableDefinition* binding = targets.At(i)->FindBinding(name, false)) {
            record.old = binding->definition;
            record.oldName = binding->name;
            record.hadBinding = true;
        }
        records.push_back(std::move(record));
    }
}

void TreeDefineVariableAction::Do()
{
    NodeChildList changed(4, Ownership::Borrows);
    for (const Record& record : records) {
        TreeNode* node = ResolvePath(record.path);
        if (node == nullptr)
            continue;
        if (text.IsEmpty())
            node->RemoveBinding(variable.Text(), false, true);
        else
            node->SetBinding(variable.Text(), text.Text(), true);
        changed.Add(node);
    }
    Refresh(changed);
}

void TreeDefineVariableAction::Undo()
{
    NodeChildList changed(4, Ownership::Borrows);
    for (const Record& record : records) {
        TreeNode* node = ResolvePath(record.path);
        if (node == nullptr)
            continue;
        if (!record.hadBinding) {
            RemoveAddedBinding(node, variable.Text(), record.hadBindings);
        } else if (VariableDefinition* binding =
                       node->SetBinding(record.oldName.Text(), record.old.Text().Text(), true)) {
            binding->definition = record.old;
        }
        changed.Add(node);
    }
    Refresh(changed);
}

void TreeDefineVariableAction::Refresh(const NodeChildList& changed)
{
    tree->RedrawNodes(changed, 0);
    tree->VariablesChanged();
}

TreeProbabilityWheelAction::TreeProbabilityWheelAction(TreeWindow* tree, TreeNode* node,
                                                       std::vector<VariableRecord> records, const NameList& newTexts)
    : TreeAction(tree, "Probability Wheel"), probabilities(node, false), variables(std::move(records))
{
    RecordPath(node, path);
    for (int i = 0; i < newTexts.Count(); ++i)
        probabilities.replacement.AddCopy(*newTexts.At(i));
    for (VariableRecord& record : variables) {
        TreeNode* at = ResolvePath(record.path);
        const VariableDefinition* binding = at != nullptr ? at->FindBinding(record.name.Text(), false) : nullptr;
        record.hadBinding = binding != nullptr;
        record.hadBindings = at != nullptr && at->bindings != nullptr;
        if (binding != nullptr)
            record.oldText = binding->definition.Text();
    }
}

void TreeProbabilityWheelAction::Apply(bool useNew)
{
    TreeNode* node = ResolvePath(path);
    if (node == nullptr)
        return;
    probabilities.Apply(node, useNew, nullptr);
    for (const VariableRecord& record : variables) {
        TreeNode* at = ResolvePath(record.path);
        if (at == nullptr)
            continue;
        if (useNew || record.hadBinding)
            at->SetBinding(record.name.Text(), (useNew ? record.newText : record.oldText).Text(), true);
        else
            RemoveAddedBinding(at, record.name.Text(), record.hadBindings);
    }
    tree->ClearSelection();
    tree->RedrawNode(node, 2);
    tree->SelectNode(node, 1, nullptr, false);
}

TreeMarkovJumpAction::TreeMarkovJumpAction(TreeWindow* tree, const NodeChildList& nodes, const char* stateName)
    : TreeAction(tree, "Markov Transition Node"), newName(stateName)
{
    RecordPaths(nodes, paths);
    for (int i = 0; i < nodes.Count(); ++i) {
        const MarkovInfo* info = nodes.At(i)->markovInfo.get();
        oldNames.AddText(info != nullptr ? info->jumpName.Text() : "");
        kept.Keep(nodes.At(i));
    }
}

void TreeMarkovJumpAction::Apply(bool useNew)
{
    NodeChildList nodes(4, Ownership::Borrows);
    for (int i = 0; i < paths.Count(); ++i) {
        TreeNode* node = ResolvePath(*paths.At(i));
        if (node == nullptr)
            continue;
        node->SetMarkovJumpState((useNew ? newName : *oldNames.At(i)).Text(), true);
        if (!useNew)
            kept.GiveBack(node, i);
        nodes.Add(node);
    }
    tree->RedrawNodes(nodes, 0);
    tree->SelectNodes(nodes);
}

TreeMarkovTerminationAction::TreeMarkovTerminationAction(TreeWindow* tree, TreeNode* node,
                                                         const char* const newTexts[4], const char* newShared)
    : TreeAction(tree, "Set Markov Termination"), shared(newShared != nullptr ? newShared : "")
{
    for (int i = 0; i < 4; ++i)
        texts[i] = newTexts[i] != nullptr ? newTexts[i] : "";
    RecordPath(node, path);
    kept.Keep(node);
}

void TreeMarkovTerminationAction::Undo()
{
    Do();
    if (TreeNode* node = ResolvePath(path))
        kept.GiveBack(node, 0);
}

void TreeMarkovTerminationAction::Do()
{
    TreeNode* node = ResolvePath(path);
    if (node == nullptr)
        return;
    zString current;
    for (int i = 0; i < 4; ++i) {
        node->GetMarkovTerminationText(current, i);
        node->SetMarkovTerminationText(texts[i].Text(), i);
        texts[i] = current;
    }
    node->GetMarkovSharedTermination(current);
    node->SetMarkovSharedTermination(shared.Text());
    shared = current;
    tree->RedrawNode(node, 0);
}

TreeMarkovStateInfoAction::TreeMarkovStateInfoAction(TreeWindow* tree, const NodeChildList& nodes, int tunnels,
                                                     const char* const newRewards[3][4])
    : TreeAction(tree, "Set Markov State Info"), tunnels(tunnels)
{
    RecordPaths(nodes, paths);
    for (int kind = 0; kind < 3; ++kind)
        for (int payoff = 0; payoff < 4; ++payoff) {
            written[kind][payoff] = newRewards[kind][payoff] != nullptr;
            rewards[kind][payoff].SetText(written[kind][payoff] ? newRewards[kind][payoff] : "");
        }
    for (int i = 0; i < nodes.Count(); ++i) {
        TreeNode* node = nodes.At(i);
        kept.Keep(node);
        for (int kind = 0; kind < 3; ++kind)
            for (int payoff = 0; payoff < 4; ++payoff) {
                const Expression* reward = node->MarkovRewardExpr(kind, payoff);
                old[kind].push_back(reward != nullptr ? *reward : Expression());
            }
    }
    if (nodes.Count() > 0 && nodes.At(0)->markovInfo != nullptr)
        oldTunnels = nodes.At(0)->markovInfo->tunnelCount;
}

void TreeMarkovStateInfoAction::Apply(bool useNew)
{
    NodeChildList nodes(4, Ownership::Borrows);
    for (int i = 0; i < paths.Count(); ++i) {
        TreeNode* node = ResolvePath(*paths.At(i));
        if (node == nullptr)
            continue;
        if (paths.Count() == 1)
            node->SetMarkovTunnelCount(useNew ? tunnels : oldTunnels, true);
        for (int kind = 0; kind < 3; ++kind)
            for (int payoff = 0; payoff < 4; ++payoff)
                if (written[kind][payoff])
                    node->SetMarkovRewardExpr(kind, useNew ? rewards[kind][payoff] : old[kind][4 * i + payoff],
                                              payoff, true);
        if (!useNew)
            kept.GiveBack(node, i);
        nodes.Add(node);
    }
    tree->RedrawNodes(nodes, 0);
}

TreeMarkovTransitionRewardsAction::TreeMarkovTransitionRewardsAction(TreeWindow* tree, const NodeChildList& nodes,
                                                                     const char* const newTexts[4],
                                                                     const bool newFlags[4])
    : TreeAction(tree, "Set Markov Transition Rewards")
{
    RecordPaths(nodes, paths);
    for (int i = 0; i < 4; ++i) {
        texts[i] = newTexts[i] != nullptr ? newTexts[i] : "";
        flags[i] = newFlags[i];
    }
    for (int n = 0; n < nodes.Count(); ++n) {
        for (int payoff = 0; payoff < 4; ++payoff) {
            zString text;
            nodes.At(n)->GetMarkovTransitionReward(text, payoff);
            old.AddCopy(text);
        }
        kept.Keep(nodes.At(n));
    }
}

void TreeMarkovTransitionRewardsAction::Apply(bool useNew)
{
    NodeChildList nodes(4, Ownership::Borrows);
    for (int i = 0; i < paths.Count(); ++i) {
        TreeNode* node = ResolvePath(*paths.At(i));
        if (node == nullptr)
            continue;
        for (int payoff = 0; payoff < 4; ++payoff)
            if (flags[payoff])
                node->SetMarkovTransitionReward((useNew ? texts[payoff] : *old.At(4 * i + payoff)).Text(), payoff);
        if (!useNew)
            kept.GiveBack(node, i);
        nodes.Add(node);
    }
    tree->RedrawNodes(nodes, 0);
}
