// Save Snapshot: the forms offered, the name proposed, and the files written.

#include "treewin/TreeWindow.h"

#include "dialogs/SnapshotFormatDialog.h"
#include "foundation/FilePath.h"
#include "framework/dialog/FileDialogs.h"
#include "framework/window/MDIframeCL.h"
#include "tests/support/ScopedApplication.h"
#include "model/TreeNode.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string TempPath(const char* name)
{
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    return std::string(directory) + name;
}

TEST(TreeSnapshot, FormsFollowTheRollBackAndFilesAreWritten)
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
            ASSERT_NE(tree.RolledBack, 0);
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
        EXPECT_EQ(window.SaveSnapshot(tree.RolledBack != 0, path), c.form);
        if (c.form != 0) {
            EXPECT_EQ(proposed, std::string(window.Title().Text()) + "." + (c.choice ? c.choice : c.startsWith));
            window.OnCommand(1114);
            EXPECT_TRUE(FilePath(target.c_str()).Exists());
        }
        SnapshotFormatDialog::SetPresenter(formats);
    }
    SetFileDialogPresenter(files);

    // The roll-back file opens with the results shown and the nodes selected.
    {
        TreeWindow reopened(target.c_str());
        EXPECT_NE(reopened.Document().RolledBack, 0);
        EXPECT_EQ(reopened.Document().Selection.Count(), tree.Selection.Count());
    }
    for (const char* name : {"snapshot-test.wmf", "snapshot-test.bmp", "snapshot-test.trb"})
        std::remove(TempPath(name).c_str());
}

}  // namespace
