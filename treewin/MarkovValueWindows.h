#pragma once
// The node-bound windows of Markov settings. Termination and State Information show one page of texts
// per payoff, chosen in the combo box 31027 (the single page "C/E" of the shared condition under
// Cost-Effectiveness); Transition Rewards edits one reward per payoff.

#include "treewin/PayoffEditsWindow.h"

class ComboBoxCtrl;
class IntegerEdit;

// The page list of the two paged windows: a page change first checks the shown texts (the list returns to
// the page on an error), then keeps them and shows the new page. A page typed into and left is still to be
// taken when the tree ends its windows' edits.
class MarkovPagedWindow : public NodeValueWindow {
public:

    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    bool EndEdit() override;

protected:
    MarkovPagedWindow(TreeWindow* tree, unsigned templateId, const NodeChildList& nodes, const char* key);
    // Fills the list with "1" to "4", or the single "C/E", and shows the first page.
    void BuildPages(bool shared);
    // The shown edits' texts go into the page's texts.
    virtual void KeepPage(int page) = 0;
    // Shows the page, coming from the page left.
    virtual void ShowPage(int page, int left) = 0;
    bool SharedPage() const { return shared; }
    bool Edited() const override;

    int page = 0;

private:
    ComboBoxCtrl* combo = nullptr;
    bool shared = false;
    // A page left since the texts were last taken had been typed into.
    bool keptTyped = false;
};

// Markov Termination (template 31110): the termination conditions of one Markov node.
class MarkovTerminationWindow : public MarkovPagedWindow {
public:

    MarkovTerminationWindow(TreeWindow* tree, const NodeChildList& nodes);
    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    bool Apply(bool commit) override;
    void RenameVariable(const char* oldName, const char* newName) override;

protected:
    void KeepPage(int page) override;
    void ShowPage(int page, int left) override;

private:
    // The default condition of the page (of the shared form under Cost-Effectiveness).
    zString DefaultCondition() const;

    // The conditions by payoff, and the shared one of Cost-Effectiveness (page 0 then).
    zString texts[4];
    zString sharedText;
    EditCtrl* edit = nullptr;
};

// Markov State Information (template 31111): the initial, incremental and final rewards of the selected
// Markov states, and whether one state is a tunnel of how many states.
class MarkovRewardsWindow : public MarkovPagedWindow {
public:

    MarkovRewardsWindow(TreeWindow* tree, const NodeChildList& nodes);
    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    bool Apply(bool commit) override;
    void RenameVariable(const char* oldName, const char* newName) override;

protected:
    void KeepPage(int page) override;
    void ShowPage(int page, int left) override;
    // Also the tunnel box and its count changed since they were last taken.
    bool Edited() const override;

private:
    // The texts the nodes share, by reward kind and payoff; mixed where two nodes differ, touched once the
    // person changed the shown text.
    zString rewards[3][4];
    bool mixed[3][4] = {};
    bool touched[3][4] = {};
    EditCtrl* edits[3] = {nullptr, nullptr, nullptr};
    IntegerEdit* states = nullptr;
    int stateCount = 2;
    // The tunnel box and count as last taken: no modified flag tells of their change.
    bool tunnelTaken = false;
    zString statesTaken;
};

// Markov Transition Rewards (template 31114): the transition rewards of the selected nodes.
class MarkovTollWindow : public PayoffEditsWindow {
public:

    MarkovTollWindow(TreeWindow* tree, const NodeChildList& nodes);

protected:
    void NodeText(TreeNode* node, int payoff, zString& out) const override;
    zString Label(int payoff) const override;
    UndoAction* MakeAction(const char* const texts[4], const bool active[4]) override;
    const char* FormulaName() const override { return "transition reward"; }
};
