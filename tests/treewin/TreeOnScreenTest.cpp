// The tree window with a person's hands: real keys and clicks through the X server reach the in-place
// editors as they reach any edit field; roll-back boxes and the branches they stand on keep clear of each
// other, on the screen as the program lays them out.

#include "app/MainFrame.h"
#include "framework/window/FrameworkApp.h"
#include "model/TreeNode.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreePane.h"
#include "treewin/TreeWindow.h"
#include "widgets/InPlaceEdit.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

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
    TreeWindow& Tree() const { return *dynamic_cast<TreeWindow*>(frame->ActiveChild()); }
    TreeDocument& Document() const { return Tree().Document(); }
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
    // A real click on the middle of the node's name opens its editor.
    void ClickName(TreeNode* node)
    {
        const LogicalRect name = NameRect(Tree(), node);
        RealInput::Click(OnScreen(LogicalPoint{(name.left + name.right) / 2, (name.top + name.bottom) / 2}));
        ASSERT_TRUE(PumpUntil([&] { return Tree().CurrentNode() == node && Tree().InPlaceEditor != nullptr; }));
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
        ClickName(branch);
        RealInput::Keys(c.keys);
        RealInput::Type(c.typed);
        EXPECT_TRUE(EditorShows(c.expected)) << EditorText();
        EXPECT_EQ(Tree().CurrentNode(), branch);
        EXPECT_STREQ(Document().Root->text.Text(), "");
        ExpectScreenEqualsRepaint(frame->Handle());
        RealInput::Keys("Escape");
        PumpUntil([this] { return Tree().InPlaceEditor == nullptr; });
    }
}

// Each field reached with Tab opens with its text selected, so that typing replaces it: the name's Tab
// reaches the probability, the probability's Tab the name again.
TEST_F(TreeOnScreen, AFieldReachedWithTabHasItsTextSelected)
{
    Branches({{"Surgery", "pSurg"}, {"Wait", "1-pSurg"}});
    TreeNode* branch = Document().Root->GetChild(0);
    ClickName(branch);
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
