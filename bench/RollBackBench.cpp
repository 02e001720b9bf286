// Roll back of a generated tree of about a million nodes: alternating decision (2 branches) and chance
// (4 branches) levels, ending in chance nodes whose two terminal branches each carry a probability and a
// payoff formula of their own (a number distinct per terminal) that reads three variables bound at the root.
// The hand-written roll back keeps every node's value, as the tree does.
// RollBackMillionNumbers rolls back a tree of the same shape whose every probability and payoff is a plain
// number of its own ("0.2500123", "125", "125.30"), as typed: its first roll back turns a million texts into
// values. The tree is then saved with its parse trees, opened again and rolled back: read from a file.

#include "bench/Bench.h"

#include "analysis/TreeEngines.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "model/TreeDocument.h"
#include "treewin/TreeWindow.h"

#include <windows.h>

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>
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
    parent->InsertChildOrThrow(node, -1);
    return node;
}

// depth counts the remaining decision/chance pairs.
void Grow(TreeNode* decision, int pairs, int& terminals)
{
    for (int d = 0; d < 2; ++d) {
        TreeNode* chance = AddNode(decision, ChanceNode, "");
        for (int c = 0; c < 4; ++c) {
            if (pairs > 1) {
                Grow(AddNode(chance, DecisionNode, "0.25"), pairs - 1, terminals);
                continue;
            }
            TreeNode* last = AddNode(chance, ChanceNode, "0.25");
            for (int t = 0; t < 2; ++t) {
                TreeNode* terminal = AddNode(last, TerminalNode, "pBranch");
                const std::string k = std::to_string(++terminals);
                terminal->Payoff(0).SetText((t == 0 ? "cost + rate*(years+" + k + ")" : "cost - rate*years*2 + " + k).c_str());
            }
        }
    }
}

// The same tree by hand: nodes in one array with each node's children contiguous, terminal probabilities and
// payoffs computed from the variables on every pass as the formulas do, every node's value kept.
enum PlainKind { PlainDecision, PlainChance, PlainTerminal };

struct PlainNode {
    int kind;
    double probability;  // branch probability under a chance parent; terminals read pBranch instead
    int firstChild;
    int childCount;
    int payoff;  // terminals: 0 "cost + rate*(years+k)", 1 "cost - rate*years*2 + k"
    double k;
};

struct PlainTree {
    std::vector<PlainNode> nodes;
    std::vector<double> values;
    int terminals = 0;
    double cost = 1000, rate = 0.05, years = 20, pBranch = 0.5;
};

int AddPlainChildren(PlainTree& tree, int parent, int count, int kind, double probability)
{
    const int first = static_cast<int>(tree.nodes.size());
    tree.nodes[parent].firstChild = first;
    tree.nodes[parent].childCount = count;
    for (int i = 0; i < count; ++i)
        tree.nodes.push_back({kind, probability, 0, 0, i, kind == PlainTerminal ? ++tree.terminals : 0.0});
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

double PlainRollBack(PlainTree& tree, int index)
{
    const PlainNode& node = tree.nodes[index];
    if (node.kind == PlainTerminal)
        return tree.values[index] = node.payoff == 0 ? tree.cost + tree.rate * (tree.years + node.k)
                                                     : tree.cost - tree.rate * tree.years * 2 + node.k;
    const PlainNode* children = &tree.nodes[node.firstChild];
    if (node.kind == PlainDecision) {
        double best = PlainRollBack(tree, node.firstChild);
        for (int i = 1; i < node.childCount; ++i) {
            const double value = PlainRollBack(tree, node.firstChild + i);
            if (value > best)
                best = value;
        }
        return tree.values[index] = best;
    }
    double sum = 0.0;
    for (int i = 0; i < node.childCount; ++i) {
        const double p = children[i].kind == PlainTerminal ? tree.pBranch : children[i].probability;
        sum += p * PlainRollBack(tree, node.firstChild + i);
    }
    return tree.values[index] = sum;
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

// The tree of plain numbers, by hand: under each chance node the probabilities a, 0.5 - a, b, 0.5 - b, under a
// last chance node c and 1 - c (in ten-millionths, distinct from one chance node to the next); the terminals
// pay a whole number and a number of two decimals of their own. KIVO's tree is made from it.
struct NumberNode {
    int kind;
    long share;   // ten-millionths; -1 under a decision
    long payoff;  // terminals: the payoff in hundredths
    int firstChild;
    int childCount;
};

struct NumberTree {
    std::vector<NumberNode> nodes;
    std::vector<double> values;
    long counter = 0;

    // The next distinct share of `whole` ten-millionths, a little above its half.
    long NextShare(long whole) { return whole / 2 + (++counter % 99991); }
    int AddChildren(int parent, int kind, std::initializer_list<long> shares)
    {
        const int first = static_cast<int>(nodes.size());
        nodes[parent].firstChild = first;
        nodes[parent].childCount = static_cast<int>(shares.size());
        for (long share : shares)
            nodes.push_back({kind, share, kind == PlainTerminal ? 100 * (100 + counter) + counter % 100 : 0, 0, 0});
        return first;
    }
};

void GrowNumbers(NumberTree& tree, int decision, int pairs)
{
    const int chances = tree.AddChildren(decision, PlainChance, {-1, -1});
    for (int d = 0; d < 2; ++d) {
        const long a = tree.NextShare(5000000);
        const long b = tree.NextShare(5000000);
        const int below = tree.AddChildren(chances + d, pairs > 1 ? PlainDecision : PlainChance,
                                           {a, 5000000 - a, b, 5000000 - b});
        for (int c = 0; c < 4; ++c) {
            if (pairs > 1) {
                GrowNumbers(tree, below + c, pairs - 1);
                continue;
            }
            const long share = tree.NextShare(10000000);
            const int terminals = tree.AddChildren(below + c, PlainTerminal, {share, 10000000 - share});
            tree.nodes[terminals].payoff -= tree.nodes[terminals].payoff % 100;  // the whole number
        }
    }
}

// The texts as typed: "0.2500123"; "125" for a whole payoff, else "125.30".
void MakeNumberNodes(const NumberTree& tree, int index, TreeNode* node)
{
    const NumberNode& plain = tree.nodes[index];
    for (int i = 0; i < plain.childCount; ++i) {
        const NumberNode& child = tree.nodes[plain.firstChild + i];
        char text[32] = "";
        if (child.share >= 0)
            std::snprintf(text, sizeof text, "0.%07ld", child.share);
        TreeNode* added = AddNode(node, child.kind == PlainTerminal  ? TerminalNode
                                        : child.kind == PlainChance ? ChanceNode
                                                                    : DecisionNode,
                                  text);
        if (child.kind == PlainTerminal) {
            if (child.payoff % 100 == 0)
                std::snprintf(text, sizeof text, "%ld", child.payoff / 100);
            else
                std::snprintf(text, sizeof text, "%ld.%02ld", child.payoff / 100, child.payoff % 100);
            added->Payoff(0).SetText(text);
        }
        MakeNumberNodes(tree, plain.firstChild + i, added);
    }
}

double NumberRollBack(NumberTree& tree, int index)
{
    const NumberNode& node = tree.nodes[index];
    if (node.kind == PlainTerminal)
        return tree.values[index] = static_cast<double>(node.payoff) / 100.0;
    double result = 0.0;
    for (int i = 0; i < node.childCount; ++i) {
        const int child = node.firstChild + i;
        const double value = NumberRollBack(tree, child);
        if (node.kind == PlainChance)
            result += static_cast<double>(tree.nodes[child].share) / 1e7 * value;
        else if (i == 0 || value > result)
            result = value;
    }
    return tree.values[index] = result;
}

// The hand-written roll back's best of three, every node's value kept, as the engine keeps it.
template <class Tree>
double TimeHandWritten(Tree& tree, double (*rollBack)(Tree&, int), double& value)
{
    tree.values.resize(tree.nodes.size());
    return BenchBestSeconds(3, [&] {
        value = rollBack(tree, 0);
        BenchKeep(value);
    });
}

}  // namespace

KIVO_BENCH(RollBackMillionNodes)
{
    SIZE_T baseline = 0;
    SIZE_T peak = 0;
    const bool haveMemory = ProcessMemory(baseline, peak);

    auto* document = new TreeDocument;
    document->EnsureVariable("cost", "1000");
    document->EnsureVariable("rate", "0.05");
    document->EnsureVariable("years", "20");
    document->EnsureVariable("pBranch", "0.5");
    int terminals = 0;
    Grow(document->Root, 6, terminals);
    const long nodes = CountSubtreeNodes(document->Root, true);
    const double perNode = 1.0 / static_cast<double>(nodes);
    SIZE_T built = 0;
    ProcessMemory(built, peak);
    std::printf("tree of %ld nodes, %d distinct payoff formulas\n", nodes, terminals);

    // The hand-written roll back first, so that its best time is known when each pass is printed.
    PlainTree plain;
    plain.nodes.push_back({PlainDecision, 0.0, 0, 0, 0, 0.0});
    GrowPlain(plain, 0, 6);
    double plainValue = 0.0;
    const double plainBest = TimeHandWritten(plain, PlainRollBack, plainValue);
    const double plainBytes = static_cast<double>(sizeof(PlainNode) + sizeof(double));
    std::printf("hand-written roll back of %zu nodes, every value kept: %.1f ns per node, %.0f bytes per node\n",
                plain.nodes.size(), plainBest * 1e9 / static_cast<double>(plain.nodes.size()), plainBytes);

    static const char* const kPasses[] = {"first pass (formulas parsed)", "second pass", "third pass",
                                          "fourth pass (tree unchanged)", "fifth pass (tree unchanged)"};
    for (int pass = 0; pass < 5; ++pass) {
        double value = 0.0;
        const double seconds = BenchSecondsEach(1, [&] { value = RollBackDocument(*document).root.value; });
        std::printf("%s: %.3f s, %.1f ns per node\n", kPasses[pass], seconds, seconds * 1e9 * perNode);
        BenchCompare(std::string("roll back, ") + kPasses[pass], value, plainValue, seconds, plainBest);
        SIZE_T current = 0;
        if (pass == 0 && haveMemory && ProcessMemory(current, peak)) {
            std::printf("memory per node: %.1f bytes built (aim 200), %.1f bytes added by the first roll back (aim "
                        "64), hand-written %.0f\n",
                        static_cast<double>(built - baseline) * perNode,
                        static_cast<double>(current - built) * perNode, plainBytes);
        }
    }
    const double visitBest = BenchBestSeconds(3, [&] { BenchKeep(VisitNodes(document->Root)); });
    std::printf("visiting the nodes alone, no formulas: %.1f ns per node, %.1f x the hand-written roll back\n",
                visitBest * 1e9 * perNode, visitBest / plainBest);

    const double destroyed = BenchSecondsEach(1, [&] { delete document; });
    std::printf("tree destroyed in %.3f s\n", destroyed);
}

KIVO_BENCH(RollBackMillionNumbers)
{
    NumberTree plain;
    plain.nodes.push_back({PlainDecision, -1, 0, 0, 0});
    GrowNumbers(plain, 0, 6);
    double plainValue = 0.0;
    const double plainBest = TimeHandWritten(plain, NumberRollBack, plainValue);

    SIZE_T baseline = 0;
    SIZE_T peak = 0;
    const bool haveMemory = ProcessMemory(baseline, peak);
    auto window = std::make_unique<TreeWindow>();
    TreeDocument* document = &window->Document();
    MakeNumberNodes(plain, 0, document->Root);
    const long nodes = CountSubtreeNodes(document->Root, true);
    const double perNode = 1.0 / static_cast<double>(nodes);
    SIZE_T built = 0;
    ProcessMemory(built, peak);
    std::printf("tree of %ld nodes, every probability and payoff a plain number of its own\n", nodes);
    std::printf("hand-written roll back: %.1f ns per node\n", plainBest * 1e9 * perNode);

    static const char* const kPasses[] = {"first pass (texts read as numbers)", "second pass (plan laid out)",
                                          "third pass (through the plan)"};
    for (int pass = 0; pass < 3; ++pass) {
        double value = 0.0;
        const double seconds = BenchSecondsEach(1, [&] { value = RollBackDocument(*document).root.value; });
        std::printf("%s: %.3f s, %.1f ns per node\n", kPasses[pass], seconds, seconds * 1e9 * perNode);
        BenchCompare(std::string("roll back, ") + kPasses[pass], value, plainValue, seconds, plainBest);
        SIZE_T current = 0;
        if (pass == 0 && haveMemory && ProcessMemory(current, peak))
            std::printf("memory per node: %.1f bytes built, %.1f bytes added by the first roll back\n",
                        static_cast<double>(built - baseline) * perNode,
                        static_cast<double>(current - built) * perNode);
    }

    const char* temp = std::getenv("TEMP");
    const std::string path = std::string(temp != nullptr ? temp : ".") + "\\kivo_bench_numbers.tre";
    zString message;
    if (!window->SaveAs(path.c_str(), message)) {
        std::printf("the tree could not be saved: %s\n", message.Text());
        return;
    }
    window.reset();
    const double openSeconds = BenchSecondsEach(1, [&] { window = std::make_unique<TreeWindow>(path.c_str()); });
    if (!window->FileRead()) {
        std::printf("the saved tree did not open\n");
        return;
    }
    double value = 0.0;
    const double seconds = BenchSecondsEach(1, [&] { value = RollBackDocument(window->Document()).root.value; });
    std::printf("saved and opened again: open %.3f s, %.1f ns per node; first roll back %.1f ns per node\n",
                openSeconds, openSeconds * 1e9 * perNode, seconds * 1e9 * perNode);
    BenchCompare("roll back of the tree opened", value, plainValue, seconds, plainBest);
    window.reset();
    std::remove(path.c_str());
}
