#pragma once
// The results of a one-way sensitivity run in cost-effectiveness mode (template 2340): the node and the
// varied variable, a "Graph" menu of the average and marginal cost, effectiveness and cost/effectiveness
// line graphs, and the text report of every step's cost-effectiveness table. It is one of the tree's bound
// windows inside the frame, listed in the Window menu, and a tree has at most one: a new run's results take the
// place of those shown. It holds the run's grid and closes with its tree or its node.

#include "analysis/OneWaySensitivityAnalysis.h"
#include "treewin/TreeChildWindow.h"

class CESensitivityGraph;
struct LineGraphData;

class CESensitivityWindow : public TreeChildWindow {
public:
    // The Graph menu's plane graphs: cost across effectiveness, and the reverse.
    enum : unsigned { kCostByEffectiveness = 1580, kEffectivenessByCost = 1581 };

    // The window of the results in the tree given (null: of the frame), made hidden (Show shows it).
    CESensitivityWindow(TreeWindow* tree, const CESensitivityResults& results);
    // Shows the results in a window of the tree of their document (of the frame when it has no window): the
    // tree's window shown before closes and the new one opens where it stood, else at 0.4 across and 0.5
    // down the frame. A notice follows when no option's ratio can be graphed.
    static CESensitivityWindow* Open(const CESensitivityResults& results);

    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    void OnTreeTitleChanged(const char* title) override;
    bool DependsOn(const void* object) const override;

    // The cost-effectiveness plane of every step, laid out and shown.
    CESensitivityGraph* OpenPlaneGraph(int effOnX) const;
    // The line graph of commands 1582-1587; false for any other command.
    bool MakeGraph(int command, LineGraphData& graph) const;

private:
    void MakeGraphButton();
    bool HasRatioRange() const;

    CESensitivityResults results_;
};

// One-way runs in cost-effectiveness mode open this window from now on.
void InstallCESensitivityWindow();
