#include "treewin/TreePainter.h"

#include "analysis/TreeEngines.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/DrawingScale.h"
#include "framework/draw/MetafileDisplay.h"
#include "model/CloneCopies.h"
#include "model/TreeNode.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kPurple = RGB(128, 0, 128);
constexpr COLORREF kGrey = RGB(192, 192, 192);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A tree of every symbol kind, laid out and painted into a white bitmap of the drawing's size.
class PaintedTree : public testing::Test {
protected:
    void SetUp() override
    {
        TreeDocument& document = Document();
        document.DisplayPrefs.AlignEndNodes = 0;
        document.DisplayPrefs.TermNodeStyle = 0;
        root = document.Root;
        root->SetText("Decide", false);
        chance = document.AddChild(root, ChanceNode, "Chance");
        best = document.AddChild(chance, TerminalNode, "High", "0.5", "100");
        document.AddChild(chance, TerminalNode, "Low", "#", "0");
        markov = document.AddChild(root, MarkovNode, "Markov");
        markov->SetMarkovTerminationText("_stage > 2", 0);
        document.AddChild(markov, TerminalNode, "Well", "0.9", "1");
        document.AddChild(markov, TerminalNode, "Dead", "#", "0");
        worse = document.AddChild(root, TerminalNode, "Nothing", "", "1");
    }

    TreeDocument& Document() { return window.Document(); }

    // Lays out and paints on a fresh white bitmap (or the given display).
    BitmapDisplay& Paint()
    {
        window.Redraw();
        const LayoutRect bounds = window.Layout().DrawingBounds;
        bitmap = std::make_unique<BitmapDisplay>(static_cast<int>(bounds.right * 96) + 2,
                                                 static_cast<int>(bounds.bottom * 96) + 2);
        bitmap->Lock();
        DrawShape(*bitmap, RECT{0, 0, 4000, 4000}, kWhite);
        window.Draw(*bitmap);
        return *bitmap;
    }

    int Count(const RECT& area, COLORREF colour) const
    {
        int count = 0;
        for (int y = area.top; y <= area.bottom; ++y)
            for (int x = area.left; x <= area.right; ++x)
                count += GetPixel(bitmap->DeviceContext(), x, y) == colour ? 1 : 0;
        return count;
    }
    RECT Symbol(const TreeNode* node) const
    {
        RECT r = LogicalRectToPixels(SymbolRect(node), *bitmap);
        AlignSymbolToBranch(r, LogicalYToPixel(node->Geometry().BranchY(), *bitmap));
        return r;
    }
    // The pixels around the last quarter of the branch from a child's parent to the child, where no other
    // branch comes near.
    RECT BranchArea(const TreeNode* child) const
    {
        const NodeGeometry& parent = child->parent->Geometry();
        const NodeGeometry& end = child->Geometry();
        // The branches part after the parent's roll-back box.
        const float start = parent.SymbolX + TreeLayout::BranchSplit(child->parent);
        const float x = start + (end.X - start) * 0.75f;
        const float y = parent.BranchY() + (end.BranchY() - parent.BranchY()) * 0.75f;
        return RECT{LogicalXToPixel(x, *bitmap), LogicalYToPixel(std::min(y, end.BranchY()), *bitmap) - 1,
                    LogicalXToPixel(end.X, *bitmap) - 1, LogicalYToPixel(std::max(y, end.BranchY()), *bitmap) + 1};
    }

    TreeWindow window;
    std::unique_ptr<BitmapDisplay> bitmap;
    TreeNode* root = nullptr;
    TreeNode* chance = nullptr;
    TreeNode* best = nullptr;
    TreeNode* markov = nullptr;
    TreeNode* worse = nullptr;
};

} // namespace

TEST_F(PaintedTree, EverySymbolHasTheColourOfItsKindAndPicturesShowNoSelection)
{
    window.Selection.Add(root);
    Paint();
    const struct {
        const TreeNode* node;
        COLORREF colour;
    } rows[] = {{root, kBlue}, {chance, kGreen}, {best, kRed}, {markov, kPurple}};
    for (const auto& row : rows) {
        EXPECT_GT(Count(Symbol(row.node), row.colour), 4) << row.node->text.Text();
        EXPECT_EQ(Count(Symbol(row.node), kMagenta), 0);
    }
    const RECT square = Symbol(root);
    EXPECT_EQ(GetPixel(bitmap->DeviceContext(), (square.left + square.right) / 2, (square.top + square.bottom) / 2),
              kWhite);
    EXPECT_GT(Count(BranchArea(markov->GetChild(0)), kBlack), 4);
}

TEST_F(PaintedTree, TerminalStylesDrawTriangleDiamondOrLine)
{
    const struct {
        int style;
        bool cornerRed;
        bool red;
    } rows[] = {{0, true, true}, {1, false, true}, {2, false, false}, {7, false, true}};
    for (const auto& row : rows) {
        Document().DisplayPrefs.TermNodeStyle = row.style;
        Paint();
        const RECT s = Symbol(worse);
        const RECT topRight{s.right - 2, s.top, s.right - 1, s.top + 1};
        EXPECT_EQ(Count(topRight, kRed) > 0, row.cornerRed) << row.style;
        EXPECT_EQ(Count(s, kRed) > 0, row.red) << row.style;
        if (row.style == 2) {
            EXPECT_GE(Count(RECT{s.left, (s.top + s.bottom) / 2 - 1, s.right, (s.top + s.bottom) / 2 + 1}, kBlack),
                      s.right - s.left);
        }
    }
}

TEST_F(PaintedTree, RollBackPaintsTheOptimalBranchMagentaAndCloneContentsGrey)
{
    chance->cloneStatus = CloneMasterNode;
    chance->cloneId = 1;
    Document().AddCloneMaster(chance, "Gamble");
    TreeNode* copy = Document().AddChild(root, ChanceNode, "Copy");
    ASSERT_TRUE(CopyCloneMaster(copy, chance, nullptr));
    ASSERT_EQ(RollBackDocument(Document()).status, 0);
    Paint();
    EXPECT_GT(Count(BranchArea(chance), kMagenta), 3);
    EXPECT_EQ(Count(BranchArea(worse), kMagenta), 0);
    EXPECT_GT(Count(BranchArea(copy->GetChild(0)), kGrey), 3);
    EXPECT_EQ(Count(BranchArea(chance->GetChild(0)), kGrey), 0);
    EXPECT_GT(Count(Symbol(copy), kGreen), 4);
}

TEST_F(PaintedTree, BlackAndWhitePicturesMapEveryColourToBlack)
{
    window.Redraw();
    MetafileDisplay picture(nullptr);
    picture.SetBlackAndWhite(true);
    window.Draw(picture);

    const LayoutRect bounds = window.Layout().DrawingBounds;
    bitmap = std::make_unique<BitmapDisplay>(static_cast<int>(bounds.right * 96) + 2,
                                             static_cast<int>(bounds.bottom * 96) + 2);
    bitmap->Lock();
    DrawShape(*bitmap, RECT{0, 0, 4000, 4000}, kWhite);
    RECT frame{};
    picture.Bounds(frame);
    picture.CopyTo(*bitmap, 0, 0, frame.right, frame.bottom, 0, 0);
    for (const TreeNode* node : {root, chance, best, markov}) {
        EXPECT_GT(Count(Symbol(node), kBlack), 4) << node->text.Text();
        EXPECT_EQ(Count(Symbol(node), kBlue) + Count(Symbol(node), kGreen) + Count(Symbol(node), kRed) +
                      Count(Symbol(node), kPurple),
                  0);
    }
}

TEST(MarkovArcs, RowsAreComparedIn32Bits)
{
    EXPECT_TRUE(DrawsMarkovArc({0, 0}, {100, 65539}));  // 3 rows apart in 16 bits
    EXPECT_FALSE(DrawsMarkovArc({0, 100000}, {100, 100006}));
    RECT bounds;
    POINT from, to;
    MarkovArc({10, 0}, {110, 100000}, bounds, from, to);
    EXPECT_EQ(bounds.top, -100000);
    EXPECT_EQ(bounds.right, 210);
    EXPECT_EQ(bounds.bottom, 100000);
    EXPECT_EQ(to.y, 100000);
    MarkovArc({10, 100000}, {110, 0}, bounds, from, to);
    EXPECT_EQ(bounds.top, 0);
    EXPECT_EQ(bounds.bottom, 200000);
    EXPECT_EQ(from.y, 0);
}

TEST(DeepZoom, BranchesAndMarkovArcsReachRowsBeyond16Bits)
{
    for (const int kind : {ChanceNode, MarkovNode}) {
        TreeWindow window;
        TreeDocument& document = window.Document();
        document.Root->kind = kind;
        document.AddChild(document.Root, TerminalNode, "Near", "0.5");
        TreeNode* distant = document.AddChild(document.Root, TerminalNode, std::string(2000, '\n').c_str(), "#");
        window.Redraw();

        // At zoom 2.5 the far branch ends some 90,000 pixel rows down: look at its last inch.
        SetCurrentDrawingScale(2.5f);
        const NodeGeometry& end = distant->Geometry();
        ASSERT_GT(end.BranchY() * 96 * 2.5, 70000.0);
        SetDrawingOrigin(end.X - 0.5f, end.BranchY() - 0.5f);
        BitmapDisplay display(240, 240);
        DrawShape(display, RECT{0, 0, 239, 239}, kWhite);
        window.Draw(display);
        // Above the branch row, left of the branch's end: only the line coming down from the root.
        int black = 0;
        const int endX = LogicalXToPixel(end.X, display);
        for (int y = 0; y < LogicalYToPixel(end.BranchY(), display) - 2; ++y)
            for (int x = endX - 60; x <= endX; ++x)
                black += GetPixel(display.DeviceContext(), x, y) == kBlack ? 1 : 0;
        SetDrawingOrigin(0, 0);
        SetCurrentDrawingScale(1.0f);
        EXPECT_GT(black, 60) << kind;
    }
}

TEST(PictureLayout, PicturesAreLaidOutAsOnTheScreen)
{
    TreeWindow screen;
    TreeWindow picture;
    MetafileDisplay metafile(nullptr);
    picture.SetPaneDisplay(&metafile);
    for (TreeWindow* window : {&screen, &picture}) {
        TreeDocument& document = window->Document();
        document.AddChild(document.Root, TerminalNode, "A longer name\r\nin two lines", "0.3");
        window->Redraw();
    }
    const NodeGeometry& a = screen.Document().Root->GetChild(0)->Geometry();
    const NodeGeometry& b = picture.Document().Root->GetChild(0)->Geometry();
    EXPECT_GT(b.NameWidth, 0.0f);
    EXPECT_FLOAT_EQ(a.BoxWidth, b.BoxWidth);
    EXPECT_FLOAT_EQ(a.BoxHeight, b.BoxHeight);
    EXPECT_FLOAT_EQ(a.Y, b.Y);
}
