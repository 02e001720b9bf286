#include "tests/support/AssertionWatcher.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

namespace {

// Threads of this process that have begun to run, counted by a thread-local storage callback of the
// program, which every new thread calls as it starts.
volatile LONG startedThreads = 0;

void NTAPI CountStartedThread(PVOID, DWORD reason, PVOID)
{
    if (reason == DLL_THREAD_ATTACH)
        InterlockedIncrement(&startedThreads);
}

int ThreadsOfThisProcess()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    CloseHandle(snapshot);
    return count;
}

} // namespace

extern "C" __attribute__((section(".CRT$XLK"), used)) const PIMAGE_TLS_CALLBACK kivoCountStartedThread =
    CountStartedThread;

void StartAssertionWatcher()
{
    const LONG startedBefore = startedThreads;
    const int before = ThreadsOfThisProcess();
    {
        // Setting this thread's result reporter is what starts the watching thread.
        testing::TestPartResultArray ignored;
        testing::ScopedFakeTestPartResultReporter reporter(&ignored);
    }
    const int created = ThreadsOfThisProcess() - before;
    for (int waited = 0; created > 0 && startedThreads - startedBefore < created && waited < 10000; ++waited)
        Sleep(1);
}
