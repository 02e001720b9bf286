// A tree that follows a value of another tree of the same program, made and closed as a person does it, with
// the system's own keys in the program itself: Copy Special's link in one tree, Paste Link in the Links
// dialog of a new tree, then Ctrl+F4 and No. The link's conversation is with the program's own server.

#include "model/TreeNode.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ProgramProcess.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The number of the program's document windows.
int DocumentCount(HWND frame)
{
    const HWND client = FindWindowExA(frame, nullptr, "MDICLIENT", nullptr);
    int count = 0;
    for (HWND child = client != nullptr ? GetWindow(client, GW_CHILD) : nullptr; child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        ++count;
    return count;
}

// Until the program shows (or no longer shows) a top-level window of that title.
bool AwaitTitle(const ProgramProcess& program, const std::string& title, bool shown = true)
{
    return PumpMessagesUntil([&] {
        const std::vector<std::string> titles = program.WindowTitles();
        return (std::find(titles.begin(), titles.end(), title) != titles.end()) == shown;
    });
}

TEST(TreeLinkClose, ClosingATreeLinkedWithinTheProgramLeavesItAnswering)
{
    DdeTestLock lock;
    FocusTestLock focus;
    ClipboardTestLock clipboard;
    ScopedApplication app;
    const std::string source = TempFilePath("kivo-link-source.tre"), job = TempFilePath("kivo-link-job.txt");
    {
        TreeWindow window;
        TreeDocument& document = window.Document();
        document.Root->SetKind(ChanceNode, false);
        document.AddChild(document.Root, TerminalNode, "A", "0.3", "100");
        document.AddChild(document.Root, TerminalNode, "B", "#", "0");
        zString message;
        ASSERT_TRUE(window.SaveAs(source.c_str(), message)) << message.Text();
    }
    std::FILE* file = std::fopen(job.c_str(), "wb");
    std::fprintf(file, "!OpenFile(\"%s\")\n!SelectRoot\n!SetScriptVar(open,1)\n", source.c_str());
    std::fclose(file);
    ProgramProcess program(KIVO_PROGRAM, job);
    ASSERT_TRUE(program.WaitForScriptItem("SV_OPEN", "1", 60000)) << program.State();
    HWND frame = nullptr;
    program.WindowTitles(&frame);
    ASSERT_NE(frame, nullptr);
    ScreenOnTop onTop(frame);
    SetForegroundWindow(frame);
    ASSERT_TRUE(PumpMessagesUntil([&] { return GetForegroundWindow() == frame; })) << program.State();

    RealInput::Keys("alt+e o");
    ASSERT_TRUE(AwaitTitle(program, "Copy Special")) << program.State();
    RealInput::Keys("alt+e Return");
    ASSERT_TRUE(AwaitTitle(program, "Copy Special", false)) << program.State();
    RealInput::Keys("ctrl+n");
    ASSERT_TRUE(AwaitTitle(program, "New Document")) << program.State();
    RealInput::Keys("Return");
    ASSERT_TRUE(PumpMessagesUntil([&] { return DocumentCount(frame) == 2; })) << program.State();
    RealInput::Keys("alt+e k");
    ASSERT_TRUE(AwaitTitle(program, "Links")) << program.State();
    RealInput::Keys("alt+a alt+o");
    ASSERT_TRUE(AwaitTitle(program, "Links", false)) << program.State();

    // Ctrl+F4, and No to the question whether to save the changed tree.
    const auto closeUnsaved = [&] {
        RealInput::Keys("ctrl+F4");
        ASSERT_TRUE(AwaitTitle(program, "KIVO")) << program.State();
        RealInput::Keys("n");
    };
    closeUnsaved();
    // The frame is asked again and again while the window closes: each answer's wait, the longest kept.
    const DWORD closing = GetTickCount();
    DWORD longestAnswer = 0;
    while (DocumentCount(frame) == 2 && GetTickCount() - closing < 20000) {
        const DWORD asked = GetTickCount();
        DWORD_PTR result = 0;
        SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result);
        longestAnswer = std::max(longestAnswer, GetTickCount() - asked);
        PumpMessagesFor(10);
    }
    const DWORD closed = GetTickCount() - closing;
    EXPECT_EQ(DocumentCount(frame), 1) << program.State();
    EXPECT_LT(closed, 1000u);
    EXPECT_LT(longestAnswer, 500u);
    // The first tree took the link's number.
    closeUnsaved();
    EXPECT_TRUE(PumpMessagesUntil([&] { return DocumentCount(frame) == 0; })) << program.State();

    DWORD exitCode = 99;
    EXPECT_TRUE(program.Close(exitCode)) << program.State();
    for (const std::string& path : {source, job})
        DeleteFileA(path.c_str());
}

} // namespace
