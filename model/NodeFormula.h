#pragma once
// Evaluates one formula of a node in the node's evaluation context.

#include <memory>

class EvalContext;
class Expression;
class Formula;
class FormulaRef;
class TreeDocument;
struct TreeNode;

// The formula's value at the node under the role name used in messages ("probability", "payoff"; a text
// that lives as long as the program, such as a literal, since the shared evaluator keeps it). On a
// formula error *error is set to 1 and, unless quiet, the error is shown and the node selected. usesVariables,
// when given, receives whether the formula referred to a variable.
double EvaluateNodeFormula(TreeNode* node, Expression& formula, const char* role, int* error, bool quiet,
                           bool* usesVariables = nullptr);
// The same for a formula text that is parsed once and not kept.
double EvaluateNodeFormulaText(TreeNode* node, const char* text, const char* role, int* error, bool quiet,
                               bool* usesVariables = nullptr);

// One evaluation handle and context kept by a tree window and moved from node to node, so that evaluating
// the formulas of a whole tree makes no handle per formula. Each evaluation is its own task (fresh error and
// memo); the role name is copied into the handle only when it differs from the last one, so roles must be
// texts that live as long as the program. Used only when no evaluation through it is in progress.
class NodeFormulaEvaluator {
public:
    explicit NodeFormulaEvaluator(TreeDocument* window);
    ~NodeFormulaEvaluator();
    NodeFormulaEvaluator(const NodeFormulaEvaluator&) = delete;
    NodeFormulaEvaluator& operator=(const NodeFormulaEvaluator&) = delete;

    bool IsBusy() const { return busy; }
    double Evaluate(TreeNode* node, Expression& formula, const char* role, int* error, bool quiet,
                    bool* usesVariables);

private:
    EvalContext* context;  // owned by the handle
    std::unique_ptr<FormulaRef> handle;
    // The role of the last task, or null before the first.
    const char* currentRole = nullptr;
    bool busy = false;
};
