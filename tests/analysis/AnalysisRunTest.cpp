// The analysis run frame: states, one step per idle call, the re-entrancy guard, Escape, progress, the
// stored record and chained successors.

#include "analysis/AnalysisRun.h"
#include "model/StoredAnalysis.h"
#include "analysis/StoredAnalysisKinds.h"
#include "widgets/EscapeKey.h"
#include "widgets/MessageBoxes.h"
#include "app/ProgressWindow.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/IdleList.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace {

// Escape presses queued by the test: each query takes the next answer (none left: not pressed).
class EscapeScript {
public:
    EscapeScript()
    {
        previous = SetEscapeKeySource([this] {
            if (answers.empty())
                return false;
            const bool pressed = answers.front();
            answers.pop_front();
            return pressed;
        });
    }
    ~EscapeScript() { SetEscapeKeySource(previous); }
    std::deque<bool> answers;

private:
    std::function<bool()> previous;
};

struct RunLog {
    std::vector<std::string> events;
    int alive = 0;
};

class CountingRun : public AnalysisRun {
public:
    CountingRun(TreeDocument* document, RunLog& log, int steps, const char* label = "run")
        : AnalysisRun(document), log(log), steps(steps), label(label)
    {
        ++log.alive;
    }
    ~CountingRun() override
    {
        --log.alive;
        log.events.push_back(label + " deleted");
    }
    bool Begin() override
    {
        Start();
        return true;
    }
    const char* Name() const override { return "Counting Analysis"; }
    int Step() override
    {
        ++done;
        log.events.push_back(label + " step");
        if (failAt == done) {
            stopFlag = 1;
            return 1;
        }
        return done >= steps ? 1 : 0;
    }
    void Finish() override
    {
        log.events.push_back(label + " finish");
        if (onFinish)
            onFinish();
    }
    double ProgressPos() override { return done; }
    double ProgressTotal() override { return steps; }
    StoredAnalysis* MakeStoredRecord() override
    {
        StoredAnalysis* record = StoredAnalysis::New();
        record->name = label.c_str();
        return record;
    }

    RunLog& log;
    int steps;
    int done = 0;
    int failAt = 0;
    std::string label;
    std::function<void()> onFinish;
};

void Idle()
{
    TheApp->Idle()->Run();
}

TEST(AnalysisRunFrame, StatesStepsProgressAndRecord)
{
    ScopedApplication app;
    TreeBuilder tree;
    TreeDocument& document = tree.Document();
    RunLog log;
    const long pushedBefore = ProgressWindow::PushedCount();
    const int depthBefore = ProgressWindow::Depth();

    auto* run = new CountingRun(&document, log, 3);
    EXPECT_EQ(document.CurrentAnalysis, run);
    EXPECT_EQ(run->state, AnalysisRun::Created);
    RunAnalysis(std::unique_ptr<AnalysisRun>(run));
    EXPECT_EQ(run->state, AnalysisRun::Running);
    EXPECT_EQ(TheApp->Idle()->Count(), 1);
    EXPECT_EQ(document.SuspendChildRefresh, 1);
    EXPECT_EQ(ProgressWindow::PushedCount(), pushedBefore + 1);
    ASSERT_EQ(ProgressWindow::Depth(), depthBefore + 1);

    // One step per idle call, the bar following the position.
    for (int call = 1; call <= 2; ++call) {
        Idle();
        EXPECT_EQ(run->done, call);
        zString text;
        double position = 0.0;
        double total = 0.0;
        ASSERT_TRUE(ProgressWindow::Top(text, position, total));
        EXPECT_STREQ(text.Text(), "Counting Analysis");
        EXPECT_EQ(position, call);
        EXPECT_EQ(total, 3.0);
    }
    Idle();  // the last step: progress removed, finishing next
    EXPECT_EQ(run->state, AnalysisRun::Finishing);
    EXPECT_EQ(ProgressWindow::Depth(), depthBefore);
    EXPECT_EQ(log.alive, 1);
    Idle();  // finish and delete
    EXPECT_EQ(log.alive, 0);
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"run step", "run step", "run step", "run finish", "run deleted"}));
    EXPECT_EQ(TheApp->Idle()->Count(), 0);
    EXPECT_EQ(document.CurrentAnalysis, nullptr);
    EXPECT_EQ(document.SuspendChildRefresh, 0);
    ASSERT_NE(document.LastAnalysis, nullptr);
    EXPECT_STREQ(document.LastAnalysis->name.Text(), "run");
    EXPECT_EQ(ProgressWindow::PushedCount(), pushedBefore + 1);
}

TEST(AnalysisRunFrame, DefaultStatusText)
{
    TreeBuilder tree;
    RunLog log;
    CountingRun run(&tree.Document(), log, 1);
    zString text;
    EXPECT_STREQ(run.StatusText(text).Text(), "The Counting Analysis is being performed.");
}

TEST(AnalysisRunFrame, FirstStepCompletesThenFinishesOnNextCall)
{
    ScopedApplication app;
    TreeBuilder tree;
    RunLog log;
    const int depthBefore = ProgressWindow::Depth();
    auto* run = new CountingRun(&tree.Document(), log, 1);
    RunAnalysis(std::unique_ptr<AnalysisRun>(run));
    Idle();
    EXPECT_EQ(ProgressWindow::Depth(), depthBefore);
    EXPECT_EQ(log.alive, 1);
    Idle();
    EXPECT_EQ(log.alive, 0);
    EXPECT_EQ(log.events, (std::vector<std::string>{"run step", "run finish", "run deleted"}));
}

TEST(AnalysisRunFrame, EscapeBeforeStartIsDiscardedEscapeDuringRunStops)
{
    ScopedApplication app;
    TreeBuilder tree;
    RunLog log;
    EscapeScript escape;
    escape.answers = {true, false, true};  // pending before Start; then one clear poll; then pressed
    const int depthBefore = ProgressWindow::Depth();
    auto* run = new CountingRun(&tree.Document(), log, 10);
    RunAnalysis(std::unique_ptr<AnalysisRun>(run));
    Idle();
    EXPECT_EQ(run->done, 1);
    Idle();  // Escape: no step, progress removed
    EXPECT_EQ(run->done, 1);
    EXPECT_EQ(run->state, AnalysisRun::Finishing);
    EXPECT_EQ(ProgressWindow::Depth(), depthBefore);
    Idle();
    EXPECT_EQ(log.events, (std::vector<std::string>{"run step", "run deleted"}));
    EXPECT_EQ(tree.Document().LastAnalysis, nullptr);
    EXPECT_EQ(tree.Document().CurrentAnalysis, nullptr);
    EXPECT_EQ(tree.Document().SuspendChildRefresh, 0);
}

TEST(AnalysisRunFrame, FailedStepCountsAsStopped)
{
    ScopedApplication app;
    TreeBuilder tree;
    RunLog log;
    auto* run = new CountingRun(&tree.Document(), log, 5);
    run->failAt = 2;
    RunAnalysis(std::unique_ptr<AnalysisRun>(run));
    for (int i = 0; i < 4; ++i)
        Idle();
    EXPECT_EQ(log.events, (std::vector<std::string>{"run step", "run step", "run deleted"}));
    EXPECT_EQ(tree.Document().LastAnalysis, nullptr);
}

TEST(AnalysisRunFrame, NestedLoopInFinishDoesNotFinishTwice)
{
    ScopedApplication app;
    TreeBuilder tree;
    RunLog log;
    int nestedBoxes = 0;
    MessageBoxPresenter previous = SetMessageBoxPresenter([&](const MessageBoxRequest&) {
        ++nestedBoxes;
        for (int i = 0; i < 3; ++i)
            Idle();  // the box's own message loop calls the idle tasks
        return IDOK;
    });
    auto* run = new CountingRun(&tree.Document(), log, 1);
    run->onFinish = [] { ShowInfoBox(nullptr, "Results are ready.", -1); };
    RunAnalysis(std::unique_ptr<AnalysisRun>(run));
    Idle();
    Idle();
    SetMessageBoxPresenter(previous);
    EXPECT_EQ(nestedBoxes, 1);
    EXPECT_EQ(log.events, (std::vector<std::string>{"run step", "run finish", "run deleted"}));
    EXPECT_EQ(log.alive, 0);
}

// A chain of stored records of a test kind: each starts when the previous run is deleted, whether the
// previous one ended normally or was stopped.
RunLog* chainLog = nullptr;
constexpr int kChainKind = 900;

void RunChainRecord(StoredAnalysis* record, TreeDocument* document)
{
    auto* run = new CountingRun(document, *chainLog, 2, record->name.Text());
    run->caller = record;
    RunAnalysis(std::unique_ptr<AnalysisRun>(run));
}

TEST(AnalysisRunFrame, ChainedRecordsRunOneAfterAnother)
{
    ScopedApplication app;
    TreeBuilder tree;
    RunLog log;
    chainLog = &log;
    RegisterStoredAnalysisKind(kChainKind, RunChainRecord, nullptr);
    EscapeScript escape;
    StoredAnalysis* records[3];
    const char* names[3] = {"first", "second", "third"};
    for (int i = 0; i < 3; ++i) {
        records[i] = StoredAnalysis::New();
        records[i]->kind = kChainKind;
        records[i]->name = names[i];
    }
    records[0]->next = records[1];
    records[1]->next = records[2];
    // Queries in order: first's reset and two polls, second's reset, then second's first poll finds Escape.
    escape.answers = {false, false, false, false, true};
    RunStoredAnalysis(records[0], &tree.Document());
    for (int i = 0; i < 11; ++i)
        Idle();
    EXPECT_EQ(log.events, (std::vector<std::string>{"first step", "first step", "first finish", "first deleted",
                                                    "second deleted", "third step", "third step",
                                                    "third finish", "third deleted"}));
    EXPECT_EQ(records[0]->next, nullptr);
    EXPECT_EQ(records[1]->next, nullptr);
    ASSERT_NE(tree.Document().LastAnalysis, nullptr);
    EXPECT_STREQ(tree.Document().LastAnalysis->name.Text(), "third");
    for (StoredAnalysis* record : records)
        StoredAnalysis::Delete(record);
    RegisterStoredAnalysisKind(kChainKind, nullptr, nullptr);
    chainLog = nullptr;
}

}  // namespace
