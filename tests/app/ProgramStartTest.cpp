// The program itself, started as a separate process the way a person starts it: its frame, splash,
// placement from the preferences store, and its end on WM_CLOSE with the recent files written.

#include "foundation/PreferencesStore.h"
#include "tests/foundation/RegistryTestSupport.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <windows.h>

#include <string>
#include <vector>

namespace {

struct ProcessWindows {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter)
{
    auto* found = reinterpret_cast<ProcessWindows*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == found->processId && IsWindowVisible(window))
        found->windows.push_back(window);
    return TRUE;
}

std::string TitleOf(HWND window)
{
    char text[128] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// kivo.exe started with the given arguments; killed when the test ends without closing it.
class RunningProgram {
public:
    // showCommand: as the shell passes it, or none (the program gets SW_SHOWDEFAULT).
    explicit RunningProgram(const char* arguments, int showCommand = -1)
    {
        std::string directory = KIVO_PROGRAM;
        directory.erase(directory.find_last_of("\\/"));
        CreateDirectoryA((directory + "\\Tables").c_str(), nullptr); // so that no first-start question shows
        std::string commandLine = std::string("\"") + KIVO_PROGRAM + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (showCommand >= 0) {
            startup.dwFlags = STARTF_USESHOWWINDOW;
            startup.wShowWindow = static_cast<WORD>(showCommand);
        }
        started_ = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                                  &startup, &process_) != 0;
    }
    ~RunningProgram()
    {
        if (started_) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(process_.hProcess, 99);
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }
    bool Started() const { return started_; }

    // The visible top-level window of the process whose title passes the test; none when it shows none.
    HWND Window(bool (*wanted)(const std::string&)) const
    {
        ProcessWindows found{process_.dwProcessId, {}};
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&found));
        for (HWND window : found.windows) {
            if (wanted(TitleOf(window)))
                return window;
        }
        return nullptr;
    }
    // The window once it shows, waiting until the deadline passes or the process ends. The program opens its
    // printer context before it shows the frame, and on a busy machine every process opening a printer has
    // been seen to stall for some forty seconds at once.
    HWND WaitForWindow(bool (*wanted)(const std::string&), DWORD deadline = 60000) const
    {
        HWND window = nullptr;
        PumpMessagesUntil(
            [&] {
                window = Window(wanted);
                return window != nullptr || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
            },
            deadline);
        return window;
    }

    // The exit code, or -1 when the process has not ended within the deadline.
    long WaitForExit(DWORD deadline = 30000) const
    {
        if (WaitAnsweringSentMessages(process_.hProcess, deadline) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

BOOL CALLBACK CollectTitle(HWND window, LPARAM parameter)
{
    reinterpret_cast<std::vector<std::string>*>(parameter)->push_back(TitleOf(window));
    return TRUE;
}

// The titles of the frame's windows that are trees.
std::vector<std::string> TreeTitles(HWND frame)
{
    std::vector<std::string> titles, trees;
    EnumChildWindows(frame, CollectTitle, reinterpret_cast<LPARAM>(&titles));
    for (const std::string& title : titles) {
        if (title.find("Tree") != std::string::npos)
            trees.push_back(title);
    }
    return trees;
}

bool WaitUntilTopmost(HWND window)
{
    return PumpMessagesUntil([&] { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; });
}

bool IsFrame(const std::string& title)
{
    return title == "KIVO 3.5";
}

bool IsSplash(const std::string& title)
{
    return title.empty();
}

class ProgramStart : public ::testing::Test {
protected:
    // The program serves the DDE service that the DDE tests talk to: one such server at a time (this lock
    // comes first, as in the DDE tests).
    DdeTestLock dde;
    // The program's frame and splash take the activation from other tests' windows.
    FocusTestLock focus;
    StoreTestLock lock;
    SavedRegistryValue wasMax{"General", "WasMax"};
    SavedRegistryValue oldRect{"General", "OldRect"};
    SavedRegistryValue file1{"RecentFiles", "File1"};
    SavedRegistryValue file2{"RecentFiles", "File2"};
    // Files left in the list by other runs of the program (the screenshot tour's) would move up into the
    // entries the program writes back: the rest of the list starts empty.
    SavedRegistryValue rest[4] = {{"RecentFiles", "File3"}, {"RecentFiles", "File4"}, {"RecentFiles", "File5"},
                                  {"RecentFiles", "File6"}};
    const bool emptied = [] {
        for (const char* name : {"File3", "File4", "File5", "File6"})
            RegistryDeleteValue("RecentFiles", name);
        return true;
    }();
};

TEST_F(ProgramStart, FrameTakesSavedRectangleSplashEndsAndCloseStoresPlacementAndRecentFiles)
{
    WriteProfileInt("General", "WasMax", 0);
    WriteProfileString("General", "OldRect", "40,30,700,520", false);
    // An existing file stays in the list; one that is gone is dropped when the list is written at the end.
    WriteProfileString("RecentFiles", "File1", KIVO_PROGRAM, false);
    WriteProfileString("RecentFiles", "File2", "C:\\no such folder\\gone.tre", false);

    RunningProgram program("-t", SW_SHOWNORMAL);
    ASSERT_TRUE(program.Started());
    HWND frame = program.WaitForWindow(IsFrame);
    ASSERT_NE(frame, nullptr) << "The program showed no frame";
    RECT rect{};
    GetWindowRect(frame, &rect);
    EXPECT_EQ((std::vector<long>{rect.left, rect.top, rect.right, rect.bottom}), (std::vector<long>{40, 30, 700, 520}));
    EXPECT_FALSE(IsZoomed(frame));
    EXPECT_TRUE(TreeTitles(frame).empty());

    // The splash stands above the frame, then closes by itself after its two seconds.
    HWND splash = program.Window(IsSplash);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(GetWindow(splash, GW_OWNER), frame);
    EXPECT_TRUE(WaitUntilTopmost(splash));
    EXPECT_TRUE(PumpMessagesUntil([&] { return program.Window(IsSplash) == nullptr; })) << "The splash stayed";

    MoveWindow(frame, 60, 50, 600, 400, TRUE);
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0);

    zString text;
    ReadProfileString("General", "OldRect", text, 100, false);
    EXPECT_STREQ(text.Text(), "60,50,660,450");
    EXPECT_EQ(ReadProfileInt("General", "WasMax", -1), 0);
    ReadProfileString("RecentFiles", "File2", text, 300, false);
    EXPECT_STREQ(text.Text(), "");
    // Kept in the one spelling of a path, with backslashes.
    std::string kept = KIVO_PROGRAM;
    std::replace(kept.begin(), kept.end(), '/', '\\');
    ReadProfileString("RecentFiles", "File1", text, 300, false);
    EXPECT_STRCASEEQ(text.Text(), kept.c_str());
}

TEST_F(ProgramStart, SavedMaximisedFrameOpensMaximisedAndIgnoresTheRectangle)
{
    WriteProfileInt("General", "WasMax", 1);
    WriteProfileString("General", "OldRect", "40,30,700,520", false);

    RunningProgram program("/T");
    ASSERT_TRUE(program.Started());
    HWND frame = program.WaitForWindow(IsFrame);
    ASSERT_NE(frame, nullptr) << "The program showed no frame";
    EXPECT_TRUE(IsZoomed(frame));
    EXPECT_TRUE(TreeTitles(frame).empty());
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0);
    EXPECT_EQ(ReadProfileInt("General", "WasMax", -1), 1);
}

} // namespace

// Without arguments the program starts with one new tree, the first of its run.
TEST_F(ProgramStart, WithoutArgumentsOneUntitledTreeOpens)
{
    RunningProgram program("");
    ASSERT_TRUE(program.Started());
    HWND frame = program.WaitForWindow(IsFrame);
    ASSERT_NE(frame, nullptr) << "The program showed no frame";
    PumpMessagesUntil([&] { return !TreeTitles(frame).empty(); });
    EXPECT_EQ(TreeTitles(frame), std::vector<std::string>{"Untitled Tree 1"});
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0);
}

TEST_F(ProgramStart, StartedMinimisedIgnoresTheSavedPlacement)
{
    WriteProfileInt("General", "WasMax", 1);
    WriteProfileString("General", "OldRect", "40,30,700,520", false);

    RunningProgram program("-t", SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(program.Started());
    HWND frame = program.WaitForWindow(IsFrame);
    ASSERT_NE(frame, nullptr) << "The program showed no frame";
    EXPECT_TRUE(IsIconic(frame));
    EXPECT_FALSE(IsZoomed(frame));
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0);
    // Nothing is stored for an iconic frame.
    EXPECT_EQ(ReadProfileInt("General", "WasMax", -1), 1);
}
