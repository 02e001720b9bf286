// Save Snapshot: the forms offered, the name proposed, and the files written.

#include "treewin/TreeWindow.h"

#include "widgets/SnapshotFormatDialog.h"
#include "foundation/FilePath.h"
#include "framework/dialog/FileDialogs.h"
#include "framework/window/MDIframeCL.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "model/TreeNode.h"
#include "framework/draw/LogicalUnits.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreeSnapshot.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <utility>
#include <cstring>
#include <string>

namespace {

// The tests show their frames.
class TreeSnapshot : public testing::Test, private HoldsFocusTestLock {};

std::string TempPath(const char* name)
{
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    return std::string(directory) + name;
}

TEST_F(TreeSnapshot, FormsFollowTheRollBackAndFilesAreWritten)
{
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    frame.Show(SW_SHOW);
    TreeWindow window;
    TreeDocument& tree = window.Document();
    TreeNode* a = tree.AddChild(tree.Root, TerminalNode, "A", "", "3");
    tree.AddChild(tree.Root, TerminalNode, "B", "", "5");
    window.Redraw();
    window.Show(SW_SHOW);
    std::string proposed;
    std::string target;
    auto files = SetFileDialogPresenter([&](OPENFILENAMEA& dialog, bool saving) {
        EXPECT_TRUE(saving);
        proposed = dialog.lpstrFile;
        std::strcpy(dialog.lpstrFile, target.c_str());
        return 1;
    });
    struct Case {
        bool rolledBack;
        const char* choice;  // null keeps the form chosen at the start
        const char* startsWith;
        const char* file;
        char form;
    } cases[] = {
        {false, nullptr, "wmf", "snapshot-test.wmf", 'm'},
        {false, "bmp", "wmf", "snapshot-test.bmp", 'b'},
        {false, "trb", "wmf", "snapshot-test.trb", 0},
        {true, nullptr, "trb", "snapshot-test.trb", 'r'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        if (c.rolledBack) {
            window.SelectNode(a, 1, nullptr, false);
            window.OnCommand(1612);
            ASSERT_TRUE(tree.IsRolledBack());
        }
        auto formats = SnapshotFormatDialog::SetPresenter([&](SnapshotFormatDialog& dialog) {
            EXPECT_EQ(dialog.rollBackOffered, c.rolledBack);
            EXPECT_STREQ(dialog.extension.Text(), c.startsWith);
            if (c.choice != nullptr)
                dialog.extension = c.choice;
            return IDOK;
        });
        target = TempPath(c.file);
        std::remove(target.c_str());
        proposed.clear();
        FilePath path;
        EXPECT_EQ(SnapshotFiles::SaveSnapshot(window, tree.IsRolledBack(), path), c.form);
        if (c.form != 0) {
            EXPECT_EQ(proposed, std::string(window.Document().Title().Text()) + "." + (c.choice ? c.choice : c.startsWith));
            window.OnCommand(1114);
            EXPECT_TRUE(FilePath(target.c_str()).Exists());
        }
        SnapshotFormatDialog::SetPresenter(formats);
    }
    SetFileDialogPresenter(files);

    // The roll-back file opens with the results shown and the nodes selected.
    {
        TreeWindow reopened(target.c_str());
        EXPECT_TRUE(reopened.Document().IsRolledBack());
        EXPECT_EQ(reopened.Selection.Count(), window.Selection.Count());
    }
    for (const char* name : {"snapshot-test.wmf", "snapshot-test.bmp", "snapshot-test.trb"})
        std::remove(TempPath(name).c_str());
}

// The width and height of a picture file: a bitmap's from its info header, a placeable metafile's from its
// frame.
std::pair<int, int> PictureSize(const std::string& path, bool metafile)
{
    std::ifstream file(path, std::ios::binary);
    char header[26] = {};
    file.read(header, sizeof header);
    if (metafile) {
        int16_t frame[4];
        std::memcpy(frame, header + 6, sizeof frame);
        return {frame[2] - frame[0], frame[3] - frame[1]};
    }
    int32_t size[2];
    std::memcpy(size, header + 18, sizeof size);
    return {size[0], std::abs(size[1])};
}

TEST_F(TreeSnapshot, PictureOfASelectedNodeHoldsItsSubtreeOnly)
{
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    frame.Show(SW_SHOW);
    TreeWindow window;
    TreeDocument& tree = window.Document();
    TreeNode* chance = tree.AddChild(tree.Root, ChanceNode, "Chance");
    TreeNode* leaf = tree.AddChild(chance, TerminalNode, "First", "0.5", "1");
    tree.AddChild(chance, TerminalNode, "Second", "#", "2");
    tree.AddChild(tree.Root, TerminalNode, "Other", "", "3");
    window.Redraw();
    window.Show(SW_SHOW);
    const std::string bitmap = TempPath("subtree-test.bmp");
    const std::string metafile = TempPath("subtree-test.wmf");
    ASSERT_TRUE(SnapshotFiles::SaveAsBitmap(window, FilePath(bitmap.c_str())));
    const auto whole = PictureSize(bitmap, false);
    window.SelectNode(chance, 1, nullptr, false);
    ASSERT_TRUE(SnapshotFiles::SaveAsBitmap(window, FilePath(bitmap.c_str())));
    ASSERT_TRUE(SnapshotFiles::SaveAsMetafile(window, FilePath(metafile.c_str())));
    const auto subtree = PictureSize(bitmap, false);
    EXPECT_EQ(PictureSize(metafile, true), subtree);

    // As high as the laid-out subtree; nothing left of the chance node, its leaves' symbols inside.
    Display& display = window.PaneDisplay();
    const NodeGeometry& g = chance->Geometry();
    EXPECT_NEAR(subtree.second, LogicalHeightToPixels(g.SubtreeHeight, display), 2);
    EXPECT_LT(subtree.second, whole.second);
    EXPECT_LE(subtree.first, whole.first - LogicalWidthToPixels(g.X, display));
    EXPECT_GE(subtree.first, LogicalWidthToPixels(leaf->Geometry().SymbolX + kSymbolSize - g.X, display));
    std::remove(bitmap.c_str());
    std::remove(metafile.c_str());
}

}  // namespace
