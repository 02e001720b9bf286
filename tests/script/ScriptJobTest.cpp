// A script job from the command line, run by the program itself as a separate process: "kivo -t -^ job.txt"
// runs the job once start-up has ended and stays open until it is closed.

#include "framework/window/DdeConversation.h"
#include "model/TreeNode.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string TempPath(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name;
}

struct ProcessWindows {
    DWORD processId;
    std::vector<std::string> titles;
    HWND frame = nullptr;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter)
{
    auto* found = reinterpret_cast<ProcessWindows*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != found->processId || !IsWindowVisible(window))
        return TRUE;
    char title[128] = {};
    GetWindowTextA(window, title, sizeof title);
    found->titles.push_back(title);
    if (std::string(title).rfind("KIVO 3.5", 0) == 0)
        found->frame = window;
    return TRUE;
}

// The interpreter's status over DDE; empty when the program does not answer.
std::string RequestStatus()
{
    DdeClient client;
    DdeConversation conversation(&client, "KIVO_Node", "ScriptMgr");
    if (!conversation.IsConnected())
        return std::string();
    DdeRequest request(&conversation, "Status", ClipboardFormat::Text, 5);
    PumpMessagesFor(20);
    if (request.Payload() == nullptr)
        return std::string();
    DWORD size = 0;
    const BYTE* bytes = DdeAccessData(request.Payload(), &size);
    const std::string text = reinterpret_cast<const char*>(bytes);
    DdeUnaccessData(request.Payload());
    DdeFreeDataHandle(request.Payload());
    return text;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(ScriptJob, CommandLineJobRollsBackSavesAndLeavesTheProgramOpen)
{
    ProcessLock lock("KIVO-tests-dde");
    ScopedApplication app;
    const std::string tree = TempPath("kivo-job-tree.tre"), snapshot = TempPath("kivo-job-snap.trb"),
                      copy = TempPath("kivo-job-copy.tre"), job = TempPath("kivo-job.txt");
    for (const std::string& path : {snapshot, copy})
        DeleteFileA(path.c_str());
    {
        TreeWindow window;
        TreeDocument& document = window.Document();
        document.Root->SetKind(ChanceNode, false);
        document.AddChild(document.Root, TerminalNode, "A", "0.3", "100");
        document.AddChild(document.Root, TerminalNode, "B", "#", "0");
        zString message;
        ASSERT_TRUE(window.SaveAs(tree.c_str(), message)) << message.Text();
    }
    std::FILE* file = std::fopen(job.c_str(), "wb");
    std::fprintf(file, "!OpenFile(\"%s\")\n!SelectRoot\n!RollBack\n!SaveAsTRB(\"%s\")\n!SaveFileAs(\"%s\")\n",
                 tree.c_str(), snapshot.c_str(), copy.c_str());
    std::fclose(file);

    std::string directory = KIVO_PROGRAM;
    directory.erase(directory.find_last_of("\\/"));
    CreateDirectoryA((directory + "\\Tables").c_str(), nullptr); // so that no first-start question shows
    std::string commandLine = std::string("\"") + KIVO_PROGRAM + "\" -t -^ \"" + job + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                               &startup, &process));
    const bool done = PumpMessagesUntil(
        [&] { return Exists(snapshot) && Exists(copy) && RequestStatus() == "Ready"; }, 60000);
    ProcessWindows windows{process.dwProcessId, {}, nullptr};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    if (windows.frame != nullptr)
        PostMessageA(windows.frame, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    DWORD exitCode = 99;
    GetExitCodeProcess(process.hProcess, &exitCode);
    if (!ended)
        TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    EXPECT_TRUE(done);
    EXPECT_EQ(windows.titles.size(), 1u) << "a box or another window showed: " << windows.titles.front();
    EXPECT_TRUE(ended);
    EXPECT_EQ(exitCode, 0u);
    {
        TreeWindow rolledBack(snapshot.c_str());
        EXPECT_EQ(rolledBack.Document().RolledBack, 2);
        EXPECT_NEAR(rolledBack.Document().Root->ExpectedValue(), 30.0, 1e-12);
        TreeWindow saved(copy.c_str());
        EXPECT_TRUE(saved.FileRead());
        EXPECT_EQ(saved.Document().Root->childCount, 2);
    }
    for (const std::string& path : {tree, snapshot, copy, job})
        DeleteFileA(path.c_str());
}

} // namespace
