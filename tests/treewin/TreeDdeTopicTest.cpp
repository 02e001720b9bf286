// The tree's DDE topic seen from another program: a small client (see ddeclient/) connects to service
// "KIVO_Node" on a topic, runs the commands of its command line and writes one line per answer. DDE tests
// run one at a time (a named lock); this process serves while it waits for the client.

#include "analysis/RollBackAnalysis.h"
#include "app/StartProgram.h"
#include "framework/window/DdeServerTopic.h"
#include "framework/window/FrameworkApp.h"
#include "model/TreeNode.h"
#include "widgets/DdeLinkManager.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ProgramLinks.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string TempPath(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name;
}

HANDLE ClientProcess = nullptr;

void CALLBACK QuitWhenTheClientEnds(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (WaitForSingleObject(ClientProcess, 0) == WAIT_OBJECT_0) {
        KillTimer(nullptr, timer);
        TheApp->Quit();
    }
}

class TreeDdeTopic : public testing::Test {
protected:
    void SetUp() override
    {
        links = std::make_unique<ProgramLinks>(nullptr, "KIVO_Node");
        // A chance node over 1000 (0.25), 2000 (0.5) and 4000 (0.25), worth 2250; its value is link 1, the
        // middle branch's path probability link 2, and the node's expected value again link 3.
        window = std::make_unique<TreeWindow>();
        TreeDocument& document = window->Document();
        chance = document.AddChild(document.Root, ChanceNode, "c");
        document.AddChild(chance, TerminalNode, "a", "0.25", "1000");
        middle = document.AddChild(chance, TerminalNode, "b", "0.5", "2000");
        document.AddChild(chance, TerminalNode, "d", "0.25", "4000");
        document.LinkIdFor(document.Root, NodeLinkBlock::ExpectedValueLink);
        document.LinkIdFor(middle, NodeLinkBlock::PathProbabilityLink);
        ASSERT_EQ(document.LinkIdFor(chance, NodeLinkBlock::ExpectedValueLink), 3);
        // Path probabilities are written at twice the tree's probability places.
        document.NumberFormat().probDigits = 2;
        zString message;
        ASSERT_TRUE(window->SaveAs(TempPath("kivo-dde-topic.tre").c_str(), message)) << message.Text();
    }
    void TearDown() override
    {
        window.reset();
        links.reset();
        DeleteFileA(TempPath("kivo-dde-topic.tre").c_str());
        DeleteFileA(TempPath("kivo-dde-moved.tre").c_str());
        DeleteFileA(TempPath("kivo-dde-client.txt").c_str());
        DeleteFileA(TempPath("kivo-dde-other.txt").c_str());
    }

    struct Client {
        PROCESS_INFORMATION process{};
        std::string output;
        bool Ended() const { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }
    };

    // Starts the client on the topic with the commands; each client writes its lines to a file named `name`.
    Client StartClient(const std::string& topic, const std::string& commands, const char* name = "kivo-dde-client.txt")
    {
        Client client;
        client.output = TempPath(name);
        DeleteFileA(client.output.c_str());
        std::string commandLine =
            std::string("\"") + KIVO_DDE_CLIENT + "\" \"" + client.output + "\" \"" + topic + "\" " + commands;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        EXPECT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &client.process));
        return client;
    }

    // Serves until the client ends; its lines.
    std::vector<std::string> Finish(Client& client)
    {
        if (client.process.hProcess == nullptr)
            return {};
        EXPECT_TRUE(PumpMessagesUntil([&] { return client.Ended(); }, 60000));
        if (!client.Ended())
            TerminateProcess(client.process.hProcess, 1);
        CloseHandle(client.process.hThread);
        CloseHandle(client.process.hProcess);
        std::vector<std::string> lines;
        std::ifstream file(client.output);
        for (std::string line; std::getline(file, line);)
            lines.push_back(line);
        return lines;
    }

    // Runs the client on the topic with the commands while this process serves; `meanwhile` runs once the
    // condition holds. The client's lines.
    std::vector<std::string> RunClient(const std::string& topic, const std::string& commands,
                                       const std::function<bool()>& condition = nullptr,
                                       const std::function<void()>& meanwhile = nullptr)
    {
        Client client = StartClient(topic, commands);
        if (condition && client.process.hProcess) {
            EXPECT_TRUE(PumpMessagesUntil([&] { return condition() || client.Ended(); }, 30000));
            meanwhile();
        }
        return Finish(client);
    }

    // The item of the tree's topic named `name`; 0 when there is none.
    DdeServerItem* Item(const char* name) const
    {
        DdeServerTopic* topic = DdeServerTopic::FindTopic(window->FilePath().Text());
        return topic ? topic->FindItem(name) : nullptr;
    }

    void RollBack()
    {
        middle->SetPayoffText("3000", 0, false);
        RunAnalysis(std::make_unique<RollBackAnalysis>(&window->Document()));
    }

    DdeTestLock lock;
    std::unique_ptr<ProgramLinks> links;
    std::unique_ptr<TreeWindow> window;
    TreeNode* chance = nullptr;
    TreeNode* middle = nullptr;
};

TEST_F(TreeDdeTopic, RequestsAnswerLinkedValuesAsTextOnly)
{
    const std::vector<std::string> lines =
        RunClient(window->FilePath().Text(), "DDE_3 DDE_2 oem:DDE_3 DDE_ DDE_x DDE_0 DDE_9");
    const std::vector<std::string> expected = {
        "DDE_3=2250", "DDE_2=0.5000",  "DDE_3: no answer", "DDE_: no answer",
        "DDE_x: no answer", "DDE_0: no answer", "DDE_9: no answer",
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(TreeDdeTopic, AdviseLoopGetsTheValueOfEachRollBack)
{
    const auto advising = [&] { return Item("DDE_3") != nullptr; };
    EXPECT_EQ(RunClient(window->FilePath().Text(), "advise:DDE_3", advising, [&] { RollBack(); }),
              std::vector<std::string>{"advise DDE_3=2750"});
}

// Only the tree's link items can be advised on, and a client's loops end with its conversation.
TEST_F(TreeDdeTopic, AdviseLoopsOnlyOnLinkItemsAndUntilTheClientLeaves)
{
    EXPECT_EQ(RunClient(window->FilePath().Text(), "start:DDE_3 start:DDE_x start:DDE_9 start:Made_up"),
              (std::vector<std::string>{"start DDE_3: taken", "start DDE_x: refused", "start DDE_9: refused",
                                        "start Made_up: refused"}));
    EXPECT_EQ(Item("DDE_x"), nullptr);
    EXPECT_TRUE(PumpMessagesUntil([&] { return Item("DDE_3") == nullptr; }));
}

// One client's advise stop leaves another client's loop on the same item running.
TEST_F(TreeDdeTopic, AdviseStopOfOneClientKeepsAnothersLoop)
{
    const std::string path = window->FilePath().Text();
    const auto advising = [&] { return Item("DDE_3") != nullptr; };
    const auto otherStops = [&] {
        Client other = StartClient(path, "stop:DDE_3", "kivo-dde-other.txt");
        EXPECT_EQ(Finish(other), std::vector<std::string>{"stop DDE_3: taken"});
        EXPECT_TRUE(PumpMessagesUntil([&] { return Item("DDE_3") == nullptr || Item("DDE_3")->Loops() == 1; }));
        RollBack();
    };
    EXPECT_EQ(RunClient(path, "advise:DDE_3", advising, otherStops), std::vector<std::string>{"advise DDE_3=2750"});
}

// A message too large for the system's transfer between processes fails the message retrieval once; the
// program's message loop goes on serving and ends only on its quit.
TEST_F(TreeDdeTopic, OversizedExecuteAndPokeLeaveTheMessageLoopRunning)
{
    const std::string path = window->FilePath().Text();
    {
        ScopedApplication app;
        Client client = StartClient(path, "execute:2097152 poke:DDE_3:4194304");
        ClientProcess = client.process.hProcess;
        SetTimer(nullptr, 0, 20, QuitWhenTheClientEnds);
        QuitAfter safety(60000, 99);
        app->RunMessageLoop();
        EXPECT_EQ(app->ExitCode(), 0);
        EXPECT_TRUE(client.Ended());
        EXPECT_EQ(Finish(client), (std::vector<std::string>{"sent 2097152", "sent 4194304"}));
    }
    EXPECT_EQ(RunClient(path, "DDE_3"), std::vector<std::string>{"DDE_3=2250"});
}

TEST_F(TreeDdeTopic, SaveAsMovesTheTopicToTheNewPath)
{
    const std::string old = window->FilePath().Text();
    zString message;
    ASSERT_TRUE(window->SaveAs(TempPath("kivo-dde-moved.tre").c_str(), message)) << message.Text();
    EXPECT_EQ(RunClient(old, "DDE_3"), std::vector<std::string>{"no connection"});
    EXPECT_EQ(RunClient(window->FilePath().Text(), "DDE_3"), std::vector<std::string>{"DDE_3=2250"});
}

} // namespace
