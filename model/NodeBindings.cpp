// Variable bindings at a node: lookup, setting and removal (with propagation to clone copies), renaming
// across a subtree, copying between nodes, and braced bindings that set document trial values.

#include "model/EvalContext.h"
#include "formula/FormulaRef.h"
#include "foundation/StringHelpers.h"
#include "model/CloneCopies.h"
#include "model/ExpressionWalk.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "model/VariableDefinition.h"
#include "model/TreeDocument.h"

#include <vector>

int TreeNode::BindingCount() const
{
    return bindings != nullptr ? bindings->Count() : 0;
}

VariableDefinition* TreeNode::GetBinding(int i) const
{
    return bindings != nullptr ? bindings->At(i) : nullptr;
}

VariableDefinition* TreeNode::FindBinding(const char* name, bool alreadyUpper) const
{
    if (bindings == nullptr)
        return nullptr;
    if (alreadyUpper)
        return bindings->Find(name);
    zString upperName(name);
    upperName.MakeUpper();
    return bindings->Find(upperName.Text());
}

VariableDefinition* TreeNode::FindBindingByText(const char* bindingText, bool alreadyUpper) const
{
    return FindBinding(bindingText, alreadyUpper);
}

namespace {

struct BindingChange {
    const char* name;
    const char* formula;
};

}  // namespace

VariableDefinition* TreeNode::SetBinding(const char* name, const char* formulaText, bool propagate)
{
    VariableDefinition* binding = FindBinding(name, false);
    if (binding != nullptr) {
        binding->definition.SetText(formulaText);
    } else {
        if (bindings == nullptr)
            bindings = std::make_unique<VariableDefList>(4, true);
        binding = new VariableDefinition(name, formulaText);
        if (bindings->InsertSorted(binding) < 0) {
            delete binding;
            return nullptr;
        }
    }
    ModelChanged();
    if (propagate) {
        BindingChange change{name, formulaText};
        ForEachCloneCounterpart(this, [](TreeNode* counterpart, TreeNode*, void* arg) {
            const auto* what = static_cast<BindingChange*>(arg);
            counterpart->SetBinding(what->name, what->formula, false);
        }, &change);
    }
    return binding;
}

void TreeNode::RemoveBinding(const char* name, bool deep, bool propagate)
{
    zString upperName(name);
    upperName.MakeUpper();
    std::vector<TreeNode*> pending{this};
    while (!pending.empty()) {
        TreeNode* node = pending.back();
        pending.pop_back();
        if (node->bindings != nullptr) {
            int index;
            while ((index = node->bindings->IndexOfName(upperName.Text())) >= 0)
                node->bindings->DeleteAt(index);
        }
        if (!deep)
            break;
        NameEditContext context{zString(), zString(name), nullptr, node, node->document};
        ReplaceNameInNodeExpressions(node, context);
        for (int i = node->childCount - 1; i >= 0; --i)
            pending.push_back(node->GetChild(i));
    }
    ModelChanged();
    if (!deep && propagate)
        ForEachCloneCounterpart(this, [](TreeNode* counterpart, TreeNode*, void* arg) {
            counterpart->RemoveBinding(static_cast<const char*>(arg), false, false);
        }, const_cast<char*>(name));
}

void TreeNode::RenameBindingInSubtree(const char* oldName, const char* newName)
{
    zString oldUpper(oldName);
    oldUpper.MakeUpper();
    zString replacement(newName);
    std::vector<TreeNode*> pending{this};
    while (!pending.empty()) {
        TreeNode* node = pending.back();
        pending.pop_back();
        if (node->bindings != nullptr) {
            int index;
            std::vector<VariableDefinition*> renamed;
            while ((index = node->bindings->IndexOfName(oldUpper.Text())) >= 0) {
                VariableDefinition* binding = node->bindings->At(index);
                node->bindings->RemoveAt(index);
                binding->SetName(newName);
                renamed.push_back(binding);
            }
            for (VariableDefinition* binding : renamed) {
                if (node->bindings->InsertSorted(binding) < 0)
                    delete binding;
            }
        }
        NameEditContext context{zString(), zString(oldName), &replacement, node, node->document};
        ReplaceNameInNodeExpressions(node, context);
        for (int i = node->childCount - 1; i >= 0; --i)
            pending.push_back(node->GetChild(i));
    }
}

void TreeNode::CopyBindingsTo(TreeNode* destination, bool replace)
{
    if (bindings == nullptr)
        return;
    const bool destinationHadBindings = destination->bindings != nullptr;
    if (!destinationHadBindings)
        destination->bindings = std::make_unique<VariableDefList>(4, true);
    for (int i = 0; i < bindings->Count(); ++i) {
        const VariableDefinition* source = bindings->At(i);
        VariableDefinition* existing =
            destinationHadBindings ? destination->bindings->Find(source->upperName.Text()) : nullptr;
        if (existing != nullptr) {
            existing->definition.Assign(source->definition);
            continue;
        }
        auto* copy = new VariableDefinition;
        copy->Assign(*source);
        const bool added = destinationHadBindings ? destination->bindings->InsertSorted(copy) >= 0
                                                  : destination->bindings->Add(copy);
        if (!added)
            delete copy;
    }
    if (replace)
        bindings->DeleteAll();
}

bool TreeNode::LastBindingIsBraced() const
{
    return BindingCount() > 0 && bindings->At(bindings->Count() - 1)->IsBraced();
}

bool TreeNode::EvaluateBracedBindings()
{
    for (int i = BindingCount() - 1; i >= 0; --i) {
        VariableDefinition* binding = bindings->At(i);
        if (!binding->IsBraced())
            break;
        FormulaRef formula(new EvalContext(document, this), 1, binding->name.Text());
        const double result = formula.Evaluate(binding->definition);
        if (formula.HasError()) {
            formula.ShowError(nullptr, 1);
            return false;
        }
        if (document != nullptr && binding->upperName.Length() > 4) {
            DocVariable* variable = document->FindVariable(binding->upperName.Text() + 4, true);
            if (variable != nullptr)
                variable->tValue3 = static_cast<float>(result);
        }
    }
    return true;
}

void RegisterSubtreeVariables(TreeNode* node, bool deep)
{
    if (node == nullptr || node->document == nullptr)
        return;
    auto registerNode = [](TreeNode* current, void*) {
        for (int i = 0; i < current->BindingCount(); ++i)
            current->document->EnsureVariable(current->GetBinding(i)->name.Text(), nullptr);
    };
    if (deep)
        WalkTreeWithSkip(node, registerNode, nullptr, true);
    else
        registerNode(node, nullptr);
}
