// Saving and opening a tree file of a generated tree of 100,001 nodes: a decision root over 100 chance
// nodes of 999 terminals each. The root defines three variables, every chance node binds one of them
// again, and every terminal carries a probability and a payoff formula; the tree is rolled back once
// first, so that the formulas are stored with their parse trees as a program's save stores them.

#include "bench/Bench.h"

#include "analysis/TreeEngines.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

namespace {

constexpr int kChanceNodes = 100;
constexpr int kTerminals = 999;

void Grow(TreeDocument& document)
{
    TreeNode* root = document.Root;
    document.EnsureVariable("COST", "12.5");
    document.EnsureVariable("RATE", "0.03");
    document.EnsureVariable("GAIN", "COST*(1+RATE)");
    for (int c = 0; c < kChanceNodes; ++c) {
        TreeNode* chance = document.AddChild(root, ChanceNode, "strategy");
        chance->SetBinding("RATE", c % 2 == 0 ? "0.03+0.001*2" : "0.05", false);
        for (int t = 0; t < kTerminals; ++t)
            document.AddChild(chance, TerminalNode, "outcome", t + 1 < kTerminals ? "1/999" : "#",
                              "GAIN-COST*RATE+2");
    }
}

double SecondsOf(const std::function<void()>& body)
{
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

KIVO_BENCH(TreeFile)
{
    const char* temp = std::getenv("TEMP");
    const std::string path = std::string(temp != nullptr ? temp : ".") + "\\kivo_bench_tree.tre";
    TreeWindow window;
    Grow(window.Document());
    const RollBackResult result = RollBackDocument(window.Document());
    const long nodes = 1L + kChanceNodes + static_cast<long>(kChanceNodes) * kTerminals;
    std::printf("tree of %ld nodes, rolled back to %.4f\n", nodes, result.root.value);

    zString message;
    bool saved = false;
    const double saveSeconds = SecondsOf([&] { saved = window.SaveAs(path.c_str(), message); });
    std::printf("save: %.3f s%s\n", saveSeconds, saved ? "" : " (failed)");

    std::unique_ptr<TreeWindow> opened;
    const double openSeconds = SecondsOf([&] { opened = std::make_unique<TreeWindow>(path.c_str()); });
    std::printf("open: %.3f s (%d nodes stored, %d branches at the root)\n", openSeconds,
                static_cast<int>(opened->Document().StoredNodeCount), opened->Document().Root->childCount);
    std::remove(path.c_str());
}
