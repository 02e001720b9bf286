#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::string ExitCodeProgramPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    directory.erase(directory.find_last_of("\\/") + 1);
    return directory + "kivo_exitcode.exe";
}

TEST(WinMain, PostedQuitSevenBecomesTheProcessExitCode)
{
    std::string program = ExitCodeProgramPath();
    if (GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "kivo_exitcode.exe is not built next to the tests";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(exitCode, 7u);
}

} // namespace
