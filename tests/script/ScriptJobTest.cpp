// A script job from the command line, run by the program itself as a separate process: "kivo -t -^ job.txt"
// runs the job once start-up has ended and stays open until it is closed.

#include "model/TreeNode.h"
#include "tests/script/SavedTreeAB.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ProgramProcess.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/TreeWindow.h"
#include "widgets/DocumentLinks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(ScriptJob, CommandLineJobRollsBackSavesAndLeavesTheProgramOpen)
{
    DdeTestLock lock;
    // The started program's frame and splash take the activation and the top from other tests' windows.
    FocusTestLock focus;
    ScopedApplication app;
    const std::string tree = TempFilePath("kivo-job-tree.tre"), snapshot = TempFilePath("kivo-job-snap.trb"),
                      copy = TempFilePath("kivo-job-copy.tre");
    for (const std::string& path : {snapshot, copy})
        DeleteFileA(path.c_str());
    SaveTreeAB(tree);
    const std::string job = WriteTempFile("kivo-job.txt", "!OpenFile(\"" + tree + "\")\n!SelectRoot\n!RollBack\n" +
                                                              "!SaveAsTRB(\"" + snapshot + "\")\n!SaveFileAs(\"" + copy + "\")\n");

    ProgramProcess program(KIVO_PROGRAM, job);
    ASSERT_TRUE(program.Started());
    const bool done = PumpMessagesUntil(
        [&] { return Exists(snapshot) && Exists(copy) && RequestScriptStatus() == "Ready"; }, 60000);
    const std::vector<std::string> titles = program.WindowTitles();
    DWORD exitCode = 99;
    const bool ended = program.Close(exitCode);

    EXPECT_TRUE(done);
    EXPECT_EQ(titles.size(), 1u) << "a box or another window showed: " << titles.front();
    EXPECT_TRUE(ended);
    EXPECT_EQ(exitCode, 0u);
    {
        TreeWindow rolledBack(snapshot.c_str());
        EXPECT_EQ(rolledBack.Document().RolledBack, RolledBackValues::Snapshot);
        EXPECT_NEAR(rolledBack.Document().Root->ExpectedValue(), 30.0, 1e-12);
        TreeWindow saved(copy.c_str());
        EXPECT_TRUE(saved.FileRead());
        EXPECT_EQ(saved.Document().Root->childCount, 2);
    }
    for (const std::string& path : {tree, snapshot, copy, job})
        DeleteFileA(path.c_str());
}

// A job that loops for ever keeps the program serving (it answers over DDE meanwhile), and closing the
// frame ends the job and then the program.
TEST(ScriptJob, LoopingJobEndsWhenTheFrameCloses)
{
    DdeTestLock lock;
    FocusTestLock focus;
    ScopedApplication app;
    const std::string job = WriteTempFile("kivo-job-loop.txt", "!SetScriptVar(go,1)\n:a\n!Goto(a)\n");

    ProgramProcess program(KIVO_PROGRAM, job);
    ASSERT_TRUE(program.Started());
    EXPECT_TRUE(program.WaitForScriptItem("SV_GO", "1", 60000)) << program.State();
    // Asked meanwhile, the program answers at once (each ask connects afresh, as a client does), not only
    // when the job next serves its windows.
    std::vector<DWORD> took;
    for (int ask = 0; ask < 7; ++ask) {
        const DWORD asked = GetTickCount();
        EXPECT_EQ(RequestScriptStatus(), "Busy");
        took.push_back(GetTickCount() - asked);
    }
    std::sort(took.begin(), took.end());
    std::string times;
    for (const DWORD milliseconds : took)
        times += " " + std::to_string(milliseconds);
    EXPECT_LT(took[took.size() / 2], 750u) << "answers in ms:" << times;
    DWORD exitCode = 99;
    EXPECT_TRUE(program.Close(exitCode)) << program.State();
    EXPECT_EQ(exitCode, 0u);
    DeleteFileA(job.c_str());
}

// An announced path longer than the screen is wide is shown whole: broken over lines that the box's text
// holds, in a box within the work area, which Enter closes for the job to go on.
TEST(ScriptJob, AnnouncedLongPathIsShownWholeWithinTheScreen)
{
    DdeTestLock lock;
    FocusTestLock focus;
    ScopedApplication app;
    std::string path = "C:\\Models";
    for (int folder = 0; folder < 6; ++folder)
        path += "\\QuarterlyPortfolioReviewWithoutBlanks" + std::to_string(folder);
    const std::string job =
        WriteTempFile("kivo-job-announce.txt", "!Announce(\"Saved as\\n" + path + "\")\n!SetScriptVar(done,1)\n");
    ProgramProcess program(KIVO_PROGRAM, job);
    ASSERT_TRUE(program.Started());
    HWND box = nullptr;
    ASSERT_TRUE(PumpMessagesUntil([&] { return (box = program.Window("KIVOScript")) != nullptr; }, 60000))
        << program.State();
    HWND label = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char kind[32] = {};
        GetClassNameA(child, kind, sizeof kind);
        if (lstrcmpiA(kind, "Static") == 0 && GetWindowTextLengthA(child) > 0)
            label = child;
    }
    ASSERT_NE(label, nullptr);
    char shown[1024] = {};
    GetWindowTextA(label, shown, sizeof shown);
    std::string letters;
    for (const char* at = shown; *at != '\0'; ++at)
        if (*at != '\r' && *at != '\n')
            letters += *at;
    EXPECT_EQ(letters, "Saved as" + path);
    // The text as the control lays it out, in the boxes' font, within the control's width.
    RECT client{}, needed{}, outline{}, area{};
    GetClientRect(label, &client);
    needed.right = client.right;
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const HFONT font = CreateFontIndirectA(&metrics.lfMessageFont);
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, font);
    DrawTextA(dc, shown, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    EXPECT_LE(needed.right, client.right);
    EXPECT_LE(needed.bottom, client.bottom);
    GetWindowRect(box, &outline);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_TRUE(outline.left >= area.left && outline.top >= area.top && outline.right <= area.right &&
                outline.bottom <= area.bottom)
        << "box " << outline.left << "," << outline.top << " - " << outline.right << "," << outline.bottom;

    EXPECT_TRUE(PumpMessagesUntil([&] { return GetForegroundWindow() == box; }, 10000));
    RealInput::Keys("Return");
    EXPECT_TRUE(program.WaitForScriptItem("SV_DONE", "1", 30000)) << program.State();
    EXPECT_EQ(program.Window("KIVOScript"), nullptr);
    DWORD exitCode = 99;
    EXPECT_TRUE(program.Close(exitCode)) << program.State();
    DeleteFileA(job.c_str());
}

// Files opened by another program over DDE: each open is answered once it has run (also one whose tree links
// to a program that does not run, whose search asks the waiting client's windows too), a file is the same
// file however its path's separators are written (an open one comes to the front), and every window is
// titled by its file's name.
TEST(ScriptJob, FilesOpenedOverDdeAreAnsweredAndKnownInEitherSlashStyle)
{
    DdeTestLock lock;
    FocusTestLock focus;
    ScopedApplication app;
    const std::string a = TempFilePath("kivo-slash-a.tre"), c = TempFilePath("kivo-slash-c.tre");
    for (const std::string& path : {a, c}) {
        TreeWindow window;
        if (path == c)
            CreateDdeLink(window.Document().DocumentLinks, "KIVO_Absent", "Topic", "Item", "");
        zString message;
        ASSERT_TRUE(window.SaveAs(path.c_str(), message)) << message.Text();
    }
    const auto forward = [](std::string path) {
        std::replace(path.begin(), path.end(), '\\', '/');
        return path;
    };
    const std::string job = WriteTempFile("kivo-slash-job.txt", "!OpenFile(\"" + a + "\")\n!SetScriptVar(open,1)\n");
    ProgramProcess program(KIVO_PROGRAM, job);
    ASSERT_TRUE(program.WaitForScriptItem("SV_OPEN", "1", 60000)) << program.State();

    const struct {
        std::string path, top;
    } opens[] = {
        {forward(c), "kivo-slash-c"},
        {forward(a), "kivo-slash-a"},
        {c, "kivo-slash-c"},
    };
    // Each command a quoted argument of the client's command line, its quotation marks escaped.
    const auto argument = [](const std::string& text) {
        std::string quoted = "\"";
        for (const char ch : text)
            quoted += ch == '"' ? std::string("\\\"") : std::string(1, ch);
        return quoted + "\"";
    };
    std::string commands;
    std::vector<std::string> expected;
    for (const auto& open : opens) {
        const std::string text = "[!OpenFile(\"" + open.path + "\")][!TopWindowName(top)]";
        commands += " " + argument("run:" + text) + " SV_TOP";
        expected.push_back("run " + text + ": taken");
        expected.push_back("SV_TOP=" + open.top);
    }
    EXPECT_EQ(RunDdeClient(KIVO_DDE_CLIENT, "ScriptMgr", commands), expected);
    EXPECT_EQ(program.DocumentTitles(), (std::vector<std::string>{"kivo-slash-c", "kivo-slash-a"}));
    EXPECT_EQ(program.WindowTitles().size(), 1u) << program.State();
    DWORD exitCode = 99;
    EXPECT_TRUE(program.Close(exitCode)) << program.State();
    for (const std::string& path : {a, c, job})
        DeleteFileA(path.c_str());
}

// Beside a tree whose links name a program that does not run, a client's commands are answered at once:
// two executes in a row with nothing served between them, and an open of another such tree whose client
// then ends its conversation. Looking for the absent program asks every program's windows, the waiting
// client's too, which cannot answer then.
TEST(ScriptJob, ClientsAreAnsweredAtOnceBesideALinkedTree)
{
    DdeTestLock lock;
    FocusTestLock focus;
    ScopedApplication app;
    const std::string linked = TempFilePath("kivo-linked-a.tre"), copy = TempFilePath("kivo-linked-b.tre");
    for (const std::string& path : {linked, copy})
        ASSERT_TRUE(CopyFileA(KIVO_TEST_DATA "/../model/files/every-feature-before-columns.tre", path.c_str(), FALSE));
    const std::string job =
        WriteTempFile("kivo-linked-job.txt", "!OpenFile(\"" + linked + "\")\n!SetScriptVar(open,1)\n");
    ProgramProcess program(KIVO_PROGRAM, job);
    ASSERT_TRUE(program.WaitForScriptItem("SV_OPEN", "1", 60000)) << program.State();

    const struct {
        std::string commands, answer;
    } clients[] = {
        {"twice:[!SetScriptVar(q,7)]", "twice [!SetScriptVar(q,7)]: taken taken"},
        {"\"run:[!OpenFile(\\\"" + copy + "\\\")]\"", "run [!OpenFile(\"" + copy + "\")]: taken"},
    };
    for (const auto& client : clients) {
        const DWORD begun = GetTickCount();
        EXPECT_EQ(RunDdeClient(KIVO_DDE_CLIENT, "ScriptMgr", client.commands),
                  std::vector<std::string>{client.answer});
        EXPECT_LT(GetTickCount() - begun, 2500u) << client.commands;
    }
    EXPECT_EQ(program.DocumentTitles(), (std::vector<std::string>{"kivo-linked-b", "kivo-linked-a"}));
    DWORD exitCode = 99;
    EXPECT_TRUE(program.Close(exitCode)) << program.State();
    for (const std::string& path : {linked, copy, job})
        DeleteFileA(path.c_str());
}

} // namespace
