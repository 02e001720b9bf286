// Node paths, copies, clones, bindings and walks.

#include "foundation/FontRecord.h"
#include "model/CloneCopies.h"
#include "model/NodeComment.h"
#include "model/NodePath.h"
#include "model/TreeWalks.h"
#include "model/VariableDefinition.h"
#include "tests/model/TreeBuilder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// root: A (children A0, A1, A2), B (child B0).
struct SmallTree {
    TreeBuilder tree;
    TreeNode* a;
    TreeNode* b;
    SmallTree()
    {
        a = tree.Add(tree.Root(), ChanceNode, "A");
        for (const char* name : {"A0", "A1", "A2"})
            tree.Terminal(a, name, "", "1");
        b = tree.Add(tree.Root(), ChanceNode, "B");
        tree.Terminal(b, "B0", "", "2");
    }
};

TEST(NodePaths, AbsolutePathStrings)
{
    SmallTree small;
    zString path;
    NodePathString(small.tree.Root(), path, nullptr);
    EXPECT_EQ(path, "@");
    NodePathString(small.a->GetChild(2), path, nullptr);
    EXPECT_EQ(path, "@0,2,");
    NodePathString(small.a->GetChild(2), path, small.tree.Root());
    EXPECT_EQ(path, "@2,");
    NodePathString(small.a, path, small.tree.Root());
    EXPECT_EQ(path, "@");
}

TEST(NodePaths, FindByEachForm)
{
    SmallTree small;
    TreeNode* root = small.tree.Root();
    struct Row {
        const char* path;
        const char* expectedText;  // null: not found
    } rows[] = {
        {"@", ""},        {"@0,2,", "A2"}, {"@0,2", nullptr}, {"@1,0,", "B0"}, {"@5,", nullptr},
        {"$1,>", "B"},    {"$2,1", "B0"},  {"$*", nullptr},   {"BA", "B0"},   {"AC", "A2"},
        {"", ""},         {"C", nullptr},  {"@x,", nullptr},
    };
    root->SetText("", false);
    for (const Row& row : rows) {
        TreeNode* found = FindNodeByPath(root, row.path);
        if (row.expectedText == nullptr) {
            EXPECT_EQ(found, nullptr) << row.path;
        } else {
            ASSERT_NE(found, nullptr) << row.path;
            EXPECT_EQ(std::string(found->text.Text()), row.expectedText) << row.path;
        }
    }
    EXPECT_EQ(FindNodeByPath(small.a->GetChild(1), "$<"), small.a->GetChild(0));
    EXPECT_EQ(FindNodeByPath(small.a->GetChild(1), "$*,>"), small.b);
}

TEST(NodeCopies, CopyKeepsPayoffsOfTerminalsOnlyAndDropsCloneState)
{
    SmallTree small;
    TreeNode* terminal = small.a->GetChild(0);
    terminal->SetPayoffText("42", 3, false);
    terminal->SetLinkId0(5);
    terminal->cloneStatus = CloneMasterNode;
    terminal->cloneId = 3;
    TreeNode copy(*terminal, false);
    EXPECT_EQ(copy.Payoff(3).Text(), "42");
    EXPECT_EQ(copy.cloneStatus, NotCloned);
    EXPECT_EQ(copy.cloneId, -1);
    EXPECT_EQ(copy.GetLinkId0(), 0);

    small.a->Payoff(0).SetText("7");  // a chance node's payoff is not copied
    TreeNode chanceCopy(*small.a, true);
    EXPECT_TRUE(chanceCopy.Payoff(0).IsEmpty());
    EXPECT_EQ(chanceCopy.childCount, 3);
    EXPECT_EQ(chanceCopy.GetChild(2)->parent, &chanceCopy);
}

TEST(NodeChildren, InsertRemoveAndShortText)
{
    SmallTree small;
    auto* extra = new TreeNode(nullptr);
    small.a->InsertChildOrThrow(extra, -1);
    EXPECT_EQ(small.a->childCount, 4);
    EXPECT_EQ(small.a->GetChild(3), extra);
    EXPECT_EQ(extra->parent, small.a);
    EXPECT_EQ(extra->document, &small.tree.Document());
    small.a->RemoveChild(extra);
    EXPECT_EQ(extra->parent, nullptr);
    EXPECT_EQ(small.a->childCount, 3);
    delete extra;

    TreeNode named(nullptr);
    zString text;
    named.SetText("Twenty characters ab\r\ntwenty characters cd", false);
    named.GetShortText(text, 30);
    EXPECT_EQ(text, "Twenty characters ab twenty ch...");
    named.SetText("A single line of forty characters, whole", false);
    named.GetShortText(text, 30);
    EXPECT_EQ(text, "A single line of forty characters, whole");

    named.PopColumnShift(false);
    EXPECT_EQ(named.columnShift, 0);
    named.kind = DecisionNode;
    named.Payoff(1).SetText("5");
    named.GetPayoffText(text, 1);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_TRUE(named.Payoff(1).IsEmpty());

    named.SetLinkId0(5);
    named.SetLinkId1(5);
    named.ClearLinkId(5);
    EXPECT_EQ(named.GetLinkId0(), 0);
    EXPECT_EQ(named.GetLinkId1(), 5);
}

TEST(Clones, CopiesFollowTheirMaster)
{
    SmallTree small;
    TreeDocument& document = small.tree.Document();
    small.a->cloneStatus = CloneMasterNode;
    small.a->cloneId = static_cast<int16_t>(document.NewCloneId());
    document.AddCloneMaster(small.a, "Master A");
    EXPECT_EQ(document.FindCloneMaster(small.a->cloneId), small.a);
    CopyCloneMaster(small.b, small.a, nullptr);
    EXPECT_EQ(small.b->cloneStatus, CloneCopyNode);
    ASSERT_EQ(small.b->childCount, 3);
    EXPECT_EQ(small.b->GetChild(1)->text, "A1");

    // Changing a node below the master changes its counterpart in the copy.
    small.a->GetChild(0)->SetText("renamed", true);
    small.a->GetChild(0)->SetBinding("k", "4", true);
    EXPECT_EQ(small.b->GetChild(0)->text, "renamed");
    ASSERT_NE(small.b->GetChild(0)->FindBinding("K", true), nullptr);
    // A change to the master itself stays there.
    small.a->SetText("master only", true);
    EXPECT_EQ(small.b->text, "B");

    NodeChildList copies(4, Ownership::Borrows);
    CollectCloneCopies(small.tree.Root(), small.a->cloneId, copies);
    ASSERT_EQ(copies.Count(), 1);
    EXPECT_TRUE(small.b->GetChild(2)->IsInCloneCopy());
    EXPECT_TRUE(small.a->GetChild(2)->IsInCloneMaster());
    EXPECT_EQ(small.b->GetChild(2)->CloneCopyRoot(), small.b);

    small.tree.Root()->RemoveCloneCopiesOf(small.a->cloneId);
    EXPECT_EQ(small.b->cloneStatus, NotCloned);
    EXPECT_EQ(small.b->childCount, 0);
}

// A copy that would hold itself, directly or through another master's copy, is refused and changes nothing.
TEST(Clones, CopyThatWouldContainItselfIsRefused)
{
    SmallTree small;
    TreeDocument& document = small.tree.Document();
    for (TreeNode* master : {small.a, small.b}) {
        master->cloneStatus = CloneMasterNode;
        master->cloneId = static_cast<int16_t>(document.NewCloneId());
        document.AddCloneMaster(master, master->text.Text());
    }
    EXPECT_FALSE(CopyCloneMaster(small.a->GetChild(2), small.a, nullptr));
    EXPECT_FALSE(CopyCloneMaster(small.a, small.a, nullptr));
    EXPECT_EQ(small.a->GetChild(2)->cloneStatus, NotCloned);
    EXPECT_EQ(small.a->childCount, 3);

    ASSERT_TRUE(CopyCloneMaster(small.b->GetChild(0), small.a, nullptr));
    EXPECT_EQ(small.b->GetChild(0)->childCount, 3);
    EXPECT_FALSE(CopyCloneMaster(small.a->GetChild(1), small.b, nullptr));
    EXPECT_EQ(small.a->GetChild(1)->childCount, 0);
    EXPECT_EQ(CountSubtreeNodes(small.tree.Root(), true), 10);
}

// Font overrides reach clone counterparts as copies of their own; the comment is made from the children.
TEST(Clones, FontsCommentsAndLinkIdsOfNodes)
{
    SmallTree small;
    TreeDocument& document = small.tree.Document();
    small.a->cloneStatus = CloneMasterNode;
    small.a->cloneId = static_cast<int16_t>(document.NewCloneId());
    document.AddCloneMaster(small.a, "Master A");
    ASSERT_TRUE(CopyCloneMaster(small.b, small.a, nullptr));
    FontRecord bold;
    bold.face = "Bold face";
    small.a->GetChild(1)->SetFont1(&bold, true);
    ASSERT_NE(small.b->GetChild(1)->fonts[1], nullptr);
    EXPECT_NE(small.b->GetChild(1)->fonts[1], small.a->GetChild(1)->fonts[1]);
    EXPECT_EQ(small.b->GetChild(1)->fonts[1]->face, "Bold face");
    small.a->GetChild(1)->SetFont1(nullptr, true);
    EXPECT_EQ(small.b->GetChild(1)->fonts[1], nullptr);

    EXPECT_TRUE(small.a->ExtraListEmpty());
    NodeComment* comment = small.a->GetExtraList();
    ASSERT_EQ(comment->branches.Count(), 3);
    EXPECT_EQ(small.a->GetExtraList(), comment);
    EXPECT_TRUE(small.a->ExtraListEmpty());
    comment->branches.At(2)->comment = "why A2";
    EXPECT_FALSE(small.a->ExtraListEmpty());

    small.a->GetChild(2)->SetLinkId1(7);
    small.b->GetChild(0)->SetLinkId0(8);
    EXPECT_EQ(FindNodeByLinkId(small.tree.Root(), 7), small.a->GetChild(2));
    EXPECT_EQ(FindNodeByLinkId(small.tree.Root(), 8), nullptr);
    EXPECT_EQ(FindNodeByLinkId(small.b->GetChild(0), 8), small.b->GetChild(0));
}

TEST(Bindings, SetRemoveRenameAndCopy)
{
    SmallTree small;
    TreeNode* node = small.a;
    node->SetBinding("RATE", "1", false);
    node->SetBinding("rate", "2", false);
    ASSERT_EQ(node->BindingCount(), 1);
    EXPECT_EQ(node->GetBinding(0)->definition.Text(), "2");

    TreeNode* leaf = node->GetChild(0);
    leaf->SetPayoffText("p*2+px", 0, false);
    node->RenameBindingInSubtree("p", "q");
    EXPECT_EQ(leaf->Payoff(0).Text(), "q*2+px");
    node->RenameBindingInSubtree("rate", "Interest");
    EXPECT_EQ(node->GetBinding(0)->name, "Interest");
    EXPECT_NE(node->FindBinding("interest", false), nullptr);

    node->CopyBindingsTo(small.b, false);
    EXPECT_NE(small.b->FindBinding("INTEREST", true), nullptr);
    node->RemoveBinding("interest", true, false);
    EXPECT_EQ(node->BindingCount(), 0);
}

TEST(Walks, CountNumberAndStrategyWalk)
{
    SmallTree small;
    EXPECT_EQ(CountSubtreeNodes(small.tree.Root(), true), 7);
    NumberTerminalNodes(small.tree.Root());
    EXPECT_EQ(small.a->GetChild(0)->terminalNumber, 1);
    EXPECT_EQ(small.b->GetChild(0)->terminalNumber, 4);

    // The root is a decision node: without an optimal list the walk stops there.
    long visited = 0;
    WalkSubtreeByKind(small.tree.Root(), [](TreeNode*, void* count) { ++*static_cast<long*>(count); }, &visited,
                      true);
    EXPECT_EQ(visited, 1);
    small.tree.Root()->EnsureOptimalList()->Add(small.b);
    visited = 0;
    WalkSubtreeByKind(small.tree.Root(), [](TreeNode*, void* count) { ++*static_cast<long*>(count); }, &visited,
                      true);
    EXPECT_EQ(visited, 3);
    EXPECT_TRUE(IsOnOptimalPath(small.b->GetChild(0), true));
    EXPECT_FALSE(IsOnOptimalPath(small.a->GetChild(0), true));
    EXPECT_TRUE(IsOnOptimalPath(small.a->GetChild(0), false));
}

}  // namespace
