// The tree window with a person's hands: real keys and clicks through the X server reach the in-place
// editors as they reach any edit field; roll-back boxes and the branches they stand on keep clear of each
// other, on the screen as the program lays them out.

#include "app/MainFrame.h"
#include "dialogs/HookedDialog.h"
#include "framework/draw/MetafileDisplay.h"
#include "framework/visual/VisualListPane.h"
#include "framework/visual/VisualToggleSet.h"
#include "framework/window/FrameworkApp.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/DisplayColumnList.h"
#include "model/ResultCellList.h"
#include "model/TreeNode.h"
#include "tests/support/MetafileText.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/RealInput.h"
#include "tests/support/SampleDiagram.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "treewin/NodeMeasure.h"
#include "treewin/ResultBoxes.h"
#include "treewin/TreePane.h"
#include "treewin/TreeWindow.h"
#include "widgets/InPlaceEdit.h"
#include "widgets/MainToolbar.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A new tree in the program's main frame, on top of the screen.
class TreeOnScreen : public ::testing::Test {
protected:
    TreeOnScreen()
    {
        frame = new MainFrame;
        frame->EndStartup();
        frame->Show(SW_SHOW);
        MoveWindow(frame->Handle(), 0, 0, 900, 700, TRUE);
        Command(Cmd::NewTree);
        raised = std::make_unique<ScreenOnTop>(frame->Handle());
    }
    ~TreeOnScreen() override
    {
        raised.reset();
        while (!TreeWindow::OpenWindows().empty())
            delete TreeWindow::OpenWindows().back();
        delete frame;
    }
    // The program's own message processing (accelerators, dialog keys) until the condition holds or 10 s
    // passed; the input's events come in through the same queue.
    bool PumpUntil(const std::function<bool()>& condition)
    {
        const DWORD start = GetTickCount();
        for (;;) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                app->ProcessMessage(message);
            if (condition())
                return true;
            if (GetTickCount() - start > 10000)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }
    void Command(unsigned id)
    {
        PostMessageA(frame->Handle(), WM_COMMAND, id, 0);
        PumpUntil([] { return true; });
    }
    TreeWindow* ActiveTree() const { return dynamic_cast<TreeWindow*>(frame->ActiveChild()); }
    TreeWindow& Tree() const { return *ActiveTree(); }
    TreeDocument& Document() const { return Tree().Document(); }
    // The root made the treatment decision: surgery (cured 0.8 pays 100, else 20) or medicine (70); the
    // medicine node is returned.
    TreeNode* TreatmentTree()
    {
        TreeNode* root = Document().Root;
        root->kind = DecisionNode;
        root->SetText("Treatment", false);
        TreeNode* surgery = Document().AddChild(root, ChanceNode, "Surgery");
        Document().AddChild(surgery, TerminalNode, "Cured", "0.8")->SetPayoffText("100", 0, false);
        Document().AddChild(surgery, TerminalNode, "Not cured", "0.2")->SetPayoffText("20", 0, false);
        TreeNode* medicine = Document().AddChild(root, TerminalNode, "Medicine");
        medicine->SetPayoffText("70", 0, false);
        return medicine;
    }
    // The root made a chance node with branches of these names and probabilities.
    void Branches(std::initializer_list<std::pair<const char*, const char*>> branches)
    {
        TreeNode* root = Document().Root;
        root->kind = ChanceNode;
        for (const auto& branch : branches)
            Document().AddChild(root, TerminalNode, branch.first)->SetProbabilityText(branch.second, false);
        Tree().Redraw();
        InvalidateRect(Tree().Handle(), nullptr, TRUE);
        PumpUntil([] { return true; });
    }
    // The screen point of a place of the drawing (inches).
    POINT OnScreen(LogicalPoint at) const
    {
        TreePane& pane = *Tree().Pane();
        pane.PushDrawingScale();
        const RECT pixels =
            pane.DrawingToClient(LogicalRectToPixels(LogicalRect{at.x, at.y, at.x, at.y}, *pane.CurrentDisplay()));
        pane.PopDrawingScale();
        return RealInput::OnScreen(pane.Handle(), POINT{pixels.left, pixels.top});
    }
    // The screen rectangle of a rectangle of the drawing (inches).
    RECT OnScreen(const LogicalRect& rect) const
    {
        const POINT topLeft = OnScreen(LogicalPoint{rect.left, rect.top});
        const POINT bottomRight = OnScreen(LogicalPoint{rect.right, rect.bottom});
        return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    }
    RECT PaneOnScreen() const
    {
        RECT pane;
        GetWindowRect(Tree().Pane()->Handle(), &pane);
        return pane;
    }
    // A real click on the middle of a text (the node's name unless told) opens the editor of its field.
    bool ClickOpens(const LogicalRect& text, int field = 1)
    {
        RealInput::Click(OnScreen(LogicalPoint{(text.left + text.right) / 2, (text.top + text.bottom) / 2}));
        return PumpUntil([&] {
            TreeWindow* tree = ActiveTree();
            return tree != nullptr && tree->EditField == field && tree->InPlaceEditor != nullptr;
        });
    }
    bool EscapeCloses()
    {
        RealInput::Keys("Escape");
        return PumpUntil([this] { return Tree().InPlaceEditor == nullptr; });
    }
    // Keys that change the zoom (F9 in, Shift+F9 out), once it has changed.
    bool Zoomed(const char* keys)
    {
        const double zoom = Tree().Pane()->Zoom();
        RealInput::Keys(keys);
        return PumpUntil([&] { return Tree().Pane()->Zoom() != zoom; });
    }
    std::string EditorText() const
    {
        return Tree().InPlaceEditor != nullptr ? Tree().InPlaceEditor->GetText().Text() : "(closed)";
    }
    bool EditorShows(const std::string& text)
    {
        return PumpUntil([&] { return EditorText() == text; });
    }

    FocusTestLock focus;
    ScopedApplication app;
    MessageBoxRecorder boxes;
    MainFrame* frame;
    std::unique_ptr<ScreenOnTop> raised;
};

// A drawn frame's side: the column (or row) from `from` to before `to` with the most dark pixels across the box.
int MostDarkLine(const ScreenCapture& shot, int from, int to, const RECT& box, bool column)
{
    int best = from, most = 0;
    for (int at = from; at < to; ++at) {
        int dark = 0;
        for (int on = column ? box.top : box.left; on < (column ? box.bottom : box.right); ++on)
            dark += (column ? shot.Dark(at, on) : shot.Dark(on, at)) ? 1 : 0;
        if (dark > most)
            best = at, most = dark;
    }
    return best;
}

} // namespace

// Home, End and their Shift forms move the caret and select in the open name editor, as in any edit field;
// the root keeps its name and the selection stays on the branch.
TEST_F(TreeOnScreen, HomeAndEndMoveTheCaretOfTheOpenEditor)
{
    struct Case {
        const char* name;
        const char* keys;
        const char* typed;
        const char* expected;
    } cases[] = {
        {"abc", "Home", "Z", "Zabc"},
        {"Hello world", "Home shift+End", "X", "X"},
        {"abc", "Home End", "Z", "abcZ"},
        {"Hello world", "End shift+Home", "Y", "Y"},
    };
    // A branch for each case: clicks on one place would make a double click.
    Branches({{cases[0].name, ""}, {cases[1].name, ""}, {cases[2].name, ""}, {cases[3].name, ""}});
    int next = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        TreeNode* branch = Document().Root->GetChild(next++);
        ASSERT_TRUE(ClickOpens(NameRect(Tree(), branch)));
        RealInput::Keys(c.keys);
        RealInput::Type(c.typed);
        EXPECT_TRUE(EditorShows(c.expected)) << EditorText();
        EXPECT_EQ(Tree().CurrentNode(), branch);
        EXPECT_STREQ(Document().Root->text.Text(), "");
        ExpectScreenEqualsRepaint(frame->Handle());
        EscapeCloses();
    }
}

// Each field reached with Tab opens with its text selected, so that typing replaces it: the name's Tab
// reaches the probability, the probability's Tab the name again.
TEST_F(TreeOnScreen, AFieldReachedWithTabHasItsTextSelected)
{
    Branches({{"Surgery", "pSurg"}, {"Wait", "1-pSurg"}});
    TreeNode* branch = Document().Root->GetChild(0);
    ASSERT_TRUE(ClickOpens(NameRect(Tree(), branch)));
    struct Step {
        int field;
        const char* typed;
    } steps[] = {{2, "pX"}, {1, "Operate"}, {2, "0.4"}};
    for (const Step& step : steps) {
        RealInput::Keys("Tab");
        ASSERT_TRUE(PumpUntil([&] { return Tree().EditField == step.field && Tree().InPlaceEditor != nullptr; }));
        RealInput::Type(step.typed);
        EXPECT_TRUE(EditorShows(step.typed)) << EditorText();
        ExpectScreenEqualsRepaint(frame->Handle());
    }
    RealInput::Keys("Tab");
    ASSERT_TRUE(PumpUntil([&] { return Tree().EditField == 1; }));
    EXPECT_STREQ(branch->text.Text(), "Operate");
    EXPECT_STREQ(branch->probability.Text().Text(), "0.4");
}

// The name editor and the probability editor keep to their node's rows as text is typed: the name's above its
// branch line, the probability's below it, both clear of the next branch's texts, line and symbol; the
// probability's opens at its text's width though the column is wide.
TEST_F(TreeOnScreen, TheEditorsStayInTheirNodesRows)
{
    Branches({{"Surgery of the heart", "0.6"}, {"Medicine", "0.4"}});
    TreeNode* branch = Document().Root->GetChild(0);
    const NodeGeometry& own = branch->Geometry();
    const NodeGeometry& next = Document().Root->GetChild(1)->Geometry();
    const RECT pane = PaneOnScreen();
    // The branch's own line with a row either side, and the next branch's rows to the pane's right side.
    const RECT line = OnScreen(LogicalRect{own.X, own.BranchY(), own.SymbolX - kSymbolSize, own.BranchY()});
    const RECT kept[] = {RECT{line.left, line.top - 1, line.right, line.top + 2},
                         RECT{OnScreen(LogicalRect{next.X, next.Y, next.X, next.YBottom}).left - 4,
                              OnScreen(LogicalPoint{next.X, next.Y}).y, pane.right - 2,
                              OnScreen(LogicalPoint{next.X, next.YBottom}).y}};
    std::vector<ScreenCapture> before;
    for (const RECT& place : kept)
        before.push_back(CaptureScreen(place));
    const float columnWidth = Tree().ColumnWidth(own.Column);
    struct Case {
        LogicalRect text;
        int field;
        const char* typed;
        const char* expected;
    } cases[] = {
        {NameRect(Tree(), branch), 1, " and the lungs", "Surgery of the heart and the lungs"},
        {ProbRect(Tree(), branch), 2, "5", "0.65"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        ASSERT_TRUE(ClickOpens(c.text, c.field));
        RealInput::Keys("End");
        RealInput::Type(c.typed);
        EXPECT_TRUE(EditorShows(c.expected)) << EditorText();
        for (size_t i = 0; i < before.size(); ++i)
            EXPECT_EQ(CaptureScreen(kept[i]).pixels, before[i].pixels) << "covered: place " << i;
        if (c.field == 2) {
            const RECT editor = Tree().InPlaceEditor->EditRect();
            EXPECT_LT(editor.right - editor.left, OnScreen(LogicalRect{0, 0, columnWidth / 2, 0}).right -
                                                      OnScreen(LogicalRect{0, 0, 0, 0}).right);
        }
        ASSERT_TRUE(EscapeCloses());
        ExpectScreenEqualsRepaint(frame->Handle());
    }
}

// Typing keeps the editors clear of the symbols on their rows, at every zoom: their node's own, which the room
// kept for typing stops short of (in the first case the second branch's name is the widest) and which a text
// wider than the room right of the editor passes by taking room on the left, along its branch (only a text
// longer than the whole branch passes the symbol: the last cases type up to the column's widest probability,
// whose editor at 75% and 133% finds no room right of where it opens); and the node's above, whose branch line
// an empty name's editor, rising a line, stays below. Names and probabilities as wide as their column at 1:1 are drawn
// within it at every zoom, whose fonts are not as wide in proportion: a committed probability also after Redraw.
TEST_F(TreeOnScreen, TheEditorsKeepClearOfTheSymbolsOnTheirRows)
{
    struct Case {
        const char* zoom;
        std::pair<const char*, const char*> first, second;
        int branch;
        int field;
        const char* typed;
        const char* expected;
    } cases[] = {
        {"", {"Surgery of the lung", "0.6"}, {"Surgery of the lungsXX", "0.4"}, 0, 1, "s", "Surgery of the lungs"},
        {"", {"Lung", "0.6"}, {"Heart", "0.65+0.0005"}, 0, 2, "5", "0.65"},
        {"", {"Surgery of the lung", "0.6"}, {"Heart", "0.4"}, 0, 1, "s", "Surgery of the lungs"},
        {"F9", {"Surgery of the lung", "0.6"}, {"Heart", "0.4"}, 0, 1, "s", "Surgery of the lungs"},
        {"shift+F9", {"Surgery of the lung", "0.6"}, {"Heart", "0.4"}, 0, 1, "s", "Surgery of the lungs"},
        {"shift+F9 shift+F9", {"Surgery of the lung", "0.6"}, {"Heart", "0.4"}, 0, 1, "s", "Surgery of the lungs"},
        {"F9", {"", ""}, {"", ""}, 1, 1, "Medicines", "Medicines"},
        {"shift+F9", {"Surgery", "0.35"}, {"Wait", "1-0.35"}, 0, 2, "+0.05", "0.35+0.05"},
        {"F9", {"Surgery", "0.35+0.05+0.05+0.0"}, {"Wait", "0.35+0.05+0.05+0.05"}, 0, 2, "5", "0.35+0.05+0.05+0.05"},
        {"shift+F9", {"Surgery", "0.35+0.05+0.05+0.0"}, {"Wait", "0.35+0.05+0.05+0.05"}, 0, 2, "5",
         "0.35+0.05+0.05+0.05"},
    };
    auto around = [](const RECT& r) { return RECT{r.left - 1, r.top - 1, r.right + 2, r.bottom + 2}; };
    // The dark pixels of a text of the node (clear of its branch line) in its symbol's columns.
    auto lettersOverSymbol = [this](const TreeNode* node, const LogicalRect& text) {
        const RECT symbol = OnScreen(SymbolRect(node));
        const RECT rows = OnScreen(text);
        const int line = OnScreen(LogicalPoint{0, node->Geometry().BranchY()}).y;
        const ScreenCapture shot = CaptureScreen(RECT{symbol.left, rows.top, symbol.right, rows.bottom});
        int letters = 0;
        for (int y = rows.top; y < rows.bottom; ++y)
            for (int x = symbol.left; x < symbol.right && std::abs(y - line) > 1; ++x)
                letters += shot.Dark(x, y) ? 1 : 0;
        return letters;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.zoom) + " " + c.expected);
        if (&c != cases)
            Command(Cmd::NewTree);
        Tree().Show(SW_SHOWMAXIMIZED);
        Branches({c.first, c.second});
        if (*c.zoom != '\0')
            ASSERT_TRUE(Zoomed(c.zoom));
        TreeNode* branch = Document().Root->GetChild(c.branch);
        const TreeNode* other = Document().Root->GetChild(1 - c.branch);
        const RECT neighbour = around(OnScreen(SymbolRect(other)));
        const ScreenCapture neighbourBefore = CaptureScreen(neighbour);
        // A click on an empty name's symbol opens its editor.
        const LogicalRect text = c.field == 2 ? ProbRect(Tree(), branch)
                                 : branch->text.IsEmpty() ? SymbolRect(branch) : NameRect(Tree(), branch);
        ASSERT_TRUE(ClickOpens(text, c.field));
        const RECT own = around(OnScreen(SymbolRect(branch)));
        const ScreenCapture opened = CaptureScreen(own);
        RealInput::Keys("End");
        RealInput::Type(c.typed);
        EXPECT_TRUE(EditorShows(c.expected)) << EditorText();
        PumpUntil([] { return true; });
        EXPECT_TRUE(CaptureScreen(own).pixels == opened.pixels) << "its symbol covered";
        EXPECT_TRUE(CaptureScreen(neighbour).pixels == neighbourBefore.pixels) << "the other symbol covered";
        if (c.branch == 1) {
            const InPlaceFrame* shown = Tree().InPlaceEditor->Frame();
            ASSERT_NE(shown, nullptr);
            const RECT outline = Tree().Pane()->DrawingToClient(shown->rect);
            EXPECT_GT(RealInput::OnScreen(Tree().Pane()->Handle(), POINT{outline.left, outline.top}).y,
                      OnScreen(LogicalPoint{0, other->Geometry().BranchY()}).y);
        }
        ExpectScreenEqualsRepaint(frame->Handle());
        if (c.field == 2) {
            // Committed, the column holds the text: no letter of it reaches its symbol's columns.
            RealInput::Keys("Return");
            ASSERT_TRUE(PumpUntil([&] { return Tree().EditField == 1 && Tree().InPlaceEditor != nullptr; }));
            EXPECT_STREQ(branch->probability.Text().Text(), c.expected);
            for (int redrawn = 0; redrawn < 2; ++redrawn) {
                SCOPED_TRACE(redrawn);
                if (redrawn)
                    Command(Cmd::DisplayRedrawWindow);
                EXPECT_EQ(lettersOverSymbol(branch, ProbRect(Tree(), branch)), 0);
                ExpectScreenEqualsRepaint(frame->Handle());
            }
        }
        ASSERT_TRUE(EscapeCloses());
        if (c.field == 1) {
            EXPECT_TRUE(CaptureScreen(own).pixels == opened.pixels) << "its symbol covered when the editor opened";
            EXPECT_EQ(lettersOverSymbol(branch, NameRect(Tree(), branch)), 0);
        }
        ExpectScreenEqualsRepaint(frame->Handle());
    }
}

// A text longer than its whole branch keeps its editor between the parent's fork and the node's symbol at every
// zoom (the text scrolls in the editor): branches made with Ctrl+A on an empty chance node, long names typed
// into both and a long probability into the second; no editor's frame meets a symbol or the other branch's name.
TEST_F(TreeOnScreen, TheEditorsOfLongTextsStopAtTheSymbols)
{
    struct Case {
        const char* zoom;
        const char* names[2];
    } cases[] = {
        {"", {"A rather long branch name", "Second option with a long name"}},
        {"shift+F9", {"A rather long branch name", "Second option with a long name"}},
        {"F9 F9", {"A rather long branch name, longer still", "Second option with a long name"}},
    };
    // A rectangle of the drawing (inches) in the pane's client pixels.
    auto client = [this](const LogicalRect& rect) {
        TreePane& pane = *Tree().Pane();
        ZoomPaneScale scale(pane);
        return pane.DrawingToClient(LogicalRectToPixels(rect, *pane.CurrentDisplay()));
    };
    auto frameMeets = [&](const LogicalRect& rect) {
        const RECT outline = Tree().Pane()->DrawingToClient(Tree().InPlaceEditor->Frame()->rect);
        const RECT other = client(rect);
        RECT both;
        return IntersectRect(&both, &outline, &other) != FALSE;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zoom);
        if (&c != cases)
            Command(Cmd::NewTree);
        Tree().Show(SW_SHOWMAXIMIZED);
        if (*c.zoom != '\0')
            ASSERT_TRUE(Zoomed(c.zoom));
        TreeNode* root = Document().Root;
        root->kind = ChanceNode;
        ASSERT_TRUE(ClickOpens(SymbolRect(root)));
        RealInput::Keys("ctrl+a");
        ASSERT_TRUE(PumpUntil([&] { return root->childCount == 2 && Tree().InPlaceEditor != nullptr; }));
        for (int i = 0; i < 2; ++i) {
            SCOPED_TRACE(c.names[i]);
            TreeNode* branch = root->GetChild(i);
            ASSERT_TRUE(ClickOpens(branch->text.IsEmpty() ? SymbolRect(branch) : NameRect(Tree(), branch)));
            RealInput::Type(c.names[i]);
            EXPECT_TRUE(EditorShows(c.names[i])) << EditorText();
            for (const TreeNode* node : {root, root->GetChild(0), root->GetChild(1)})
                EXPECT_FALSE(frameMeets(SymbolRect(node))) << "over a symbol";
            if (i == 1)
                EXPECT_FALSE(frameMeets(NameRect(Tree(), root->GetChild(0)))) << "over the other name";
            ExpectScreenEqualsRepaint(frame->Handle());
        }
        RealInput::Keys("Tab");
        ASSERT_TRUE(PumpUntil([&] { return Tree().EditField == 2 && Tree().InPlaceEditor != nullptr; }));
        RealInput::Type("pMed*1+0*pSurg*pSurg");
        EXPECT_TRUE(EditorShows("pMed*1+0*pSurg*pSurg")) << EditorText();
        for (const TreeNode* node : {root, root->GetChild(0), root->GetChild(1)})
            EXPECT_FALSE(frameMeets(SymbolRect(node))) << "the probability's editor over a symbol";
        ExpectScreenEqualsRepaint(frame->Handle());
        ASSERT_TRUE(EscapeCloses());
    }
}

// A decision's roll-back box stands on its branch and the branches part after it, clear of the box; with
// roll back off again the tree takes back the room the boxes had.
TEST_F(TreeOnScreen, BranchesPartAfterTheRollBackBoxAndTakeItsRoomBack)
{
    TreeNode* root = Document().Root;
    root->kind = DecisionNode;
    for (const char* payoff : {"5.68", "2", "1"})
        Document().AddChild(root, TerminalNode, "")->SetPayoffText(payoff, 0, false);
    Tree().Redraw();
    auto places = [root] {
        std::vector<float> x;
        for (int i = 0; i < root->childCount; ++i)
            x.push_back(root->GetChild(i)->Geometry().X);
        return x;
    };
    const std::vector<float> before = places();
    Command(Cmd::AnalysisRollBack);
    ASSERT_TRUE(Document().IsRolledBack());
    ExpectScreenEqualsRepaint(frame->Handle());
    // The box's frame on the screen, its right edge from the layout; the branch leaves it on its row.
    const LogicalRect box = RollBackBoxRect(Tree(), root);
    const float frameRight = box.right + 0.03f;
    const float row = root->Geometry().BranchY();
    for (int i = 0; i < root->childCount; ++i)
        EXPECT_GE(root->GetChild(i)->Geometry().X, frameRight + Tree().Layout().ColumnGap()) << i;
    HDC screen = GetDC(nullptr);
    const POINT out = OnScreen(LogicalPoint{frameRight, row});
    bool dark = false;
    for (int dx = 2; dx <= 4; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            dark = dark || GetPixel(screen, out.x + dx, out.y + dy) == RGB(0, 0, 0);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(dark) << "no branch right of the box at " << out.x << "," << out.y;

    Command(Cmd::AnalysisRollBack);
    ASSERT_FALSE(Document().IsRolledBack());
    EXPECT_EQ(places(), before);
    Command(Cmd::DisplayRedrawWindow);
    EXPECT_EQ(places(), before);
    ExpectScreenEqualsRepaint(frame->Handle());
}

// Rolled back, no editor opens on a click, and the tool bar still follows the selection: the analyses of a node
// with branches go on for the root and off for an end node, as the Analysis menu has them.
TEST_F(TreeOnScreen, TheToolBarFollowsClicksWhileRolledBack)
{
    BuildMainToolbar(frame->ToolBar());
    TreeNode* root = Document().Root;
    TreeNode* medicine = TreatmentTree();
    Tree().Redraw();
    Command(Cmd::AnalysisRollBack);
    ASSERT_TRUE(Document().IsRolledBack());
    const struct {
        TreeNode* node;
        bool analyses;
    } cases[] = {{medicine, false}, {root, true}, {medicine, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.node->text.Text());
        const LogicalRect name = NameRect(Tree(), c.node);
        RealInput::Click(OnScreen(LogicalPoint{(name.left + name.right) / 2, (name.top + name.bottom) / 2}));
        ASSERT_TRUE(PumpUntil([&] { return Tree().Selection.Count() == 1 && Tree().CurrentNode() == c.node; }));
        for (unsigned id : {Cmd::AnalysisProbabilityDistribution, Cmd::AnalysisMonteCarloSimulation})
            EXPECT_EQ(VisualCtrlKit::IsItemEnabled(frame->ToolBar(), id), c.analyses) << id;
    }
    DestroyMainToolbar();
}

// The dashed boxes that a tree converted from a diagram draws around its decisions' and events' names hold the
// whole name at every zoom: the fonts of a zoom are not as wide in proportion as the text measured at 1:1.
TEST_F(TreeOnScreen, TheNameBoxesOfAConvertedTreeHoldTheirNamesAtEveryZoom)
{
    auto* diagram = new InfluenceDiagramWindow();
    const BayesDiagram bayes = BuildBayesDiagram(diagram->document);
    bayes.decision->name = "Treatment for patients";
    bayes.test->name = "Result of the patients' test";
    diagram->Show(SW_SHOWNORMAL);
    Command(Cmd::FileConvertToOutline);
    ASSERT_TRUE(PumpUntil([] { return TreeWindow::OpenWindows().size() == 2; }));
    ASSERT_EQ(&Tree(), TreeWindow::OpenWindows().back());
    Tree().Show(SW_SHOWMAXIMIZED);
    std::vector<const TreeNode*> named;
    for (std::vector<const TreeNode*> pending{Document().Root}; !pending.empty();) {
        const TreeNode* node = pending.back();
        pending.pop_back();
        if (!node->text2.IsEmpty())
            named.push_back(node);
        for (int i = 0; i < node->childCount; ++i)
            pending.push_back(node->GetChild(i));
    }
    ASSERT_FALSE(named.empty());
    for (const char* keys : {"F9", "F9", "shift+F9 shift+F9 shift+F9"}) {
        SCOPED_TRACE(keys);
        ASSERT_TRUE(Zoomed(keys));
        ExpectScreenEqualsRepaint(frame->Handle());
        const RECT pane = PaneOnScreen();
        for (const TreeNode* node : named) {
            SCOPED_TRACE(node->text2.Text());
            const RECT box = OnScreen(SecondTextRect(Tree(), node, true));
            if (box.right + 20 > pane.right || box.bottom > pane.bottom)
                continue;
            const ScreenCapture shot = CaptureScreen(RECT{box.left, box.top, box.right + 20, box.bottom + 1});
            const int side = MostDarkLine(shot, box.right - 4, box.right + 20, shot.place, true);
            // No letter touches the side from within or stands beyond it.
            int letters = 0;
            for (int x : {side - 1, side + 1, side + 2, side + 3, side + 4})
                for (int y = box.top + 2; y <= box.bottom - 2; ++y)
                    letters += shot.Dark(x, y) ? 1 : 0;
            EXPECT_EQ(letters, 0) << "beside the side at " << side;
        }
    }
}

// Rolled back, every box holds its text within its frame at every zoom, and the boxes of stacked end nodes
// stand apart: the fonts of a zoom are not as wide or as high in proportion as the text measured at 1:1.
TEST_F(TreeOnScreen, RollBackBoxesHoldTheirTextsAtEveryZoom)
{
    TreeNode* root = Document().Root;
    TreeNode* medicine = TreatmentTree();
    TreeNode* surgery = root->GetChild(0);
    Tree().Show(SW_SHOWMAXIMIZED);
    Tree().Redraw();
    Command(Cmd::AnalysisRollBack);
    ASSERT_TRUE(Document().IsRolledBack());
    const RECT pane = PaneOnScreen();
    const TreeNode* nodes[] = {root, surgery, surgery->GetChild(0), surgery->GetChild(1), medicine};
    for (const char* keys : {"", "F9", "F9", "shift+F9 shift+F9 shift+F9"}) {
        SCOPED_TRACE(keys);
        if (*keys != '\0')
            ASSERT_TRUE(Zoomed(keys));
        ExpectScreenEqualsRepaint(frame->Handle());
        std::vector<RECT> frames;
        for (const TreeNode* node : nodes) {
            SCOPED_TRACE(node->text.Text());
            const RECT box = OnScreen(RollBackBoxRect(Tree(), node));
            if (box.right + 24 > pane.right || box.bottom + 12 > pane.bottom)
                continue;
            const ScreenCapture shot = CaptureScreen(RECT{box.left - 12, box.top - 12, box.right + 24, box.bottom + 12});
            const RECT sides{MostDarkLine(shot, box.left - 10, box.left + 2, box, true),
                             MostDarkLine(shot, box.top - 10, box.top + 2, box, false),
                             MostDarkLine(shot, box.right - 2, box.right + 20, box, true),
                             MostDarkLine(shot, box.bottom - 2, box.bottom + 10, box, false)};
            frames.push_back(sides);
            // No letter touches a side from within.
            int letters = 0;
            for (int y = sides.top + 2; y <= sides.bottom - 2; ++y)
                letters += (shot.Dark(sides.left + 1, y) ? 1 : 0) + (shot.Dark(sides.right - 1, y) ? 1 : 0);
            for (int x = sides.left + 2; x <= sides.right - 2; ++x)
                letters += (shot.Dark(x, sides.top + 1) ? 1 : 0) + (shot.Dark(x, sides.bottom - 1) ? 1 : 0);
            EXPECT_EQ(letters, 0) << "frame " << sides.left << "," << sides.top << " " << sides.right << ","
                                  << sides.bottom;
        }
        // Cured's and Not cured's boxes, one above the other, with rows between them.
        if (frames.size() == 5)
            EXPECT_GT(frames[3].top - frames[2].bottom, 2);
    }
}

// Automatic node numbering ticked in the Preferences numbers the end nodes in the tree's order: each end
// node's label shows its number in the page's text, the numbers follow a deleted branch and its undo, and a
// "Scenario Number" column reads them after roll back.
TEST_F(TreeOnScreen, EndNodesAreNumberedInTheTreesOrder)
{
    TreeNode* root = Document().Root;
    TreeNode* medicine = TreatmentTree();
    TreeNode* surgery = root->GetChild(0);
    auto* column = new DisplayColumn;
    column->header = "Scenario Number";
    column->kind = DisplayColumn::kScenarioNumber;
    column->formatSource = DisplayColumn::kNoFormat;
    Document().RollBackColumns.Add(column);
    Document().DisplayPrefs.ShowColumns = 1;
    Tree().Show(SW_SHOWMAXIMIZED);
    Tree().Redraw();
    const auto clickOn = [](HWND control, int line) {
        RECT item{};
        GetClientRect(control, &item);
        if (line >= 0)
            SendMessageA(control, LB_GETITEMRECT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&item));
        RealInput::ClickAndDispatch(
            RealInput::OnScreen(control, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2}));
    };
    ModalDialogDriver driver;
    driver
        .Then([&](DialogFrameCL& dialog) {
            ScreenOnTop onTop(dialog.Handle());
            clickOn(dialog.Control(Ctl::Preferences::CategoryList), 6);
        })
        .Then([&](DialogFrameCL& dialog) {
            ScreenOnTop onTop(dialog.Handle());
            clickOn(dynamic_cast<HookedDialog&>(dialog).Page()->Control(Ctl::TerminalNodesPage::AutomaticNodeNumbering), -1);
        })
        .Then([&](DialogFrameCL& dialog) {
            ScreenOnTop onTop(dialog.Handle());
            clickOn(dialog.Control(IDOK), -1);
        });
    RealInput::Keys("F11");
    ASSERT_TRUE(PumpUntil([&] { return driver.Finished() && DialogFrameCL::ModalStack().empty(); }));
    ASSERT_EQ(Document().DisplayPrefs.ShowTermNodeNumbers, 1);
    ExpectScreenEqualsRepaint(frame->Handle());
    const auto drawnNumbers = [this] {
        MetafileDisplay picture(nullptr);
        Tree().Draw(picture);
        std::string numbers;
        for (const RecordedText& text : MetafileTexts(picture.Metafile()))
            if (text.text.rfind("{", 0) == 0)
                numbers += text.text.substr(0, text.text.find(' ') + 1);
        return numbers;
    };
    EXPECT_EQ(drawnNumbers(), "{1} {2} {3} ");

    // Cured deleted, the numbers close up; its Undo gives them back.
    TreeNode* cured = surgery->GetChild(0);
    Tree().SelectNode(cured, 0, nullptr, false);
    Command(Cmd::OptionsDeleteBranch);
    ASSERT_EQ(surgery->childCount, 1);
    EXPECT_EQ(drawnNumbers(), "{1} {2} ");
    ExpectScreenEqualsRepaint(frame->Handle());
    Command(Cmd::EditUndo);
    ASSERT_EQ(surgery->childCount, 2);
    EXPECT_EQ(drawnNumbers(), "{1} {2} {3} ");

    Command(Cmd::AnalysisRollBack);
    ASSERT_TRUE(Document().IsRolledBack());
    std::string scenarios;
    for (const TreeNode* node : {surgery->GetChild(0), surgery->GetChild(1), medicine})
        scenarios += std::string(node->resultCells->At(0)->text.Text()) + ";";
    EXPECT_EQ(scenarios, "1;2;3;");
    ExpectScreenEqualsRepaint(frame->Handle());
}

// A probability that names no variable, taken with Enter: while its error box is up (the screen repainting
// under it), the editor still shows its frame and text and nothing of the tree's drawing of the field.
TEST_F(TreeOnScreen, TheEditorStaysWholeUnderTheErrorBoxOfItsText)
{
    Branches({{"Succeed", "0.5"}, {"Fail", "#"}});
    ASSERT_TRUE(ClickOpens(ProbRect(Tree(), Document().Root->GetChild(0)), 2));
    RealInput::Keys("End shift+Home");
    RealInput::Type("pSucc");
    ASSERT_TRUE(EditorShows("pSucc"));
    const HWND editor = Tree().InPlaceEditor->Handle();
    // The editor with its frame and room on either side; the caret's blink left out.
    RECT around{};
    GetWindowRect(editor, &around);
    InflateRect(&around, 40, InPlaceEdit::FrameMargin + 2);
    HideCaret(editor);
    PumpUntil([] { return true; });
    const ScreenCapture before = CaptureScreen(around);
    ScreenCapture under;
    const MessageBoxPresenter recorder = SetMessageBoxPresenter([&](const MessageBoxRequest&) {
        // What a box's own loop does meanwhile: every message dispatched, the paints among them.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        under = CaptureScreen(around);
        return IDOK;
    });
    RealInput::Keys("Return");
    PumpUntil([&] { return !under.pixels.empty(); });
    SetMessageBoxPresenter(recorder);
    ASSERT_FALSE(under.pixels.empty());
    EXPECT_TRUE(under.pixels == before.pixels);
    EXPECT_STREQ(Document().Root->GetChild(0)->probability.Text().Text(), "pSucc");
}
