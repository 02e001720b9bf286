#include "widgets/CommandLine.h"

#include "app/StartProgram.h"
#include "framework/window/Clipboard.h"
#include "framework/window/TopWindow.h"
#include "model/TreeNode.h"
#include "foundation/FilePath.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ProgramLinks.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bindings = std::vector<std::pair<std::string, std::string>>;

TEST(StartupArguments, FilesAndTheirBindingsInOrder)
{
    struct Case {
        const char* commandLine;
        std::vector<std::string> paths;
        std::vector<Bindings> bindings;
    } cases[] = {
        {"\"Z:\\t\\a.tre?P=0.3?C=10\"", {"Z:\\t\\a.tre"}, {{{"P", "0.3"}, {"C", "10"}}}},
        {"-d,. Z:\\a.tre?X?C=1 /t", {"Z:\\a.tre"}, {{}}},
        {"\"Z:\\my -i trees\\b.tre\" -x Z:\\c.tre", {"Z:\\my -i trees\\b.tre", "Z:\\c.tre"}, {{}, {}}},
        {"Z:\\a.tre \"Z:\\unended", {"Z:\\a.tre"}, {{}}},
    };
    for (const Case& c : cases) {
        const std::vector<StartupFileArgument> arguments = ReadFileArguments(c.commandLine);
        ASSERT_EQ(arguments.size(), c.paths.size()) << c.commandLine;
        for (size_t i = 0; i < arguments.size(); ++i) {
            EXPECT_EQ(arguments[i].path, c.paths[i]);
            EXPECT_EQ(arguments[i].bindings, c.bindings[i]);
        }
    }
}

// Tree files written for the test; every tree window the actions open is closed at the end.
class StartupActionsTest : public testing::Test {
protected:
    void SetUp() override
    {
        const char* temp = std::getenv("TEMP");
        path = std::string(temp != nullptr ? temp : ".") + "\\kivo_start.tre";
        {
            TreeWindow tree;
            TreeNode* root = tree.Document().Root;
            tree.Document().AddChild(root, TerminalNode, "Rich", "", "1,5*2");
            tree.Document().AddChild(root, TerminalNode, "Poor", "", "MAX(1, 2)+X1,5");
            tree.Document().AddChild(root, TerminalNode, "Odd", "", "1,5,5");
            zString message;
            ASSERT_TRUE(tree.SaveAs(path.c_str(), message));
        }
        windowsBefore = TreeWindow::OpenWindows().size();
        ParseCommandLine("");
    }
    void TearDown() override
    {
        while (TreeWindow::OpenWindows().size() > windowsBefore)
            delete TreeWindow::OpenWindows().back();
        ParseCommandLine("");
        std::remove(path.c_str());
    }
    TreeWindow* Opened() { return TreeWindow::OpenWindows().back(); }

    std::string path;
    size_t windowsBefore = 0;
};

TEST_F(StartupActionsTest, BindingsAndDecimalsOfAnOpenedTree)
{
    ParseCommandLine("-d,.");
    MessageBoxRecorder boxes;
    EXPECT_EQ(RunStartupActionsText(("-d,. \"" + path + "?P=1?C=10?1X=2?P=0.3\" Z:\\missing.tre").c_str()), 1);
    ASSERT_EQ(TreeWindow::OpenWindows().size(), windowsBefore + 1);
    TreeDocument& document = Opened()->Document();
    // Set in the order given: the later P wins; a part that is no name sets nothing.
    ASSERT_EQ(document.Root->BindingCount(), 2);
    EXPECT_STREQ(document.Root->FindBinding("P", true)->definition.Text().Text(), "0.3");
    EXPECT_STREQ(document.Root->FindBinding("C", true)->definition.Text().Text(), "10");
    EXPECT_TRUE(document.HasVariable("C", true));
    EXPECT_EQ(document.Modified, 1);
    EXPECT_STREQ(document.Root->GetChild(0)->Payoff(0).Text().Text(), "1.5*2");
    EXPECT_STREQ(document.Root->GetChild(1)->Payoff(0).Text().Text(), "MAX(1, 2)+X1,5");
    ASSERT_EQ(boxes.Count(), 3u);
    EXPECT_EQ(boxes.Boxes()[0].text.rfind("The name \"1X\" is not a valid variable", 0), 0u);
    EXPECT_EQ(boxes.Boxes()[1].text, "Some formulas of \"kivo_start\" cannot be read after changing decimals (1).");
    EXPECT_EQ(boxes.Boxes()[1].status, "Changing decimals from \",\" to \".\" ...");
    EXPECT_EQ(boxes.Last().text, "File \"Z:\\missing.tre\" not found.");
}

TEST_F(StartupActionsTest, OutlineRequestPutsTheTreeOnTheClipboard)
{
    ClipboardTestLock clipboardLock;
    ScopedApplication app;
    TopWindow owner(nullptr, nullptr, WS_OVERLAPPEDWINDOW, "owner");
    owner.Create();
    ProgramClipboard clipboard(&owner);
    ParseCommandLine(("-^ " + path).c_str());
    MessageBoxRecorder boxes;
    EXPECT_EQ(RunStartupActionsText(("-^ " + path).c_str()), 1);
    ASSERT_EQ(TreeWindow::OpenWindows().size(), windowsBefore + 1);
    std::unique_ptr<char[]> text(clipboard->GetText());
    ASSERT_NE(text, nullptr);
    EXPECT_NE(std::string(text.get()).find("Rich"), std::string::npos);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "The open tree has been converted to an outline. The outline is now on the clipboard.");

    // A damaged file is reported alone and the clipboard keeps what it holds.
    std::FILE* damaged = std::fopen(path.c_str(), "r+b");
    std::fseek(damaged, 20, SEEK_SET);
    std::fputs("damage", damaged);
    std::fclose(damaged);
    boxes.Clear();
    EXPECT_EQ(RunStartupActionsText(("-^ " + path).c_str()), 1);
    text.reset(clipboard->GetText());
    ASSERT_NE(text, nullptr);
    EXPECT_NE(std::string(text.get()).find("Rich"), std::string::npos);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text.rfind("This tree file is damaged", 0), 0u);
}

// A ".txt" outline request is the script job run once start-up has ended; it opens nothing, not even the files.
TEST_F(StartupActionsTest, TextOutlineRequestIsKeptAsTheStartupScript)
{
    const std::string textPath = path.substr(0, path.size() - 3) + "txt";
    std::FILE* file = std::fopen(textPath.c_str(), "wb");
    std::fputs("!RollBack\r\n", file);
    std::fclose(file);
    ParseCommandLine(("-^ " + textPath).c_str());
    EXPECT_EQ(RunStartupActionsText(("-^ " + textPath + " " + path).c_str()), 0);
    std::remove(textPath.c_str());
    zString job;
    ASSERT_TRUE(TakeStartupScript(job));
    EXPECT_STRCASEEQ(job.Text(), FilePath(textPath.c_str()).FullPath().Text());
    EXPECT_FALSE(TakeStartupScript(job));
    EXPECT_EQ(TreeWindow::OpenWindows().size(), windowsBefore);
}

} // namespace
