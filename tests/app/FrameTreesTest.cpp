// Tree windows in the main frame: New makes one, Save and Close keep the file, Revert reopens the saved
// tree in place but never gives up unsaved work for a file that no longer reads, and the status bar names
// the active tree's method.

#include "app/MainFrame.h"
#include "app/OpenFileByName.h"
#include "dialogs/NewDocumentDialog.h"
#include "framework/visual/VisualFieldItem.h"
#include "framework/visual/VisualStatusPane.h"
#include "model/TreeNode.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ProgramLoop.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScreenCheck.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

class FrameTrees : public ::testing::Test {
protected:
    FrameTrees()
    {
        frame = new MainFrame;
        frame->EndStartup();
        frame->Show(SW_SHOWNOACTIVATE);
        const char* temp = std::getenv("TEMP");
        path = std::string(temp ? temp : ".") + "\\kivo_frame_tree.tre";
    }
    ~FrameTrees() override
    {
        while (!TreeWindow::OpenWindows().empty())
            delete TreeWindow::OpenWindows().back();
        delete frame;
        std::remove(path.c_str());
    }
    void Post(unsigned id)
    {
        PostMessageA(frame->Handle(), WM_COMMAND, id, 0);
        MSG pending;
        PumpMessagesUntil([&] { return !PeekMessageA(&pending, frame->Handle(), WM_COMMAND, WM_COMMAND, PM_NOREMOVE); });
        PumpMessagesFor(20);
    }
    TreeWindow* Active() const { return dynamic_cast<TreeWindow*>(frame->ActiveChild()); }
    std::string Indicator(int key) const
    {
        auto* field = dynamic_cast<VisualFieldItem*>(frame->StatusPane()->FindItem(key));
        return field ? field->Text() : "?";
    }
    // A saved one-node tree, opened and then given a branch that is not saved.
    TreeWindow* OpenModifiedTree()
    {
        {
            TreeWindow saved;
            zString message;
            EXPECT_TRUE(saved.SaveAs(path.c_str(), message)) << message.Text();
        }
        auto* tree = static_cast<TreeWindow*>(OpenFileByName(path.c_str()));
        PumpMessagesFor(50);
        tree->Document().AddChild(tree->Document().Root, TerminalNode, "Added");
        tree->SetModified(1);
        return tree;
    }
    static RECT PlaceOf(TreeWindow* tree)
    {
        RECT rect{};
        GetWindowRect(tree->Handle(), &rect);
        return rect;
    }

    FocusTestLock focus;
    ScopedApplication app;
    MainFrame* frame;
    MessageBoxRecorder boxes;
    std::string path;
};

TEST_F(FrameTrees, NewMakesATreeOrADiagramAsChosenAndTheStatusBarNamesTheMethod)
{
    Post(1101);
    TreeWindow* tree = Active();
    ASSERT_NE(tree, nullptr);
    EXPECT_NE(tree->Pane(), nullptr);
    EXPECT_EQ(tree->Text(), std::string(tree->Document().Title().Text()));
    EXPECT_EQ("Payoff 1", Indicator(3));
    tree->Document().CalcPrefs.UseUtility = 1;
    tree->Document().UpdateStatusIndicators();
    EXPECT_EQ("RISK", Indicator(2));

    int offered = -1;
    NewDocumentDialog::Presenter previous = NewDocumentDialog::SetPresenter([&](NewDocumentDialog& dialog) {
        offered = dialog.Choice;
        dialog.Choice = NewDocumentDialog::InfluenceDiagram;
        return true;
    });
    Post(1115);
    NewDocumentDialog::SetPresenter(previous);
    EXPECT_EQ(offered, NewDocumentDialog::Tree);
    ASSERT_NE(frame->ActiveChild(), nullptr);
    EXPECT_EQ(std::string(frame->ActiveChild()->Text()).rfind("Untitled Influence Diagram ", 0), 0u);
    EXPECT_EQ(TreeWindow::OpenWindows().size(), 1u);
    delete frame->ActiveChild();
}

TEST_F(FrameTrees, RevertReopensTheSavedTreeInPlaceUnlessTheFileNoLongerReads)
{
    TreeWindow* tree = OpenModifiedTree();
    ShowWindow(tree->Handle(), SW_RESTORE);
    MoveWindow(tree->Handle(), 20, 30, 300, 200, TRUE);
    const RECT before = PlaceOf(tree);
    boxes.Answer(IDOK);
    Post(1111);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ("You will lose unsaved changes to \"kivo_frame_tree\". Revert to the last saved version?",
              boxes.Last().text);
    ASSERT_EQ(TreeWindow::OpenWindows().size(), 1u);
    TreeWindow* reopened = TreeWindow::OpenWindows().back();
    EXPECT_EQ(reopened->Document().Root->childCount, 0);
    EXPECT_EQ(reopened->IsModified(), 0);
    EXPECT_STRCASEEQ(reopened->FilePath().Text(), path.c_str());
    const RECT after = PlaceOf(reopened);
    EXPECT_EQ((std::vector<long>{before.left, before.top, before.right, before.bottom}),
              (std::vector<long>{after.left, after.top, after.right, after.bottom}));

    // A file damaged since it was opened: the unsaved branch stays.
    reopened->Document().AddChild(reopened->Document().Root, TerminalNode, "Kept");
    reopened->SetModified(1);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string("\x22\x00\x03\x05\x00\x01\x00\x03", 8);
    boxes.Clear();
    boxes.Answer(IDOK);
    Post(1111);
    ASSERT_EQ(2u, boxes.Count());
    EXPECT_EQ(boxes.Last().text.rfind("This tree file is damaged, and cannot be read.", 0), 0u);
    ASSERT_EQ(TreeWindow::OpenWindows().size(), 1u);
    EXPECT_EQ(TreeWindow::OpenWindows().back(), reopened);
    EXPECT_EQ(reopened->Document().Root->childCount, 1);
    EXPECT_EQ(reopened->IsModified(), 1);
}

TEST_F(FrameTrees, SaveAndTheCloseQuestionWriteTheTreeToItsFile)
{
    TreeWindow* tree = OpenModifiedTree();
    Post(1104);
    EXPECT_EQ(tree->IsModified(), 0);
    EXPECT_EQ(TreeWindow(path.c_str()).Document().Root->childCount, 1);

    tree->Document().AddChild(tree->Document().Root, TerminalNode, "Second");
    tree->SetModified(1);
    boxes.Answer(IDYES);
    Post(1107);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ("Save changes to \"kivo_frame_tree\" before closing?", boxes.Last().text);
    EXPECT_TRUE(TreeWindow::OpenWindows().empty());
    EXPECT_EQ(TreeWindow(path.c_str()).Document().Root->childCount, 2);
}

// Roll back changes nothing that is stored: once Save has written the rolled-back tree, Ctrl+F4 closes it
// without a question.
TEST_F(FrameTrees, SaveOfARolledBackTreeLeavesNothingUnsaved)
{
    {
        TreeWindow saved;
        TreeNode* chance = saved.Document().AddChild(saved.Document().Root, ChanceNode, "Surgery");
        saved.Document().AddChild(chance, TerminalNode, "Well", "0.8", "100");
        saved.Document().AddChild(chance, TerminalNode, "Ill", "0.2", "20");
        zString message;
        ASSERT_TRUE(saved.SaveAs(path.c_str(), message)) << message.Text();
    }
    auto* tree = static_cast<TreeWindow*>(OpenFileByName(path.c_str()));
    ASSERT_NE(tree, nullptr);
    ScreenOnTop top(frame->Handle());
    SetForegroundWindow(frame->Handle());
    RunProgramLoopUntil([] { return false; }, 100);
    RealInput::Keys("ctrl+r");
    EXPECT_TRUE(RunProgramLoopUntil([&] { return tree->Document().IsRolledBack(); }));
    std::remove(path.c_str());
    RealInput::Keys("ctrl+s");
    EXPECT_TRUE(RunProgramLoopUntil([&] { return std::ifstream(path).good(); }));
    RealInput::Keys("ctrl+F4");
    EXPECT_TRUE(RunProgramLoopUntil([&] { return TreeWindow::OpenWindows().empty(); }));
    for (const auto& box : boxes.Boxes())
        ADD_FAILURE() << box.text;
}

} // namespace
