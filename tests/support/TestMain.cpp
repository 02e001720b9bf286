// Test entry: no test may ever wait for a person, so a message box shown without a MessageBoxRecorder fails
// the running test and is answered with its negative button. Each test process gets a temporary directory of
// its own, so that tests running side by side never share (or remove) each other's files; it is removed
// when every test passed. An access
// violation in the program's code fails the running test even where the system swallows it (a window
// procedure called back from the system): such a fault is a use of freed or invalid memory. While another
// test process holds the focus lock, this process's windows do not take the activation from it; a test that
// shows a top-level window without holding the lock fails. No test begins before GoogleTest's own thread
// runs (tests/support/AssertionWatcher.h). A crash that ends the process says its exception, place and test on
// the error output.

#include "app/AppHost.h"
#include "widgets/MessageBoxes.h"
#include "app/StartProgram.h"
#include "tests/support/AssertionWatcher.h"
#include "tests/support/ProcessLock.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

LONG CALLBACK FailOnAccessViolation(EXCEPTION_POINTERS* info)
{
    static const auto* image = reinterpret_cast<const BYTE*>(GetModuleHandleA(nullptr));
    static const DWORD imageSize = [] {
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
        return reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew)->OptionalHeader.SizeOfImage;
    }();
    const EXCEPTION_RECORD& record = *info->ExceptionRecord;
    const auto* at = static_cast<const BYTE*>(record.ExceptionAddress);
    if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && at >= image && at < image + imageSize) {
        char text[96];
        std::snprintf(text, sizeof text, "Access violation at %p reading or writing %p", record.ExceptionAddress,
                      reinterpret_cast<void*>(record.ExceptionInformation[1]));
        ADD_FAILURE() << text;
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// The error mode below ends a crashed process without a word, and Wine's own messages are off in test runs:
// say what ended it and in which test. Written straight to the handle: the crash may hold a stream's lock.
LONG WINAPI ReportUnhandledException(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD& record = *info->ExceptionRecord;
    HMODULE module = nullptr;
    char path[MAX_PATH] = "?";
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCSTR>(record.ExceptionAddress), &module))
        GetModuleFileNameA(module, path, sizeof path);
    const char* slash = std::strrchr(path, '\\');
    const char* name = slash != nullptr ? slash + 1 : path;
    const auto offset = static_cast<unsigned long>(static_cast<const BYTE*>(record.ExceptionAddress) -
                                                   reinterpret_cast<const BYTE*>(module));
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    char text[512];
    const int length = std::snprintf(text, sizeof text, "Unhandled exception 0x%08lx at %s+0x%lx %s%s%s%s\n",
                                     static_cast<unsigned long>(record.ExceptionCode), name, offset,
                                     test ? "in " : "outside any test", test ? test->test_suite_name() : "",
                                     test ? "." : "", test ? test->name() : "");
    DWORD written = 0;
    if (length > 0)
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(std::min<int>(length, sizeof text - 1)),
                  &written, nullptr);
    return EXCEPTION_EXECUTE_HANDLER;
}

// The focus lock of tests/support/ProcessLock.h, opened once: activations are refused while another
// process holds it (this process holding it, or nobody, lets them through).
HANDLE focusLock = nullptr;

LRESULT CALLBACK KeepActivationOfFocusTests(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && focusLock) {
        const DWORD waited = WaitForSingleObject(focusLock, 0);
        if (waited == WAIT_TIMEOUT)
            return 1;
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
            ReleaseMutex(focusLock);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Under Wine a window that shows goes above every other on the display, the window of another test process
// whose pixels are being checked too: a test that shows a top-level window without the focus lock fails.
LRESULT CALLBACK FailUnlockedShow(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGED && FocusTestLock::held == 0 &&
        (reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags & SWP_SHOWWINDOW) &&
        !(GetWindowLongA(call->hwnd, GWL_STYLE) & WS_CHILD) &&
        ::testing::UnitTest::GetInstance()->current_test_info() != nullptr) {
        char name[64] = {};
        GetClassNameA(call->hwnd, name, sizeof name);
        ADD_FAILURE() << "A window of class " << name
                      << " shows without the focus lock (tests/support/ProcessLock.h)";
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

int main(int argc, char** argv)
{
    // A crashing test must end its process, not wait in a system error dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(ReportUnhandledException);
    AddVectoredExceptionHandler(1, FailOnAccessViolation);
    // Tests see the core through the program's host, as the program does, and the program's objects through
    // an application object whose start-up has not run: each test makes what it needs.
    static AppHost host;
    SetHost(&host);
    ProgramApp program;
    SetMessageBoxPresenter(FailOnUnexpectedBox);
    const std::string temp = UseOwnTempDirectory();
    focusLock = CreateMutexA(nullptr, FALSE, FocusTestLockName);
    SetWindowsHookExA(WH_CBT, KeepActivationOfFocusTests, nullptr, GetCurrentThreadId());
    SetWindowsHookExA(WH_CALLWNDPROC, FailUnlockedShow, nullptr, GetCurrentThreadId());
    testing::InitGoogleTest(&argc, argv);
    StartAssertionWatcher();
    const int result = RUN_ALL_TESTS();
    // A failed run keeps its directory: what the failed tests wrote there (screen captures) is to be looked at.
    if (!temp.empty() && result == 0)
        RemoveDirectoryTree(temp);
    return result;
}
