#include "treewin/TreeAction.h"

#include "framework/window/TraceMessage.h"
#include "model/CloneCopies.h"
#include "model/MarkovInfo.h"
#include "model/NodePath.h"
#include "model/NoteBox.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "model/VariableDefinition.h"
#include "treewin/TreeWindow.h"

#include <cmath>
#include <vector>

TreeAction::TreeAction(TreeWindow* tree, const char* name)
    : UndoAction(tree, name), tree(tree), placement_(tree->Placement())
{
}

bool TreeAction::Toggle()
{
    lost_ = false;
    if (undone) {
        placement_ = tree->Placement();
        Redo();
    } else {
        Undo();
        if (!lost_)
            tree->RestorePlacement(placement_);
    }
    if (lost_)
        return false;
    undone = undone ? 0 : 1;
    if (marksModified)
        tree->SetModified(1);
    return true;
}

TreeNode* TreeAction::ResolvePath(const zString& path) const
{
    TreeNode* node = FindNodeByPath(tree->Document().Root, path.Text());
    if (node == nullptr) {
        TraceMessage("%s: no node at %s", name.Text(), path.Text());
        Lost();
    }
    return node;
}

void TreeAction::ResolvePaths(const NameList& paths, NodeChildList& out) const
{
    for (int i = 0; i < paths.Count(); ++i)
        if (TreeNode* node = ResolvePath(*paths.At(i)))
            out.Add(node);
}

void TreeAction::RefreshNode(TreeNode* node, int mode, TreeNode* selected) const
{
    tree->ClearSelection();
    NodeChildList one(1, Ownership::Borrows);
    one.Add(node);
    RedrawEdited(one, mode);
    tree->SelectNode(selected, 1, nullptr, false);
}

void TreeAction::RedrawEdited(const NodeChildList& nodes, int mode) const
{
    NodeChildList changed(4, Ownership::Borrows);
    bool copies = false;
    for (int i = 0; i < nodes.Count(); ++i) {
        if (!changed.Contains(nodes.At(i)))
            changed.Add(nodes.At(i));
        copies = UpdateCopiesOfMastersAbove(nodes.At(i), &changed) || copies;
    }
    tree->RedrawNodes(changed, copies ? 1 : mode);
}

TreeRemovalAction::TreeRemovalAction(TreeWindow* tree, const char* name, TreeNode* node) : TreeAction(tree, name)
{
    if (node->parent == nullptr)
        return;
    RecordPath(node->parent, parentPath);
    index = static_cast<int16_t>(node->parent->IndexOfChild(node));
}

TreeRemovalAction::~TreeRemovalAction()
{
    if (!undone)
        DiscardHeldNodes(removed);
}

void DiscardHeldNodes(TreeNode* held)
{
    if (held == nullptr)
        return;
    ForEachInSubtree(held, [](TreeNode* node) { node->SetDocument(nullptr); });
    delete held;
}

TreeNode* TreeRemovalAction::TakeOut()
{
    if (index < 0)
        return nullptr;
    TreeNode* parent = ResolvePath(parentPath);
    if (parent == nullptr || index >= parent->childCount) {
        Lost();
        return nullptr;
    }
    removed = parent->GetChild(index);
    parent->RemoveChild(removed);
    return parent;
}

TreeNode* TreeRemovalAction::PlaceToPutBack(int extra) const
{
    if (index < 0 || removed == nullptr)
        return nullptr;
    TreeNode* parent = ResolvePath(parentPath);
    if (parent != nullptr && index + extra <= parent->childCount)
        return parent;
    Lost();
    return nullptr;
}

TreeNode* TreeRemovalAction::PutBack(TreeNode* parent)
{
    parent->InsertChildOrThrow(removed, index);
    TreeNode* restored = removed;
    removed = nullptr;
    return restored;
}

KeptMarkovSettings::KeptMarkovSettings() = default;

KeptMarkovSettings::~KeptMarkovSettings() = default;

void KeptMarkovSettings::Keep(const TreeNode* node)
{
    std::unique_ptr<MarkovInfo> copy;
    if (node->markovInfo != nullptr) {
        copy = std::make_unique<MarkovInfo>();
        copy->Assign(*node->markovInfo);
    }
    kept_.push_back(std::move(copy));
}

void KeptMarkovSettings::GiveBack(TreeNode* node, int entry) const
{
    if (entry < 0 || entry >= static_cast<int>(kept_.size()))
        return;
    const MarkovInfo* kept = kept_[static_cast<size_t>(entry)].get();
    if (kept == nullptr) {
        node->markovInfo.reset();
        return;
    }
    if (node->markovInfo == nullptr)
        node->markovInfo = std::make_unique<MarkovInfo>();
    node->markovInfo->Assign(*kept);
}

void RemoveAddedBinding(TreeNode* node, const char* name, bool hadBindings)
{
    node->RemoveBinding(name, false, true);
    if (!hadBindings && node->bindings != nullptr && node->bindings->Count() == 0)
        node->bindings.reset();
}

void RecordPath(const TreeNode* node, zString& out)
{
    NodePathString(node, out, nullptr);
}

void RecordPaths(const NodeChildList& nodes, NameList& out)
{
    for (int i = 0; i < nodes.Count(); ++i) {
        zString path;
        RecordPath(nodes.At(i), path);
        out.AddCopy(path);
    }
}

void NoteSnapshot::Take(const NoteBox* note, const char* replacementText)
{
    if (note == nullptr)
        return;
    text = replacementText != nullptr ? zString(replacementText) : note->text;
    width = note->frame.right - note->frame.left;
    height = note->frame.bottom - note->frame.top;
    left = note->frame.left;
    top = note->frame.top;
}

namespace {

bool Near(float a, float b, double tolerance)
{
    return std::fabs(static_cast<double>(a) - static_cast<double>(b)) <= tolerance;
}

} // namespace

// Among notes of equal text: those of the same size, and of those (when still two or more) the ones at the
// same place; the tolerance widens until fewer than two are left.
NoteBox* NoteSnapshot::Find(TreeWindow& window) const
{
    std::vector<NoteBox*> candidates;
    window.FindNoteBoxesWithText(text.Text(), candidates);
    if (candidates.size() < 2)
        return candidates.empty() ? nullptr : candidates.front();
    std::vector<NoteBox*> kept;
    for (double tolerance : {0.001, 0.01, 0.1}) {
        kept.clear();
        for (NoteBox* note : candidates) {
            const LogicalRect& frame = note->frame;
            if (Near(frame.right - frame.left, width, tolerance) && Near(frame.bottom - frame.top, height, tolerance))
                kept.push_back(note);
        }
        if (kept.size() >= 2) {
            for (size_t i = kept.size(); i-- > 0;) {
                if (!Near(kept[i]->frame.left, left, tolerance) || !Near(kept[i]->frame.top, top, tolerance))
                    kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
        if (kept.size() < 2)
            break;
    }
    return kept.empty() ? nullptr : kept.front();
}

ChildProbabilities::ChildProbabilities(const TreeNode* node, bool withNew)
{
    for (int i = 0; i < node->childCount; ++i) {
        zString text;
        node->GetChild(i)->GetProbabilityText(text);
        old.AddCopy(text);
        if (withNew)
            replacement.AddText("");
    }
}

void ChildProbabilities::Apply(TreeNode* node, bool useNew, NodeChildList* handled) const
{
    const NameList& texts = useNew ? replacement : old;
    for (int i = 0; i < node->childCount && i < texts.Count(); ++i) {
        TreeNode* child = node->GetChild(i);
        child->SetProbabilityText(texts.At(i)->Text(), true);
        if (handled != nullptr)
            handled->Add(child);
    }
}
