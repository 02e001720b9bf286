#pragma once
// The cost-effectiveness sweep the tests share: a decision between A (cost c, effectiveness 1) and B (cost
// 10, effectiveness `bEffect`), c swept from 0 to 20 in four intervals in cost-effectiveness mode, run to
// its end; its results go to the installed presenter.

#include "analysis/OneWaySensitivityAnalysis.h"
#include "tests/model/TreeBuilder.h"

inline void RunCostSweep(TreeBuilder& tree, const char* bEffect)
{
    TreeDocument& document = tree.Document();
    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    document.CalcPrefs.CECostPayoff = 0;
    document.CalcPrefs.CEEffPayoff = 1;
    tree.Bind(tree.Root(), "c", "2");
    tree.Terminal(tree.Root(), "A", "", "c", "1");
    tree.Terminal(tree.Root(), "B", "", "10", bEffect);
    OneWaySettings settings;
    settings.variable = "c";
    settings.low = FormattedValue{"0", 0.0};
    settings.high = FormattedValue{"20", 20.0};
    settings.intervals = 4;
    RunAnalysis(std::make_unique<OneWaySensitivityAnalysis>(tree.Root(), settings));
    while (document.CurrentAnalysis != nullptr)
        document.CurrentAnalysis->OnIdle();
}
