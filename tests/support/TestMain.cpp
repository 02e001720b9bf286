// Test entry: no test may ever wait for a person, so a message box shown without a MessageBoxRecorder fails
// the running test and is answered with its negative button. Each test process gets a temporary directory of
// its own, so that tests running side by side never share (or remove) each other's files.

#include "app/AppHost.h"
#include "app/MessageBoxes.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

int FailOnUnexpectedBox(const MessageBoxRequest& request)
{
    ADD_FAILURE() << "Unexpected message box \"" << request.caption << "\": " << request.text;
    switch (request.style & MB_TYPEMASK) {
    case MB_OK:
        return IDOK;
    case MB_YESNO:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

void RemoveDirectoryTree(const std::string& directory)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = directory + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(directory.c_str());
}

// Points TEMP and TMP (for the C library and for GetTempPath) at a new directory of this process. It sits at
// the root of the temporary directory's drive, so that paths in it stay as short as tests expect them.
std::string UseOwnTempDirectory()
{
    char base[MAX_PATH] = {};
    if (GetTempPathA(sizeof base, base) < 3)
        return {};
    const std::string directory = std::string(base, 3) + "kivo" + std::to_string(GetCurrentProcessId());
    if (!CreateDirectoryA(directory.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return {};
    _putenv(("TEMP=" + directory).c_str());
    _putenv(("TMP=" + directory).c_str());
    return directory;
}

} // namespace

int main(int argc, char** argv)
{
    // A crashing test must end its process, not wait in a system error dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // Tests see the core through the program's host, as the program does.
    static AppHost host;
    SetHost(&host);
    SetMessageBoxPresenter(FailOnUnexpectedBox);
    const std::string temp = UseOwnTempDirectory();
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (!temp.empty())
        RemoveDirectoryTree(temp);
    return result;
}
