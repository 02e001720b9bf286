// Over/under and standard deviation at the root of a generated tree of about 100,000 nodes (five chance
// levels of ten branches), after one roll back.

#include "bench/Bench.h"

#include "analysis/OverUnderAnalysis.h"
#include "analysis/RollBack.h"
#include "analysis/TreeQueries.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <string>

namespace {

void Grow(TreeNode* node, int levels, long& counter)
{
    for (int i = 0; i < 10; ++i) {
        auto* child = new TreeNode(node->document);
        child->kind = levels > 1 ? ChanceNode : TerminalNode;
        child->probability.SetText("0.1");
        node->InsertChildOrThrow(child, -1);
        if (levels > 1)
            Grow(child, levels - 1, counter);
        else
            child->Payoff(0).SetText(std::to_string(++counter % 997).c_str());
    }
}

}  // namespace

KIVO_BENCH(NodeQueries100kNodes)
{
    auto* document = new TreeDocument;
    TreeNode* root = document->Root;
    root->kind = ChanceNode;
    long counter = 0;
    Grow(root, 5, counter);
    RunFault error;
    RollBackTree(root, &error, RollBackSilent);
    BenchReport("over/under at the root", 10, [&] {
        OverUnderRequest request;
        request.node = root;
        request.target = 500;
        OverUnderCompute(request, true);
        BenchKeep(request.probabilityAbove);
    });
    BenchReport("standard deviation at the root", 10, [&] {
        RunFault sdError;
        BenchKeep(NodeStandardDeviation(root, &sdError));
    });
    delete document;
}
