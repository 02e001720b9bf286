#include "model/NodeFormula.h"

#include "model/EvalContext.h"
#include "formula/Formula.h"
#include "formula/FormulaRef.h"
#include "formula/NameResolution.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

namespace {

double Finish(FormulaRef& handle, double value, RunFault* error, bool quiet, bool* usesVariables)
{
    if (usesVariables != nullptr)
        *usesVariables = handle.UsesVariables();
    if (handle.HasError()) {
        error->Set(OutcomeCode::FormulaFailed);
        if (!quiet)
            handle.ShowError(nullptr, 1);
    }
    return value;
}

}  // namespace

NodeFormulaEvaluator::NodeFormulaEvaluator(TreeDocument* document) : document(document) {}

NodeFormulaEvaluator::~NodeFormulaEvaluator() = default;

NodeFormulaEvaluator::RoleHandle& NodeFormulaEvaluator::HandleFor(const char* role)
{
    for (int i = 0; i < used; ++i) {
        if (handles[i].role == role)
            return handles[i];
    }
    RoleHandle& entry = handles[used < kHandles ? used++ : kHandles - 1];
    if (!entry.handle) {
        entry.context = new EvalContext(document, nullptr);
        entry.handle.reset(new FormulaRef(entry.context, 1, nullptr));
    }
    return entry;
}

const TreeNode* NodeFormulaEvaluator::ScopeOf(const TreeNode* node)
{
    if (node->bindings != nullptr || node->parent == nullptr)
        return node;
    if (node->parent != scopeParent || scopeGeneration != ResolutionGenerations::Names())
        NoteParent(node->parent);
    return parentScope;
}

void NodeFormulaEvaluator::NoteParent(const TreeNode* parent)
{
    // A walk moves on to a child, a sibling or the parent of the parent asked about last: without bindings
    // between, it resolves names from the same scope, and the search up the tree is skipped.
    const bool adjacent = scopeGeneration == ResolutionGenerations::Names() && scopeParent != nullptr &&
                          parent->bindings == nullptr &&
                          (parent->parent == scopeParent ||
                           (scopeParent->bindings == nullptr && scopeParent->parent != nullptr &&
                            (parent == scopeParent->parent || parent->parent == scopeParent->parent)));
    if (!adjacent) {
        parentScope = NameScope(parent);
        scopeGeneration = ResolutionGenerations::Names();
    }
    scopeParent = parent;
}

double NodeFormulaEvaluator::Evaluate(TreeNode* node, const TreeNode* scope, Expression& formula, const char* role,
                                      RunFault* error, bool quiet, bool* usesVariables)
{
    busy = true;
    RoleHandle& entry = HandleFor(role);
    entry.context->Retarget(node, scope);
    Formula& task = entry.handle->GetFormula();
    if (role == entry.role) {
        task.Restart();
    } else {
        task.Init(entry.context, 1, role);
        entry.role = role;
    }
    const double value = task.Evaluate(formula);
    if (usesVariables != nullptr)
        *usesVariables = task.UsesVariables();
    if (task.HasError()) {
        error->Set(OutcomeCode::FormulaFailed);
        if (!quiet)
            task.ReportError(nullptr, 1);
    }
    busy = false;
    return value;
}

namespace {

// At a node of a document `scope` is the node's ScopeOf.
double EvaluateAtNode(TreeNode* node, const TreeNode* scope, Expression& formula, const char* role, RunFault* error,
                      bool quiet, bool* usesVariables)
{
    if (node->document != nullptr) {
        NodeFormulaEvaluator& shared = node->document->FormulaEvaluator();
        if (!shared.IsBusy())
            return shared.Evaluate(node, scope, formula, role, error, quiet, usesVariables);
    }
    FormulaRef handle(new EvalContext(node->document, node), 1, role);
    const double value = handle.Evaluate(formula);
    return Finish(handle, value, error, quiet, usesVariables);
}

}  // namespace

double EvaluateNodeFormula(TreeNode* node, Expression& formula, const char* role, RunFault* error, bool quiet,
                           bool* usesVariables)
{
    // A plain number, as typed or cached, is its value: it needs no context, reads no variable and cannot
    // fail (roll back meets one at most chance branches). So is a formula that reads only names bound to
    // plain numbers and cannot fail.
    double number = 0.0;
    if (formula.KeepPlainNumber(&number)) {
        if (usesVariables != nullptr)
            *usesVariables = false;
        return number;
    }
    bool readsVariables = false;
    const TreeNode* scope = node->document != nullptr ? node->document->FormulaEvaluator().ScopeOf(node) : nullptr;
    if (scope != nullptr ? formula.EvaluateBoundNumbers(scope, &number, &readsVariables)
                         : formula.CachedNumber(&number)) {
        if (usesVariables != nullptr)
            *usesVariables = readsVariables;
        return number;
    }
    KnownFormulaValues* known = node->document != nullptr ? node->document->KnownValues : nullptr;
    if (known == nullptr)
        return EvaluateAtNode(node, scope, formula, role, error, quiet, usesVariables);
    if (known->Find(formula, &number)) {
        if (usesVariables != nullptr)
            *usesVariables = false;
        return number;
    }
    RunFault failed;
    number = EvaluateAtNode(node, scope, formula, role, &failed, quiet, usesVariables);
    if (failed)
        error->Set(failed.Code());
    else
        known->Remember(formula, number);
    return number;
}

double EvaluateNodeFormulaText(TreeNode* node, const char* text, const char* role, RunFault* error, bool quiet,
                               bool* usesVariables)
{
    FormulaRef handle(new EvalContext(node->document, node), 1, role);
    const double value = handle.EvaluateText(text);
    return Finish(handle, value, error, quiet, usesVariables);
}
