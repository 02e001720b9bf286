// Opening documents from the frame: the Open command, the recent-file items, dropped files, and the
// answers for missing, unknown and already open files.

#include "widgets/CommandLine.h"
#include "app/MainFrame.h"
#include "app/OpenFileByName.h"
#include "app/StartProgram.h"
#include "widgets/StatusMessage.h"
#include "foundation/PreferencesStore.h"
#include "foundation/RecentFileList.h"
#include "graph/LineGraph.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/TreeArrow.h"
#include "tests/support/SampleDiagram.h"
#include "framework/dialog/FileDialogs.h"
#include "tests/foundation/RegistryTestSupport.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ProgramProcess.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string TempDirectory()
{
    const char* temp = std::getenv("TEMP");
    return temp ? temp : ".";
}

void WriteTree(const std::string& path)
{
    TreeWindow tree;
    zString message;
    ASSERT_TRUE(tree.SaveAs(path.c_str(), message)) << message.Text();
}

// The bytes of the file.
std::string Bytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The bytes with the first stored form of one float replaced by another's.
std::string WithFloat(std::string bytes, float stored, float replacement)
{
    const std::string from(reinterpret_cast<const char*>(&stored), sizeof stored);
    const size_t at = bytes.find(from);
    EXPECT_NE(at, std::string::npos) << stored;
    if (at != std::string::npos)
        bytes.replace(at, sizeof replacement, reinterpret_cast<const char*>(&replacement), sizeof replacement);
    return bytes;
}

// The bytes with the one at the offset changed.
std::string WithByte(std::string bytes, size_t at, char value)
{
    bytes.at(at) = value;
    return bytes;
}

// A shell drop of the files, as the shell hands it to a window.
HDROP DropOf(const std::vector<std::string>& paths)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths)
        size += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    char* names = reinterpret_cast<char*>(drop + 1);
    for (const std::string& path : paths) {
        std::strcpy(names, path.c_str());
        names += path.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

class OpenDocuments : public ::testing::Test {
protected:
    OpenDocuments()
    {
        for (int i = 1; i <= 6; ++i) {
            saved.push_back(std::make_unique<SavedRegistryValue>("RecentFiles", ("File" + std::to_string(i)).c_str()));
            WriteProfileString("RecentFiles", ("File" + std::to_string(i)).c_str(), "", false);
        }
        previousList = TheProgram()->ReplaceRecentFiles(std::make_unique<RecentFileList>());
        frame = new MainFrame;
        frame->EndStartup();
        windowsBefore = TreeWindow::OpenWindows().size();
    }
    ~OpenDocuments() override
    {
        CloseTrees();
        delete frame;
        TheProgram()->ReplaceRecentFiles(std::move(previousList));
        for (const std::string& path : files)
            std::remove(path.c_str());
    }
    std::string NewTree(const std::string& name)
    {
        files.push_back(TempDirectory() + "\\" + name);
        WriteTree(files.back());
        return files.back();
    }
    void CloseTrees()
    {
        while (TreeWindow::OpenWindows().size() > windowsBefore)
            delete TreeWindow::OpenWindows().back();
    }
    void Post(unsigned id)
    {
        PostMessageA(frame->Handle(), WM_COMMAND, id, 0);
        MSG pending;
        PumpMessagesUntil([&] { return !PeekMessageA(&pending, frame->Handle(), WM_COMMAND, WM_COMMAND, PM_NOREMOVE); });
    }
    std::string ItemText(UINT id) const
    {
        char text[300] = {};
        GetMenuStringA(GetMenu(frame->Handle()), id, text, sizeof text, MF_BYCOMMAND);
        return text;
    }

    StoreTestLock lock;
    std::vector<std::unique_ptr<SavedRegistryValue>> saved;
    ScopedApplication app;
    std::unique_ptr<RecentFileList> previousList;
    MainFrame* frame;
    size_t windowsBefore;
    std::vector<std::string> files;
    MessageBoxRecorder boxes;
};

TEST_F(OpenDocuments, SevenOpensLeaveSixItemsNewestFirstAndReopeningMovesAnItemToTheTop)
{
    std::vector<std::string> paths;
    for (int i = 1; i <= 7; ++i) {
        paths.push_back(NewTree("kivo_recent" + std::to_string(i) + ".tre"));
        ASSERT_NE(OpenFileByName(paths.back().c_str()), nullptr);
        EXPECT_EQ("Opened \"" + paths.back() + "\"", CurrentStatusMessage().Text());
        CloseTrees();
    }
    EXPECT_EQ("&1 " + paths[6], ItemText(1185));
    EXPECT_EQ("&6 " + paths[1], ItemText(1180));
    EXPECT_EQ("", ItemText(1186));

    // Entry 5 of the list ("&5", paths[2]) stands at 1181.
    Post(1181);
    EXPECT_EQ(windowsBefore + 1, TreeWindow::OpenWindows().size());
    EXPECT_EQ("&1 " + paths[2], ItemText(1185));
    EXPECT_EQ("&2 " + paths[6], ItemText(1184));
    EXPECT_EQ("&6 " + paths[1], ItemText(1180));
}

TEST_F(OpenDocuments, MissingUnknownAndAlreadyOpenFilesOpenNothingAndLeaveTheRecentFiles)
{
    const std::string tree = NewTree("kivo_open.tre");
    files.push_back(TempDirectory() + "\\kivo_open.xyz");
    std::fclose(std::fopen(files.back().c_str(), "w"));
    const std::string missing = TempDirectory() + "\\kivo_missing.tre";
    ASSERT_NE(OpenFileByName(tree.c_str()), nullptr);
    const int recent = TheProgram()->RecentFiles()->Count();

    EXPECT_EQ(nullptr, OpenFileByName(missing.c_str()));
    EXPECT_EQ(nullptr, OpenFileByName(files.back().c_str()));
    ASSERT_EQ(2u, boxes.Count());
    EXPECT_EQ("File \"" + missing + "\" not found.", boxes.Boxes()[0].text);
    EXPECT_EQ("File not found, or the file is empty.\n\n\"" + files.back() + "\"", boxes.Boxes()[1].text);

    std::string upper = tree;
    for (char& c : upper)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(nullptr, OpenFileByName(upper.c_str()));
    EXPECT_STREQ("The file is already loaded.", CurrentStatusMessage().Text());
    EXPECT_EQ(windowsBefore + 1, TreeWindow::OpenWindows().size());
    EXPECT_EQ(recent, TheProgram()->RecentFiles()->Count());

}

// A file that cannot be read leaves no window behind, takes no untitled number and is no recent file.
TEST_F(OpenDocuments, DamagedFilesOpenedByTheOpenCommandLeaveNoWindow)
{
    const std::string whole = TempDirectory() + "\\kivo_whole.tre";
    files.push_back(whole);
    {
        TreeWindow source;
        for (int i = 0; i < 40; ++i)
            source.Document().AddChild(source.Document().Root, TerminalNode, "Branch", "", "1");
        zString message;
        ASSERT_TRUE(source.SaveAs(whole.c_str(), message)) << message.Text();
    }
    const std::string diagram = TempDirectory() + "\\kivo_whole.ind";
    const std::string sample = TempDirectory() + "\\kivo_sample.ind";
    files.insert(files.end(), {diagram, sample});
    {
        InfluenceDiagramWindow source;
        ASSERT_EQ(source.SaveAs(diagram.c_str()), 1);
        BuildSampleDiagram(source.document);
        ASSERT_EQ(source.SaveAs(sample.c_str()), 1);
    }
    // A tree with an arrow, and a graph, each placing something at a number found once in its file.
    const float arrowTail = 3.375f, printOffset = 1.3125f, axisTop = 3.15625f;
    const std::string arrowTree = TempDirectory() + "\\kivo_arrow.tre", graph = TempDirectory() + "\\kivo_whole.grf";
    files.insert(files.end(), {arrowTree, graph});
    {
        TreeWindow source;
        source.Document().Arrows.Add(new TreeArrow{arrowTail, 0.5f, 4.0f, 0.75f});
        zString message;
        ASSERT_TRUE(source.SaveAs(arrowTree.c_str(), message)) << message.Text();
        LineGraph lines(1, 1);
        lines.horizontalAxis.rect.top = axisTop;
        lines.SetPrintOffset(printOffset, 0.0f);
        ASSERT_EQ(lines.SaveAs(graph.c_str()), 1);
    }
    std::string flipped = Bytes(whole);
    flipped[20] = static_cast<char>(~flipped[20]);
    const std::string tree = Bytes(whole), cut = Bytes(diagram), shown = Bytes(sample), lines = Bytes(graph);
    // A tree of every feature at full length, with bytes changed in its middle: damaged, not cut short.
    const std::string everyFeature = Bytes(KIVO_TEST_DATA "/../model/files/every-feature-before-columns.tre");
    std::string garbled = everyFeature;
    for (size_t at = 300; at <= 900 && at < garbled.size(); at += 7)
        garbled[at] = static_cast<char>(garbled[at] ^ 0x5A);
    // A note, an arrow or a graph's element placed out of any drawing's range, or at no number.
    std::string farNote = everyFeature;
    farNote.replace(271, 2, "\xFF\x7F");
    const float noNumber = std::nanf("");
    const std::string placed = "Error code = 41.";
    // A flipped or huge count in a full-length diagram is damage; so is a graph's or a diagram's header
    // damaged in its version (byte 3) or its kind (byte 6).
    const size_t outcomeCount = shown.find("Surgery") - 8;  // before the list's marker and the name's length
    const std::string partDamaged = "Part of its contents is damaged.", notOurs = "This file was not created by KIVO.";
    // Each box names the file and says what can be done; a folder is no file.
    // An empty or nearly empty diagram or graph is refused as a tree is.
    struct Damaged {
        const char* name;
        std::string content;
        std::string reason;
        bool folder = false;
    } const damaged[] = {{"kivo_truncated.tre", tree.substr(0, tree.size() / 2), "The file is cut short"},
                         {"kivo_flipped.tre", flipped, "A version record inside it is damaged."},
                         {"kivo_garbled.tre", garbled, "Error code = 2.\n\n\"" + TempDirectory() +
                                                           "\\kivo_garbled.tre\"\n\nPart of its contents is damaged."},
                         {"kivo_truncated.ind", cut.substr(0, cut.size() - 10), "The file is cut short"},
                         {"kivo_diagram.tre", cut, "It is an influence diagram: give it the extension .ind"},
                         {"kivo_empty.ind", "", "File not found, or the file is empty."},
                         {"kivo_short.ind", cut.substr(0, 5), "This file was not created by KIVO."},
                         {"kivo_empty.grf", "", "File not found, or the file is empty."},
                         {"kivo_short.grf", cut.substr(0, 1), "This file was not created by KIVO."},
                         {"kivo_folder.tre", "", "It is a folder, not a file", true},
                         {"kivo_far_note.tre", farNote, placed},
                         {"kivo_far_arrow.tre", WithFloat(Bytes(arrowTree), arrowTail, noNumber), placed},
                         {"kivo_far_offset.grf", WithFloat(lines, printOffset, 1e30f), partDamaged},
                         {"kivo_far_element.grf", WithFloat(lines, axisTop, -1e9f), partDamaged},
                         {"kivo_flipped875.ind", WithByte(shown, 875, static_cast<char>(~shown.at(875))), partDamaged},
                         {"kivo_count.ind", WithByte(shown, outcomeCount + 1, 0x7F), partDamaged},
                         {"kivo_two.ind", cut.substr(0, 2), "The file is cut short"},
                         {"kivo_two.grf", lines.substr(0, 2), "The file is cut short"},
                         {"kivo_version.ind", WithByte(cut, 3, static_cast<char>(~cut[3])), "A version record"},
                         {"kivo_version.grf", WithByte(lines, 3, static_cast<char>(~lines[3])), "A version record"},
                         {"kivo_kind.ind", WithByte(cut, 6, static_cast<char>(~cut[6])), notOurs},
                         {"kivo_kind.grf", WithByte(lines, 6, static_cast<char>(~lines[6])), notOurs},
                         {"kivo_script.xyz", "!OpenFile(\"a.tre\")\r\n", notOurs}};
    std::string chosen;
    FileDialogPresenter previous = SetFileDialogPresenter([&](OPENFILENAMEA& dialog, bool) {
        std::strcpy(dialog.lpstrFile, chosen.c_str());
        return 1;
    });
    std::vector<WindowCL*> windows;
    frame->CollectWindows(windows);
    const size_t before = windows.size();
    Post(1101);
    const int recent = TheProgram()->RecentFiles()->Count();
    for (const auto& [name, content, reason, folder] : damaged) {
        chosen = TempDirectory() + "\\" + name;
        if (folder) {
            ASSERT_TRUE(CreateDirectoryA(chosen.c_str(), nullptr));
        } else {
            files.push_back(chosen);
            std::ofstream(chosen, std::ios::binary) << content;
        }
        boxes.Clear();
        Post(1103);
        if (folder)
            RemoveDirectoryA(chosen.c_str());
        EXPECT_EQ(boxes.Count(), 1u) << name;
        EXPECT_NE(boxes.Last().text.find("\"" + chosen + "\""), std::string::npos) << name;
        EXPECT_NE(boxes.Last().text.find(reason), std::string::npos) << boxes.Last().text;
        windows.clear();
        frame->CollectWindows(windows);
        EXPECT_EQ(windows.size(), before + 1) << name;
    }
    SetFileDialogPresenter(previous);
    Post(1101);
    ASSERT_EQ(TreeWindow::OpenWindows().size(), windowsBefore + 2);
    int first = 0, second = 0;
    std::sscanf(TreeWindow::OpenWindows()[windowsBefore]->Document().Title().Text(), "Untitled Tree %d", &first);
    std::sscanf(TreeWindow::OpenWindows().back()->Document().Title().Text(), "Untitled Tree %d", &second);
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(TheProgram()->RecentFiles()->Count(), recent);
}

// Each refused file is named in its one box; a file another program holds is in use, not missing.
TEST_F(OpenDocuments, RefusedFilesAreNamedOnceEachAndAHeldFileIsInUse)
{
    const std::string good = NewTree("kivo_good.tre");
    std::vector<std::string> refused;
    for (const char* name : {"kivo_zip.tre", "kivo_text.tre"}) {
        files.push_back(TempDirectory() + "\\" + name);
        refused.push_back(files.back());
    }
    std::FILE* file = std::fopen(refused[0].c_str(), "wb");
    std::fwrite("PK\x03\x04\x14\x00\x00\x00\x08\x00", 1, 10, file);
    std::fclose(file);
    file = std::fopen(refused[1].c_str(), "wb");
    std::fputs("Dear reader,\r\nthis is a letter.", file);
    std::fclose(file);
    EXPECT_EQ(OpenFileByName(refused[0].c_str()), nullptr);
    ASSERT_NE(OpenFileByName(good.c_str()), nullptr);
    EXPECT_EQ(OpenFileByName(refused[1].c_str()), nullptr);
    ASSERT_EQ(boxes.Count(), 2u);
    for (size_t i = 0; i < 2; ++i)
        EXPECT_EQ(boxes.Boxes()[i].text,
                  "This file was not created by KIVO. It cannot be read.\n\n\"" + refused[i] + "\"");

    CloseTrees();
    boxes.Clear();
    HANDLE held = CreateFileA(good.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    OpenFileByName(good.c_str());
    CloseHandle(held);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "This file is in use by another program, and cannot be read.\n\n\"" + good + "\"");
}

// One file however its path is spelled: File > Open of a spelling with "..", "." or a doubled separator
// brings the open window to the top, and a tree saved as such a spelling asks before taking its file.
TEST_F(OpenDocuments, EverySpellingOfAnOpenFilesPathFindsItsWindow)
{
    const std::string directory = TempDirectory() + "\\kivo_spelled";
    CreateDirectoryA(directory.c_str(), nullptr);
    const std::string tree = NewTree("kivo_spelled\\m.tre");
    ASSERT_NE(OpenFileByName(tree.c_str()), nullptr);
    std::string slashed = directory + "/./m.tre";
    for (char& c : slashed)
        c = c == '\\' ? '/' : c;
    std::string chosen;
    FileDialogPresenter previous = SetFileDialogPresenter([&](OPENFILENAMEA& dialog, bool) {
        std::strcpy(dialog.lpstrFile, chosen.c_str());
        return 1;
    });
    for (const std::string& spelling :
         {directory + "\\..\\kivo_spelled\\m.tre", directory + "\\\\m.tre", slashed}) {
        chosen = spelling;
        Post(1103);
        EXPECT_STREQ("The file is already loaded.", CurrentStatusMessage().Text()) << spelling;
        EXPECT_EQ(windowsBefore + 1, TreeWindow::OpenWindows().size()) << spelling;
    }
    SetFileDialogPresenter(previous);
    EXPECT_EQ(boxes.Count(), 0u);

    {
        TreeWindow other;
        other.Document().AddChild(other.Document().Root, TerminalNode, "Other");
        boxes.Answer(IDCANCEL);
        EXPECT_EQ(static_cast<DocumentWindow&>(other).SaveAs((directory + "\\sub\\..\\m.tre").c_str()), 0);
        other.SetModified(0);
    }
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "\"" + tree + "\" is open in another KIVO window. Would you like to save it under a new name?");
    EXPECT_EQ(TreeWindow(tree.c_str()).Document().Root->childCount, 0);
    CloseTrees();
    std::remove(tree.c_str());
    RemoveDirectoryA(directory.c_str());
}

TEST_F(OpenDocuments, OpenCommandOffersTheFileKindsAndDroppedFilesOpenInOrderAtFullLength)
{
    const std::string chosen = NewTree("kivo_chosen.tre");
    std::vector<std::string> filters;
    FileDialogPresenter previous = SetFileDialogPresenter([&](OPENFILENAMEA& dialog, bool) {
        filters.push_back(dialog.lpstrFilter);
        std::strcpy(dialog.lpstrFile, chosen.c_str());
        return 1;
    });
    Post(1103);
    CloseTrees();
    ParseCommandLine("-i");
    Post(1103);
    ParseCommandLine("");
    SetFileDialogPresenter(previous);
    EXPECT_EQ((std::vector<std::string>{"Tree Files (*.tre)", "Influence Files (*.ind)"}), filters);
    EXPECT_EQ("&1 " + chosen, ItemText(1180));
    CloseTrees();

    // A name longer than 199 characters.
    const std::string directory = TempDirectory() + "\\" + std::string(120, 'd');
    CreateDirectoryA(directory.c_str(), nullptr);
    const std::string longName = NewTree(std::string(120, 'd') + "\\" + std::string(70, 'n') + ".tre");
    const std::string second = NewTree("kivo_dropped.tre");
    SendMessageA(frame->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({longName, second})), 0);
    ASSERT_EQ(windowsBefore + 2, TreeWindow::OpenWindows().size());
    EXPECT_STRCASEEQ(longName.c_str(), TreeWindow::OpenWindows()[windowsBefore]->FilePath().Text());
    EXPECT_STRCASEEQ(second.c_str(), TreeWindow::OpenWindows()[windowsBefore + 1]->FilePath().Text());
    CloseTrees();
    std::remove(longName.c_str());
    RemoveDirectoryA(directory.c_str());
}

} // namespace

namespace {

// A file another KIVO process holds open is offered read-only: No opens nothing; Yes opens a window that
// leaves the file to the other process, and its Save asks for a new name. Once the other process has
// closed, the file opens as any other.
TEST(OpenHeldDocuments, AFileOpenInAnotherProgramIsOfferedReadOnly)
{
    DdeTestLock dde;
    FocusTestLock focus;
    StoreTestLock store;
    std::vector<std::unique_ptr<SavedRegistryValue>> saved;
    for (int i = 1; i <= 6; ++i)
        saved.push_back(std::make_unique<SavedRegistryValue>("RecentFiles", ("File" + std::to_string(i)).c_str()));
    ScopedApplication app;
    auto previousList = TheProgram()->ReplaceRecentFiles(std::make_unique<RecentFileList>());
    auto* frame = new MainFrame;
    frame->EndStartup();
    MessageBoxRecorder boxes;
    const std::string tree = TempFilePath("kivo-held.tre"), job = TempFilePath("kivo-held-job.txt");
    WriteTree(tree);
    std::ofstream(job, std::ios::binary) << "!OpenFile(\"" << tree << "\")\n!SetScriptVar(open,1)\n";
    int asked = 0;
    const FileDialogPresenter previousDialogs = SetFileDialogPresenter([&asked](OPENFILENAMEA&, bool) {
        ++asked;
        return 0;
    });
    {
        ProgramProcess other(KIVO_PROGRAM, job);
        ASSERT_TRUE(other.WaitForScriptItem("SV_OPEN", "1", 60000)) << other.State();
        boxes.Answer(IDNO);
        EXPECT_EQ(OpenFileByName(tree.c_str()), nullptr);
        boxes.Answer(IDYES);
        DocumentWindow* copy = OpenFileByName(tree.c_str());
        ASSERT_NE(copy, nullptr);
        const std::string question = "\"" + tree + "\" is already open in another KIVO window.\n\nOpen it "
                                     "read-only? Saving it will ask for a new name.";
        EXPECT_EQ(boxes.Count(), 2u);
        EXPECT_EQ(boxes.Last().text, question);
        EXPECT_TRUE(copy->IsReadOnly());
        copy->SetModified(1);
        EXPECT_EQ(copy->SaveToFile(), 0);
        EXPECT_EQ(asked, 1);
        delete copy;
        DWORD exitCode = 99;
        EXPECT_TRUE(other.Close(exitCode)) << other.State();
    }
    boxes.Clear();
    DocumentWindow* own = OpenFileByName(tree.c_str());
    ASSERT_NE(own, nullptr);
    EXPECT_FALSE(own->IsReadOnly());
    EXPECT_EQ(boxes.Count(), 0u);
    delete own;
    SetFileDialogPresenter(previousDialogs);
    delete frame;
    TheProgram()->ReplaceRecentFiles(std::move(previousList));
    for (const std::string& path : {tree, job})
        std::remove(path.c_str());
}

} // namespace
