#include "framework/window/FrameworkApp.h"
#include "framework/window/IdleList.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// A task that answers the given results in turn (then 1) and records every call in a shared log.
class ScriptedTask : public EventTarget {
public:
    ScriptedTask(std::string name, std::vector<long> results, std::vector<std::string>& log)
        : name_(std::move(name)), results_(std::move(results)), log_(log)
    {
    }

    long Step()
    {
        log_.push_back(name_);
        const long result = calls_ < results_.size() ? results_[calls_] : 1;
        ++calls_;
        if (onCall)
            onCall();
        return result;
    }

    std::size_t Calls() const { return calls_; }
    std::function<void()> onCall;

private:
    std::string name_;
    std::vector<long> results_;
    std::vector<std::string>& log_;
    std::size_t calls_ = 0;
};

std::string Joined(const std::vector<std::string>& log)
{
    std::string text;
    for (const std::string& entry : log)
        text += entry;
    return text;
}

TEST(IdleList, TasksRunInTheOrderAddedAndFinishedOnesLeave)
{
    std::vector<std::string> log;
    ScriptedTask a("A", {0, 0, 1}, log);
    ScriptedTask b("B", {0, 1}, log);
    IdleList list;
    list.Add(&a, &ScriptedTask::Step);
    list.Add(&b, &ScriptedTask::Step);
    EXPECT_EQ(list.Count(), 2);
    list.Run();
    list.Run();
    EXPECT_EQ(list.Count(), 1);
    list.Run();
    EXPECT_EQ(list.Count(), 0);
    list.Run();
    EXPECT_EQ(Joined(log), "ABABA");
}

TEST(IdleList, TaskAddedDuringAWalkAfterTheCurrentOneRunsInThatWalk)
{
    std::vector<std::string> log;
    IdleList list;
    ScriptedTask late("L", {1}, log);
    ScriptedTask first("F", {1}, log);
    ScriptedTask second("S", {1}, log);
    first.onCall = [&] { list.Add(&late, &ScriptedTask::Step); };
    list.Add(&first, &ScriptedTask::Step);
    list.Add(&second, &ScriptedTask::Step);
    list.Run();
    EXPECT_EQ(Joined(log), "FSL");
    EXPECT_EQ(list.Count(), 0);
}

TEST(IdleList, TaskRemovedDuringAWalkIsNotCalled)
{
    std::vector<std::string> log;
    IdleList list;
    ScriptedTask first("F", {0}, log);
    ScriptedTask second("S", {0}, log);
    first.onCall = [&] { list.Remove(&second, &ScriptedTask::Step); };
    list.Add(&first, &ScriptedTask::Step);
    list.Add(&second, &ScriptedTask::Step);
    list.Run();
    EXPECT_EQ(Joined(log), "F");
    EXPECT_EQ(list.Count(), 1);
}

TEST(IdleList, TaskThatRemovesItselfAndFinishesIsCountedOnce)
{
    std::vector<std::string> log;
    IdleList list;
    ScriptedTask self("X", {1}, log);
    ScriptedTask other("O", {0}, log);
    self.onCall = [&] { list.Remove(&self, &ScriptedTask::Step); };
    list.Add(&self, &ScriptedTask::Step);
    list.Add(&other, &ScriptedTask::Step);
    list.Run();
    EXPECT_EQ(list.Count(), 1);
}

TEST(IdleList, RemoveTakesEveryMatchingTaskAndIgnoresUnknownOnes)
{
    std::vector<std::string> log;
    IdleList list;
    ScriptedTask a("A", {0, 0}, log);
    ScriptedTask b("B", {0, 0}, log);
    list.Add(&a, &ScriptedTask::Step);
    list.Add(&b, &ScriptedTask::Step);
    list.Add(&a, &ScriptedTask::Step);
    list.Remove(&b, &ScriptedTask::Step);
    list.Remove(&b, &ScriptedTask::Step);
    EXPECT_EQ(list.Count(), 2);
    list.Remove(&a, &ScriptedTask::Step);
    EXPECT_EQ(list.Count(), 0);
    list.Run();
    EXPECT_TRUE(log.empty());
}

TEST(IdleList, DisabledListRunsNothing)
{
    std::vector<std::string> log;
    IdleList list;
    ScriptedTask a("A", {0}, log);
    list.Add(&a, &ScriptedTask::Step);
    list.SetEnabled(false);
    list.Run();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(list.Count(), 1);
}

ULONGLONG ThreadCpuMilliseconds()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& time) {
        return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return (ticks(kernel) + ticks(user)) / 10000;
}

TEST(MessageLoop, IdleTaskRunsUntilFinishedThenTheLoopBlocks)
{
    ScopedApplication app;
    std::vector<std::string> log;
    ScriptedTask task("T", {0, 0, 0, 1}, log);
    app->Idle()->Add(&task, &ScriptedTask::Step);
    const ULONGLONG cpuBefore = ThreadCpuMilliseconds();
    const DWORD wallBefore = GetTickCount();
    QuitAfter quit(1500, 3);
    app->RunMessageLoop();
    const DWORD wall = GetTickCount() - wallBefore;
    const ULONGLONG cpu = ThreadCpuMilliseconds() - cpuBefore;
    EXPECT_EQ(task.Calls(), 4u);
    EXPECT_EQ(app->Idle()->Count(), 0);
    EXPECT_EQ(app->ExitCode(), 3);
    EXPECT_GE(wall, 1400u);
    // A blocked loop uses next to no processor time. A loop that kept polling uses about half of the wait
    // under Wine (the other half goes to the server it asks), less on a loaded machine.
    EXPECT_LT(cpu, wall / 8) << "processor " << cpu << " ms in " << wall << " ms";
}

TEST(MessageLoop, QuitMessageEndsTheLoopWithItsCode)
{
    ScopedApplication app;
    PostQuitMessage(7);
    app->RunMessageLoop();
    EXPECT_EQ(app->ExitCode(), 7);
    EXPECT_EQ(app->LoopDepth(), 0);
}

TEST(MessageLoop, QuitEndsTheLoopAlsoWhileIdleTasksRun)
{
    ScopedApplication app;
    std::vector<std::string> log;
    ScriptedTask endless("E", std::vector<long>(100000, 0), log);
    endless.onCall = [&] {
        if (endless.Calls() == 10)
            PostQuitMessage(5);
    };
    app->Idle()->Add(&endless, &ScriptedTask::Step);
    app->RunMessageLoop();
    EXPECT_EQ(endless.Calls(), 10u);
    EXPECT_EQ(app->ExitCode(), 5);
    app->Idle()->Remove(&endless, &ScriptedTask::Step);
}

} // namespace
