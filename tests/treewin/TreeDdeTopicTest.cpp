// The tree's DDE topic seen from another program: a small client (see ddeclient/) connects to service
// "KIVO_Node" on a topic, runs the commands of its command line and writes one line per answer. DDE tests
// run one at a time (a named lock); this process serves while it waits for the client.

#include "analysis/RollBackAnalysis.h"
#include "app/StartProgram.h"
#include "framework/window/DdeServerTopic.h"
#include "model/TreeNode.h"
#include "script/DdeLinkManager.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
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

class TreeDdeTopic : public testing::Test {
protected:
    void SetUp() override
    {
        saved = TheLinkManager;
        TheLinkManager = &manager;
        // A chance node over 1000 (0.25), 2000 (0.5) and 4000 (0.25), worth 2250; its value is link 1, the
        // middle branch's path probability link 2, and the node's expected value again link 3.
        window = std::make_unique<TreeWindow>();
        TreeDocument& document = window->Document();
        chance = document.AddChild(document.Root, ChanceNode, "c");
        document.AddChild(chance, TerminalNode, "a", "0.25", "1000");
        middle = document.AddChild(chance, TerminalNode, "b", "0.5", "2000");
        document.AddChild(chance, TerminalNode, "d", "0.25", "4000");
        document.LinkIdFor(document.Root, 1605);
        document.LinkIdFor(middle, 1606);
        ASSERT_EQ(document.LinkIdFor(chance, 1605), 3);
        // Path probabilities are written at twice the tree's probability places.
        document.NumberFormat.probDigits = 2;
        zString message;
        ASSERT_TRUE(window->SaveAs(TempPath("kivo-dde-topic.tre").c_str(), message)) << message.Text();
    }
    void TearDown() override
    {
        window.reset();
        TheLinkManager = saved;
        DeleteFileA(TempPath("kivo-dde-topic.tre").c_str());
        DeleteFileA(TempPath("kivo-dde-moved.tre").c_str());
    }

    // Runs the client on the topic with the commands while this process serves; `meanwhile` runs once the
    // condition holds. The client's lines.
    std::vector<std::string> RunClient(const std::string& topic, const std::string& commands,
                                       const std::function<bool()>& condition = nullptr,
                                       const std::function<void()>& meanwhile = nullptr)
    {
        const std::string output = TempPath("kivo-dde-client.txt");
        DeleteFileA(output.c_str());
        std::string commandLine =
            std::string("\"") + KIVO_DDE_CLIENT + "\" \"" + output + "\" \"" + topic + "\" " + commands;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION client{};
        EXPECT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &client));
        if (client.hProcess == nullptr)
            return {};
        const auto ended = [&] { return WaitForSingleObject(client.hProcess, 0) == WAIT_OBJECT_0; };
        if (condition) {
            EXPECT_TRUE(PumpMessagesUntil([&] { return condition() || ended(); }, 30000));
            meanwhile();
        }
        EXPECT_TRUE(PumpMessagesUntil(ended, 60000));
        if (!ended())
            TerminateProcess(client.hProcess, 1);
        CloseHandle(client.hThread);
        CloseHandle(client.hProcess);
        std::vector<std::string> lines;
        std::ifstream file(output);
        for (std::string line; std::getline(file, line);)
            lines.push_back(line);
        return lines;
    }

    ProcessLock lock{"KIVO-tests-dde"};
    DdeLinkManager manager{nullptr, "KIVO_Node"};
    DdeLinkManager* saved = nullptr;
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
    const std::string path = window->FilePath().Text();
    const auto advising = [&] {
        DdeServerTopic* topic = DdeServerTopic::FindTopic(path.c_str());
        return topic != nullptr && topic->FindItem("DDE_3") != nullptr;
    };
    const auto rollBack = [&] {
        middle->SetPayoffText("3000", 0, false);
        (new RollBackAnalysis(&window->Document(), static_cast<AnalysisCaller*>(nullptr)))->Run();
    };
    EXPECT_EQ(RunClient(path, "advise:DDE_3", advising, rollBack), std::vector<std::string>{"advise DDE_3=2750"});
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
