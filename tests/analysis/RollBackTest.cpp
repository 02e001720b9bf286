// Roll back of each node kind, its checks and its failures.

#include "app/ProgressWindow.h"
#include "analysis/RollBack.h"
#include "model/TreeWalks.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include "foundation/RandomGenerator.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

double Roll(TreeBuilder& tree, TreeNode* node, RunFault& error, int mode = RollBackSilent)
{
    error.Clear();
    return RollBackTree(node, &error, mode);
}

TEST(RollBackChance, ZeroProbabilityChildIsNotEvaluatedInPlainMode)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "c");
    tree.Terminal(chance, "a", "0.3", "10");
    tree.Terminal(chance, "b", "0.7", "20");
    tree.Terminal(chance, "never", "0", "1/0");  // would fail if evaluated
    RunFault error;
    EXPECT_NEAR(Roll(tree, chance, error, RollBackPlain), 17.0, 1e-12);
    EXPECT_FALSE(error);
    EXPECT_EQ(boxes.Count(), 0u);
    // Any other mode evaluates every child, so the division by zero surfaces.
    Roll(tree, chance, error, RollBackSilent);
    EXPECT_TRUE(error);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Division by zero. Unable to evaluate payoff of node \"never\".");
}

TEST(RollBackChance, ProbabilitySumTolerance)
{
    struct Row {
        const char* second;
        bool passes;
    } rows[] = {{"0.5000005", true}, {"0.49999995", true}, {"0.50001", false}, {"0.4999", false}};
    for (const Row& row : rows) {
        MessageBoxRecorder boxes;
        TreeBuilder tree;
        TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "Parent");
        tree.Terminal(chance, "a", "0.5", "1");
        tree.Terminal(chance, "b", row.second, "1");
        RunFault error;
        Roll(tree, chance, error);
        EXPECT_EQ(!error, row.passes) << row.second;
        if (!row.passes) {
            ASSERT_EQ(boxes.Count(), 1u);
            EXPECT_EQ(boxes.Last().text,
                      "The probabilities on the branches emanating from node \"Parent\" do not add up to 1.0.");
        }
    }
}

TEST(RollBackChance, ProbabilityRangeTolerance)
{
    struct Row {
        const char* p;
        bool passes;
    } rows[] = {{"-0.0000005", true}, {"-0.00001", false}, {"1.0000005", true}};
    for (const Row& row : rows) {
        MessageBoxRecorder boxes;
        TreeBuilder tree;
        TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "Parent");
        tree.Terminal(chance, "odd", row.p, "1");
        tree.Terminal(chance, "rest", "#", "1");
        RunFault error;
        Roll(tree, chance, error);
        EXPECT_EQ(!error, row.passes) << row.p;
        if (!row.passes) {
            ASSERT_EQ(boxes.Count(), 1u);
            EXPECT_EQ(boxes.Last().text, "The probability of node \"odd\" is not between zero and one.");
        }
    }
}

TEST(RollBackChance, ComplementBranchTakesTheRemainder)
{
    TreeBuilder tree;
    TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "c");
    tree.Terminal(chance, "a", "0.25", "4");
    TreeNode* rest = tree.Terminal(chance, "rest", " # ", "8");
    tree.Terminal(chance, "b", "0.5", "0");
    EXPECT_EQ(rest->probability.Text(), "#");
    RunFault error;
    EXPECT_NEAR(Roll(tree, chance, error), 0.25 * 4 + 0.25 * 8, 1e-12);
    EXPECT_NEAR(rest->branchProbability, 0.25, 1e-12);
}

TEST(RollBackChance, MaximinTakesTheLeastFavourableChild)
{
    TreeBuilder tree;
    tree.Document().CalcPrefs.RollBackCalculatesKey = RollBackMaximin;
    TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "c");
    tree.Terminal(chance, "a", "0.9", "7");
    tree.Terminal(chance, "b", "0.9", "3");  // probabilities are neither used nor checked
    tree.Terminal(chance, "c", "0.9", "5");
    RunFault error;
    EXPECT_NEAR(Roll(tree, chance, error), 3.0, 1e-12);
    EXPECT_FALSE(error);
}

struct DecisionRow {
    int kind;
    int maximize;
    double values[3];
    double expected;
    int optimalCount;
};

TEST(RollBackDecision, BestChildAndTies)
{
    const DecisionRow rows[] = {
        {DecisionNode, 1, {5, 5 + 5e-11, 4}, 5 + 5e-11, 2},
        {DecisionNode, 0, {5, 5 + 5e-11, 4}, 4, 1},
        {ReversedDecisionNode, 1, {5, 4, 6}, 4, 1},
        {ReversedDecisionNode, 0, {5, 4, 6}, 6, 1},
    };
    for (const DecisionRow& row : rows) {
        TreeBuilder tree;
        tree.Document().CalcPrefs.OptPath[0] = row.maximize;
        TreeNode* decision = tree.Add(tree.Root(), row.kind, "d");
        for (double value : row.values) {
            char text[40];
            std::snprintf(text, sizeof text, "%.17g", value);
            tree.Terminal(decision, "t", "", text);
        }
        RunFault error;
        EXPECT_DOUBLE_EQ(Roll(tree, decision, error), row.expected);
        EXPECT_EQ(decision->optimal->Count(), row.optimalCount);
    }
}

TEST(RollBackLogic, FollowsFirstPositiveConditionElseLastChild)
{
    struct Row {
        const char* conditions[3];
        int chosen;
    } rows[] = {{{"0", "0", "0"}, 2}, {{"0", "1", "1"}, 1}, {{"2>1", "0", "1"}, 0}};
    for (const Row& row : rows) {
        TreeBuilder tree;
        TreeNode* logic = tree.Add(tree.Root(), LogicNode, "l");
        for (int i = 0; i < 3; ++i) {
            char payoff[8];
            std::snprintf(payoff, sizeof payoff, "%d", 10 * (i + 1));
            tree.Terminal(logic, "t", row.conditions[i], payoff);
        }
        RunFault error;
        EXPECT_NEAR(Roll(tree, logic, error, RollBackPlain), 10.0 * (row.chosen + 1), 1e-12);
        ASSERT_EQ(logic->optimal->Count(), 1);
        EXPECT_EQ(logic->optimal->At(0), logic->GetChild(row.chosen));
    }
}

TEST(RollBackSoundness, LogicAndLabelWithoutChildren)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    TreeNode* label = tree.Add(tree.Root(), LabelNode, "empty label");
    RunFault error;
    EXPECT_EQ(Roll(tree, label, error), 0.0);
    EXPECT_FALSE(error);

    TreeNode* logic = tree.Add(tree.Root(), LogicNode, "empty logic");
    EXPECT_EQ(Roll(tree, logic, error), 0.0);
    EXPECT_TRUE(error);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The logic node \"empty logic\" has no branches. Unable to evaluate it.");
    EXPECT_EQ(logic->optimal->Count(), 0);
}

TEST(RollBackSoundness, MarkovNodeWithoutTerminationNamesTheEmptyFormula)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    TreeNode* markov = tree.Add(tree.Root(), MarkovNode, "Cohort");
    tree.Add(markov, TerminalNode, "Dead", "1");
    RunFault error;
    EXPECT_EQ(Roll(tree, markov, error), 0.0);
    EXPECT_TRUE(error);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "There is an empty formula. Unable to evaluate termination condition of node \"Cohort\".");
}

TEST(RollBackFailures, NumericOverflowNamesTheNode)
{
    // A cached constant is not checked by the formula language, so the value reaches roll back's own check.
    struct Row {
        const char* name;
        double payoff;
        const char* message;
    } rows[] = {
        {"Big", 2e21, "Numeric overflow. Unable to represent the value of node \"Big\"."},
        {"First line of a long name\r\nsecond line", -2e21,
         "Numeric overflow. Unable to represent the value of node \"First line of a long name seco...\"."},
        {"NaN", std::nan(""), "Numeric overflow. Unable to represent the value of node \"NaN\"."},
    };
    for (const Row& row : rows) {
        MessageBoxRecorder boxes;
        TreeBuilder tree;
        TreeNode* node = tree.Terminal(tree.Root(), row.name, "", "0");
        node->Payoff(0).SetNumber(row.payoff, "big");
        RunFault error;
        Roll(tree, node, error);
        EXPECT_TRUE(error);
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text, row.message);
    }
}

TEST(RollBackFailures, ErrorStopsEveryLevel)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "c");
    tree.Terminal(chance, "bad", "0.5", "undefinedName");
    tree.Terminal(chance, "good", "0.5", "1");
    RunFault error;
    Roll(tree, tree.Root(), error);
    EXPECT_TRUE(error);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Unrecognized variable \"undefinedName\". Unable to evaluate payoff of node \"bad\".");
    EXPECT_EQ(RollBackTree(tree.Root(), &error, RollBackSilent), 0.0);
    EXPECT_EQ(boxes.Count(), 1u);
}

TEST(RollBackCache, CurrentValuesAreReturnedWithoutEvaluating)
{
    TreeBuilder tree;
    TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "c");
    TreeNode* a = tree.Terminal(chance, "a", "0.5", "10");
    tree.Terminal(chance, "b", "0.5", "20");
    RunFault error;
    EXPECT_NEAR(Roll(tree, tree.Root(), error), 15.0, 1e-12);
    tree.Document().RolledBack = RolledBackValues::Computed;
    // Stored results stand in for what a roll back would compute.
    tree.Root()->ExpectedValue() = 99.0;
    a->branchProbability = 0.25;
    EXPECT_NEAR(Roll(tree, tree.Root(), error, RollBackPlain), 99.0, 1e-12);
    EXPECT_NEAR(BranchProbability(a, &error, true), 0.25, 1e-12);
    // A full evaluation on request trusts none of them: it evaluates every probability again (as an
    // analysis working on other values needs) and stores what it found; maximin ignores the cache altogether.
    EXPECT_NEAR(Roll(tree, tree.Root(), error, RollBackSilent), 15.0, 1e-12);
    EXPECT_EQ(a->branchProbability, 0.5);
    tree.Root()->ExpectedValue() = 99.0;
    tree.Document().CalcPrefs.RollBackCalculatesKey = RollBackMaximin;
    EXPECT_NEAR(Roll(tree, tree.Root(), error, RollBackPlain), 15.0, 1e-12);
}

TEST(RollBackMethods, BenefitCostAndMultiAttribute)
{
    TreeBuilder tree;
    TreeNode* node = tree.Terminal(tree.Root(), "t", "", "50", "20");
    node->SetPayoffText("3", 2, false);
    TreeCalcPrefs& prefs = tree.Document().CalcPrefs;
    RunFault error;
    prefs.CalcMethod = BenefitCostMethod;
    EXPECT_NEAR(Roll(tree, node, error), 30.0, 1e-12);
    prefs.CalcMethod = MultiAttributeMethod;
    EXPECT_NEAR(Roll(tree, node, error), 0.0, 1e-12);
    prefs.MultiAttrWeight[0].SetText("0.5");
    prefs.MultiAttrWeight[2].SetText("2");
    prefs.MultiAttrWeight[3].SetText("1e-11");  // negligible: payoff 3 (empty) is never evaluated
    EXPECT_NEAR(Roll(tree, node, error), 0.5 * 50 + 2 * 3, 1e-12);
    EXPECT_FALSE(error);
}

TEST(RollBackMethods, CostEffectivenessRatioGuards)
{
    struct Row {
        const char* effectiveness;
        double expected;
    } rows[] = {{"4", 25.0}, {"0", 1e20}, {"-5", 1e20}};
    for (const Row& row : rows) {
        TreeBuilder tree;
        tree.Document().CalcPrefs.CalcMethod = CostEffectivenessMethod;
        TreeNode* node = tree.Terminal(tree.Root(), "t", "", "100", row.effectiveness);
        RunFault error;
        EXPECT_DOUBLE_EQ(Roll(tree, node, error), row.expected) << row.effectiveness;
    }
}

TEST(RollBackProgress, ModeTwoShowsAndRemovesItsEntry)
{
    TreeBuilder tree;
    tree.Terminal(tree.Root(), "t", "", "1");
    const long before = ProgressWindow::PushedCount();
    RunFault error;
    Roll(tree, tree.Root(), error, RollBackWithProgress);
    EXPECT_EQ(ProgressWindow::PushedCount(), before + 1);
    EXPECT_EQ(ProgressWindow::Depth(), 0);
}

// A tree rolled back again and again while its variables and bindings change, as a sweep changes them,
// keeps its parse trees, name caches and flattened formulas; every roll back must still give, bit for bit,
// what a fresh copy of the tree gives on its first roll back, with every formula parsed anew.
class RandomTree {
public:
    explicit RandomTree(uint32_t seed)
    {
        for (const char* name : {"a", "b", "c"})
            tree.Bind(tree.Root(), name, "0");
        random.Seed(seed);
        Grow(tree.Add(tree.Root(), DecisionNode, "d"), kDepth);
    }

    // A definition of b below the root's, over the whole tree, or none.
    void SetInnerDefinition(bool present)
    {
        TreeNode* top = tree.Root()->GetChild(0);
        if (present)
            top->SetBinding("b", "2", false);
        else
            top->RemoveBinding("b", false, false);
    }

    // The root definitions take new numbers the way a sweep writes them.
    void Set(const double (&values)[3])
    {
        const char* names[] = {"A", "B", "C"};
        for (int i = 0; i < 3; ++i)
            tree.Root()->FindBinding(names[i], true)->definition.SetNumber(values[i], Text(values[i]).c_str());
        tree.Root()->ModelChanged();
    }

    static std::string Text(double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", value);
        return text;
    }

    TreeBuilder tree;

private:
    static constexpr int kDepth = 4;

    const char* Pick(const std::vector<const char*>& texts) { return texts[random.Next() % texts.size()]; }

    void Grow(TreeNode* node, int depth)
    {
        // Inner definitions keep a and c within 0..1: plain numbers, formulas and ones that refer to the
        // definition above.
        if (depth < kDepth && random.Next() % 3 == 0) {
            const int which = random.Next() % 3;
            node->SetBinding(which == 0 ? "a" : which == 1 ? "b" : "c",
                             which == 0 ? Pick({"0.5", "a/2 + c/4"}) : which == 1 ? Pick({"b*2 + 1", "7"})
                                                                      : Pick({"c/2", "0.25"}),
                             false);
        }
        const int count = 2 + random.Next() % 3;
        for (int i = 0; i < count; ++i) {
            // Under a chance node the first branch takes the rest; the others stay below 1/count.
            const char* probability = node->kind != ChanceNode ? "" : i == 0 ? "#"
                : Pick({"0.2", "1/5", "c/5", "c*a/5", "If(a > 0.5; 0.1; 0.2)", "Min(a; c)/5"});
            const int kind = depth == 0 || random.Next() % 4 == 0 ? TerminalNode
                                                                  : random.Next() % 3 == 0 ? DecisionNode : ChanceNode;
            if (kind == TerminalNode) {
                tree.Terminal(node, "t", probability,
                              Pick({"a + b*2 - c", "b", "10", "a*b - c/3", "b^2 + a", "If(b > 5; a; c) + Max(a; b)",
                                    "(a + b)*(c - a)/(b + 1) - a*a + c*b*2 - 3"}));
            } else {
                Grow(tree.Add(node, kind, "n", probability), depth - 1);
            }
        }
    }

    RandomGenerator random;
};

void ExpectSameResults(const TreeNode* kept, const TreeNode* fresh, const std::string& where)
{
    ASSERT_EQ(kept->childCount, fresh->childCount) << where;
    EXPECT_EQ(kept->value, fresh->value) << where;
    EXPECT_EQ(kept->ExpectedValue(), fresh->ExpectedValue()) << where;
    EXPECT_EQ(kept->branchProbability, fresh->branchProbability) << where;
    const int optimal = kept->optimal != nullptr ? kept->optimal->Count() : 0;
    EXPECT_EQ(optimal, fresh->optimal != nullptr ? fresh->optimal->Count() : 0) << where;
    for (int i = 0; i < kept->childCount; ++i)
        ExpectSameResults(kept->GetChild(i), fresh->GetChild(i), where + "/" + std::to_string(i));
}

TEST(RollBackRepeated, KeptFormulasGiveWhatFreshOnesGive)
{
    MessageBoxRecorder boxes;
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        RandomGenerator draws(seed * 7919u);
        RandomTree kept(seed);
        for (int round = 0; round < 40; ++round) {
            const double values[3] = {draws.Next() / 32767.0, draws.Next() / 3276.7, draws.Next() / 32767.0};
            kept.Set(values);
            // Every few rounds the bindings change too, so every name resolves anew.
            const bool innerDefinition = round / 4 % 2 == 1;
            if (round % 4 == 0)
                kept.SetInnerDefinition(innerDefinition);
            RandomTree fresh(seed);
            fresh.Set(values);
            fresh.SetInnerDefinition(innerDefinition);
            RunFault keptError;
            RunFault freshError;
            const double keptValue = RollBackTree(kept.tree.Root(), &keptError, RollBackSilent);
            const double freshValue = RollBackTree(fresh.tree.Root(), &freshError, RollBackSilent);
            const std::string where = "seed " + std::to_string(seed) + " round " + std::to_string(round);
            ASSERT_FALSE(freshError) << where << (boxes.Count() > 0 ? ": " + boxes.Last().text : "");
            ASSERT_FALSE(keptError) << where;
            EXPECT_EQ(keptValue, freshValue) << where;
            ExpectSameResults(kept.tree.Root(), fresh.tree.Root(), where);
        }
    }
    EXPECT_EQ(boxes.Count(), 0u);
}

// A tree edited through the model's own setters between roll backs: every roll back, however often the tree
// was rolled back unchanged before, gives bit for bit what a fresh tree built by the same steps gives.
class EditedTree {
public:
    EditedTree(uint32_t seed, int edits)
    {
        for (const char* name : {"a", "b", "c"})
            tree.Bind(tree.Root(), name, "0.5");
        random.Seed(seed);
        Grow(tree.Add(tree.Root(), DecisionNode, "d"), 3);
        for (int i = 0; i < edits; ++i)
            Edit();
    }

    void Edit()
    {
        std::vector<TreeNode*> nodes;
        ForEachInSubtree(tree.Root()->GetChild(0), [&](TreeNode* node) { nodes.push_back(node); });
        TreeNode* node = nodes[random.Next() % nodes.size()];
        TreeCalcPrefs& prefs = tree.Document().CalcPrefs;
        switch (random.Next() % 8) {
        case 0:
            node->SetProbabilityText(Probability(), false);
            break;
        case 1:
            node->SetPayoffText(Payoff(), random.Next() % 2, false);
            break;
        case 2:
            node->SetKind(Kind(), false);
            break;
        case 3:
            Grow(node, random.Next() % 2);
            break;
        case 4:
            if (node->parent->childCount > 1) {
                node->parent->RemoveChild(node);
                delete node;
            }
            break;
        case 5:
            tree.Root()->FindBinding("B", true)->definition.SetNumber(random.Next() / 16384.0);
            break;
        case 6:
            if (random.Next() % 2 == 0)
                node->SetBinding(Pick({"a", "c"}), Pick({"0.25", "0.75", "c/2"}), false);
            else
                node->RemoveBinding(Pick({"a", "c"}), false, false);
            break;
        default:
            if (random.Next() % 2 == 0)
                prefs.CurrentPayoff = static_cast<int8_t>(random.Next() % 2);
            else
                prefs.OptPath[prefs.CurrentPayoff] = prefs.OptPath[prefs.CurrentPayoff] == 1 ? 0 : 1;
            break;
        }
    }

    TreeBuilder tree;

private:
    const char* Pick(const std::vector<const char*>& texts) { return texts[random.Next() % texts.size()]; }
    const char* Probability() { return Pick({"0.1", "0.2", "a/5", "b/10", "c*a/5", "(a + c)/10"}); }
    const char* Payoff()
    {
        return Pick({"a + b*2 - c", "b", "10", "a*b - c/3", "(a + b)*(c - a)/(b + 1) - a*a + c*b*2 - 3"});
    }
    int Kind() { return std::vector<int>{ChanceNode, DecisionNode, ReversedDecisionNode, TerminalNode}[random.Next() % 4]; }

    void Grow(TreeNode* node, int depth)
    {
        const int count = 2 + random.Next() % 3;
        for (int i = 0; i < count; ++i) {
            const int kind = depth == 0 ? TerminalNode : Kind();
            TreeNode* child = tree.Add(node, kind, "n", i == 0 ? "#" : Probability());
            child->SetPayoffText(Payoff(), 0, false);
            child->SetPayoffText(Payoff(), 1, false);
            if (kind != TerminalNode)
                Grow(child, depth - 1);
        }
    }

    RandomGenerator random;
};

// The results on the nodes a roll back reaches (nodes it leaves keep older ones).
void ExpectSameReached(const TreeNode* kept, const TreeNode* fresh, bool evaluateAll, const std::string& where)
{
    ASSERT_EQ(kept->childCount, fresh->childCount) << where;
    EXPECT_EQ(kept->value, fresh->value) << where;
    EXPECT_EQ(kept->ExpectedValue(), fresh->ExpectedValue()) << where;
    if (kept->IsTerminal())
        return;
    if (kept->IsDecision()) {
        ASSERT_EQ(kept->optimal->Count(), fresh->optimal->Count()) << where;
        for (int i = 0; i < kept->optimal->Count(); ++i)
            EXPECT_EQ(kept->IndexOfChild(kept->optimal->At(i)), fresh->IndexOfChild(fresh->optimal->At(i))) << where;
    }
    for (int i = 0; i < kept->childCount; ++i) {
        const TreeNode* child = kept->GetChild(i);
        if (kept->kind == ChanceNode) {
            EXPECT_EQ(child->branchProbability, fresh->GetChild(i)->branchProbability) << where;
            if (!evaluateAll && !(child->branchProbability > 0.0))
                continue;
        }
        ExpectSameReached(child, fresh->GetChild(i), evaluateAll, where + "/" + std::to_string(i));
    }
}

int ModeAfter(int edits)
{
    return edits % 3 == 2 ? RollBackPlain : RollBackSilent;
}

TEST(RollBackRepeated, EditsBetweenRollBacksGiveWhatAFreshTreeGives)
{
    MessageBoxRecorder boxes;
    constexpr int kEdits = 30;
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        // The fresh trees are rolled back first: nothing but the edits comes between the kept tree's roll backs.
        std::vector<std::unique_ptr<EditedTree>> fresh;
        std::vector<double> freshValues;
        std::vector<RunFault> freshErrors;
        for (int edits = 0; edits <= kEdits; ++edits) {
            fresh.push_back(std::make_unique<EditedTree>(seed, edits));
            freshErrors.emplace_back();
            freshValues.push_back(RollBackTree(fresh.back()->tree.Root(), &freshErrors.back(), ModeAfter(edits)));
        }
        EditedTree kept(seed, 0);
        for (int edits = 0; edits <= kEdits; ++edits) {
            if (edits > 0)
                kept.Edit();
            // The unchanged tree rolled back again reads its kept formulas, then its flat form.
            for (int pass = 0; pass < 3; ++pass) {
                const std::string where = "seed " + std::to_string(seed) + " edits " + std::to_string(edits) +
                                          " pass " + std::to_string(pass);
                RunFault keptError;
                const double keptValue = RollBackTree(kept.tree.Root(), &keptError, ModeAfter(edits));
                ASSERT_EQ(keptError.Code(), freshErrors[edits].Code()) << where;
                EXPECT_EQ(keptValue, freshValues[edits]) << where;
                if (!keptError)
                    ExpectSameReached(kept.tree.Root(), fresh[edits]->tree.Root(), ModeAfter(edits) != RollBackPlain,
                                      where);
            }
        }
    }
}

}  // namespace
