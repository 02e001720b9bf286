#include "model/ExpressionWalk.h"

#include "app/ProgressWindow.h"
#include "model/EvalContext.h"
#include "formula/Expression.h"
#include "formula/FormulaErrors.h"
#include "formula/FormulaRef.h"
#include "foundation/StringHelpers.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "model/VariableDefinition.h"

namespace {

constexpr long kProgressThreshold = 100;

void VisitOne(ExpressionVisitor& visitor, TreeNode* node, Expression& formula)
{
    if (visitor.countOnly)
        ++visitor.counter;
    else if (visitor.visit != nullptr)
        visitor.visit(visitor, node, formula, visitor.visitArg);
    if (visitor.progress != nullptr)
        visitor.progress(visitor.progressArg);
}

// The editing function of the renaming and removal walks; true when the text changed.
bool EditName(NameEditContext& context, Expression& formula)
{
    if (context.replacement != nullptr) {
        context.scratch = formula.Text();
        if (ReplaceAll(context.scratch, context.name.Text(), context.replacement->Text(), true, false, 0, true) > 0) {
            formula.SetText(context.scratch.Text());
            return true;
        }
        return false;
    }
    if (FindText(formula.Text(), context.name.Text(), false, false, 0) > 0)
        formula.DropParseTree();
    return false;
}

}  // namespace

void VisitNodeExpressions(TreeNode* node, ExpressionVisitor& visitor)
{
    if (node->parent != nullptr && node->parent->HasBranchProbabilities())
        VisitOne(visitor, node, node->probability);
    for (int i = 0; i < node->BindingCount(); ++i)
        VisitOne(visitor, node, node->GetBinding(i)->definition);
    if (node->kind == TerminalNode) {
        for (int i = 0; i < kPayoffCount; ++i)
            VisitOne(visitor, node, node->Payoff(i));
    }
}

void WalkNodeExpressions(TreeNode* root, ExpressionVisitor& visitor)
{
    WalkTreeWithSkip(root, [](TreeNode* node, void* arg) {
        VisitNodeExpressions(node, *static_cast<ExpressionVisitor*>(arg));
    }, &visitor, true);
}

void ReplaceNameInNodeExpressions(TreeNode* node, NameEditContext& context)
{
    const unsigned char saved = SuppressFormulaMessages;
    SuppressFormulaMessages = 1;
    for (int i = 0; i < node->BindingCount(); ++i)
        EditName(context, node->GetBinding(i)->definition);
    if (node->kind == TerminalNode) {
        for (int i = 0; i < kPayoffCount; ++i)
            EditName(context, node->Payoff(i));
    }
    EditName(context, node->probability);
    SuppressFormulaMessages = saved;
}

void ReparseFormula(ExpressionVisitor&, TreeNode* node, Expression& formula, void*)
{
    if (formula.HasParseTree() || formula.IsEmpty())
        return;
    FormulaRef handle(new EvalContext(node->window, node), 0, nullptr);
    handle.Evaluate(formula);
}

void ReparseTreeBindings(TreeNode* root, bool reparse, ExpressionVisitFunction fn, void* arg,
                         const char* progressText)
{
    if (reparse) {
        fn = ReparseFormula;
        progressText = "Updating parse trees...";
    }
    ExpressionVisitor visitor;
    visitor.window = root->window;
    struct Progress {
        int32_t handle = 0;
        long position = 0;
    } progress;
    if (progressText != nullptr) {
        visitor.countOnly = 1;
        WalkNodeExpressions(root, visitor);
        visitor.countOnly = 0;
        if (visitor.counter >= kProgressThreshold) {
            progress.handle = ProgressWindow::Push(progressText, 0, 0, static_cast<double>(visitor.counter));
            visitor.progressArg = &progress;
            visitor.progress = [](void* state) {
                auto* current = static_cast<Progress*>(state);
                ProgressWindow::Step(current->handle, static_cast<double>(++current->position));
            };
        }
    }
    visitor.visit = fn;
    visitor.visitArg = arg;
    WalkNodeExpressions(root, visitor);
    if (progress.handle != 0)
        ProgressWindow::Pop(progress.handle);
}
