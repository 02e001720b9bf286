// The "ScriptMgr" topic driven from another program: the small DDE client of the tree's topic tests (see
// treewin/ddeclient/) runs its commands on service "KIVO_Node" while this process serves. DDE tests run one
// at a time (a named lock).

#include "app/MainFrame.h"
#include "framework/dialog/DialogFrameCL.h"
#include "framework/window/DdeServerTopic.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/IdleList.h"
#include "widgets/DdeLinkManager.h"
#include "model/TreeNode.h"
#include "script/ScriptManager.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScreenCheck.h"
#include "tests/support/ScopedApplication.h"
#include "tests/script/SavedTreeAB.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

std::string TempPath(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name;
}

// The client once it has ended: presses the first branch of the script's open branch dialog.
HANDLE EndingClient = nullptr;
void CALLBACK PressBranchWhenTheClientEnds(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (WaitForSingleObject(EndingClient, 0) != WAIT_OBJECT_0 || DialogFrameCL::ModalStack().empty())
        return;
    KillTimer(nullptr, timer);
    PostMessageA(DialogFrameCL::ModalStack().back()->Handle(), WM_COMMAND, MAKEWPARAM(3232, BN_CLICKED), 0);
}

// What a thread timer does at each tick, also inside a loop of the system's (a menu).
std::function<void()> OnTick;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (OnTick)
        OnTick();
}

class ScriptMgrTopicTest : public testing::Test {
protected:
    ScriptMgrTopicTest()
    {
        frame = new MainFrame;
        frame->EndStartup();
    }
    ~ScriptMgrTopicTest() override
    {
        delete frame;
        for (const char* name : {"kivo-scriptmgr.txt", "kivo-scriptmgr-client.txt", "kivo-scriptmgr-failing.tre",
                                 "kivo-scriptmgr-good.tre"})
            std::remove(TempPath(name).c_str());
    }

    // Starts the client with the commands on the topic "ScriptMgr".
    PROCESS_INFORMATION StartClient(const std::string& commands)
    {
        PROCESS_INFORMATION process{};
        std::string commandLine = std::string("\"") + KIVO_DDE_CLIENT + "\" \"" + TempPath("kivo-scriptmgr-client.txt") +
                                  "\" ScriptMgr " + commands;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        EXPECT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &process));
        return process;
    }
    // Serves until the client ends, with the idle turns of the program's message loop; its lines.
    std::vector<std::string> Finish(PROCESS_INFORMATION& process)
    {
        const auto ended = [&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; };
        EXPECT_TRUE(PumpMessagesUntil(
            [&] {
                TheApp->Idle()->Run();
                return ended();
            },
            60000));
        if (!ended())
            TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        std::vector<std::string> lines;
        std::ifstream file(TempPath("kivo-scriptmgr-client.txt"));
        for (std::string line; std::getline(file, line);)
            lines.push_back(line);
        return lines;
    }
    DdeServerItem* Item(const char* name) const
    {
        DdeServerTopic* topic = DdeServerTopic::FindTopic("ScriptMgr");
        return topic ? topic->FindItem(name) : nullptr;
    }
    std::string Variable(const char* name) const
    {
        std::string value = "(missing)";
        script.GetVariableValue(name, value);
        return value;
    }

    DdeTestLock lock;
    FocusTestLock focus;
    ScopedApplication app;
    MainFrame* frame = nullptr;
    MessageBoxRecorder boxes;
    DdeLinkManager manager{nullptr, "KIVO_Node"};
    ScriptManager script{&manager.Server()};
};

// A command that fails is refused, with no box waiting for a person; a text with a malformed or unknown
// command is refused whole, and nothing of it runs.
TEST_F(ScriptMgrTopicTest, ExecuteRequestAndPokeReachTheScriptVariables)
{
    // The root an end node paying 42: made a chance node and an end node again, it pays 42 still.
    auto* tree = new TreeWindow;
    tree->Document().Root->SetKind(TerminalNode, false);
    tree->Document().Root->SetPayoffText("42", 0, false);
    tree->Show(SW_SHOWNORMAL);
    PROCESS_INFORMATION client = StartClient(
        "Status run:[!SetScriptVar(X,5)] SV_X sv_x set:sv_y=hello SV_Y set:SV_=no set:Made_up=no SV_ SV_none "
        "Made_up run:!Goto(X) run:[!Foo(1)] run:[SetScriptVar(z,1)] run:[!SetScriptVar(z,2)][] "
        "run:[!SetScriptVar(z,3)][Announce(x)] run:[!SetScriptVar(z,4)][!Goto(X)][!SetScriptVar(z,5)] SV_Z "
        "run:[!SelectNode(Z)] run:[!TableVal(a,b,c)] run:[!EndBranch] run:[!CopyNodeVars(1,2,3,4,5)] "
        "run:[!SetScriptVar(a,1) SV_A run:[!SelectRoot][!CopyNodeVars] run:[!SelectRoot][!ChangeNodeType(77)] "
        "run:[!ChangeNodeType(0)] run:[!ChangeNodeType(-1)] run:[!ChangeNodeType(8)] run:[!ChangeNodeType(abc)] "
        "run:[!ChangeNodeType(1)] run:[!ChangeNodeType(3)] set:SV_Q=PPPPP fill:SV_Q=70000 SV_Q fill:SV_R=65535 SV_R fill:SV_R=65534");
    const std::vector<std::string> expected = {
        "Status=Ready", "run [!SetScriptVar(X,5)]: taken", "SV_X=5", "sv_x=5", "set sv_y: taken", "SV_Y=hello",
        "set SV_: refused", "set Made_up: refused", "SV_: no answer", "SV_none: no answer", "Made_up: no answer",
        "run !Goto(X): refused", "run [!Foo(1)]: refused", "run [SetScriptVar(z,1)]: refused",
        "run [!SetScriptVar(z,2)][]: refused", "run [!SetScriptVar(z,3)][Announce(x)]: refused",
        "run [!SetScriptVar(z,4)][!Goto(X)][!SetScriptVar(z,5)]: refused", "SV_Z=4",
        "run [!SelectNode(Z)]: refused", "run [!TableVal(a,b,c)]: refused", "run [!EndBranch]: refused",
        "run [!CopyNodeVars(1,2,3,4,5)]: refused", "run [!SetScriptVar(a,1): refused", "SV_A: no answer",
        "run [!SelectRoot][!CopyNodeVars]: taken", "run [!SelectRoot][!ChangeNodeType(77)]: refused",
        "run [!ChangeNodeType(0)]: refused", "run [!ChangeNodeType(-1)]: refused", "run [!ChangeNodeType(8)]: refused",
        "run [!ChangeNodeType(abc)]: refused", "run [!ChangeNodeType(1)]: taken",
        "run [!ChangeNodeType(3)]: taken",
        // A value longer than a variable holds is refused, and the variable keeps what it had.
        "set SV_Q: taken", "fill SV_Q 70000: refused", "SV_Q=PPPPP", "fill SV_R 65535: refused", "SV_R: no answer",
        "fill SV_R 65534: taken",
    };
    EXPECT_EQ(Finish(client), expected);
    EXPECT_EQ(Variable("r"), std::string(65534, 'x'));
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(tree->Document().Root->kind, TerminalNode);
    EXPECT_STREQ(tree->Document().Root->payoffs[0].Text().Text(), "42");
}

// A client that stops waiting and leaves is never answered: the command runs on, and the program serves the
// next client.
TEST_F(ScriptMgrTopicTest, ClientThatStoppedWaitingIsNeverAnswered)
{
    PROCESS_INFORMATION client = StartClient("hurry:[!Delay(1500)][!SetScriptVar(late,1)]");
    EXPECT_EQ(Finish(client), std::vector<std::string>{"hurry [!Delay(1500)][!SetScriptVar(late,1)]: timed out"});
    EXPECT_TRUE(PumpMessagesUntil(
        [&] {
            TheApp->Idle()->Run();
            return Variable("late") == "1";
        },
        30000));
    PROCESS_INFORMATION next = StartClient("run:[!SetScriptVar(x,2)] SV_X");
    EXPECT_EQ(Finish(next), (std::vector<std::string>{"run [!SetScriptVar(x,2)]: taken", "SV_X=2"}));
}

// An advise loop on a variable, in any letter case, sends each value a command sets, in any letter case.
TEST_F(ScriptMgrTopicTest, AdviseLoopSendsEachNewValue)
{
    PROCESS_INFORMATION client = StartClient("advise:sv_x");
    ASSERT_TRUE(PumpMessagesUntil([&] { return Item("SV_X") != nullptr; }, 30000));
    EXPECT_STREQ(Item("SV_X")->Name().Text(), "SV_X");
    script.ExecuteLine("!SetScriptVar(@x,7)");
    EXPECT_EQ(Finish(client), std::vector<std::string>{"advise sv_x=7"});
}

// While a script file runs (here in its branch dialog) the status is busy, and commands wait in a queue that
// the idle loop runs in order once the file has ended.
TEST_F(ScriptMgrTopicTest, CommandsWaitForTheRunningFileAndRunInOrder)
{
    const std::string path = TempPath("kivo-scriptmgr.txt");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fputs("!SetScriptVar(go,1)\n!BeginBranch(Waiting)\n!Branch(Go,Next)\n!EndBranch\n:Next\n"
               "!CatScriptVar(order,f)\n",
               file);
    std::fclose(file);
    PROCESS_INFORMATION client =
        StartClient("wait:SV_GO run:[!CatScriptVar(order,a)][!CatScriptVar(order,b)] Status");
    EndingClient = client.hProcess;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, PressBranchWhenTheClientEnds);
    script.RunScriptFile(path.c_str());
    KillTimer(nullptr, timer);
    EXPECT_EQ(Variable("order"), "f");
    EXPECT_TRUE(script.IsBusy());
    for (int turn = 0; turn < 10 && TheApp->Idle()->Count() > 0; ++turn)
        TheApp->Idle()->Run();
    EXPECT_EQ(Variable("order"), "fab");
    EXPECT_FALSE(script.IsBusy());
    const std::vector<std::string> expected = {
        "wait SV_GO=1", "run [!CatScriptVar(order,a)][!CatScriptVar(order,b)]: taken", "Status=Busy"};
    EXPECT_EQ(Finish(client), expected);
}

// A stored analysis that goes on from the idle loop is answered once it has ended, as every command is once it
// ran: refused when it failed (with no box), the rest of its execute dropped; taken when it finished, and the
// command after it runs.
TEST_F(ScriptMgrTopicTest, StoredAnalysisIsAnsweredOnceItHasEnded)
{
    const std::string failing = TempPath("kivo-scriptmgr-failing.tre");
    const std::string good = TempPath("kivo-scriptmgr-good.tre");
    SaveTreeAB(failing, "", true);
    SaveTreeAB(good, "0", true);
    const auto text = [](const std::string& tree, const char* variable) {
        return "[!OpenFile(" + tree + ")][!RunStoredAnalysis(" + kStoredSensitivityName + ")][!SetScriptVar(" +
               variable + ",1)]";
    };
    PROCESS_INFORMATION client = StartClient("\"run:" + text(failing, "b") + "\" \"run:" + text(good, "a") + "\"");
    EXPECT_EQ(Finish(client),
              (std::vector<std::string>{"run " + text(failing, "b") + ": refused", "run " + text(good, "a") + ": taken"}));
    EXPECT_TRUE(PumpMessagesUntil([&] {
        TheApp->Idle()->Run();
        return !script.IsBusy();
    }));
    EXPECT_EQ(Variable("b"), "(missing)");
    EXPECT_EQ(Variable("a"), "1");
    EXPECT_EQ(boxes.Count(), 0u);
}

// A command that arrives while a loop of the system's holds the program (a menu or the system menu opened by
// their keys, the frame held by its caption) is refused as busy and never runs, and the status says busy
// meanwhile; once the loop has ended the same command is taken and runs once.
TEST_F(ScriptMgrTopicTest, CommandWhileAMenuIsOpenIsRefusedAsBusyAndNeverRuns)
{
    frame->Show(SW_SHOWNORMAL);
    ScreenOnTop top(frame->Handle());
    SetForegroundWindow(frame->Handle());
    PumpMessagesFor(100);
    RECT frameRect{};
    GetWindowRect(frame->Handle(), &frameRect);
    // A press on the caption: the system's loop that moves the window, until the button is let go.
    const POINT caption{(frameRect.left + frameRect.right) / 2, frameRect.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2};
    const struct {
        const char* loop;
        std::function<void()> open;
        std::function<void()> close;
    } cases[] = {
        {"menu", [] { RealInput::Keys("alt+f"); }, [] { RealInput::Keys("Escape Escape"); }},
        {"system menu", [] { RealInput::Keys("alt+space"); }, [] { RealInput::Keys("Escape Escape"); }},
        {"window moved", [&] { RealInput::Press(caption); }, [] { RealInput::Release(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.loop);
        PROCESS_INFORMATION client{};
        bool started = false;
        bool closed = false;
        const auto ended = [&] { return started && WaitForSingleObject(client.hProcess, 0) == WAIT_OBJECT_0; };
        OnTick = [&] {
            if (!started && ScriptManager::InSystemLoop()) {
                client = StartClient("Status run:[!SetScriptVar(m,during)]");
                started = true;
            } else if (ended() && !closed) {
                c.close();
                closed = true;
            }
        };
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, &Tick);
        c.open();
        EXPECT_TRUE(PumpMessagesUntil([&] { return closed && !ScriptManager::InSystemLoop(); }, 30000));
        KillTimer(nullptr, timer);
        OnTick = nullptr;
        ASSERT_TRUE(started);
        EXPECT_EQ(Finish(client), (std::vector<std::string>{"Status=Busy", "run [!SetScriptVar(m,during)]: busy"}));
        for (int turn = 0; turn < 10; ++turn)
            TheApp->Idle()->Run();
        EXPECT_EQ(Variable("m"), "(missing)");
    }
    PROCESS_INFORMATION after = StartClient("Status run:[!CatScriptVar(m,after)]");
    EXPECT_EQ(Finish(after), (std::vector<std::string>{"Status=Ready", "run [!CatScriptVar(m,after)]: taken"}));
    EXPECT_EQ(Variable("m"), "after");
}

} // namespace
