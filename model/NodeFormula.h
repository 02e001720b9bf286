#pragma once
// Evaluates one formula of a node in the node's evaluation context.

#include "formula/RunOutcome.h"
#include <cstdint>
#include <memory>

class EvalContext;
class Expression;
class Formula;
class FormulaRef;
class TreeDocument;
struct TreeNode;

// The formula's value at the node under the role name used in messages ("probability", "payoff"; a text
// that lives as long as the program, such as a literal, since the shared evaluator keeps it). On a
// formula error *error takes FormulaFailed and, unless quiet, the error is reported with its node. usesVariables,
// when given, receives whether the formula referred to a variable.
double EvaluateNodeFormula(TreeNode* node, Expression& formula, const char* role, RunFault* error, bool quiet,
                           bool* usesVariables = nullptr);
// The same for a formula text that is parsed once and not kept.
double EvaluateNodeFormulaText(TreeNode* node, const char* text, const char* role, RunFault* error, bool quiet,
                               bool* usesVariables = nullptr);

// Values a caller knows for some formulas that read no variable, installed on a document while it knows
// them (TreeDocument::KnownValues): asked before each formula is evaluated at a node of the document, and
// told the value of each formula evaluated without error.
class KnownFormulaValues {
public:
    virtual ~KnownFormulaValues() = default;
    virtual bool Find(const Expression& formula, double* value) = 0;
    virtual void Remember(const Expression& formula, double value) = 0;
};

// Evaluation handles and contexts kept by a tree window and moved from node to node, so that evaluating the
// formulas of a whole tree makes no handle per formula. Each role name has a handle of its own, so that the
// alternating roles of a Markov cycle (probability, reward, termination) cost no renaming; roles beyond the
// first few share the last handle, which is renamed. Each evaluation is its own task (fresh error and memo);
// roles must be texts that live as long as the program. Used only when no evaluation through it is in
// progress.
class NodeFormulaEvaluator {
public:
    explicit NodeFormulaEvaluator(TreeDocument* document);
    ~NodeFormulaEvaluator();
    NodeFormulaEvaluator(const NodeFormulaEvaluator&) = delete;
    NodeFormulaEvaluator& operator=(const NodeFormulaEvaluator&) = delete;

    bool IsBusy() const { return busy; }
    // NameScope of the node, remembered for the last parent asked about: siblings, evaluated one after the
    // other, share it, and so do nodes of a parent next to that one when no bindings lie between.
    const TreeNode* ScopeOf(const TreeNode* node);
    // The formula at the node, whose ScopeOf is `scope`.
    double Evaluate(TreeNode* node, const TreeNode* scope, Expression& formula, const char* role, RunFault* error,
                    bool quiet, bool* usesVariables);

private:
    static constexpr int kHandles = 8;

    struct RoleHandle {
        // The role of the handle's last task, or null before the first.
        const char* role = nullptr;
        EvalContext* context = nullptr;  // owned by the handle
        std::unique_ptr<FormulaRef> handle;
    };

    RoleHandle& HandleFor(const char* role);
    // Makes `parent` the parent whose scope is remembered.
    void NoteParent(const TreeNode* parent);

    uint32_t scopeGeneration = 0;
    const TreeNode* scopeParent = nullptr;
    const TreeNode* parentScope = nullptr;

    TreeDocument* document;
    RoleHandle handles[kHandles];
    int used = 0;
    bool busy = false;
};
