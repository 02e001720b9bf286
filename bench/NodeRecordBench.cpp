// Writing and reading the node records of a generated tree of about a million nodes: a chance root with
// 1000 chance children of 999 terminal children each; every terminal carries a name, a probability and one
// payoff. Plain records, then snapshot records (with results and optimal indexes).

#include "bench/Bench.h"

#include "foundation/MemoryStream.h"
#include "model/TreeNode.h"
#include "model/TreeNodeRecords.h"
#include "model/TreeDocument.h"

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

constexpr int kBranches = 1000;
constexpr int kLeaves = 999;

TreeNode* AddNode(TreeNode* parent, int kind, const char* name, const char* probability)
{
    auto* node = new TreeNode(parent->document);
    node->kind = kind;
    node->text = name;
    node->probability.SetText(probability);
    parent->InsertChildOrThrow(node, -1);
    return node;
}

void Grow(TreeNode* root)
{
    root->kind = ChanceNode;
    for (int b = 0; b < kBranches; ++b) {
        TreeNode* branch = AddNode(root, ChanceNode, "branch", "0.001");
        for (int leaf = 0; leaf < kLeaves; ++leaf) {
            TreeNode* terminal = AddNode(branch, TerminalNode, "outcome", "#");
            terminal->Payoff(0).SetText("cost*2+1");
            terminal->triple.value = leaf;
            if (leaf == 0)
                branch->EnsureOptimalList()->Add(terminal);
        }
    }
}

void RunPass(const char* label, RecordForm form, TreeDocument& document, long nodes)
{
    using Clock = std::chrono::steady_clock;
    MemoryStream out(64u << 20);
    auto start = Clock::now();
    WriteTreeNode(document.Root, out, nullptr, form);
    const double writeSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double megabytes = out.Position() / (1024.0 * 1024.0);
    std::printf("%s write: %.1f MB in %.3f s, %.1f MB/s, %.2f million nodes/s%s\n", label, megabytes, writeSeconds,
                megabytes / writeSeconds, nodes / writeSeconds / 1e6, out.Failed() ? " (failed)" : "");

    MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
    auto loaded = std::make_unique<TreeNode>(&document);
    start = Clock::now();
    ReadTreeNode(loaded.get(), in, form);
    const double readSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%s read:  %.1f MB in %.3f s, %.1f MB/s, %.2f million nodes/s%s\n", label, megabytes, readSeconds,
                megabytes / readSeconds, nodes / readSeconds / 1e6, in.Failed() ? " (failed)" : "");
}

}  // namespace

KIVO_BENCH(NodeRecords)
{
    TreeDocument document;
    Grow(document.Root);
    const long nodes = 1L + kBranches + static_cast<long>(kBranches) * kLeaves;
    std::printf("tree of %ld nodes\n", nodes);
    RunPass("plain", RecordForm::Plain, document, nodes);
    RunPass("snapshot", RecordForm::Snapshot, document, nodes);
}
