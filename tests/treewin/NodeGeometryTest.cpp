#include "treewin/NodeMeasure.h"

#include "analysis/TreeEngines.h"
#include "framework/draw/MultiLineText.h"
#include "model/CloneCopies.h"
#include "model/NodeLinkBlock.h"
#include "model/TreeNode.h"
#include "treewin/RollBackText.h"
#include "treewin/TreeValueActions.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr float kTol = 1e-5f;

// Sizes of texts in the tree's own fonts, measured at run time on the window's measuring display.
float Width(TreeWindow& window, const char* text, int font)
{
    return TextWidth(window.MeasuringDisplay(), text, &window.DefaultFont(font));
}

float Lines(TreeWindow& window, int lines)
{
    return lines * TextLineHeight(window.MeasuringDisplay(), &window.DefaultFont(TreeTextFont));
}

LogicalPoint Centre(const LogicalRect& r)
{
    return LogicalPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

} // namespace

TEST(NodeGeometry, EmptyNodeIsOneProbabilityLineHighAndASymbolWide)
{
    TreeWindow window;
    window.Document().DisplayPrefs.AlignEndNodes = 0;
    window.Redraw();
    const NodeGeometry& g = window.Document().Root->Geometry();
    const float prob = window.FontLineHeight(ProbabilityFont);
    ASSERT_GT(prob, 0.0f);
    EXPECT_NEAR(g.BoxHeight, prob + 0.07f, kTol);
    EXPECT_NEAR(g.BoxWidth, 0.115f, kTol);
    EXPECT_NEAR(g.X, 0.25f, kTol);
    EXPECT_NEAR(g.Y, 0.25f, kTol);
    EXPECT_NEAR(window.ColumnWidth(0), 0.8f, kTol);
}

TEST(NodeGeometry, TextsSizeTheBoxAndASecondTextStandsAboveTheName)
{
    TreeWindow window;
    TreeDocument& document = window.Document();
    document.DisplayPrefs.MarkNodesWithVars = 0;
    TreeNode* chance = document.AddChild(document.Root, ChanceNode, "Two\r\nlines");
    TreeNode* leaf = document.AddChild(chance, TerminalNode, "x", "a rather long probability text");
    chance->SetText2("Note", false);
    window.Redraw();

    const NodeGeometry& c = chance->Geometry();
    const float prob = window.FontLineHeight(ProbabilityFont);
    const float second = Lines(window, 1) + 0.1f;
    EXPECT_NEAR(c.NameHeight, Lines(window, 2), kTol);
    EXPECT_NEAR(c.SecondTextHeight, second, kTol);
    EXPECT_NEAR(c.BoxHeight, Lines(window, 2) + prob + 0.07f + second + 0.18f, kTol);
    EXPECT_NEAR(NameRect(window, chance).top, c.Y + second + 0.18f, kTol);
    EXPECT_NEAR(c.BranchY(), c.Y + second + 0.18f + Lines(window, 2) + 0.03f, kTol);
    const float nameWidth = std::max(Width(window, "Two", TreeTextFont), Width(window, "lines", TreeTextFont));
    EXPECT_NEAR(c.BoxWidth, std::max(nameWidth, Width(window, "Note", TreeTextFont) + 0.1f) + 0.115f, kTol);
    EXPECT_NEAR(leaf->Geometry().BoxWidth, Width(window, "a rather long probability text", ProbabilityFont) + 0.115f,
                kTol);
}

TEST(NodeGeometry, AWideDefinitionWidensTheNodeOnlyWithWideVars)
{
    for (const int wide : {0, 1}) {
        TreeWindow window;
        TreeDocument& document = window.Document();
        document.DisplayPrefs.MarkNodesWithVars = 2;
        document.DisplayPrefs.WideVars = static_cast<uint8_t>(wide);
        TreeNode* node = document.AddChild(document.Root, ChanceNode, "n");
        node->SetBinding("LONGNAME", "1+2+3+4+5+6+7+8+9+10+11+12+13", false);
        window.Redraw();
        const NodeGeometry& g = node->Geometry();
        EXPECT_NEAR(g.DefinitionsHeight, window.FontLineHeight(VariablesTextFont), kTol);
        const float definition = TextWidth(window.MeasuringDisplay(), "LONGNAME=1+2+3+4+5+6+7+8+9+10+11+12+13",
                                           &document.DisplayPrefs.VariablesFont);
        if (wide)
            EXPECT_NEAR(g.BoxWidth, definition + 0.07f + 0.115f, kTol);
        else
            EXPECT_NEAR(g.BoxWidth, Width(window, "n", TreeTextFont) + 0.115f, kTol);
    }
}

TEST(NodeGeometry, HitTestingFindsEveryPartOfEveryNode)
{
    TreeWindow window;
    TreeDocument& document = window.Document();
    document.DisplayPrefs.MarkNodesWithVars = 2;
    document.DisplayPrefs.PackTreeVert = 0;
    TreeNode* root = document.Root;
    root->SetText("Decide", false);
    std::vector<TreeNode*> nodes{root};
    for (int i = 0; i < 3; ++i) {
        TreeNode* chance = document.AddChild(root, ChanceNode, "Chance");
        chance->SetText2("Second\r\ntext", false);
        chance->SetBinding("X", "1", false);
        nodes.push_back(chance);
        for (int j = 0; j < 3; ++j)
            nodes.push_back(document.AddChild(chance, TerminalNode, "End", j < 2 ? "0.25" : "#", "10"));
    }
    window.Redraw();

    for (TreeNode* node : nodes) {
        const struct {
            LogicalRect rect;
            int region;
        } parts[] = {{SymbolRect(node), SymbolRegion},
                     {NameRect(window, node), NameRegion},
                     {ProbRect(window, node), ProbabilityRegion},
                     {SecondTextRect(window, node, true), SecondTextRegion},
                     {DefinitionsRect(window, node, true), DefinitionsRegion}};
        for (const auto& part : parts) {
            if (part.rect.bottom <= part.rect.top || (part.region == SecondTextRegion && node->text2.IsEmpty()))
                continue;
            const LogicalPoint point = Centre(part.rect);
            EXPECT_EQ(HitTestNode(window, node, point), part.region) << node->text.Text();
            EXPECT_EQ(FindNodeAt(window, root, point), node) << part.region;
        }
    }
    const NodeGeometry& g = nodes[1]->Geometry();
    EXPECT_EQ(FindNodeAt(window, root, {g.SymbolX, g.YBottom}), nodes[1]);  // the edge is inside
    EXPECT_EQ(HitTestNode(window, nodes[1], {g.X - 0.01f, g.Y}), NoRegion);
    EXPECT_EQ(FindNodeAt(window, root, {0.01f, 0.01f}), nullptr);

    EXPECT_EQ(RollBackDocument(document).status, 0);
    window.Redraw();
    const LogicalPoint box = Centre(RollBackBoxRect(window, nodes[2]));
    EXPECT_EQ(HitTestNode(window, nodes[2], box), RollBackBoxRegion);
    EXPECT_EQ(FindNodeAt(window, root, box), nodes[2]);
}

TEST(NodeGeometry, RollBackBoxRectFollowsTheValuesLineAndTheDrag)
{
    TreeWindow window;
    TreeNode* node = window.Document().AddChild(window.Document().Root, TerminalNode, "t", "", "5");
    window.Redraw();
    node->Geometry().RollBackBoxWidth = 0.05f;
    LogicalRect box = RollBackBoxRect(window, node);
    EXPECT_NEAR(box.left, node->Geometry().SymbolX + 0.1f, kTol);
    EXPECT_NEAR(box.right - box.left, 0.1f, kTol);
    EXPECT_NEAR(box.bottom - box.top, window.FontLineHeight(ValuesFont), kTol);
    EXPECT_NEAR((box.top + box.bottom) / 2, node->Geometry().BranchY(), kTol);
    node->EnsureLinkBlock()->rollBackBoxOffset[0] = 1.0f;
    EXPECT_NEAR(RollBackBoxRect(window, node).left, box.left + 1.0f, kTol);
}

TEST(RedrawNodes, EachModeMeasuresItsNodesBeforeLayingOut)
{
    const struct {
        int mode;
        bool parent, child, grandchild, copied;
    } rows[] = {{0, true, false, false, false}, {1, true, true, true, false}, {2, true, true, false, false}};
    for (const auto& row : rows) {
        TreeWindow window;
        TreeDocument& document = window.Document();
        TreeNode* parent = document.AddChild(document.Root, ChanceNode, "");
        TreeNode* child = document.AddChild(parent, ChanceNode, "", "1");
        TreeNode* grandchild = document.AddChild(child, TerminalNode, "", "1");
        window.Redraw();
        for (TreeNode* node : {parent, child, grandchild})
            node->SetText("Renamed", false);
        NodeChildList list(1, Ownership::Borrows);
        list.Add(parent);
        window.RedrawNodes(list, row.mode);
        EXPECT_EQ(parent->Geometry().NameWidth > 0, row.parent) << row.mode;
        EXPECT_EQ(child->Geometry().NameWidth > 0, row.child) << row.mode;
        EXPECT_EQ(grandchild->Geometry().NameWidth > 0, row.grandchild) << row.mode;
        EXPECT_NEAR(child->Geometry().X, parent->Geometry().SymbolX + 0.25f, kTol);
    }

    // Mode 0 follows a node into the clone copies of the master above it; an empty list does nothing.
    TreeWindow window;
    TreeDocument& document = window.Document();
    TreeNode* master = document.AddChild(document.Root, ChanceNode, "Master");
    TreeNode* inside = document.AddChild(master, TerminalNode, "", "1");
    master->cloneStatus = CloneMasterNode;
    master->cloneId = 1;
    document.AddCloneMaster(master, "m");
    TreeNode* copy = document.AddChild(document.Root, ChanceNode, "Copy");
    ASSERT_TRUE(CopyCloneMaster(copy, master, nullptr));
    window.Redraw();
    inside->SetText("Renamed", true);
    window.RedrawNode(inside, 0);
    EXPECT_GT(copy->GetChild(0)->Geometry().NameWidth, 0.0f);
    inside->Geometry().X = 99.0f;
    window.RedrawNodes(NodeChildList(1, Ownership::Borrows), 0);
    EXPECT_EQ(inside->Geometry().X, 99.0f);
}

TEST(NodeGeometry, TextsMeasuredBeforeAFontChangeOrRenameMatchAFreshWindow)
{
    // Measured texts are kept between passes: after a bigger tree font and a rename redrawn alone, every
    // size is what a window measuring the tree for the first time finds.
    FontRecord big;
    big.pointSize = 30;
    TreeWindow edited, fresh;
    fresh.Document().DisplayPrefs.TreeFont = big;
    for (TreeWindow* window : {&edited, &fresh}) {
        TreeNode* chance = window->Document().AddChild(window->Document().Root, ChanceNode, "Alpha");
        window->Document().AddChild(chance, TerminalNode, window == &edited ? "Alpha" : "Beta", "0.25");
        window->Redraw();
    }
    edited.AddUndoAction(new TreeDocumentFontAction(&edited, big));
    TreeNode* renamed = edited.Document().Root->GetChild(0)->GetChild(0);
    renamed->SetText("Beta", false);
    edited.RedrawNode(renamed, 0);
    for (TreeNode *a = renamed, *b = fresh.Document().Root->GetChild(0)->GetChild(0); a; a = a->parent, b = b->parent) {
        EXPECT_NEAR(a->Geometry().BoxWidth, b->Geometry().BoxWidth, kTol) << a->text.Text();
        EXPECT_NEAR(a->Geometry().BoxHeight, b->Geometry().BoxHeight, kTol) << a->text.Text();
    }
}
