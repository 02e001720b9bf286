// Roll back of a generated tree of about a million nodes: alternating decision (2 branches) and chance
// (4 branches) levels, ending in chance nodes whose two terminal branches each carry a probability and a
// payoff formula that reads three variables bound at the root.

#include "bench/Bench.h"

#include "analysis/RollBack.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "model/TreeDocument.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

struct MemoryCounters {
    DWORD cb;
    DWORD PageFaultCount;
    SIZE_T PeakWorkingSetSize;
    SIZE_T WorkingSetSize;
    SIZE_T QuotaPeakPagedPoolUsage;
    SIZE_T QuotaPagedPoolUsage;
    SIZE_T QuotaPeakNonPagedPoolUsage;
    SIZE_T QuotaNonPagedPoolUsage;
    SIZE_T PagefileUsage;
    SIZE_T PeakPagefileUsage;
};

// Committed private bytes of the process (current and peak), through kernel32's process memory counters.
bool ProcessMemory(SIZE_T& current, SIZE_T& peak)
{
    using Query = BOOL(WINAPI*)(HANDLE, MemoryCounters*, DWORD);
    static Query query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo")));
    MemoryCounters counters{};
    counters.cb = sizeof counters;
    if (query == nullptr || !query(GetCurrentProcess(), &counters, sizeof counters))
        return false;
    current = counters.PagefileUsage;
    peak = counters.PeakPagefileUsage;
    return true;
}

TreeNode* AddNode(TreeNode* parent, int kind, const char* probability)
{
    auto* node = new TreeNode(parent->document);
    node->kind = kind;
    node->probability.SetText(probability);
    parent->InsertChild(node, -1);
    return node;
}

// depth counts the remaining decision/chance pairs.
void Grow(TreeNode* decision, int pairs)
{
    for (int d = 0; d < 2; ++d) {
        TreeNode* chance = AddNode(decision, ChanceNode, "");
        for (int c = 0; c < 4; ++c) {
            if (pairs > 1) {
                Grow(AddNode(chance, DecisionNode, "0.25"), pairs - 1);
                continue;
            }
            TreeNode* last = AddNode(chance, ChanceNode, "0.25");
            for (int t = 0; t < 2; ++t) {
                TreeNode* terminal = AddNode(last, TerminalNode, "pBranch");
                terminal->Payoff(0).SetText(t == 0 ? "cost + rate*years" : "cost - rate*years*2");
            }
        }
    }
}

// The same tree by hand: nodes in one array with each node's children contiguous, terminal probabilities and
// payoffs computed from the variables on every pass as the formulas do.
enum PlainKind { PlainDecision, PlainChance, PlainTerminal };

struct PlainNode {
    int kind;
    double probability;  // branch probability under a chance parent; terminals read pBranch instead
    int firstChild;
    int childCount;
    int payoff;  // terminals: 0 "cost + rate*years", 1 "cost - rate*years*2"
};

struct PlainTree {
    std::vector<PlainNode> nodes;
    double cost = 1000, rate = 0.05, years = 20, pBranch = 0.5;
};

int AddPlainChildren(PlainTree& tree, int parent, int count, int kind, double probability)
{
    const int first = static_cast<int>(tree.nodes.size());
    tree.nodes[parent].firstChild = first;
    tree.nodes[parent].childCount = count;
    for (int i = 0; i < count; ++i)
        tree.nodes.push_back({kind, probability, 0, 0, i});
    return first;
}

void GrowPlain(PlainTree& tree, int decision, int pairs)
{
    const int chances = AddPlainChildren(tree, decision, 2, PlainChance, 0.0);
    for (int d = 0; d < 2; ++d) {
        const int below = AddPlainChildren(tree, chances + d, 4, pairs > 1 ? PlainDecision : PlainChance, 0.25);
        for (int c = 0; c < 4; ++c) {
            if (pairs > 1)
                GrowPlain(tree, below + c, pairs - 1);
            else
                AddPlainChildren(tree, below + c, 2, PlainTerminal, 0.0);
        }
    }
}

double PlainRollBack(const PlainTree& tree, int index)
{
    const PlainNode& node = tree.nodes[index];
    if (node.kind == PlainTerminal)
        return node.payoff == 0 ? tree.cost + tree.rate * tree.years : tree.cost - tree.rate * tree.years * 2;
    const PlainNode* children = &tree.nodes[node.firstChild];
    if (node.kind == PlainDecision) {
        double best = PlainRollBack(tree, node.firstChild);
        for (int i = 1; i < node.childCount; ++i) {
            const double value = PlainRollBack(tree, node.firstChild + i);
            if (value > best)
                best = value;
        }
        return best;
    }
    double sum = 0.0;
    for (int i = 0; i < node.childCount; ++i) {
        const double p = children[i].kind == PlainTerminal ? tree.pBranch : children[i].probability;
        sum += p * PlainRollBack(tree, node.firstChild + i);
    }
    return sum;
}

// The nodes visited as roll back visits them, reading each node's kind, children and value but evaluating no
// formula: what reaching the nodes costs by itself.
double VisitNodes(const TreeNode* node)
{
    double sum = node->value;
    if (node->kind != TerminalNode) {
        for (int i = 0; i < node->childCount; ++i)
            sum += 0.25 * VisitNodes(node->GetChild(i));
    }
    return sum;
}

}  // namespace

KIVO_BENCH(RollBackMillionNodes)
{
    SIZE_T baseline = 0;
    SIZE_T peak = 0;
    const bool haveMemory = ProcessMemory(baseline, peak);

    auto* window = new TreeDocument;
    window->EnsureVariable("cost", "1000");
    window->EnsureVariable("rate", "0.05");
    window->EnsureVariable("years", "20");
    window->EnsureVariable("pBranch", "0.5");
    Grow(window->Root, 6);
    const long nodes = CountSubtreeNodes(window->Root, true);
    std::printf("tree of %ld nodes\n", nodes);

    using Clock = std::chrono::steady_clock;
    double kivoValue = 0.0;
    double kivoBest = 0.0;
    for (int pass = 0; pass < 5; ++pass) {
        int error = 0;
        const Clock::time_point start = Clock::now();
        const double value = RollBackTree(window->Root, &error, RollBackSilent);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        BenchKeep(value);
        kivoValue = value;
        if (pass > 0 && (pass == 1 || seconds < kivoBest))
            kivoBest = seconds;
        std::printf("roll back pass %d%s: value %.6g, error %d, %.3f s, %.1f ns per node\n", pass + 1,
                    pass == 0 ? " (formulas parsed)" : pass < 3 ? " (parse trees cached)" : " (tree unchanged)", value,
                    error, seconds,
                    seconds * 1e9 / static_cast<double>(nodes));
    }
    SIZE_T current = 0;
    if (haveMemory && ProcessMemory(current, peak)) {
        std::printf("memory: %.1f bytes per node now, %.1f bytes per node at peak\n",
                    static_cast<double>(current - baseline) / static_cast<double>(nodes),
                    static_cast<double>(peak - baseline) / static_cast<double>(nodes));
    }
    double visitBest = 0.0;
    for (int pass = 0; pass < 3; ++pass) {
        const Clock::time_point start = Clock::now();
        BenchKeep(VisitNodes(window->Root));
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (pass == 0 || seconds < visitBest)
            visitBest = seconds;
    }
    std::printf("visiting the nodes alone, no formulas: %.1f ns per node\n",
                visitBest * 1e9 / static_cast<double>(nodes));
    PlainTree plain;
    plain.nodes.push_back({PlainDecision, 0.0, 0, 0, 0});
    GrowPlain(plain, 0, 6);
    double plainValue = 0.0;
    double plainBest = 0.0;
    for (int pass = 0; pass < 3; ++pass) {
        const Clock::time_point start = Clock::now();
        plainValue = PlainRollBack(plain, 0);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        BenchKeep(plainValue);
        if (pass == 0 || seconds < plainBest)
            plainBest = seconds;
    }
    std::printf("hand-written roll back of %zu nodes: %.4f s, %.1f ns per node\n", plain.nodes.size(), plainBest,
                plainBest * 1e9 / static_cast<double>(plain.nodes.size()));
    BenchCompare("roll back (best cached pass)", kivoValue, plainValue, kivoBest, plainBest);
    std::printf("visiting the nodes alone / hand-written time %.1f x\n", visitBest / plainBest);

    const Clock::time_point start = Clock::now();
    delete window;
    std::printf("tree destroyed in %.3f s\n", std::chrono::duration<double>(Clock::now() - start).count());
}
