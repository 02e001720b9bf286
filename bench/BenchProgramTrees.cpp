#include "bench/BenchProgramTrees.h"

#include "bench/BenchCohort.h"

#include "formula/Distribution.h"
#include "formula/DistributionRecord.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <string>

TreeNode* AddBenchNode(TreeNode* parent, int kind, const char* text, const char* probability)
{
    auto* node = new TreeNode(parent->document);
    node->SetKind(kind, false);
    node->SetText(text, false);
    node->SetProbabilityText(probability, false);
    parent->InsertChildOrThrow(node, -1);
    return node;
}

namespace {

constexpr int kTerminals = 999;

void AddUniform(TreeDocument& document, int index, double low, double high)
{
    auto* record = new DistributionRecord;
    record->index = index;
    Distribution* uniform = MakeDistribution(2);
    uniform->Parameter(0)->SetText(std::to_string(low).c_str());
    uniform->Parameter(1)->SetText(std::to_string(high).c_str());
    record->SetDistribution(uniform);
    record->SetOwner(&document);
    document.Distributions.InsertSorted(record);
}

void GrowChance(TreeNode* node, int levels, int& counter)
{
    static const char* const kProbabilities[] = {"0.3", "0.3", "#"};
    for (const char* probability : kProbabilities) {
        ++counter;
        if (levels == 0) {
            std::string payoff = "DistSamp(" + std::to_string(counter % 10 + 1) + ") * 2 + " +
                                 std::to_string(counter % 7);
            AddBenchNode(node, TerminalNode, "end", probability)->SetPayoffText(payoff.c_str(), 0, false);
        } else {
            GrowChance(AddBenchNode(node, ChanceNode, "event", probability), levels - 1, counter);
        }
    }
}

}  // namespace

void GrowFileBenchTree(TreeDocument& document, int chanceNodes)
{
    TreeNode* root = document.Root;
    document.EnsureVariable("COST", "12.5");
    document.EnsureVariable("RATE", "0.03");
    document.EnsureVariable("GAIN", "COST*(1+RATE)");
    for (int c = 0; c < chanceNodes; ++c) {
        TreeNode* chance = document.AddChild(root, ChanceNode, "strategy");
        chance->SetBinding("RATE", c % 2 == 0 ? "0.03+0.001*2" : "0.05", false);
        for (int t = 0; t < kTerminals; ++t)
            document.AddChild(chance, TerminalNode, "outcome", t + 1 < kTerminals ? "1/999" : "#",
                              "GAIN-COST*RATE+2");
    }
}

int GrowMonteCarloBenchTree(TreeDocument& document)
{
    for (int k = 1; k <= 10; ++k)
        AddUniform(document, k, 0.0, 10.0 * k);
    int nodes = 1;
    for (int option = 0; option < 3; ++option) {
        TreeNode* chance = AddBenchNode(document.Root, ChanceNode, "option", "");
        ++nodes;
        GrowChance(chance, 4, nodes);
    }
    return nodes;
}
