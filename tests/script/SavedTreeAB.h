#pragma once
// The tree the program-process tests open: a chance root with "A" (0.3, payoff 100) and "B" (#, payoff 0).

#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <string>

inline void SaveTreeAB(const std::string& path)
{
    TreeWindow window;
    TreeDocument& document = window.Document();
    document.Root->SetKind(ChanceNode, false);
    document.AddChild(document.Root, TerminalNode, "A", "0.3", "100");
    document.AddChild(document.Root, TerminalNode, "B", "#", "0");
    zString message;
    ASSERT_TRUE(window.SaveAs(path.c_str(), message)) << message.Text();
}
