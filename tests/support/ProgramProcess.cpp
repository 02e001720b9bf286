#include "tests/support/ProgramProcess.h"

#include "framework/window/DdeConversation.h"
#include "tests/support/PumpMessages.h"

#include <algorithm>
#include <fstream>

namespace {

struct ProcessWindows {
    DWORD processId;
    std::vector<std::string> titles;
    std::vector<HWND> windows;
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
    found->windows.push_back(window);
    if (std::string(title).rfind("KIVO 3.5", 0) == 0)
        found->frame = window;
    return TRUE;
}

} // namespace

std::string TempFilePath(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name;
}

std::string WriteTempFile(const char* name, const std::string& text)
{
    const std::string path = TempFilePath(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

ProgramProcess::ProgramProcess(const char* program, const std::string& job)
{
    std::string directory = program;
    directory.erase(directory.find_last_of("\\/"));
    CreateDirectoryA((directory + "\\Tables").c_str(), nullptr);
    std::string commandLine = std::string("\"") + program + "\" -t -^ \"" + job + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(), &startup,
                        &info_))
        info_ = PROCESS_INFORMATION{};
}

ProgramProcess::~ProgramProcess()
{
    if (info_.hProcess == nullptr)
        return;
    if (WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 10000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

std::vector<std::string> ProgramProcess::WindowTitles(HWND* frame) const
{
    ProcessWindows windows{info_.dwProcessId, {}, {}, nullptr};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    if (frame != nullptr)
        *frame = windows.frame;
    return windows.titles;
}

HWND ProgramProcess::Window(const std::string& title) const
{
    ProcessWindows windows{info_.dwProcessId, {}, {}, nullptr};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (size_t i = 0; i < windows.titles.size(); ++i)
        if (windows.titles[i] == title)
            return windows.windows[i];
    return nullptr;
}

std::vector<std::string> ProgramProcess::DocumentTitles() const
{
    HWND frame = nullptr;
    WindowTitles(&frame);
    std::vector<std::string> titles;
    const HWND client = frame != nullptr ? FindWindowExA(frame, nullptr, "MDICLIENT", nullptr) : nullptr;
    for (HWND child = client != nullptr ? GetWindow(client, GW_CHILD) : nullptr; child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char title[260] = {};
        GetWindowTextA(child, title, sizeof title);
        titles.push_back(title);
    }
    return titles;
}

bool ProgramProcess::Close(DWORD& exitCode)
{
    HWND frame = nullptr;
    WindowTitles(&frame);
    if (frame != nullptr)
        PostMessageA(frame, WM_CLOSE, 0, 0);
    // The program's DDE partners are served meanwhile.
    const bool ended =
        PumpMessagesUntil([&] { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }, 30000);
    exitCode = 99;
    GetExitCodeProcess(info_.hProcess, &exitCode);
    if (!ended)
        TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 10000);
    return ended;
}

bool ProgramProcess::WaitForScriptItem(const char* item, const char* value, DWORD deadline)
{
    const DWORD start = GetTickCount();
    const auto ended = [&] { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; };
    HWND frame = nullptr;
    PumpMessagesUntil(
        [&] {
            WindowTitles(&frame);
            return frame != nullptr || ended();
        },
        deadline);
    if (frame == nullptr || ended())
        return false;
    bool answered = false;
    PumpMessagesUntilEvery(
        200,
        [&] {
            answered = !ended() && RequestScriptItem(item) == value;
            return answered || ended();
        },
        deadline - std::min(deadline, GetTickCount() - start));
    return answered;
}

std::string ProgramProcess::State() const
{
    DWORD code = 0;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0 && GetExitCodeProcess(info_.hProcess, &code))
        return "the program ended with exit code " + std::to_string(code);
    std::string titles = "the program's windows:";
    for (const std::string& title : WindowTitles())
        titles += " \"" + title + "\"";
    return titles;
}

std::vector<std::string> RunDdeClient(const char* client, const char* topic, const std::string& commands)
{
    const std::string output = TempFilePath("kivo-dde-client.txt");
    std::string commandLine = std::string("\"") + client + "\" \"" + output + "\" \"" + topic + "\" " + commands;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::vector<std::string> lines;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return lines;
    PumpMessagesUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, 60000);
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::ifstream file(output);
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    file.close();
    DeleteFileA(output.c_str());
    return lines;
}

std::string RequestScriptItem(const char* item)
{
    DdeClient client;
    DdeConversation conversation(&client, "KIVO_Node", "ScriptMgr");
    if (!conversation.IsConnected())
        return std::string();
    DdeRequest request(&conversation, item, ClipboardFormat::Text, 5);
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
