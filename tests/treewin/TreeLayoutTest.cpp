#include "analysis/RollBackAnalysis.h"
#include "model/NoteBox.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreeWindow.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr float kTol = 1e-5f;

// A node of the given measured size: name height h0, probability height 0.15.
TreeNode* Sized(float width, float nameHeight, int kind = TerminalNode)
{
    auto* node = new TreeNode;
    node->kind = kind;
    node->Geometry().BoxWidth = width;
    node->Geometry().NameHeight = nameHeight;
    node->Geometry().ProbHeight = 0.15f;
    node->Geometry().BoxHeight = nameHeight + 0.15f + 0.07f;
    return node;
}

// Layout preferences off, whatever the saved preferences say.
void Plain(TreeWindow& window)
{
    TreeDisplayPrefs& prefs = window.Document().DisplayPrefs;
    prefs.AlignEndNodes = prefs.PackTreeVert = prefs.BranchesAt90 = 0;
}

TreeNode* AddChild(TreeNode* parent, TreeNode* child)
{
    parent->InsertChildOrThrow(child, -1);
    return child;
}

TEST(TreeLayout, OneNodeStandsAtTheTreeStartInOneColumn)
{
    for (float width : {0.5f, 1.3f}) {
        TreeWindow window(Sized(width, 0.2f, DecisionNode));
        Plain(window);
        window.Relayout();
        const TreeLayout& layout = window.Layout();
        const NodeGeometry& g = window.Document().Root->Geometry();
        const float column = std::max(0.8f, width);
        EXPECT_EQ(layout.ColumnCount, 1);
        EXPECT_NEAR(layout.ColumnWidth(0), column, kTol);
        EXPECT_NEAR(g.X, 0.25f, kTol);
        EXPECT_NEAR(g.Y, 0.25f, kTol);
        EXPECT_NEAR(g.SymbolX, 0.25f + column, kTol);
        EXPECT_NEAR(layout.DrawingBounds.right, 0.5f + column, kTol) << width;
        EXPECT_NEAR(layout.DrawingBounds.bottom, 0.5f + g.BoxHeight, kTol) << width;
    }
}

TEST(TreeLayout, ANoteAboveTheTreeMovesTheTreeDownAndBackAgain)
{
    TreeWindow window(Sized(1.0f, 0.2f, DecisionNode));
    Plain(window);
    auto* note = new NoteBox(LogicalRect{0.0f, 0.0f, 1.0f, 1.0f}, &window.Document());
    window.Document().AddNoteBox(note);
    // Dragged up and left of the drawing: the tree moves by as much, the note to the margin.
    note->frame = LogicalRect{-1.0f, -0.5f, 0.0f, 0.5f};
    window.Relayout();
    const NodeGeometry& g = window.Document().Root->Geometry();
    EXPECT_NEAR(g.X, 0.25f + 1.25f, kTol);
    EXPECT_NEAR(g.Y, 0.25f + 0.75f, kTol);
    EXPECT_NEAR(note->frame.left, 0.25f, kTol);
    EXPECT_NEAR(note->frame.top, 0.25f, kTol);
    // Dragged back beside the tree: the tree returns to the top left; the bounds hold the note.
    note->frame = LogicalRect{4.0f, 3.0f, 5.0f, 4.0f};
    window.Relayout();
    EXPECT_NEAR(g.X, 0.25f, kTol);
    EXPECT_NEAR(g.Y, 0.25f, kTol);
    EXPECT_NEAR(note->frame.left, 4.0f - 1.25f, kTol);
    EXPECT_NEAR(note->frame.top, 3.0f - 0.75f, kTol);
    EXPECT_NEAR(window.Layout().DrawingBounds.right, 5.0f - 1.25f + 0.25f, kTol);
    EXPECT_NEAR(window.Layout().DrawingBounds.bottom, 4.0f - 0.75f + 0.25f, kTol);
}

TEST(TreeLayout, ChildrenStackAndTheParentCentresOnThem)
{
    TreeNode* root = Sized(0.5f, 0.2f, ChanceNode);
    TreeWindow window(root);
    Plain(window);
    const NodeGeometry& first = AddChild(root, Sized(1.0f, 0.4f))->Geometry();
    const NodeGeometry& second = AddChild(root, Sized(0.3f, 0.2f))->Geometry();
    window.Relayout();
    const NodeGeometry& g = root->Geometry();
    EXPECT_NEAR(second.Y, first.YBottom + 0.02f, kTol);
    EXPECT_NEAR(g.BranchY(), (first.BranchY() + second.BranchY()) / 2, kTol);
    EXPECT_NEAR(first.X, g.SymbolX + 0.25f, kTol);
    EXPECT_NEAR(first.SymbolX, first.X + 1.0f, kTol);
    EXPECT_NEAR(second.SymbolX, first.SymbolX, kTol);
    EXPECT_NEAR(g.SubtreeTop, 0.25f, kTol);
    EXPECT_NEAR(g.SubtreeTop + g.SubtreeHeight, second.YBottom, kTol);
    EXPECT_NEAR(window.Layout().TotalWidth, 0.25f + 0.8f + 1.0f + 0.25f, kTol);

    // Skipping a generation puts the children one column further and lengthens the parent's branch.
    root->columnShift = 1;
    window.Document().DisplayPrefs.BranchesAt90 = 1;
    window.Relayout();
    EXPECT_EQ(window.Layout().ColumnCount, 3);
    EXPECT_NEAR(g.SymbolX, 0.25f + 0.8f + 0.1f + 0.8f, kTol);
    EXPECT_NEAR(first.X, g.SymbolX + 0.1f, kTol);
}

TEST(TreeLayout, AlignedEndNodesEndAtTheTotalWidth)
{
    TreeNode* root = Sized(0.5f, 0.2f, ChanceNode);
    TreeWindow window(root);
    Plain(window);
    TreeNode* middle = AddChild(root, Sized(0.5f, 0.2f, ChanceNode));
    const NodeGeometry& deep = AddChild(middle, Sized(0.5f, 0.2f))->Geometry();
    const NodeGeometry& shallow = AddChild(root, Sized(0.5f, 0.2f))->Geometry();
    window.Document().DisplayPrefs.AlignEndNodes = 1;
    window.Relayout();
    const float total = window.Layout().TotalWidth;
    EXPECT_NEAR(total, 0.25f + 3 * 0.8f + 2 * 0.25f, kTol);
    EXPECT_NEAR(deep.SymbolX, total, kTol);
    EXPECT_NEAR(shallow.SymbolX, total, kTol);
    EXPECT_NEAR(middle->Geometry().SymbolX, middle->Geometry().X + 0.8f, kTol);
}

// Root with A (three end nodes below it) and then B, an end node in A's column.
TEST(TreeLayout, PackingLetsAShortLaterSubtreeRise)
{
    TreeNode* root = Sized(0.5f, 0.2f, ChanceNode);
    TreeWindow window(root);
    Plain(window);
    TreeNode* a = AddChild(root, Sized(0.5f, 0.2f, ChanceNode));
    for (int i = 0; i < 3; ++i)
        AddChild(a, Sized(0.5f, 0.2f));
    const NodeGeometry& lastOfA = a->GetChild(2)->Geometry();
    const NodeGeometry& b = AddChild(root, Sized(0.5f, 0.2f))->Geometry();

    window.Relayout();
    EXPECT_NEAR(b.Y, lastOfA.YBottom + 0.02f, kTol);

    window.Document().DisplayPrefs.PackTreeVert = 1;
    window.Relayout();
    EXPECT_NEAR(b.Y, a->Geometry().YBottom + 0.02f, kTol);
    EXPECT_LT(b.Y, lastOfA.YBottom);
    EXPECT_NEAR(root->Geometry().SubtreeTop + root->Geometry().SubtreeHeight, lastOfA.YBottom, kTol);
}

TEST(TreeLayout, ATallParentPushesItsSubtreeDown)
{
    TreeNode* root = Sized(0.5f, 0.2f, ChanceNode);
    TreeWindow window(root);
    Plain(window);
    TreeNode* tall = AddChild(root, Sized(0.5f, 2.0f, ChanceNode));
    const NodeGeometry& child = AddChild(tall, Sized(0.5f, 0.2f))->Geometry();
    window.Relayout();
    EXPECT_NEAR(tall->Geometry().Y, 0.25f, kTol);
    EXPECT_NEAR(child.BranchY(), tall->Geometry().BranchY(), kTol);
    EXPECT_GE(tall->Geometry().SubtreeHeight, tall->Geometry().BoxHeight - kTol);
}

TEST(TreeLayout, DeepAndWideTreesLayOutWithoutRecursion)
{
    constexpr int kCount = 200000;
    TreeNode* root = Sized(0.5f, 0.2f, ChanceNode);
    TreeWindow window(root);
    Plain(window);
    TreeNode* node = root;
    for (int i = 0; i < kCount; ++i)
        node = AddChild(node, Sized(0.5f, 0.2f, i + 1 < kCount ? ChanceNode : TerminalNode));
    window.Relayout();
    EXPECT_EQ(window.Layout().ColumnCount, kCount + 1);
    EXPECT_NEAR(node->Geometry().Y, root->Geometry().Y, kTol);

    // A node holds at most 32,767 children: wide trees spread over a few levels.
    constexpr int kWide = 30000;
    TreeNode* wide = Sized(0.5f, 0.2f, ChanceNode);
    TreeWindow wideWindow(wide);
    Plain(wideWindow);
    for (int i = 0; i < kWide; ++i)
        AddChild(wide, Sized(0.5f, 0.2f));
    wideWindow.Relayout();
    const NodeGeometry& last = wide->GetChild(kWide - 1)->Geometry();
    EXPECT_GT(last.Y, wide->GetChild(kWide - 2)->Geometry().YBottom);
    EXPECT_NEAR(wide->Geometry().SubtreeTop + wide->Geometry().SubtreeHeight, last.YBottom, kTol);
}

// A roll back asks the document for a new layout; the window that shows the document lays its tree out,
// with room after the root's roll-back box before its child's name.
TEST(TreeLayout, ARollBackLaysOutTheWindowsTree)
{
    TreeNode* root = Sized(0.5f, 0.2f, ChanceNode);
    TreeWindow window(root);
    Plain(window);
    TreeNode* end = AddChild(root, Sized(1.0f, 0.4f));
    end->SetProbabilityText("1", false);
    end->Payoff(0).SetText("1234567");
    RunAnalysis(std::make_unique<RollBackAnalysis>(&window.Document()));
    ASSERT_EQ(window.Document().RolledBack, RolledBackValues::Computed);
    EXPECT_EQ(window.Layout().ColumnCount, 2);
    TreeNode* child = root->GetChild(0);
    EXPECT_GE(child->Geometry().X, root->Geometry().SymbolX + 0.25f - kTol);
    ASSERT_GT(root->Geometry().RollBackBoxWidth, 0.0f);
    EXPECT_GT(NameRect(window, child).left, RollBackBoxRect(window, root).right);
}

// Rolled back, a tree of measured names and boxes shows no roll-back box over any name: each column leaves
// room for the widest box standing before it.
TEST(TreeLayout, NoRollBackBoxCoversAName)
{
    TreeWindow window;
    Plain(window);
    TreeDocument& tree = window.Document();
    tree.Root->SetText("Treatment choice", false);
    TreeNode* surgery = tree.AddChild(tree.Root, ChanceNode, "Surgery");
    tree.AddChild(surgery, TerminalNode, "Success", "0.6", "100");
    tree.AddChild(surgery, TerminalNode, "Failure", "#", "20");
    TreeNode* medicine = tree.AddChild(tree.Root, ChanceNode, "Medicine");
    tree.AddChild(medicine, TerminalNode, "Response", "0.3", "123456789");
    tree.AddChild(medicine, TerminalNode, "No response", "#", "0");
    tree.AddChild(tree.Root, TerminalNode, "Wait", "", "60");
    RunAnalysis(std::make_unique<RollBackAnalysis>(&tree));
    ASSERT_EQ(tree.RolledBack, RolledBackValues::Computed);
    std::vector<TreeNode*> nodes{tree.Root};
    for (size_t i = 0; i < nodes.size(); ++i)
        for (int child = 0; child < nodes[i]->childCount; ++child)
            nodes.push_back(nodes[i]->GetChild(child));
    for (TreeNode* boxed : nodes) {
        ASSERT_GT(boxed->Geometry().RollBackBoxWidth, 0.0f) << boxed->text.Text();
        const LogicalRect box = RollBackBoxRect(window, boxed);
        for (TreeNode* named : nodes) {
            const LogicalRect name = NameRect(window, named);
            const bool apart = box.right <= name.left || name.right <= box.left || box.bottom <= name.top ||
                               name.bottom <= box.top;
            EXPECT_TRUE(apart) << boxed->text.Text() << " over " << named->text.Text();
        }
    }
}

} // namespace
