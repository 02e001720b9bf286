#pragma once
// The tree the script tests open: a chance root with "A" (0.3, payoff 100) and "B" (#, payoff 0).

#include "model/StoredAnalysis.h"
#include "model/StoredAnalysisList.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <string>

// The stored analysis of SaveTreeAB's tree when it is asked for: a one-way sensitivity on A's probability
// "p" (bound at the root as 0.3) from 0 to 1 in 4 intervals, which evaluates both branches at every step
// from the idle loop.
constexpr const char* kStoredSensitivityName = "Sensitivity";

// The tree with B's payoff as given and, when asked for, A's probability as "p" with its stored sensitivity.
inline void SaveTreeAB(const std::string& path, const char* payoffOfB = "0", bool storedSensitivity = false)
{
    TreeWindow window;
    TreeDocument& document = window.Document();
    document.Root->SetKind(ChanceNode, false);
    document.AddChild(document.Root, TerminalNode, "A", storedSensitivity ? "p" : "0.3", "100");
    document.AddChild(document.Root, TerminalNode, "B", "#", payoffOfB);
    if (storedSensitivity) {
        document.EnsureVariable("p", nullptr);
        document.Root->SetBinding("p", "0.3", false);
        // Path, variable, low, high, intervals, cost-effectiveness; its one binding (at the root); no
        // correlated range; probabilities checked, every branch, a spare number, no risk coefficient.
        StoredAnalysis* record = StoredAnalysis::New();
        record->name = kStoredSensitivityName;
        record->kind = OneWaySensitivityKind;
        for (const char* item : {"@", "p", "0", "1", "4", "0", "1", "@", "p = 0.3", "1", "1", "0", "0", "0"})
            record->parameters->AddText(item);
        document.StoredAnalyses().Add(record);
    }
    zString message;
    ASSERT_TRUE(window.SaveAs(path.c_str(), message)) << message.Text();
}
