#pragma once
// The tree window's command table: one row per command with its handler, the rule that enables it and the
// name of its undo step. Each menu's rows are in a file of their own; TreeMenuState.cpp looks a command up
// among them all and sets the menus and the tool bar by their rules.

#include "treewin/TreeWindow.h"

#include <cstddef>

// The terms of the rules, gathered in one pass over the selection.
struct TreeMenuFacts {
    int n = 0;
    TreeNode* first = nullptr;
    bool one = false, any = false, decision1 = false, copy1 = false, root1 = false, markov1 = false;
    int kids = 0;
    bool customInterface = false, locked = false, busy = false, rolledBack = false, snapshot = false;
    // A long analysis steps on the tree from the idle loop.
    bool running = false;
    bool noteSelected = false, unbind = false;
    bool free = false, editable = false, editable1 = false, subtreeHighlighted = false;
    int variables = 0, masters = 0, analyses = 0;
    CalcMethodKind calcMethod = PayoffMethod;
    int editField = 0;
    bool interfaceSettings = false;
    TreeWindow* window = nullptr;
    // Over the selection: some node is other than plain; every node ...
    bool someNotPlain = false, allSkipped = true, allCollapsible = true, allCollapsed = true;
    bool allHaveChildren = true, allTerminal = true, allMarkovStates = true, allInMarkovNotState = true;
    bool allTerminalInMarkovNotState = true, someLogic = false, someInMarkov = false;
    bool allDecision = true, allReversed = true;

    TreeMenuFacts(TreeWindow& window, int customInterfaceShown);
};

// The tree window's commands. A rule tells whether the command's menu item is enabled now; the same rule
// refuses the command when it comes from a key, the tool bar or a bound window while its item would be
// grayed, and a command without a rule is disabled. An undo text names the step the command adds to the
// history; a command without one leaves the name to its action (which depends on what was chosen).
struct TreeWindow::CommandRow {
    unsigned id;
    void (*handler)(TreeWindow& tree);
    bool (*rule)(const TreeMenuFacts& f);
    const char* undoText;
};

inline bool Always(const TreeMenuFacts&) { return true; }
inline bool NoCustomInterface(const TreeMenuFacts& f) { return !f.customInterface; }

// One menu's rows of the table.
struct TreeCommandRows {
    const TreeWindow::CommandRow* first;
    std::size_t count;
    const TreeWindow::CommandRow* begin() const { return first; }
    const TreeWindow::CommandRow* end() const { return first + count; }
};

TreeCommandRows FileEditCommandRows();
TreeCommandRows DisplayCommandRows();
TreeCommandRows OptionsCommandRows();
TreeCommandRows ValuesCommandRows();
TreeCommandRows AnalysisCommandRows();
