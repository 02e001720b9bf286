// kivo_program_probe: the two halves of the program benchmark (tools/program-bench.sh).
//   write DIR [LINKED]  writes, with the program's own writers, the trees and the script the run uses; with
//                   LINKED (a tree whose DDE links name a program that does not run), also a script of 200
//                   copies of it;
//   run KIVO DIR    starts the program (KIVO, a path to kivo.exe) on them, sends each step as the menu sends
//                   it, and times the step from outside until the frame answers again, with the longest time
//                   the frame took to answer a message during the step.
//                   PART "script-status" runs the 200-window script while another program asks the
//                   program's "Status" once a second over DDE, and adds how many asks it answered and
//                   its slowest answer; "linked" and "linked-status" do the same with the linked copies;
//   write-large DIR N    writes a tree of N million nodes as DIR\largeN.tre;
//   large KIVO DIR NAME  times the program's open of DIR\NAME.tre (until its window answers, or until the
//                        box that refuses it).
// It prints one line a figure: "figure NAME SECONDS worst SECONDS".

#include "bench/BenchProgramTrees.h"

#include "app/StartProgram.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <windows.h>
#include <ddeml.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

namespace {

constexpr int kScriptWindows = 200;
constexpr int kTrials = 32000;

double Now()
{
    using Clock = std::chrono::steady_clock;
    static const Clock::time_point start = Clock::now();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

bool SaveTree(TreeWindow& tree, const std::string& path)
{
    zString message;
    if (tree.SaveAs(path.c_str(), message))
        return true;
    std::printf("%s could not be saved: %s\n", path.c_str(), message.Text());
    return false;
}

// A script opening 200 copies of the tree, named by the letter and a number.
bool WriteScript(const std::string& dir, const std::string& tree, char letter, const char* scriptName)
{
    std::string script;
    for (int i = 1; i <= kScriptWindows; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\%c%03d.tre", letter, i);
        if (!CopyFileA(tree.c_str(), (dir + name).c_str(), FALSE))
            return false;
        script += "!OpenFile(\"" + dir + name + "\")\n";
    }
    std::FILE* file = std::fopen((dir + "\\" + scriptName).c_str(), "wb");
    if (file == nullptr)
        return false;
    std::fputs(script.c_str(), file);
    std::fclose(file);
    return true;
}

int Write(const std::string& dir, const std::string& linked)
{
    ProgramApp program;
    {
        TreeWindow tree;
        GrowFileBenchTree(tree.Document(), 1000);
        if (!SaveTree(tree, dir + "\\million.tre"))
            return 1;
    }
    {
        TreeWindow tree;
        std::printf("Monte Carlo tree of %d nodes\n", GrowMonteCarloBenchTree(tree.Document()));
        if (!SaveTree(tree, dir + "\\montecarlo.tre"))
            return 1;
    }
    {
        TreeWindow tree;
        TreeDocument& document = tree.Document();
        TreeNode* chance = document.AddChild(document.Root, ChanceNode, "event");
        document.AddChild(chance, TerminalNode, "A", "0.3", "100");
        document.AddChild(chance, TerminalNode, "B", "#", "0");
        document.AddChild(document.Root, TerminalNode, "C", "", "40");
        if (!SaveTree(tree, dir + "\\window.tre"))
            return 1;
    }
    if (!WriteScript(dir, dir + "\\window.tre", 'w', "windows.txt"))
        return 1;
    return linked.empty() || WriteScript(dir, linked, 'l', "linked.txt") ? 0 : 1;
}

struct WindowSearch {
    DWORD pid;
    const char* className;
    int childId;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data)
{
    auto& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (pid != search.pid || std::strncmp(name, search.className, std::strlen(search.className)) != 0 ||
        !IsWindowVisible(window))
        return TRUE;
    if (search.childId != 0 && GetDlgItem(window, search.childId) == nullptr)
        return TRUE;
    search.found = window;
    return FALSE;
}

// The first window of the class below the parent, at any depth.
HWND FindDescendant(HWND parent, const char* className)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = "";
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, className) == 0)
            return child;
        if (HWND found = FindDescendant(child, className))
            return found;
    }
    return nullptr;
}

BOOL CALLBACK FindUnpainted(HWND window, LPARAM found)
{
    if (!IsWindowVisible(window) || !GetUpdateRect(window, nullptr, FALSE))
        return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

// True when no window below the frame waits to be painted. The program answers what is sent to it during
// a long step but paints nothing: painted again, it is back in its message loop.
bool Painted(HWND frame)
{
    bool unpainted = false;
    EnumChildWindows(frame, FindUnpainted, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

// The program under test: its process, its frame, and a thread that keeps sending the frame WM_NULL and keeps
// the longest answer.
struct Program {
    PROCESS_INFORMATION process{};
    std::atomic<HWND> frame{nullptr};
    std::atomic<bool> stopping{false};
    std::atomic<double> worst{0.0};
    std::thread pinger;

    bool Start(const std::string& kivo, const std::string& arguments)
    {
        std::string line = "\"" + kivo + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
            std::printf("%s did not start\n", kivo.c_str());
            return false;
        }
        pinger = std::thread([this] { Ping(); });
        return true;
    }

    void Ping()
    {
        while (!stopping) {
            const HWND window = frame;
            if (window == nullptr) {
                Sleep(5);
                continue;
            }
            const double sent = Now();
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &result))
                break;
            const double took = Now() - sent;
            double seen = worst;
            while (took > seen && !worst.compare_exchange_weak(seen, took)) {
            }
            Sleep(10);
        }
    }

    bool Running() const { return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; }

    // The top-level window of the process of that class (or one numbered after it) that has a child of that
    // id (0: any).
    HWND FindTop(const char* className, int childId) const
    {
        WindowSearch search{process.dwProcessId, className, childId, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    // Answers "No" to a question box of the process (the start-up's offer to make a folder, a question to
    // save); true when there was one.
    bool AnswerNo() const
    {
        const HWND box = FindTop("#32770", IDNO);
        if (box == nullptr)
            return false;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDNO)));
        Sleep(20);
        return true;
    }

    // Presses OK on a message box of the process that offers no "No"; true when there was one.
    bool AnswerOk() const
    {
        const HWND box = FindTop("#32770", IDOK);
        if (box == nullptr || GetDlgItem(box, IDNO) != nullptr)
            return false;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
        return true;
    }

    // Waits for a window of the process, answering questions on the way; null when the process ended first.
    HWND WaitTop(const char* className, int childId) const
    {
        for (;;) {
            if (HWND window = FindTop(className, childId))
                return window;
            if (!Running())
                return nullptr;
            AnswerNo();
            Sleep(5);
        }
    }

    // Waits for a window of the frame's of that class (or one numbered after it) with a child of that id; null
    // when the process ended first.
    HWND WaitFrameChild(const char* className, int childId) const
    {
        for (;;) {
            const HWND client = FindDescendant(frame, "MDICLIENT");
            for (HWND child = GetWindow(client, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
                char name[64] = "";
                GetClassNameA(child, name, sizeof name);
                if (std::strncmp(name, className, std::strlen(className)) == 0 && GetDlgItem(child, childId) != nullptr)
                    return child;
            }
            if (!Running())
                return nullptr;
            AnswerNo();
            Sleep(5);
        }
    }

    int DocumentWindows() const
    {
        const HWND client = FindDescendant(frame, "MDICLIENT");
        int count = 0;
        for (HWND child = GetWindow(client, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
            ++count;
        return count;
    }

    // Waits until the frame answers within 0.1 s twice in a row, 30 ms apart (so a repaint under way is
    // waited for); the time the first of those answers was asked for.
    double WaitAnswered() const
    {
        double quickSince = -1.0;
        for (;;) {
            const double sent = Now();
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &result))
                return sent;
            if (Now() - sent < 0.1) {
                if (quickSince >= 0.0)
                    return quickSince;
                quickSince = sent;
            } else {
                quickSince = -1.0;
            }
            Sleep(30);
        }
    }

    // Closes the frame and waits for the process to end, answering "No" to a question to save.
    void Close()
    {
        PostMessageA(frame, WM_CLOSE, 0, 0);
        while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT)
            AnswerNo();
        stopping = true;
        frame = nullptr;
        pinger.join();
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    // A step's figures: from `begun` until the frame answered again.
    void Report(const char* name, double begun, double ended)
    {
        std::printf("figure %s %.2f worst %.2f\n", name, ended - begun, worst.load());
        std::fflush(stdout);
    }
};

// Starts the program with the arguments and waits for its frame, then for `windows` document windows and
// an answering frame. The step's start is the process's.
bool StartAndOpen(Program& program, const std::string& kivo, const std::string& arguments, int windows,
                  const char* figure)
{
    const double begun = Now();
    if (!program.Start(kivo, arguments))
        return false;
    program.frame = program.WaitTop("MDIframeCL", 0);
    if (program.frame == nullptr)
        return false;
    std::printf("note frame %.2f\n", Now() - begun);
    std::fflush(stdout);
    while (program.DocumentWindows() < windows) {
        if (!program.Running())
            return false;
        program.AnswerNo();
        Sleep(5);
    }
    // A window shows while its file is read, and takes the file's name once the tree is whole: the frame
    // answers meanwhile.
    const HWND client = FindDescendant(program.frame, "MDICLIENT");
    while (windows > 0 && GetWindowTextLengthA(GetWindow(client, GW_CHILD)) == 0) {
        if (!program.Running())
            return false;
        Sleep(5);
    }
    while (!Painted(program.frame) && program.Running())
        Sleep(5);
    std::printf("note windows %.2f\n", Now() - begun);
    std::fflush(stdout);
    program.Report(figure, begun, program.WaitAnswered());
    // The frame takes no command while its start-up box shows: the next step waits for the box to go.
    while (program.FindTop("DialogFrameCL", 0) != nullptr && program.Running())
        Sleep(5);
    program.WaitAnswered();
    return true;
}

// Sends a menu command to the frame as the menu does and waits for the frame to answer again. A box the
// command shows on the way (say, that the tree has several optimal paths) is answered as a person would: No
// to a question, OK to a notice; its few milliseconds count in the step.
void Command(Program& program, unsigned id, const char* figure)
{
    program.worst = 0.0;
    const double begun = Now();
    std::atomic<bool> sent{false};
    std::thread sender([&] {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(program.frame, WM_COMMAND, id, 0, SMTO_NORMAL, 1200000, &result);
        sent = true;
    });
    while (!sent) {
        if (!program.AnswerNo())
            program.AnswerOk();
        Sleep(20);
    }
    sender.join();
    program.Report(figure, begun, program.WaitAnswered());
}

void CloseFrame(Program& program, const char* figure)
{
    program.worst = 0.0;
    const double begun = Now();
    program.Close();
    std::printf("figure %s %.2f\n", figure, Now() - begun);
}

// A tree of `millions` million nodes (and one), written as the million-node tree is.
int WriteLarge(const std::string& dir, int millions)
{
    ProgramApp program;
    TreeWindow tree;
    // The million-node tree's chance nodes, a thousand under each of `millions` groups: a node holds at most
    // 1000 branches.
    TreeDocument& document = tree.Document();
    document.EnsureVariable("COST", "12.5");
    document.EnsureVariable("RATE", "0.03");
    document.EnsureVariable("GAIN", "COST*(1+RATE)");
    for (int group = 0; group < millions; ++group) {
        TreeNode* parent = document.AddChild(document.Root, ChanceNode, "group", group + 1 < millions ? "0.1" : "#");
        for (int c = 0; c < 1000; ++c) {
            TreeNode* chance = document.AddChild(parent, ChanceNode, "strategy", c + 1 < 1000 ? "0.001" : "#");
            chance->SetBinding("RATE", c % 2 == 0 ? "0.03+0.001*2" : "0.05", false);
            for (int t = 0; t < 999; ++t)
                document.AddChild(chance, TerminalNode, "outcome", t + 1 < 999 ? "1/999" : "#", "GAIN-COST*RATE+2");
        }
    }
    return SaveTree(tree, dir + "\\large" + std::to_string(millions) + ".tre") ? 0 : 1;
}

// Opens a large tree as a person does, from the command line: the time until its window answers, or until
// the box refusing it shows.
bool RunLarge(const std::string& kivo, const std::string& dir, const std::string& name)
{
    Program program;
    const double begun = Now();
    if (!program.Start(kivo, "-t \"" + dir + "\\" + name + ".tre\""))
        return false;
    program.frame = program.WaitTop("MDIframeCL", 0);
    if (program.frame == nullptr)
        return false;
    for (;;) {
        if (!program.Running()) {
            std::printf("figure %s-ended %.2f\n", name.c_str(), Now() - begun);
            return false;
        }
        if (program.AnswerOk()) {
            std::printf("figure %s-refused %.2f\n", name.c_str(), Now() - begun);
            break;
        }
        // The window shows while the file is read; it takes the file's name when the tree is whole.
        const HWND client = FindDescendant(program.frame, "MDICLIENT");
        const HWND window = client != nullptr ? GetWindow(client, GW_CHILD) : nullptr;
        if (window != nullptr && GetWindowTextLengthA(window) > 0) {
            // Measured for the screen, a tree read whole may still be refused.
            const double answered = program.WaitAnswered();
            Sleep(500);
            if (program.AnswerOk())
                std::printf("figure %s-refused %.2f\n", name.c_str(), answered - begun);
            else
                program.Report(name.c_str(), begun, answered);
            break;
        }
        Sleep(20);
    }
    CloseFrame(program, ("close-" + name).c_str());
    return true;
}

bool RunMillion(const std::string& kivo, const std::string& dir)
{
    Program program;
    if (!StartAndOpen(program, kivo, "-t \"" + dir + "\\million.tre\"", 1, "open"))
        return false;
    Command(program, Cmd::AnalysisRollBack, "rollback");
    Command(program, Cmd::FileSave, "save");
    CloseFrame(program, "close-tree");
    return true;
}

bool RunMonteCarlo(const std::string& kivo, const std::string& dir)
{
    Program program;
    if (!StartAndOpen(program, kivo, "-t \"" + dir + "\\montecarlo.tre\"", 1, "open-montecarlo"))
        return false;
    // The run is on the selected node: the root, selected as a person does with Ctrl+Home.
    SetForegroundWindow(program.frame);
    INPUT keys[4] = {};
    const WORD order[4] = {VK_CONTROL, VK_HOME, VK_HOME, VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = order[i];
        keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, keys, sizeof(INPUT));
    Sleep(100);
    program.WaitAnswered();
    PostMessageA(program.frame, WM_COMMAND, Cmd::AnalysisMonteCarloSimulation, 0);
    const HWND setup = program.WaitTop("DialogFrameCL", 2423);
    if (setup == nullptr)
        return false;
    SetWindowTextA(GetDlgItem(setup, 2423), std::to_string(kTrials).c_str());
    program.worst = 0.0;
    const double begun = Now();
    PostMessageA(setup, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(setup, IDOK)));
    const HWND progress = program.WaitFrameChild("MDIdialogCL", 3928);
    if (progress == nullptr)
        return false;
    while (!IsWindowEnabled(GetDlgItem(progress, IDOK)) && program.Running())
        Sleep(5);
    program.Report("montecarlo", begun, program.WaitAnswered());
    PostMessageA(progress, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(progress, IDOK)));
    CloseFrame(program, "close-montecarlo");
    return true;
}

// Another program that asks the program's script manager for its "Status" once a second, as a client program
// does: a DDE instance and a conversation of its own each time, each ask waiting up to 60 s for its answer.
class StatusAsker {
public:
    static HDDEDATA CALLBACK NoCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

    StatusAsker() : thread_([this] { Ask(); }) {}
    ~StatusAsker() { Stop(); }
    void Stop()
    {
        stopping_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    // The mean and the slowest are of the answered asks: a refused connect would pull the mean down, an
    // ask left unanswered counts among the asks only.
    void Report(const char* figure) const
    {
        std::printf("figure %s-asked %d\nfigure %s-answered %d\nfigure %s-mean-answer %.2f\n"
                    "figure %s-slowest-answer %.2f\n",
                    figure, asked_.load(), figure, answered_.load(), figure,
                    answered_ > 0 ? total_.load() / answered_ : 0.0, figure, slowest_.load());
    }

private:
    // One ask as a client program makes it: an instance of its own, a conversation, the request.
    bool AskOnce()
    {
        DWORD instance = 0;
        if (DdeInitializeA(&instance, NoCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
            return false;
        const HSZ service = DdeCreateStringHandleA(instance, "KIVO_Node", CP_WINANSI);
        const HSZ topic = DdeCreateStringHandleA(instance, "ScriptMgr", CP_WINANSI);
        const HSZ item = DdeCreateStringHandleA(instance, "Status", CP_WINANSI);
        bool answered = false;
        if (const HCONV conversation = DdeConnect(instance, service, topic, nullptr)) {
            DWORD result = 0;
            if (HDDEDATA answer =
                    DdeClientTransaction(nullptr, 0, conversation, item, CF_TEXT, XTYP_REQUEST, 60000, &result)) {
                answered = true;
                DdeFreeDataHandle(answer);
            }
            DdeDisconnect(conversation);
        }
        for (HSZ handle : {service, topic, item})
            DdeFreeStringHandle(instance, handle);
        DdeUninitialize(instance);
        return answered;
    }

    void Ask()
    {
        while (!stopping_) {
            const double sent = Now();
            ++asked_;
            if (AskOnce()) {
                const double took = Now() - sent;
                ++answered_;
                slowest_ = std::max(slowest_.load(), took);
                total_ = total_ + took;
            }
            for (double next = sent + 1.0; !stopping_ && Now() < next;)
                Sleep(10);
        }
    }

    std::atomic<bool> stopping_{false};
    std::atomic<int> asked_{0};
    std::atomic<int> answered_{0};
    std::atomic<double> slowest_{0.0};
    std::atomic<double> total_{0.0};
    std::thread thread_;
};

// The 200-window script from the command line, timed until the frame answers with every window open; with
// `asked`, another program asks for the script manager's status meanwhile.
bool RunScript(const std::string& kivo, const std::string& dir, bool asked, bool linked = false)
{
    const char* figure = linked ? (asked ? "linked-status" : "linked") : asked ? "script-status" : "script";
    if (!asked && !linked) {
        Program program;
        if (!StartAndOpen(program, kivo, "-t", 0, "start"))
            return false;
        CloseFrame(program, "close-empty");
    }
    Program scripted;
    const double begun = Now();
    if (!scripted.Start(kivo, "-t -^ \"" + dir + (linked ? "\\linked.txt\"" : "\\windows.txt\"")))
        return false;
    scripted.frame = scripted.WaitTop("MDIframeCL", 0);
    if (scripted.frame == nullptr)
        return false;
    std::unique_ptr<StatusAsker> asker;
    if (asked)
        asker = std::make_unique<StatusAsker>();
    double previous = begun;
    for (int reached = 50; reached <= kScriptWindows; reached += 50) {
        while (scripted.DocumentWindows() < reached) {
            if (!scripted.Running())
                return false;
            scripted.AnswerNo();
            Sleep(5);
        }
        const double now = Now();
        std::printf("figure %s-windows-%d-%d %.2f\n", figure, reached - 49, reached, now - previous);
        previous = now;
    }
    scripted.Report(figure, begun, scripted.WaitAnswered());
    if (asker) {
        asker->Stop();
        asker->Report(figure);
    }
    CloseFrame(scripted, "close-windows");
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "write") == 0)
        return Write(argv[2], argc == 4 ? argv[3] : "");
    if (argc == 4 && std::strcmp(argv[1], "write-large") == 0)
        return WriteLarge(argv[2], std::atoi(argv[3]));
    if (argc == 5 && std::strcmp(argv[1], "large") == 0)
        return RunLarge(argv[2], argv[3], argv[4]) ? 0 : 1;
    if (argc < 4 || std::strcmp(argv[1], "run") != 0) {
        std::printf("usage: kivo_program_probe write DIR | write-large DIR MILLIONS | large KIVO DIR NAME"
                    " | run KIVO DIR [million|montecarlo|script|script-status|linked|linked-status]...\n");
        return 2;
    }
    const std::string kivo = argv[2];
    const std::string dir = argv[3];
    const auto wanted = [&](const char* part) {
        if (argc == 4)
            return true;
        for (int i = 4; i < argc; ++i)
            if (std::strcmp(argv[i], part) == 0)
                return true;
        return false;
    };
    bool ran = true;
    if (wanted("million"))
        ran = RunMillion(kivo, dir) && ran;
    if (wanted("montecarlo"))
        ran = RunMonteCarlo(kivo, dir) && ran;
    if (wanted("script"))
        ran = RunScript(kivo, dir, false) && ran;
    if (argc > 4 && wanted("script-status"))
        ran = RunScript(kivo, dir, true) && ran;
    if (argc > 4 && wanted("linked"))
        ran = RunScript(kivo, dir, false, true) && ran;
    if (argc > 4 && wanted("linked-status"))
        ran = RunScript(kivo, dir, true, true) && ran;
    return ran ? 0 : 1;
}
