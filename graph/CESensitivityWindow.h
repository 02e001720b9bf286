#pragma once
// The results of a one-way sensitivity run in cost-effectiveness mode (template 2340): the node and the
// varied variable, a "Graph" menu of the average and marginal cost, effectiveness and cost/effectiveness
// line graphs, and the text report of every step's cost-effectiveness table. It owns the run's grid and
// deletes itself when it closes.

#include "analysis/OneWaySensitivityAnalysis.h"
#include "framework/dialog/DialogFrameCL.h"

class CESensitivityGraph;
struct LineGraphData;

class CESensitivityWindow : public DialogFrameCL {
public:
    // The Graph menu's plane graphs: cost across effectiveness, and the reverse.
    enum : unsigned { kCostByEffectiveness = 1580, kEffectivenessByCost = 1581 };

    explicit CESensitivityWindow(const CESensitivityResults& results);
    ~CESensitivityWindow() override;

    long OnCommandId(unsigned id, unsigned code, HWND control) override;

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
