#pragma once
// The context of every formula evaluated in a tree: names resolve up the tree from the node being
// evaluated through the nodes' bindings; a definition that refers to its own name means the definition
// further up. A name bound nowhere is a document {T} variable's trial value, or an error.

#include "formula/EvalContextBase.h"

#include <vector>

struct TreeNode;
class TreeDocument;
class VariableDefinition;

class Expression;

// The definition a formula at `node` reads for the upper-case name outside any definition's evaluation: the
// binding found at the node or above, when it is not braced and the document knows the name. Null otherwise.
const Expression* BoundDefinitionAt(TreeNode* node, const char* upperName);

// The node from which every name resolves as it does from `node`: the nearest node at or above it that holds
// bindings, else the top of its tree. Names' caches are kept per scope, so a formula shared by many nodes
// finds its names again at each node below the same bindings.
const TreeNode* NameScope(const TreeNode* node);

class EvalContext : public EvalContextBase {
public:
    // The start node is the given node, or the window's root when none is given.
    EvalContext(TreeDocument* document, TreeNode* node);

    CalcState* GetCalcState() override;
    TreeDocument* Document() { return document; }
    int VariableCount() override;
    double VariableValue(const zString& upperName) override;
    // A name bound to a constant definition, looked up again from the same node with nothing changed since.
    bool CachedVariableValue(const zString& upperName, NameResolutionCache& cache, double* value) override;
    bool ResolvedVariableValue(const zString& upperName, NameResolutionCache& cache, double* value) override;
    double LinkValue(int n) override;
    int DistributionValue(int n, int resample, double* value, RunFault& fault) override;
    void CheckUndefinedVariable(const zString& name, const zString& upperName) override;
    void OfferNewTable(const zString& name) override;
    void NoteErrorNode() override;
    void AppendNodePart(zString& message, const zString& formulaName) override;
    void ReportMessage(OutcomeNotice notice) override;

    // Moves the context to another node for the next formula of the same task (the memo of the task is
    // cleared by the caller through FormulaRef::Reset or a new handle); `scope`, when given, is the node's
    // NameScope.
    void Retarget(TreeNode* node, const TreeNode* scope = nullptr);

    TreeNode* StartNode() const { return startNode; }
    TreeNode* ErrorNode() const { return errorNode; }
    // Keeps the " of node ..." part out of error messages.
    int noNodeInMessages = 0;

private:
    // The nearest binding of the name from `from` up to the root; bindingNode becomes the node that holds
    // it, or `from` when none does.
    VariableDefinition* SearchUpward(TreeNode* from, const char* upperName);
    bool IsGuarded(const char* upperName) const;
    // The binding's value: its number, or its definition evaluated with the names inside resolving from
    // elsewhere.
    double DefinitionValue(VariableDefinition& definition);
    // The cache answers for the name from the current node, filled under the current generation.
    bool CacheAnswers(const NameResolutionCache& cache) const;
    // Names resolve from the current node through the caches of their name nodes when it is in the tree.
    void NoteResolutionStart(const TreeNode* scope);

    TreeDocument* document;
    TreeNode* currentNode;
    TreeNode* startNode;
    TreeNode* bindingNode;
    TreeNode* errorNode = nullptr;
    // Names whose definitions are being evaluated (a reference to one of them moves up the tree).
    std::vector<const char*> guardNames;
};
