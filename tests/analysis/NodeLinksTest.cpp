#include "analysis/NodeLinks.h"

#include "analysis/RollBack.h"
#include "model/TreeDocument.h"
#include "model/TreeWalks.h"
#include "tests/model/TreeBuilder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A decision between a chance node over 10 (0.25), 20 (0.5) and 40 (0.25), worth 22.5 with a standard
// deviation of sqrt(118.75) = 10.897247359, and a terminal worth 1.
struct LinkedTree {
    TreeBuilder tree;
    TreeNode* chance;
    TreeNode* middle;
    TreeNode* other;

    LinkedTree()
    {
        chance = tree.Add(tree.Root(), ChanceNode, "c");
        tree.Terminal(chance, "a", "0.25", "10");
        middle = tree.Terminal(chance, "b", "0.5", "20");
        tree.Terminal(chance, "d", "0.25", "40");
        other = tree.Terminal(tree.Root(), "other", "", "1");
        RunFault error;
        RollBackTree(tree.Root(), &error, RollBackSilent);
        tree.Document().RolledBack = RolledBackValues::Computed;
    }
    std::string Item(int id)
    {
        DocumentLink* item = tree.Document().FindLinkEntry(id);
        return item != nullptr ? item->value.Text() : "<none>";
    }
};

TEST(NodeLinks, IdsAreMadeOnceAndFillGaps)
{
    LinkedTree linked;
    TreeDocument& document = linked.tree.Document();
    EXPECT_EQ(document.LinkIdFor(linked.chance, NodeLinkBlock::ExpectedValueLink), 1);
    EXPECT_EQ(document.LinkIdFor(linked.chance, NodeLinkBlock::ExpectedValueLink), 1);
    EXPECT_EQ(document.LinkIdFor(linked.chance, NodeLinkBlock::StandardDeviationLink), 2);
    EXPECT_EQ(document.LinkIdFor(linked.middle, NodeLinkBlock::PathProbabilityLink), 3);
    EXPECT_EQ(document.LinkIdFor(linked.middle, NodeLinkBlock::ExpectedValueLink + 1), 0);
    EXPECT_EQ(document.LinkItems.Count(), 3);
    EXPECT_EQ(linked.chance->GetLinkId2(), 1);
    EXPECT_EQ(linked.middle->GetLinkId0(), 3);
    EXPECT_EQ(document.FindLinkEntry(0), nullptr);
    EXPECT_EQ(document.FindLinkEntry(-3), nullptr);

    document.ReleaseLinkEntry(2, linked.chance);
    EXPECT_EQ(linked.chance->GetLinkId1(), 0);
    EXPECT_EQ(document.LinkIdFor(linked.other, NodeLinkBlock::ExpectedValueLink), 2);

    // A deleted node's link items go with it; its subtree's too.
    TreeNode* chance = linked.chance;
    linked.tree.Root()->RemoveChild(chance);
    delete chance;
    EXPECT_EQ(document.FindLinkEntry(1), nullptr);
    EXPECT_EQ(document.FindLinkEntry(3), nullptr);
    ASSERT_EQ(document.LinkItems.Count(), 1);
    EXPECT_EQ(FindNodeByLinkId(linked.tree.Root(), 2), linked.other);
}

TEST(NodeLinks, TextsOfTheLinkedValues)
{
    LinkedTree linked;
    TreeDocument& document = linked.tree.Document();
    const int value = document.LinkIdFor(linked.chance, NodeLinkBlock::ExpectedValueLink);
    const int deviation = document.LinkIdFor(linked.chance, NodeLinkBlock::StandardDeviationLink);
    const int pathOther = document.LinkIdFor(linked.other, NodeLinkBlock::PathProbabilityLink);
    const int pathMiddle = document.LinkIdFor(linked.middle, NodeLinkBlock::PathProbabilityLink);
    zString text;
    ASSERT_TRUE(LinkItemText(linked.chance, value, text));
    EXPECT_STREQ(text.Text(), "22.5");
    ASSERT_TRUE(LinkItemText(linked.chance, deviation, text));
    EXPECT_STREQ(text.Text(), "10.897247359");
    // Path probabilities at twice the tree's three probability digits; only optimal branches: the terminal
    // the decision did not choose is never reached.
    ASSERT_TRUE(LinkItemText(linked.other, pathOther, text));
    EXPECT_STREQ(text.Text(), "0");
    ASSERT_TRUE(LinkItemText(linked.middle, pathMiddle, text));
    EXPECT_STREQ(text.Text(), "0.500000");
    EXPECT_FALSE(LinkItemText(linked.middle, value, text));

    UpdateAllNodeLinks(linked.tree.Root());
    EXPECT_EQ(linked.Item(value), "22.5");
    EXPECT_EQ(linked.Item(deviation), "10.897247359");
    // Every branch counts here: the other terminal's path probability is that of its own branch.
    EXPECT_EQ(linked.Item(pathOther), "1.000000");
    EXPECT_EQ(linked.Item(pathMiddle), "0.500000");
}

// Item names from another program are read within bounds; only a whole id that a node carries answers.
TEST(NodeLinks, ItemNamesFromOutside)
{
    LinkedTree linked;
    TreeDocument& document = linked.tree.Document();
    const int value = document.LinkIdFor(linked.chance, NodeLinkBlock::ExpectedValueLink);
    ASSERT_EQ(value, 1);
    struct Case {
        const char* name;
        const char* answer;
    } cases[] = {
        {"DDE_1", "22.5"}, {"DDE_", nullptr}, {"DDE_x", nullptr}, {"DDE_0", nullptr}, {"DDE_2", nullptr},
        {"DDE_1x", nullptr}, {"DDE_-1", nullptr}, {"DDE_99999999999999999999", nullptr}, {"XYZ_1", nullptr},
    };
    for (const Case& c : cases) {
        zString text;
        EXPECT_EQ(LinkValueText(document, c.name, text), c.answer != nullptr) << c.name;
        if (c.answer != nullptr) {
            EXPECT_STREQ(text.Text(), c.answer);
        }
    }
}

}  // namespace
