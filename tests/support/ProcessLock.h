#pragma once
// A named lock held for the life of the object: serialises tests that share something system-wide (the
// registry's store values, the clipboard) while ctest runs test processes side by side in one Wine prefix.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>

// Waits for the object while answering the messages that other threads send to this thread's windows. A DDE
// connect sends its request to every top-level window of the display and waits for each answer: a process
// blocked here without answering would hold up every connect of the test that holds the lock it waits for.
inline DWORD WaitAnsweringSentMessages(HANDLE object, DWORD deadline = INFINITE)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        const DWORD left = deadline == INFINITE ? INFINITE : (elapsed < deadline ? deadline - elapsed : 0);
        const DWORD woken = MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_SENDMESSAGE);
        if (woken != WAIT_OBJECT_0 + 1)
            return woken;
        // Peeking handles the messages sent meanwhile; nothing posted is taken off the queue.
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// The order the test locks are taken in, outermost first: a test that holds one lock waits only for locks of a
// later rank, so that two test processes never wait for each other (each holding what the other waits for).
enum class LockRank { Dde, Focus, SheetServer, ProgramFiles, Store, SystemSettings, Clipboard, ScreenCheck, Count };

class ProcessLock {
public:
    ProcessLock(const char* name, LockRank rank) : mutex_(CreateMutexA(nullptr, FALSE, name)), rank_(rank)
    {
        for (int later = static_cast<int>(rank) + 1; later < static_cast<int>(LockRank::Count); ++later)
            if (held_[later] > 0)
                ADD_FAILURE() << "The test lock " << name << " is taken while a lock of a later rank is held: "
                              << "take the locks in the order of LockRank (tests/support/ProcessLock.h)";
        if (mutex_)
            WaitAnsweringSentMessages(mutex_);
        ++held_[static_cast<int>(rank_)];
    }
    ~ProcessLock()
    {
        --held_[static_cast<int>(rank_)];
        if (mutex_) {
            ReleaseMutex(mutex_);
            CloseHandle(mutex_);
        }
    }
    ProcessLock(const ProcessLock&) = delete;
    ProcessLock& operator=(const ProcessLock&) = delete;

private:
    HANDLE mutex_;
    LockRank rank_;
    // How many locks of each rank this process holds.
    static inline int held_[static_cast<int>(LockRank::Count)] = {};
};

// Tests that talk DDE, or start the program (which serves the DDE service the tests talk to), run one at a
// time. Under ctest such a test runs with ctest's own lock for them (tests/CMakeLists.txt names their suites),
// so that it never waits here while its time runs out; one that takes this lock without ctest's fails.
class DdeTestLock : public ProcessLock {
public:
    DdeTestLock() : ProcessLock("KIVO-tests-dde", LockRank::Dde)
    {
        const char* locks = std::getenv("KIVO_CTEST_LOCKS");
        if (locks != nullptr && std::strcmp(locks, "dde") != 0)
            ADD_FAILURE() << "The test takes the DDE lock, but ctest runs it beside the others that do: name its "
                             "suite among the DDE tests of tests/CMakeLists.txt";
    }
};

// The system clipboard is one for every process: tests that use it hold this lock.
class ClipboardTestLock : public ProcessLock {
public:
    ClipboardTestLock() : ProcessLock("KIVO-tests-clipboard", LockRank::Clipboard) {}
};

// The program's files beside the test programs (the graph templates) are one for every test process.
class ProgramFilesTestLock : public ProcessLock {
public:
    ProgramFilesTestLock() : ProcessLock("KIVO-tests-program-files", LockRank::ProgramFiles) {}
};

// The active window, the keyboard focus and the screen are one for the whole display: tests that show
// top-level windows hold this lock, so that another test process's window never takes the activation or
// covers a window whose pixels are checked meanwhile (tests/support/TestMain.cpp fails a test that does not).
constexpr const char* FocusTestLockName = "KIVO-tests-focus";

class FocusTestLock : public ProcessLock {
public:
    FocusTestLock() : ProcessLock(FocusTestLockName, LockRank::Focus) { ++held; }
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
