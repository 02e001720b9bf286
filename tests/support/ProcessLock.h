#pragma once
// A named lock held for the life of the object: serialises tests that share something system-wide (the
// registry's store values, the clipboard) while ctest runs test processes side by side in one Wine prefix.

#include <windows.h>

class ProcessLock {
public:
    explicit ProcessLock(const char* name) : mutex_(CreateMutexA(nullptr, FALSE, name))
    {
        if (mutex_)
            WaitForSingleObject(mutex_, INFINITE);
    }
    ~ProcessLock()
    {
        if (mutex_) {
            ReleaseMutex(mutex_);
            CloseHandle(mutex_);
        }
    }
    ProcessLock(const ProcessLock&) = delete;
    ProcessLock& operator=(const ProcessLock&) = delete;

private:
    HANDLE mutex_;
};

// The system clipboard is one for every process: tests that use it hold this lock. A test holding both locks
// takes the focus lock first, so that two tests never wait for each other.
class ClipboardTestLock : public ProcessLock {
public:
    ClipboardTestLock() : ProcessLock("KIVO-tests-clipboard") {}
};

// The program's files beside the test programs (the graph templates) are one for every test process.
class ProgramFilesTestLock : public ProcessLock {
public:
    ProgramFilesTestLock() : ProcessLock("KIVO-tests-program-files") {}
};

// The active window, the keyboard focus and the screen are one for the whole display: tests that show
// top-level windows hold this lock, so that another test process's window never takes the activation or
// covers a window whose pixels are checked meanwhile (tests/support/TestMain.cpp fails a test that does not).
constexpr const char* FocusTestLockName = "KIVO-tests-focus";

class FocusTestLock : public ProcessLock {
public:
    FocusTestLock() : ProcessLock(FocusTestLockName) { ++held; }
    ~FocusTestLock() { --held; }
    // How many focus locks this process holds.
    static inline int held = 0;
};

// A fixture lists this base before those that make its windows, so that it holds the focus lock from before
// the first window is made until the last is gone.
struct HoldsFocusTestLock {
    FocusTestLock focusLock;
};

// The real pointer is one for the display too: a fixture that lists this base first holds the focus lock and
// has the pointer off every test window, where no other test moves it meanwhile.
struct HoldsThePointerAway : HoldsFocusTestLock {
    HoldsThePointerAway() { SetCursorPos(2000, 2000); }
};
