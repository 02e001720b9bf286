#include "widgets/MessageBoxes.h"
#include "foundation/MemoryStream.h"
#include "model/CloneCopies.h"
#include "model/MarkovBinding.h"
#include "model/MarkovInfo.h"
#include "model/MarkovInfoCheck.h"
#include "model/MarkovInfoJumps.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// A Markov node under the root with the states Well, Sick and Dead; Well has a chance node with two
// terminals, Sick one terminal, Dead is an absorbing terminal state.
struct MarkovTree {
    TreeBuilder tree;
    TreeNode* markov;
    TreeNode* well;
    TreeNode* sick;
    TreeNode* dead;
    TreeNode* wellEvent;
    TreeNode* stayWell;
    TreeNode* getSick;
    TreeNode* sickStays;

    MarkovTree()
    {
        markov = tree.Add(tree.Root(), MarkovNode, "Cohort");
        well = tree.Add(markov, ChanceNode, "Well", "0.9");
        sick = tree.Add(markov, ChanceNode, "Sick", "0.1");
        dead = tree.Add(markov, TerminalNode, "Dead", "0");
        wellEvent = tree.Add(well, ChanceNode, "event", "1");
        stayWell = tree.Add(wellEvent, TerminalNode, "stay", "0.8");
        getSick = tree.Add(wellEvent, TerminalNode, "fall ill", "#");
        sickStays = tree.Add(sick, TerminalNode, "remain", "1");
        stayWell->SetMarkovJumpState("Well", false);
        getSick->SetMarkovJumpState("sick", false);
        sickStays->SetMarkovJumpState("SICK", false);
    }
};

TEST(MarkovInfoTest, NewRecordDefaultsAndQueries)
{
    MarkovTree t;
    MarkovInfo* info = t.stayWell->EnsureMarkovInfo();
    EXPECT_EQ(info->jumpIndex, -1);  // set up with a jump name only
    MarkovInfo fresh;
    EXPECT_EQ(fresh.jumpIndex, -1);
    EXPECT_EQ(fresh.tunnelCount, 0);
    EXPECT_EQ(fresh.jumpNode, nullptr);
    EXPECT_TRUE(fresh.jumpName.IsEmpty());

    EXPECT_EQ(t.stayWell->FindMarkovNode(), t.markov);
    EXPECT_EQ(t.markov->FindMarkovNode(), t.markov);
    EXPECT_EQ(t.tree.Root()->FindMarkovNode(), nullptr);
    EXPECT_TRUE(t.stayWell->IsInMarkovSubtree());
    EXPECT_FALSE(t.markov->IsInMarkovSubtree());
    EXPECT_EQ(t.stayWell->FindMarkovState(), t.well);
    EXPECT_EQ(t.dead->FindMarkovState(), t.dead);
    EXPECT_EQ(t.markov->FindMarkovState(), nullptr);
}

TEST(MarkovInfoTest, RewardNeverEnteredReadsAndStoresZero)
{
    MarkovTree t;
    zString text;
    t.well->GetMarkovRewardText(InitialReward, text, 0);  // no record yet
    EXPECT_STREQ(text.Text(), "0");
    EXPECT_EQ(t.well->markovInfo, nullptr);

    t.well->SetMarkovRewardText(IncrementalReward, "cost*2", 1);
    t.well->GetMarkovRewardText(FinalReward, text, 1);
    EXPECT_STREQ(text.Text(), "0");
    EXPECT_STREQ(t.well->markovInfo->finalReward[1].Text().Text(), "0");  // stored as "0"
    t.well->GetMarkovRewardText(IncrementalReward, text, 1);
    EXPECT_STREQ(text.Text(), "cost*2");

    t.markov->GetMarkovTerminationText(text, 2);
    EXPECT_TRUE(text.IsEmpty());
    t.stayWell->GetMarkovTransitionReward(text, 0);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(t.markov->MarkovTerminationExpr(0), nullptr);
    EXPECT_EQ(t.well->MarkovRewardExpr(3, 0), nullptr);
}

TEST(MarkovInfoTest, NegativePayoffMeansCurrentPayoff)
{
    MarkovTree t;
    t.tree.Document().CalcPrefs.CurrentPayoff = 2;
    t.markov->SetMarkovTerminationText("_stage > 5", -1);
    EXPECT_STREQ(t.markov->markovInfo->termination[2].Text().Text(), "_stage > 5");
    zString text;
    t.markov->GetMarkovTerminationText(text, -1);
    EXPECT_STREQ(text.Text(), "_stage > 5");
}

TEST(MarkovInfoTest, DefaultTermination)
{
    zString text;
    DefaultMarkovTermination(text, 0);
    EXPECT_STREQ(text.Text(), "_stage > 10 & (_stage > 100 | _stage_reward < .001)");
    DefaultMarkovTermination(text, -1);
    EXPECT_STREQ(text.Text(), "_stage > 10 & (_stage > 100 | _stage_eff < .001)");
}

TEST(MarkovInfoTest, JumpNamesResolveRegardlessOfCase)
{
    MarkovTree t;
    t.dead->SetMarkovJumpState("Well", false);  // an absorbing state resolves to itself whatever it names
    ResolveMarkovJumpIndexes(t.stayWell);
    EXPECT_EQ(t.stayWell->markovInfo->jumpIndex, 1);
    EXPECT_EQ(t.getSick->markovInfo->jumpIndex, 2);
    EXPECT_EQ(t.sickStays->markovInfo->jumpIndex, 2);
    EXPECT_EQ(t.dead->markovInfo->jumpIndex, 3);

    ResolveJumpTargetNodes(t.markov);
    EXPECT_EQ(t.stayWell->markovInfo->jumpNode, t.well);
    EXPECT_EQ(t.sickStays->markovInfo->jumpNode, t.sick);
    EXPECT_EQ(t.dead->markovInfo->jumpNode, t.dead);
    ClearJumpTargetNodes(t.markov);
    EXPECT_EQ(t.stayWell->markovInfo->jumpNode, nullptr);

    ResetMarkovJumpTargets(t.stayWell);
    EXPECT_EQ(t.stayWell->markovInfo->jumpIndex, 0);
    EXPECT_EQ(t.dead->markovInfo->jumpIndex, 0);
}

TEST(MarkovInfoTest, JumpNameResolvesToTheFirstStateOfThatName)
{
    MarkovTree t;
    t.tree.Add(t.markov, TerminalNode, "SICK", "0");
    t.stayWell->SetMarkovJumpState("Sic", false);
    t.sickStays->SetMarkovJumpState("Sickly", false);
    ResolveMarkovJumpIndexes(t.markov);
    EXPECT_EQ(t.getSick->markovInfo->jumpIndex, 2);  // "sick": Sick before SICK
    EXPECT_EQ(t.stayWell->markovInfo->jumpIndex, 0);
    EXPECT_EQ(t.sickStays->markovInfo->jumpIndex, 0);
}

struct BindingCase {
    const char* name;
    const char* jumpName;
    int bindingAt;  // 0 terminal, 1 its parent, 2 the state, 3 the Markov node
    const char* userName;
    const char* target;
    int expected;
};

class MarkovBindingResolution : public ::testing::TestWithParam<BindingCase> {};

TEST_P(MarkovBindingResolution, FollowsBindingsUpToTheMarkovNode)
{
    const BindingCase& c = GetParam();
    MarkovTree t;
    TreeNode* holders[] = {t.stayWell, t.wellEvent, t.well, t.markov};
    holders[c.bindingAt]->MarkovBindings()->Add(new MarkovBinding(c.target, c.userName));
    EXPECT_EQ(t.stayWell->FindStateIndexByName(c.jumpName), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MarkovBindingResolution,
    ::testing::Values(BindingCase{"AtTerminal", "=next", 0, "next", "Sick", 2},
                      BindingCase{"AtParent", "=NEXT", 1, "Next", "dead", 3},
                      BindingCase{"AtState", "=next", 2, "next", "Well", 1},
                      BindingCase{"AtMarkovNode", "=next", 3, "next", "Sick", 2},
                      BindingCase{"NoSuchUser", "=other", 3, "next", "Sick", 0},
                      BindingCase{"TargetNamesNoState", "=next", 0, "next", "Nowhere", 0},
                      BindingCase{"WithoutEquals", "next", 0, "next", "Sick", 0},
                      BindingCase{"StateNameWins", "Well", 0, "Well", "Sick", 1}),
    [](const ::testing::TestParamInfo<BindingCase>& info) { return std::string(info.param.name); });

TEST(MarkovInfoTest, BindingChainsAndCycles)
{
    MarkovTree t;
    MarkovBindingList* bindings = t.markov->MarkovBindings();
    bindings->Add(new MarkovBinding("=second", "first"));
    bindings->Add(new MarkovBinding("Dead", "second"));
    bindings->Add(new MarkovBinding("=loopB", "loopA"));
    bindings->Add(new MarkovBinding("=loopA", "loopB"));
    EXPECT_EQ(t.stayWell->FindStateIndexByName("=first"), 3);
    EXPECT_EQ(t.stayWell->FindStateIndexByName("=loopA"), 0);  // a chain that returns to itself stops

    // An unresolved chain leaves index 0, which the structure check reports.
    t.stayWell->SetMarkovJumpState("=loopA", false);
    ResolveMarkovJumpIndexes(t.markov);
    EXPECT_EQ(t.stayWell->markovInfo->jumpIndex, 0);
    MessageBoxRecorder boxes;
    EXPECT_FALSE(CheckMarkovStructure(t.markov));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Unresolved state transition. Bad node: \"stay\".");
}

TEST(MarkovInfoTest, RenamingAStateFollowsInBindingsJumpNamesAndCloneCopies)
{
    MarkovTree t;
    // The chance node under Well is a clone master; a copy of it stands outside the Markov subtree.
    t.wellEvent->cloneStatus = CloneMasterNode;
    t.wellEvent->cloneId = 1;
    t.tree.Document().AddCloneMaster(t.wellEvent, "event");
    TreeNode* copy = t.tree.Add(t.tree.Root(), ChanceNode, "elsewhere");
    CopyCloneMaster(copy, t.wellEvent, nullptr);
    ASSERT_EQ(copy->childCount, 2);
    t.markov->MarkovBindings()->Add(new MarkovBinding("Sick", "sick"));

    t.sick->SetText("Ill", true);
    EXPECT_STREQ(t.getSick->markovInfo->jumpName.Text(), "Ill");
    EXPECT_STREQ(t.sickStays->markovInfo->jumpName.Text(), "Ill");
    EXPECT_STREQ(copy->GetChild(1)->markovInfo->jumpName.Text(), "Ill");
    EXPECT_STREQ(t.stayWell->markovInfo->jumpName.Text(), "Well");
    const MarkovBinding* binding = t.markov->markovBindings->At(0);
    EXPECT_STREQ(binding->target.Text(), "Ill");
    EXPECT_STREQ(binding->upperTarget.Text(), "ILL");
    EXPECT_STREQ(binding->userName.Text(), "Ill");
    EXPECT_STREQ(binding->upperUserName.Text(), "ILL");
}

struct StructureCase {
    const char* name;
    std::function<void(MarkovTree&)> damage;
    const char* message;
};

class MarkovStructureCheck : public ::testing::TestWithParam<StructureCase> {};

TEST_P(MarkovStructureCheck, ReportsTheFirstFaultyNode)
{
    const StructureCase& c = GetParam();
    MarkovTree t;
    ResolveMarkovJumpIndexes(t.markov);
    c.damage(t);
    t.getSick->value = 5.0;
    t.well->triple.cost = 3.0;
    MessageBoxRecorder boxes;
    const bool valid = CheckMarkovStructure(t.markov);
    if (c.message == nullptr) {
        EXPECT_TRUE(valid);
        EXPECT_EQ(boxes.Count(), 0u);
        EXPECT_EQ(t.getSick->value, 0.0);
        EXPECT_NE(t.markov->markovInfo, nullptr);
        return;
    }
    EXPECT_FALSE(valid);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().caption, "Markov Structure Error");
    EXPECT_EQ(boxes.Last().help, 30014);
    EXPECT_EQ(boxes.Last().text, c.message);
    ASSERT_EQ(t.tree.Selection.Count(), 1);
    // Nodes before the failing one were cleared; the Markov node was not.
    EXPECT_EQ(t.well->triple.cost, 0.0);
    EXPECT_EQ(t.markov->markovInfo, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MarkovStructureCheck,
    ::testing::Values(
        StructureCase{"Valid", [](MarkovTree&) {}, nullptr},
        StructureCase{"ChildlessChance", [](MarkovTree& t) { t.tree.Add(t.sick, ChanceNode, "empty", "0"); },
                      "State must either be terminal or have branches. Bad node: \"empty\"."},
        StructureCase{"Decision",
                      [](MarkovTree& t) {
                          TreeNode* d = t.tree.Add(t.sick, DecisionNode, "choose", "0");
                          t.tree.Add(d, TerminalNode, "x");
                      },
                      "Decision nodes not allowed in a Markov subtree. Bad node: \"choose\"."},
        StructureCase{"NestedMarkov",
                      [](MarkovTree& t) {
                          TreeNode* m = t.tree.Add(t.sick, MarkovNode, "inner", "0");
                          t.tree.Add(m, TerminalNode, "x");
                      },
                      "Decision nodes not allowed in a Markov subtree. Bad node: \"inner\"."},
        StructureCase{"EmptyStateProbability", [](MarkovTree& t) { t.sick->SetProbabilityText("", false); },
                      "Empty initial state probability. Bad node: \"Sick\"."},
        StructureCase{"Unresolved", [](MarkovTree& t) { t.sickStays->markovInfo->jumpIndex = 0; },
                      "Unresolved state transition. Bad node: \"remain\"."},
        StructureCase{"TunnelAbsorbing", [](MarkovTree& t) { t.dead->SetMarkovTunnelCount(2, false); },
                      "Absorbing states may not be tunnel states. Bad node: \"Dead\"."},
        StructureCase{"LongNameCut",
                      [](MarkovTree& t) {
                          t.tree.Add(t.sick, ChanceNode, "a rather long first line\nand a second line", "0");
                      },
                      "State must either be terminal or have branches. Bad node: \"a rather long first line and a...\"."}),
    [](const ::testing::TestParamInfo<StructureCase>& info) { return std::string(info.param.name); });

TEST(MarkovInfoTest, CopyOfANodeCarriesItsMarkovRecordAndBindings)
{
    MarkovTree t;
    t.well->SetMarkovRewardText(InitialReward, "1", 0);
    t.well->SetMarkovTunnelCount(3, false);
    t.well->MarkovBindings()->Add(new MarkovBinding("Sick", "s"));
    TreeNode copy(*t.well, true);
    ASSERT_NE(copy.markovInfo, nullptr);
    EXPECT_STREQ(copy.markovInfo->initialReward[0].Text().Text(), "1");
    EXPECT_EQ(copy.markovInfo->tunnelCount, 3);
    ASSERT_NE(copy.markovBindings, nullptr);
    EXPECT_STREQ(copy.markovBindings->At(0)->upperTarget.Text(), "SICK");
    EXPECT_STREQ(copy.GetChild(0)->GetChild(0)->markovInfo->jumpName.Text(), "Well");
}

TEST(MarkovInfoTest, BindingListStoredForm)
{
    MarkovBindingList list;
    list.Add(new MarkovBinding("Sick", "toSick"));
    list.Add(new MarkovBinding("Dead", "end"));
    MemoryStream out(100);
    list.Serialize(out);
    MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
    MarkovBindingList loaded;
    loaded.Serialize(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.Position(), out.Position());
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_STREQ(loaded.At(1)->target.Text(), "Dead");
    EXPECT_STREQ(loaded.At(1)->upperUserName.Text(), "END");
    EXPECT_EQ(loaded.FindUserName("TOSICK"), loaded.At(0));
}

}  // namespace
