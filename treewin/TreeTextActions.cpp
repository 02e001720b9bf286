#include "treewin/TreeTextActions.h"

#include "model/NoteBox.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "treewin/TreeWindow.h"

TreeTypingAction::TreeTypingAction(TreeWindow* tree, const char* name, TreeNode* node, int part,
                                   const char* oldText, const char* newText)
    : TreeAction(tree, name), oldText(oldText != nullptr ? oldText : ""),
      newText(newText != nullptr ? newText : ""), part(part)
{
    if (node != nullptr)
        RecordPath(node, path);
    else
        snapshot.Take(tree->SelectedNote, newText);
}

void TreeTypingAction::SetTreeText(const zString& text)
{
    tree->ClearSelection();
    if (part == 3) {
        NoteBox* found = snapshot.Find(*tree);
        if (found == nullptr)
            return;
        found->text = text;
        tree->SelectNoteBox(found, nullptr, false);
        snapshot.Take(found);
        return;
    }
    TreeNode* node = ResolvePath(path);
    if (node == nullptr)
        return;
    if (part == 1)
        node->SetText(text.Text(), true);
    else if (part == 2)
        node->SetProbabilityText(text.Text(), true);
    else
        node->SetText2(text.Text(), true);
    tree->RedrawNode(node, 0);
    tree->SelectNode(node, part, nullptr, false);
}

TreeTextTypingAction::TreeTextTypingAction(TreeWindow* tree, TreeNode* node, int part, const char* oldText)
    : TreeTypingAction(tree, "Typing", node, part, oldText, nullptr), note(tree->SelectedNote)
{
    open = 1;
    if (part == 2) {
        for (const TreeNode* each : Family())
            probabilitiesBefore.push_back(each->probability);
        KeepDefinitions(definitionsBefore);
    }
}

void TreeTextTypingAction::Close()
{
    open = 0;
    if (part == 3) {
        snapshot.Take(note);
        note = nullptr;
    }
    if (part == 2) {
        probabilitiesAfter.clear();
        for (const TreeNode* each : Family())
            probabilitiesAfter.push_back(each->probability);
        definitionsAfter.clear();
        KeepDefinitions(definitionsAfter);
    }
}

void TreeTextTypingAction::Undo()
{
    if (part == 2)
        SetProbabilities(probabilitiesBefore, definitionsBefore);
    else
        SetTreeText(oldText);
}

void TreeTextTypingAction::Redo()
{
    if (part == 2)
        SetProbabilities(probabilitiesAfter, definitionsAfter);
    else
        SetTreeText(newText);
}

std::vector<TreeNode*> TreeTextTypingAction::Family() const
{
    TreeNode* node = ResolvePath(path);
    if (node == nullptr)
        return {};
    if (node->parent == nullptr)
        return {node};
    std::vector<TreeNode*> family;
    for (int i = 0; i < node->parent->childCount; ++i)
        family.push_back(node->parent->GetChild(i));
    return family;
}

std::vector<VariableDefinition*> TreeTextTypingAction::ReadableBindings() const
{
    // Each of the family is evaluated at itself: its own bindings, then those of the parent and above (the
    // root's are the tree defaults).
    std::vector<VariableDefinition*> bindings;
    const std::vector<TreeNode*> family = Family();
    for (TreeNode* member : family)
        for (int i = 0; i < member->BindingCount(); ++i)
            bindings.push_back(member->GetBinding(i));
    for (TreeNode* node = family.empty() ? nullptr : family.front()->parent; node != nullptr; node = node->parent)
        for (int i = 0; i < node->BindingCount(); ++i)
            bindings.push_back(node->GetBinding(i));
    return bindings;
}

void TreeTextTypingAction::KeepDefinitions(std::vector<Expression>& kept) const
{
    for (const VariableDefinition* binding : ReadableBindings())
        kept.push_back(binding->definition);
}

void TreeTextTypingAction::SetProbabilities(const std::vector<Expression>& kept,
                                            const std::vector<Expression>& definitions)
{
    // The definitions the check read give back their parse trees as they were, when the bindings are the same.
    const std::vector<VariableDefinition*> bindings = ReadableBindings();
    for (size_t k = 0; k < bindings.size() && bindings.size() == definitions.size(); ++k)
        bindings[k]->definition = definitions[k];

    // Closes the editor still open on the step, which takes what it typed.
    tree->ClearSelection();
    const std::vector<TreeNode*> family = Family();
    if (family.size() != kept.size())
        return;
    for (size_t i = 0; i < family.size(); ++i) {
        family[i]->SetProbability(kept[i], true);
        tree->RedrawNode(family[i], 0);
    }
    if (TreeNode* node = ResolvePath(path))
        tree->SelectNode(node, part, nullptr, false);
}
