#include "treewin/TreeWindow.h"

#include "analysis/TreeEngines.h"
#include "widgets/DocChildWindow.h"
#include "formula/Distribution.h"
#include "formula/DistributionRecord.h"
#include "model/NodeSideRecord.h"
#include "model/NoteBox.h"
#include "model/TreeNode.h"
#include "framework/window/MDIframeCL.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/IdleAnalysis.h"
#include "tests/foundation/RegistryTestSupport.h"
#include "tests/model/ForeignFileBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string TempPath(const char* name)
{
    return std::string(std::getenv("TEMP") ? std::getenv("TEMP") : ".") + "\\" + name;
}

int TitleNumber(const TreeWindow& window, const char* format)
{
    int number = 0;
    return std::sscanf(window.Document().Title().Text(), format, &number) == 1 ? number : -1;
}

TEST(TreeWindowTitles, UntitledTreesAreNumberedOnceEach)
{
    TreeWindow first;
    const int number = TitleNumber(first, "Untitled Tree %d");
    ASSERT_GT(number, 0);
    TreeWindow second;
    EXPECT_EQ(std::string(second.Document().Title().Text()), "Untitled Tree " + std::to_string(number + 1));
    EXPECT_EQ(first.Document().Root->kind, DecisionNode);
}

// A new tree shows "Payoff 1"; each method names its payoffs, counted from 1.
TEST(TreeWindowTitles, StatusIndicatorsNameTheMethodAndItsPayoffs)
{
    struct Case {
        int method;  // as a tree file stores it; -1 keeps the new tree's
        const char* text;
    } cases[] = {{-1, "Payoff 1"}, {0, "Payoff 3"}, {1, "C/E, 1/2"}, {2, "B-C, 1-2"}, {3, "MultiAttr"}, {7, ""}};
    for (const Case& c : cases) {
        TreeWindow window;
        TreeCalcPrefs& prefs = window.Document().CalcPrefs;
        if (c.method >= 0) {
            prefs.CalcMethod = static_cast<CalcMethodKind>(c.method);
            prefs.CurrentPayoff = 2;
            prefs.UseUtility = 1;
        }
        zString risk, method;
        window.Document().StatusIndicatorTexts(risk, method);
        EXPECT_STREQ(method.Text(), c.text);
        EXPECT_STREQ(risk.Text(), c.method >= 0 ? "RISK" : "");
    }
}

TEST(TreeWindowFiles, SnapshotCopyLeavesTheTreeAndADamagedFileIsNeverKept)
{
    const std::string tree = TempPath("kivo_window.tre"), copy = TempPath("kivo_window.trb");
    zString message;
    TreeWindow window;
    window.Document().AddChild(window.Document().Root, TerminalNode, "Low", "", "3");
    window.Document().AddChild(window.Document().Root, TerminalNode, "High", "", "5");
    RollBackDocument(window.Document());
    // Printing and its preview reach the tree's print settings as any document's.
    DocChildWindow& printed = window;
    printed.SetPrintOffset(1.25f, -0.5f);
    printed.SetPrintScale(1.255, 1.255);
    window.Document().DisplayPrefs.CenterTreeOnPage = 1;
    EXPECT_EQ(printed.CentreOnePage(), 1);
    window.Document().SetModified(1);
    ASSERT_TRUE(window.SaveAs(tree.c_str(), message)) << message.Text();
    window.Document().SetModified(1);
    ASSERT_TRUE(window.SaveCopyAs(copy.c_str(), message));
    EXPECT_STREQ(window.FilePath().Text(), tree.c_str());
    EXPECT_STREQ(window.Document().Title().Text(), "kivo_window");
    EXPECT_EQ(window.Document().Modified, 1);

    TreeWindow snapshot(copy.c_str());
    EXPECT_EQ(snapshot.Document().RolledBack, RolledBackValues::Snapshot);
    EXPECT_EQ(snapshot.Document().Root->ExpectedValue(), 5.0);
    // A snapshot never asks to be saved.
    snapshot.SetModified(1);
    {
        MessageBoxRecorder closing;
        EXPECT_EQ(snapshot.QueryClose("Save?"), 1);
        EXPECT_EQ(closing.Count(), 0u);
    }
    // The print offset travels in thousandths of an inch; the scale as whole per cents.
    EXPECT_EQ(snapshot.Document().PrintOffset[0], 1250);
    float x = 0.0f, y = 0.0f;
    ASSERT_TRUE(snapshot.GetPrintOffset(x, y));
    EXPECT_FLOAT_EQ(y, -0.5f);
    EXPECT_DOUBLE_EQ(snapshot.GetPrintScale(), 1.25);
    EXPECT_STREQ(snapshot.FilePath().Text(), copy.c_str());

    std::ofstream(tree, std::ios::binary | std::ios::trunc) << std::string("\x22\x00\x03\x05\x00\x01\x00\x03", 8);
    MessageBoxRecorder boxes;
    TreeWindow damaged(tree.c_str());
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_FALSE(damaged.FileRead());
    EXPECT_STREQ(damaged.FilePath().Text(), "");
    std::remove(tree.c_str());
    std::remove(copy.c_str());
}

// A tree of the older text form opens imported, untitled and modified, so that saving asks for a name. A
// file the importer refuses says why and is not read; whatever it accepts can be saved.
TEST(TreeWindowFiles, OlderTextTreesOpenImportedAndUntitled)
{
    StoreTestLock lock;  // the importer keeps its options in the preferences store
    const std::string path = TempPath("kivo_text.tre");
    const std::string saved = TempPath("kivo_text_saved.tre");
    const std::string longName(800, 'n');
    const std::string hugeName(100000, 'h');
    std::string wide = "Wide(C)\r\n";
    for (int i = 0; i < 1001; ++i)
        wide += "TO: E" + std::to_string(i) + "\r\n-\r\n";
    wide += "=\r\n";
    const std::string cannot = "The file cannot be imported: ";
    struct Case {
        std::string text;
        const char* root;
        std::string box;
    } cases[] = {
        {"Start(D)\r\nTO: End\r\n-\r\n=\r\nEnd(T)\r\nU: = 5\r\n=\r\n", "Start", ""},
        {"First(T)\r\nU: = 1\r\n=\r\nSecond(T)\r\nU: = 2\r\n=\r\n", "",
         cannot + "it holds 2 separate trees, and none was chosen for conversion."},
        {"A(D)\r\nTO: B\r\n-\r\n=\r\nB(D)\r\nTO: A\r\n-\r\n=\r\n", "",
         cannot + "every node in it is named as a branch of another, so none is the root of its tree."},
        {"Start(D)\r\nTO: " + longName + "\r\n-\r\n=\r\n" + longName + "(T)\r\nU: = 5\r\n=\r\n", "",
         cannot + "the node \"" + std::string(30, 'n') +
             "...\" cannot be stored, as its name is longer than 799 characters."},
        {"Start(D)\r\nTO: " + hugeName + "\r\n-\r\n=\r\n", "",
         cannot + "the node \"" + std::string(30, 'h') +
             "...\" cannot be stored, as its name is longer than 799 characters."},
        {wide, "", cannot + "the node \"Wide\" cannot be stored, as it has more than 1000 branches."},
    };
    for (const Case& c : cases) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.text;
        MessageBoxRecorder boxes;
        TreeWindow window(path.c_str());
        ASSERT_EQ(boxes.Count(), c.box.empty() ? 0u : 1u) << c.root;
        if (!c.box.empty()) {
            EXPECT_EQ(boxes.Last().text, c.box);
        }
        EXPECT_STREQ(window.Document().Root->text.Text(), c.root);
        EXPECT_STREQ(window.FilePath().Text(), "");
        EXPECT_EQ(window.FileRead(), c.box.empty());
        if (window.FileRead()) {
            EXPECT_GT(TitleNumber(window, "Untitled Tree %d"), 0);
            EXPECT_EQ(window.Document().Modified, 1);
            EXPECT_EQ(window.DocumentWindow::SaveAs(saved.c_str()), 1);
        }
    }
    std::remove(path.c_str());
    std::remove(saved.c_str());
}

// A text of records that each name the next is refused while it is parsed, long before memory runs out.
TEST(TreeWindowFiles, OlderTextTreesTooLargeToParseAreRefused)
{
    StoreTestLock lock;
    const std::string path = TempPath("kivo_text_chain.tre");
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        for (int i = 0; i < 150000; ++i)
            file << 'N' << i << "(C)\r\nTO: N" << i + 1 << "\r\n-\r\n=\r\n";
    }
    MessageBoxRecorder boxes;
    TreeWindow window(path.c_str());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The file cannot be imported: its tree would take more than 64 MB of memory.");
    EXPECT_EQ(window.Document().Root->childCount, 0);
    std::remove(path.c_str());
}

// The foreign program places note boxes from its root: here they stand right of the root's branch.
TEST(TreeWindowFiles, ForeignNoteBoxesMoveRightOfTheRootsBranch)
{
    const std::string path = TempPath("kivo_foreign_notes.tre");
    const foreign_test::Bytes bytes = foreign_test::Sample205().bytes;
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(bytes.data()),
                                                                  static_cast<std::streamsize>(bytes.size()));
    TreeDocument imported;
    ASSERT_TRUE(imported.ReadTreeFile(path.c_str()));
    TreeWindow window(path.c_str());
    ASSERT_EQ(window.Document().NoteBoxes.Count(), 1);
    const float moved = window.Document().NoteBoxes.At(0)->frame.left - imported.NoteBoxes.At(0)->frame.left;
    EXPECT_GT(moved, 0.5f);
    EXPECT_FLOAT_EQ(moved, window.Document().Root->Geometry().SymbolX);
    std::remove(path.c_str());
}

std::string FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Every foreign sample opens, saves as a tree of ours without complaint, and that tree opens again and saves
// to the same bytes.
TEST(TreeWindowFiles, ForeignTreesSaveAsTreesThatOpenAgain)
{
    const std::string foreign = TempPath("kivo_foreign_in.tre");
    const std::string first = TempPath("kivo_foreign_first.tre");
    const std::string second = TempPath("kivo_foreign_second.tre");
    const foreign_test::Bytes samples[] = {foreign_test::Sample205().bytes, foreign_test::Sample205(-7).bytes,
                                           foreign_test::Sample100().bytes, foreign_test::Sample200().bytes};
    for (const foreign_test::Bytes& bytes : samples) {
        std::ofstream(foreign, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        MessageBoxRecorder boxes;
        TreeWindow imported(foreign.c_str());
        boxes.Clear();
        ASSERT_EQ(imported.DocumentWindow::SaveAs(first.c_str()), 1);
        TreeWindow reopened(first.c_str());
        ASSERT_TRUE(reopened.FileRead()) << (boxes.Count() ? boxes.Last().text : "");
        ASSERT_EQ(reopened.DocumentWindow::SaveAs(second.c_str()), 1);
        EXPECT_EQ(boxes.Count(), 0u);
        EXPECT_EQ(FileBytes(first), FileBytes(second));
    }
    for (const std::string& path : {foreign, first, second})
        std::remove(path.c_str());
}

// A distribution parameter too long for a tree file is named at Save, as a long payoff is, and nothing is written.
TEST(TreeWindowFiles, SaveNamesTheDistributionBeyondTheLimits)
{
    const std::string path = TempPath("kivo_long_parameter.tre");
    const std::string limit = " cannot be stored, as ";
    for (const bool onNode : {true, false}) {
        TreeWindow window;
        Distribution* distribution = MakeDistribution(1);
        distribution->Parameter(0)->SetText(std::string(1501, '1').c_str());
        if (onNode) {
            window.Document().Root->SetText("Chooser", false);
            window.Document().Root->EnsureLinkBlock()->sideRecord = std::make_shared<NodeSideRecord>();
            window.Document().Root->linkBlock->sideRecord->distribution = distribution;
        } else {
            auto* record = new DistributionRecord;
            record->index = 4;
            record->SetDistribution(distribution);
            window.Document().Distributions.InsertSorted(record);
        }
        MessageBoxRecorder boxes;
        EXPECT_EQ(window.DocumentWindow::SaveAs(path.c_str()), 0);
        // One failure, one box.
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text,
                  onNode ? "The tree cannot be saved: the node \"Chooser\"" + limit +
                               "a parameter of its distribution is longer than 1500 characters."
                         : "The tree cannot be saved: the distribution DISTSAMP(4)" + limit +
                               "one of its parameters is longer than 1500 characters.");
    }
}

std::string FileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// In the full-disk folder (a ctest fixture) a save's temporary file is the system's full device: the bytes of
// a small tree wait in the runtime's buffer and are refused at the last flush, as on a disk with no room left.
TEST(TreeWindowFiles, SaveOnAFullDiskKeepsTheFileAndTheName)
{
    // Written with backslashes, as the program keeps every path.
    std::string folder = std::string(KIVO_FULL_DISK) + "\\";
    std::replace(folder.begin(), folder.end(), '/', '\\');
    const std::string path = folder + "kivo-full.tre", other = folder + "new-full.tre";
    ASSERT_NE(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES) << "made by the ctest FullDisk.Setup";
    const std::string saved = TempPath("kivo_full_disk.tre");
    {
        TreeWindow window;
        window.Document().AddChild(window.Document().Root, TerminalNode, "A", "", "1");
        ASSERT_EQ(window.DocumentWindow::SaveAs(saved.c_str()), 1);
    }
    ASSERT_TRUE(CopyFileA(saved.c_str(), path.c_str(), FALSE));
    const std::string before = FileText(path);
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    MessageBoxRecorder boxes;
    TreeWindow& window = *new TreeWindow(path.c_str());
    window.Document().AddChild(window.Document().Root, TerminalNode, "B", "", "2");
    window.SetModified(1);
    SendMessageA(window.Handle(), WM_COMMAND, Cmd::FileSave, 0);
    EXPECT_EQ(FileText(path), before);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Insufficient disk space. \"" + path + "\" was left unchanged.");
    EXPECT_EQ(window.IsModified(), 1);
    // Save As to a new file there makes no file and keeps the window's name and file.
    const std::string title = window.Text();
    window.DocumentWindow::SaveAs(other.c_str());
    EXPECT_EQ(GetFileAttributesA(other.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(boxes.Last().text, "Insufficient disk space. \"" + other + "\" was not saved.");
    EXPECT_EQ(window.Text(), title);
    EXPECT_EQ(std::string(window.FullPath().Text()), path);
    delete &window;
    for (const std::string& file : {saved, path, other})
        DeleteFileA(file.c_str());
}

// All of this process's free address space but about `spare` bytes, held back while the object lives.
class AddressSpaceHeld {
public:
    explicit AddressSpaceHeld(size_t spare)
    {
        blocks.reserve(70000);
        for (size_t chunk = 16u << 20; chunk >= 64u << 10; chunk /= 4)
            while (void* block = VirtualAlloc(nullptr, chunk, MEM_RESERVE, PAGE_NOACCESS))
                blocks.push_back(block);
        for (size_t given = 0; given < spare && !blocks.empty(); given += 16u << 20) {
            VirtualFree(blocks.front(), 0, MEM_RELEASE);
            blocks.erase(blocks.begin());
        }
    }
    ~AddressSpaceHeld()
    {
        for (void* block : blocks)
            VirtualFree(block, 0, MEM_RELEASE);
    }
    AddressSpaceHeld(const AddressSpaceHeld&) = delete;
    AddressSpaceHeld& operator=(const AddressSpaceHeld&) = delete;

private:
    std::vector<void*> blocks;
};

// A small file whose clone copies unfold into 2^30 nodes: the open fails with a word, gives its memory
// back, and the other trees keep their unsaved changes.
TEST(TreeWindowFiles, ATreeTooLargeForMemoryFailsAloneWithAWord)
{
    if (sizeof(void*) > 4)
        GTEST_SKIP() << "a 64-bit process's address space cannot be held back to make the open run out";
    const std::string path = TempPath("kivo_unfolding.tre");
    {
        TreeWindow source;
        TreeDocument& document = source.Document();
        for (int level = 1; level <= 31; ++level) {
            TreeNode* master = document.AddChild(document.Root, ChanceNode, "Level");
            master->cloneStatus = CloneMasterNode;
            master->cloneId = static_cast<int16_t>(level);
            document.AddCloneMaster(master, ("Level " + std::to_string(level)).c_str());
            for (int i = 0; i < 2; ++i) {
                TreeNode* branch = document.AddChild(master, level == 1 ? TerminalNode : ChanceNode, "Half", "0.5");
                if (level > 1) {
                    branch->cloneStatus = CloneCopyNode;
                    branch->cloneId = static_cast<int16_t>(level - 1);
                }
            }
        }
        zString message;
        ASSERT_TRUE(document.WriteTreeFile(path.c_str(), message)) << message.Text();
    }
    TreeWindow other;
    other.Document().AddChild(other.Document().Root, TerminalNode, "Unsaved", "", "1");
    other.SetModified(1);
    MessageBoxRecorder boxes;
    {
        AddressSpaceHeld held(1024u << 20);
        TreeWindow unfolding(path.c_str());
        EXPECT_FALSE(unfolding.FileRead());
        EXPECT_EQ(unfolding.Document().Root->childCount, 0);
    }
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "There is not enough memory to open this tree. Please try closing other applications "
                                 "or documents.\n\n\"" + path + "\"");
    EXPECT_EQ(other.Document().Root->childCount, 1);
    EXPECT_EQ(other.IsModified(), 1);
    std::remove(path.c_str());
}

// The analysis would go on stepping on a closed tree.
TEST(TreeWindowFiles, ClosingWaitsForTheRunningAnalysis)
{
    MessageBoxRecorder boxes;
    TreeWindow window;
    window.SetModified(0);
    {
        IdleAnalysis running(&window.Document());
        EXPECT_EQ(window.QueryClose("Save?"), 0);
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text, std::string("Please cancel the active \"processing\" window for \"") +
                                         window.Text() + "\" before closing it.");
    }
    EXPECT_EQ(window.QueryClose("Save?"), 1);
}

} // namespace
