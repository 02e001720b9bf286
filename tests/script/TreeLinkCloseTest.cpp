// A tree that follows a value of another tree of the same program, made and closed as a person does it, with
// the system's own keys in the program itself: Copy Special's link in one tree, Paste Link in the Links
// dialog of a new tree, then Ctrl+F4 and No. The link's conversation is with the program's own server.

#include "tests/script/SavedTreeAB.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ProgramProcess.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

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
    const std::string source = TempFilePath("kivo-link-source.tre");
    SaveTreeAB(source);
    const std::string job =
        WriteTempFile("kivo-link-job.txt", "!OpenFile(\"" + source + "\")\n!SelectRoot\n!SetScriptVar(open,1)\n");
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
    ASSERT_TRUE(PumpMessagesUntil([&] { return program.DocumentTitles().size() == 2u; })) << program.State();
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
    while (program.DocumentTitles().size() == 2u && GetTickCount() - closing < 20000) {
        const DWORD asked = GetTickCount();
        DWORD_PTR result = 0;
        SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result);
        longestAnswer = std::max(longestAnswer, GetTickCount() - asked);
        PumpMessagesFor(10);
    }
    const DWORD closed = GetTickCount() - closing;
    EXPECT_EQ(program.DocumentTitles().size(), 1u) << program.State();
    EXPECT_LT(closed, 1000u);
    EXPECT_LT(longestAnswer, 500u);
    // The first tree took the link's number.
    closeUnsaved();
    EXPECT_TRUE(PumpMessagesUntil([&] { return program.DocumentTitles().empty(); })) << program.State();

    DWORD exitCode = 99;
    EXPECT_TRUE(program.Close(exitCode)) << program.State();
    for (const std::string& path : {source, job})
        DeleteFileA(path.c_str());
}

} // namespace
