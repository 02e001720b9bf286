#pragma once
// Walks over every formula of a node or a subtree: for counting, re-parsing after definitions change, and
// renaming or forgetting a variable name in formulas.

#include "foundation/zString.h"

class Expression;
class TreeDocument;
struct TreeNode;
struct ExpressionVisitor;

using ExpressionVisitFunction = void (*)(ExpressionVisitor& visitor, TreeNode* node, Expression& formula, void* arg);

struct ExpressionVisitor {
    int countOnly = 0;  // the counting walk only adds to the counter
    long counter = 0;
    void (*progress)(void* arg) = nullptr;
    ExpressionVisitFunction visit = nullptr;
    void* progressArg = nullptr;
    void* visitArg = nullptr;
    TreeDocument* document = nullptr;
};

struct NameEditContext {
    zString scratch;
    zString name;
    const zString* replacement;  // none: only drop the parse trees of formulas that mention the name
    TreeNode* node;
    TreeDocument* document;
};

// Pre-order over every node of the subtree, clone contents included.
void WalkNodeExpressions(TreeNode* root, ExpressionVisitor& visitor);
// Each formula of the node in order: the branch probability (when the parent is a chance, Markov or logic
// node), each binding's formula, the four payoffs of a terminal node, then the node's Markov formulas
// (terminations, rewards, transition rewards).
void VisitNodeExpressions(TreeNode* node, ExpressionVisitor& visitor);
// Renames (whole words, any case) or forgets the name in the node's formulas, Markov formulas included (a
// renamed one is stored through its setter, so clone copies follow); formula messages are suppressed
// meanwhile.
void ReplaceNameInNodeExpressions(TreeNode* node, NameEditContext& context);
// Calls fn on every formula of the tree; with a progress text and at least 100 formulas a status-bar
// progress entry counts them. With reparse, fn is ReparseFormula and the text "Updating parse trees...".
void ReparseTreeBindings(TreeNode* root, bool reparse, ExpressionVisitFunction fn, void* arg,
                         const char* progressText);
// Builds and caches the parse tree of a non-empty formula that has none (its value is discarded).
void ReparseFormula(ExpressionVisitor& visitor, TreeNode* node, Expression& formula, void* arg);
// Makes every name bound at the node (with deep: in its subtree) known to the document.
void RegisterSubtreeVariables(TreeNode* node, bool deep);
