#pragma once
// The cost-effectiveness sweep the tests share: a decision between A (cost c, effectiveness 1) and B (cost
// 10, effectiveness `bEffect`), c swept from 0 to 20 in four intervals in cost-effectiveness mode, run to
// its end; its results go to the installed presenter.

#include "analysis/OneWaySensitivityAnalysis.h"
#include "tests/model/TreeBuilder.h"

inline void RunCostSweep(TreeDocument& document, const char* bEffect)
{
    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    document.CalcPrefs.CECostPayoff = 0;
    document.CalcPrefs.CEEffPayoff = 1;
    document.EnsureVariable("c", nullptr);
    document.Root->SetBinding("c", "2", false);
    document.AddChild(document.Root, TerminalNode, "A", "", "c")->SetPayoffText("1", 1, false);
    document.AddChild(document.Root, TerminalNode, "B", "", "10")->SetPayoffText(bEffect, 1, false);
    OneWaySettings settings;
    settings.variable = "c";
    settings.low = FormattedValue{"0", 0.0};
    settings.high = FormattedValue{"20", 20.0};
    settings.intervals = 4;
    RunAnalysis(std::make_unique<OneWaySensitivityAnalysis>(document.Root, settings));
    while (document.CurrentAnalysis != nullptr)
        document.CurrentAnalysis->OnIdle();
}

inline void RunCostSweep(TreeBuilder& tree, const char* bEffect)
{
    RunCostSweep(tree.Document(), bEffect);
}
