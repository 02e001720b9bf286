// The tree window's link commands: Copy Special's value links on the clipboard, Paste Link into an open
// probability, the node's and the document's link dialogs, Select Subtree and the Clones dialog; each
// refused where its item would be grayed.

#include "treewin/TreeWindow.h"

#include "widgets/InPlaceEdit.h"
#include "app/StartProgram.h"
#include "treewin/ClonesDialog.h"
#include "treewin/CopySpecialDialog.h"
#include "treewin/NodeLinksDialog.h"
#include "framework/window/Clipboard.h"
#include "framework/window/MDIframeCL.h"
#include "model/DocumentLink.h"
#include "model/TreeNode.h"
#include "model/TreeOutline.h"
#include "widgets/DdeLinkManager.h"
#include "widgets/LinksDialog.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ProgramLinks.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

std::string TempPath(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name;
}

std::string Outline(TreeWindow& window)
{
    zString out;
    WriteTreeOutline(window.Document().Root, out);
    return out.Text();
}

// A saved tree shown in a frame, root "R" over chance "A" (1 at 0.3, 2 at 0.7) and terminal "B", with the
// program's link manager on the tree's clipboard.
struct LinkedTree {
    DdeTestLock dde;
    FocusTestLock focus;
    ClipboardTestLock clipboardLock;
    ScopedApplication app;
    MessageBoxRecorder boxes;
    MDIframeCL frame{nullptr, 0, "frame"};
    TreeWindow window;
    TreeDocument& document = window.Document();
    Clipboard clipboard{&window};
    ProgramLinks links{&clipboard, "KIVO_Node"};
    DdeLinkManager& manager = links.Manager();
    TreeNode* a;
    TreeNode* b;
    const std::string path = TempPath("kivo-links.tre");

    LinkedTree()
    {
        frame.Show(SW_SHOW);
        window.Show(SW_SHOW);
        a = document.AddChild(document.Root, ChanceNode, "A");
        document.AddChild(a, TerminalNode, "A1", "0.3", "1");
        document.AddChild(a, TerminalNode, "A2", "0.7", "2");
        b = document.AddChild(document.Root, TerminalNode, "B", "", "5");
        zString message;
        window.SaveAs(path.c_str(), message);
        clipboard.Empty();
    }
    ~LinkedTree()
    {
        ExpectScreenEqualsRepaint(frame.Handle());
        DeleteFileA(path.c_str());
    }
};

} // namespace

TEST(TreeLinkCommands, CopySpecialPutsTheValueLinkAndPasteLinkMakesTheLink)
{
    LinkedTree t;
    int offered = 0;
    auto presenter = CopySpecialDialog::SetPresenter([&offered](CopySpecialDialog& d) {
        d.choice = offered;
        return IDOK;
    });
    // The root has no path probability to link to: nothing is copied.
    t.window.SelectNode(t.document.Root, 1, nullptr, false);
    offered = CopySpecialDialog::PathProbabilityLink;
    t.window.OnCommand(1216);
    EXPECT_FALSE(t.manager.CanPasteLink());

    // The standard deviation of A (sqrt(0.3 * 0.7)) with its item "DDE_1" in this tree's file.
    t.window.SelectNode(t.a, 1, nullptr, false);
    offered = CopySpecialDialog::StandardDeviationLink;
    t.window.OnCommand(1216);
    EXPECT_EQ(t.a->GetLinkId1(), 1);
    ASSERT_TRUE(t.manager.CanPasteLink());
    std::unique_ptr<char[]> text(t.clipboard.GetText());
    EXPECT_NEAR(std::stod(text.get()), 0.4583, 0.001);
    uint32_t size = 0;
    std::unique_ptr<uint8_t[]> block(t.clipboard.GetBlock(t.manager.ObjectLinkFormat(), size));
    const std::string expected = std::string("KIVO_Node") + '\0' + t.window.FilePath().Text() + '\0' + "DDE_1" +
                                 '\0' + '\0';
    ASSERT_GE(size, expected.size());
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block.get()), expected.size()), expected);

    // Pasted into this tree's own probability, the link is refused.
    t.window.SelectNode(t.a->GetChild(0), 2, nullptr, false);
    ASSERT_NE(t.window.InPlaceEditor, nullptr);
    t.window.OnCommand(1217);
    EXPECT_EQ(t.boxes.Last().text, "You may not create a link to a node in the same tree.");
    EXPECT_EQ(t.document.DocumentLinks.Count(), 0);

    // Another document's link becomes link 1, once however often it is pasted.
    t.manager.CopyLinkToClipboard("C:\\other.tre", "DDE_4", "0.25");
    for (int paste = 0; paste < 2; ++paste) {
        t.window.InPlaceEditor->SetSelection(0, -1);
        t.window.OnCommand(1217);
        EXPECT_STREQ(t.window.InPlaceEditor->GetText().Text(), "Sub(1)");
    }
    ASSERT_EQ(t.document.DocumentLinks.Count(), 1);
    EXPECT_STREQ(t.document.DocumentLinks.At(0)->value.Text(), "0.25");

    // The Links dialog deletes it after the question; the document is modified.
    t.window.CloseInPlaceEdit();
    t.window.SetModified(0);
    auto links = LinksDialog::SetPresenter([](LinksDialog& d) {
        EXPECT_STREQ(d.RowText(0).Text(), "1\t\t\t");
        d.Delete({0});
        return IDOK;
    });
    t.window.OnCommand(1213);
    EXPECT_EQ(t.document.DocumentLinks.Count(), 0);
    EXPECT_EQ(t.window.IsModified(), 1);
    LinksDialog::SetPresenter(links);
    CopySpecialDialog::SetPresenter(presenter);
}

TEST(TreeLinkCommands, BreakLinkReleasesTheNodesLinkAndIsRefusedWithoutOne)
{
    LinkedTree t;
    int shown = 0;
    auto presenter = NodeLinksDialog::SetPresenter([&shown](NodeLinksDialog& d) {
        ++shown;
        EXPECT_STREQ(d.ItemName(NodeLinksDialog::ExpectedValueRow).Text(), "DDE_2");
        EXPECT_TRUE(d.ItemName(NodeLinksDialog::PathProbabilityRow).IsEmpty());
        d.Break(NodeLinksDialog::StandardDeviationRow);
        return IDOK;
    });
    t.window.SelectNode(t.b, 1, nullptr, false);
    t.window.OnCommand(1218);
    EXPECT_EQ(shown, 0);
    t.document.LinkIdFor(t.a, NodeLinkBlock::StandardDeviationLink);
    t.document.LinkIdFor(t.a, NodeLinkBlock::ExpectedValueLink);
    t.window.SelectNode(t.a, 1, nullptr, false);
    t.window.OnCommand(1218);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(t.a->GetLinkId1(), 0);
    EXPECT_EQ(t.document.FindLinkEntry(1), nullptr);
    EXPECT_NE(t.document.FindLinkEntry(2), nullptr);
    NodeLinksDialog::SetPresenter(presenter);
}

// Select Subtree flips the subtree selection of one node with shown children; Clones destroys a clone as
// an undoable step.
TEST(TreeLinkCommands, SelectSubtreeTogglesAndClonesDestroyUndoably)
{
    LinkedTree t;
    t.window.SelectNode(t.b, 1, nullptr, false);
    t.window.OnCommand(1401);
    EXPECT_EQ(t.window.SubtreeSelection, 0);
    t.window.SelectNode(t.a, 1, nullptr, false);
    t.window.OnCommand(1401);
    EXPECT_EQ(t.window.SubtreeSelection, 1);
    EXPECT_EQ(t.window.ComputeEditMasks().copy, 1u << TreeWindow::ScopeSubtree);
    t.window.OnCommand(1401);
    EXPECT_EQ(t.window.SubtreeSelection, 0);

    t.window.Document().AddCloneMaster(t.a, "Alpha");
    auto clones = ClonesDialog::SetPresenter([](ClonesDialog& d) {
        EXPECT_STREQ(d.RowText(0).Text(), "1\tAlpha");
        d.Destroy(0);
        return IDCANCEL;
    });
    const std::string before = Outline(t.window);
    t.window.OnCommand(1220);
    EXPECT_EQ(t.boxes.Last().caption, "Destroy Clone");
    EXPECT_EQ(t.a->cloneStatus, NotCloned);
    const std::string after = Outline(t.window);
    t.window.Undo();
    EXPECT_EQ(Outline(t.window), before);
    EXPECT_EQ(t.a->cloneStatus, CloneMasterNode);
    t.window.Redo();
    EXPECT_EQ(Outline(t.window), after);
    ClonesDialog::SetPresenter(clones);
}
