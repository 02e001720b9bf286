#include "model/MarkovInfo.h"
#include "model/TreeOutline.h"
#include "tests/model/TreeBuilder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Outline(const TreeNode* node)
{
    zString out;
    WriteTreeOutline(node, out);
    return out.Text();
}

TEST(TreeOutlineTest, ExampleTreeGivesThreeLines)
{
    TreeBuilder tree;
    tree.Root()->SetKind(ChanceNode, false);
    tree.Root()->SetText("Root", false);
    tree.Terminal(tree.Root(), "A", "0.4", "100");
    tree.Terminal(tree.Root(), "B", "#", "cost[2]*3");
    EXPECT_EQ(Outline(tree.Root()),
              "Root [n c]\r\n"
              "\tA\\0.4 [n t] [p 100]\r\n"
              "\tB\\# [n t] [p cost{2}*3]\r\n");
}

TEST(TreeOutlineTest, RootBindingsFollowItsSubtreeOnly)
{
    TreeBuilder tree;
    tree.Root()->SetText("Root", false);
    tree.Bind(tree.Root(), "rate", "0.05");
    EXPECT_EQ(Outline(tree.Root()), "Root [n d]\r\n");

    TreeNode* child = tree.Terminal(tree.Root(), "A", "", "rate*2");
    tree.Bind(child, "p", "x[1]");
    tree.Bind(child, "q", "2");
    EXPECT_EQ(Outline(tree.Root()),
              "Root [n d]\r\n"
              "\tA [n t] [v p=x{1}\\q=2] [p rate*2]\r\n"
              "rate=0.05\r\n");
}

TEST(TreeOutlineTest, PayoffSectionKeepsEmptyFieldsBeforeTheLast)
{
    TreeBuilder tree;
    TreeNode* node = tree.Terminal(tree.Root(), "T", "", "1");
    node->SetPayoffText("3", 2, false);
    zString line;
    NodeOutlineLine(node, line);
    EXPECT_STREQ(line.Text(), "\tT [n t] [p 1\\\\3]\r\n");
}

TEST(TreeOutlineTest, NamesAndSecondTextsOnOneLineAndKindLetters)
{
    struct Case {
        int kind;
        const char* letters;
    };
    const Case cases[] = {{ChanceNode, " [n c]"}, {DecisionNode, " [n d]"},       {MarkovNode, " [n m]"},
                          {ReversedDecisionNode, " [n b]"}, {LogicNode, " [n l]"}, {LabelNode, " [n a]"},
                          {0, ""},          {9, ""}};
    for (const Case& c : cases) {
        TreeBuilder tree;
        TreeNode* node = tree.Add(tree.Root(), c.kind, "two\r\nlines");
        node->SetText2("note\nhere", false);
        zString line;
        NodeOutlineLine(node, line);
        EXPECT_EQ(std::string(line.Text()), std::string("\ttwo^Nlines") + c.letters + "<-note^Nhere\r\n") << c.kind;
    }
}

TEST(TreeOutlineTest, MarkovSectionsLeaveTheTreeUnchanged)
{
    TreeBuilder tree;
    TreeNode* markov = tree.Add(tree.Root(), MarkovNode, "M");
    markov->SetMarkovTerminationText("_stage > 5", 0);
    markov->SetMarkovTerminationText("x[1]", 2);
    TreeNode* state = tree.Add(markov, ChanceNode, "Well", "1");
    state->SetMarkovRewardText(IncrementalReward, "1", 0);
    state->SetMarkovRewardText(FinalReward, "4", 1);
    state->SetMarkovTunnelCount(2, false);
    TreeNode* move = tree.Terminal(state, "stay", "1", "5");
    move->SetMarkovTransitionReward("-2", 1);
    TreeNode* plainState = tree.Add(markov, TerminalNode, "Dead", "0");
    plainState->EnsureMarkovInfo();

    EXPECT_EQ(Outline(markov),
              "\tM [n m] [t _stage > 5\\\\x{1}]\r\n"
              "\t\tWell\\1 [n c] [r 0\\1\\0\\0\\0\\4] [u 3]\r\n"
              "\t\t\tstay\\1 [n t] [j \\-2]\r\n"
              "\t\tDead\\0 [n t]\r\n");
    // Writing the outline does not fill the empty rewards.
    EXPECT_TRUE(state->markovInfo->initialReward[0].IsEmpty());
    EXPECT_TRUE(state->markovInfo->finalReward[0].IsEmpty());
}

TEST(TreeOutlineTest, ClonesAndTheirContents)
{
    TreeBuilder tree;
    TreeNode* master = tree.Add(tree.Root(), ChanceNode, "master");
    master->cloneStatus = CloneMasterNode;
    master->cloneId = 4;
    tree.Document().AddCloneMaster(master, "Shared part");
    tree.Terminal(master, "x", "1", "0");
    TreeNode* copy = tree.Add(tree.Root(), ChanceNode, "copy");
    copy->cloneStatus = CloneCopyNode;
    copy->cloneId = 4;
    tree.Terminal(copy, "x", "1", "0");
    EXPECT_EQ(Outline(tree.Root()),
              " [n d]\r\n"
              "\tmaster [n c] [ci 4] [cn Shared part]\r\n"
              "\t\tx\\1 [n t] [p 0]\r\n"
              "\tcopy [n c] [cc 4]\r\n");

    // With current values the contents of copies are written too.
    tree.Document().RolledBack = RolledBackValues::Computed;
    tree.Document().DisplayPrefs.ShowProbsAsNumericEquiv = 0;
    const std::string current = Outline(tree.Root());
    EXPECT_NE(current.find("\tcopy :: "), std::string::npos);
    EXPECT_NE(current.find("\t\tx\\1 :: "), std::string::npos);
    EXPECT_EQ(current.find("[cc"), std::string::npos);
}

TEST(TreeOutlineTest, CurrentValuesShowProbabilitiesAsTextOrNumber)
{
    TreeBuilder tree;
    tree.Root()->SetKind(ChanceNode, false);
    TreeNode* node = tree.Terminal(tree.Root(), "A", "p[1]", "100");
    node->branchProbability = 0.25;
    tree.Document().RolledBack = RolledBackValues::Computed;
    tree.Document().DisplayPrefs.ShowProbsAsNumericEquiv = 0;
    zString line;
    NodeOutlineLine(node, line);
    EXPECT_EQ(std::string(line.Text()).rfind("\tA\\p[1] :: ", 0), 0u);
    tree.Document().DisplayPrefs.ShowProbsAsNumericEquiv = 1;
    NodeOutlineLine(node, line);
    EXPECT_EQ(std::string(line.Text()).rfind("\tA\\0.25", 0), 0u);
}

TEST(TreeOutlineTest, OutlineStopsAt30000Characters)
{
    struct Case {
        int firstLength;
        bool lastFits;
        bool bindingFits;
    };
    // Lines: "R [n d]" 9, the first child 1 + n + 8, "last" 13, "rate=1" counted as 6 + 2.
    const Case cases[] = {{29000, true, true}, {29980, false, false}, {29965, true, false}};
    for (const Case& c : cases) {
        TreeBuilder tree;
        tree.Root()->SetText("R", false);
        tree.Bind(tree.Root(), "rate", "1");
        const std::string longName(c.firstLength, 'a');
        tree.Add(tree.Root(), ChanceNode, longName.c_str());
        TreeNode* tooLong = tree.Add(tree.Root(), ChanceNode, std::string(2000, 'b').c_str());
        tree.Add(tooLong, ChanceNode, "under");
        tree.Add(tree.Root(), ChanceNode, "last");
        std::string expected = "R [n d]\r\n\t" + longName + " [n c]\r\n";
        if (c.lastFits)
            expected += "\tlast [n c]\r\n";
        if (c.bindingFits)
            expected += "rate=1\r\n";
        const std::string outline = Outline(tree.Root());
        EXPECT_EQ(outline.size(), expected.size()) << c.firstLength;
        EXPECT_TRUE(outline == expected) << c.firstLength;
    }
}

TEST(TreeOutlineTest, BracketEscaping)
{
    zString text("a[1] + b[[2]]");
    EscapeOutlineBrackets(text);
    EXPECT_STREQ(text.Text(), "a{1} + b{{2}}");
    zString out;
    AppendOutlineMarker(out, 'c', 'n');
    AppendOutlineMarker(out, 'p', 0);
    EXPECT_STREQ(out.Text(), " [cn  [p ");
}

}  // namespace
