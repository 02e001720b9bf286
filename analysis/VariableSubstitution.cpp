#include "analysis/VariableSubstitution.h"

#include "model/CloneCopies.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"

bool AddDefinitionIfPresent(RangeBindingList& list, TreeNode* node, const char* upperName)
{
    VariableDefinition* definition = node->FindBinding(upperName, true);
    if (definition == nullptr)
        return false;
    auto* entry = new RangeBinding{definition, node, definition->definition.Text()};
    if (!list.Add(entry))
        delete entry;
    return true;
}

namespace {

void CollectInSubtree(RangeBindingList& list, TreeNode* node, const char* upperName)
{
    for (int i = 0; i < node->childCount; ++i) {
        TreeNode* child = node->GetChild(i);
        AddDefinitionIfPresent(list, child, upperName);
        if (child->cloneStatus != CloneCopyNode)
            CollectInSubtree(list, child, upperName);
    }
}

struct BindingText {
    const char* name;
    const char* text;
};

// The definition's text at every clone counterpart of its node.
void SetInCloneCopies(const RangeBinding& entry, const char* text)
{
    BindingText change{entry.definition->name.Text(), text};
    ForEachCloneCounterpart(entry.node, [](TreeNode* counterpart, TreeNode*, void* arg) {
        const auto* what = static_cast<BindingText*>(arg);
        counterpart->SetBinding(what->name, what->text, false);
    }, &change);
}

}  // namespace

void CollectVariableDefinitions(RangeBindingList& list, TreeNode* start, const char* upperName, bool subtree)
{
    for (TreeNode* node = start; node != nullptr; node = node->parent) {
        if (AddDefinitionIfPresent(list, node, upperName))
            break;
    }
    if (subtree)
        CollectInSubtree(list, start, upperName);
}

void SetBindings(RangeBindingList& list, double value, const char* text)
{
    for (int i = 0; i < list.Count(); ++i) {
        RangeBinding* entry = list.At(i);
        if (entry->definition == nullptr)
            continue;
        entry->definition->definition.SetNumber(value, text);
        entry->node->ModelChanged();
        SetInCloneCopies(*entry, text);
    }
}

void RestoreBindings(RangeBindingList& list)
{
    for (int i = 0; i < list.Count(); ++i) {
        RangeBinding* entry = list.At(i);
        if (entry->definition == nullptr)
            continue;
        entry->definition->definition.SetText(entry->savedText.Text());
        entry->node->ModelChanged();
        SetInCloneCopies(*entry, entry->savedText.Text());
    }
}
