// Document links: formulas read a link's value with Sub(n), from the value another program sent or from a
// side file; and two programs exchange a node's value through a live DDE link. DDE tests run one at a time
// (a named lock).

#include "analysis/TreeEngines.h"
#include "app/MainFrame.h"
#include "app/StartProgram.h"
#include "framework/window/Clipboard.h"
#include "model/DocumentLink.h"
#include "model/TreeNode.h"
#include "widgets/DdeLinkManager.h"
#include "widgets/DocumentLinks.h"
#include "widgets/LinksDialog.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ProgramLinks.h"
#include "tests/support/ProgramProcess.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A chance root over A (probability typed, payoff 100) and B (the rest, payoff 0), with link 1 holding a
// value and link 2 a side file.
struct LinkedFormulaTree {
    ScopedApplication app;
    TreeWindow window;
    TreeDocument& document = window.Document();
    TreeNode* a;

    explicit LinkedFormulaTree(const std::string& sideFile)
    {
        document.Root->SetKind(ChanceNode, false);
        a = document.AddChild(document.Root, TerminalNode, "A", "0", "100");
        document.AddChild(document.Root, TerminalNode, "B", "#", "0");
        CreateDdeLink(document.DocumentLinks, "Nobody", "Topic", "Item", "");
        auto side = std::make_unique<DocumentLink>(2);
        side->kind = DocumentLink::SideFileKind;
        side->sideFile = FilePath(sideFile.c_str());
        side->WriteSideFile("0.4", window.FilePathObject());
        document.DocumentLinks.InsertSorted(side.release());
    }
    // The root's value with the probability of A; the failure's text when the roll back failed.
    std::string RollBackWith(const char* probability, const char* linkValue)
    {
        document.DocumentLinks.Find(1)->SetValue(linkValue);
        window.SelectNode(a, 1, nullptr, false);
        window.SetFieldText(2, zString(probability), false);
        RollBackResult result = RollBackDocument(document);
        if (result.outcome.code != OutcomeCode::Done)
            return result.outcome.text.Text();
        char text[32];
        std::snprintf(text, sizeof text, "%g", result.root.value);
        return text;
    }
};

TEST(DocumentLinks, FormulasReadTheLinkValueOrSideFileAndNameTheirFaults)
{
    const std::string sideFile = TempFilePath("kivo-link-side.lnk"), tree = TempFilePath("kivo-link-side.tre");
    const std::string publishedFile = TempFilePath("kivo-link-published.lnk");
    {
        LinkedFormulaTree t(sideFile);
        struct Case {
            const char* probability;
            const char* linkValue;
            const char* result;
        } cases[] = {
            {"Sub(1)", "0.25\r\n", "25"},
            {"Sub(2)", "", "40"},
            {"Sub(3)", "0.25", "Undefined link number SUB(3). Unable to evaluate probability of node \"A\"."},
            {"Sub(1)", "", "Link item SUB(1) empty or not found. Unable to evaluate probability of node \"A\"."},
            {"Sub(1)", "n/a", "Unable to parse text of link item SUB(1). See the Links dialog for the actual text. "
                              "Unable to evaluate probability of node \"A\"."},
        };
        for (const Case& c : cases)
            EXPECT_EQ(t.RollBackWith(c.probability, c.linkValue), c.result) << c.probability << " " << c.linkValue;
        // Stored with its tree, the side file stays and the tree reopens reading it.
        t.RollBackWith("Sub(2)", "");
        // A value the tree publishes through a side file names the tree's new path once it is saved there.
        DocumentLink* published = t.document.LinkItems.AddNew();
        published->kind = DocumentLink::SideFileKind;
        published->sideFile = FilePath(publishedFile.c_str());
        published->WriteSideFile("7", t.window.FilePathObject());
        zString message;
        ASSERT_TRUE(t.window.SaveAs(tree.c_str(), message));
        std::ifstream written(publishedFile, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
        EXPECT_NE(bytes.find("kivo-link-side.tre"), std::string::npos);
        zString value;
        published->GetItemText(value);
        EXPECT_STREQ(value.Text(), "7");
        // A node's expected value published through a side file is written there at each roll back.
        DocumentLink* expected = t.document.FindLinkEntry(t.document.LinkIdFor(t.a, NodeLinkBlock::ExpectedValueLink));
        expected->kind = DocumentLink::SideFileKind;
        expected->sideFile = FilePath(publishedFile.c_str());
        t.RollBackWith("0.5", "0.25");
        expected->GetItemText(value);
        EXPECT_STREQ(value.Text(), "100");
    }
    ASSERT_TRUE(Exists(sideFile));
    {
        ScopedApplication app;
        TreeWindow reopened(tree.c_str());
        EXPECT_NEAR(RollBackDocument(reopened.Document()).root.value, 40.0, 1e-12);
    }
    // A side file that no stored tree names goes with its link.
    { LinkedFormulaTree unsaved(sideFile); }
    EXPECT_FALSE(Exists(sideFile));
    DeleteFileA(tree.c_str());
    DeleteFileA(publishedFile.c_str());
}

// A value equal to the item's last one reaches no link: documents linked both ways do not echo for ever.
TEST(DocumentLinks, OnlyAChangedValueReachesTheLinks)
{
    DdeTestLock lock;
    ScopedApplication app;
    struct Counter : DocumentLinkListener {
        int arrived = 0;
        void LinkValueArrived(DocumentLink&) override { ++arrived; }
    } counter;
    DdeLinkManager manager{nullptr, "KIVO_Test"};
    DocumentLinkList links;
    links.listener = &counter;
    CreateDdeLink(links, "KIVO_Absent", "Topic", "Item", "");
    DdeLinkItem& item = *manager.FindConversation("KIVO_Absent", "Topic")->items.at(0);
    const int before = counter.arrived;
    for (const char* value : {"5", "5", "6"})
        item.Receive(value);
    EXPECT_EQ(counter.arrived - before, 2);
    EXPECT_STREQ(links.At(0)->value.Text(), "6");
}

std::vector<std::string> RunClient(const char* topic, const std::string& commands)
{
    return RunDdeClient(KIVO_DDE_CLIENT, topic, commands);
}

// This process is the second program: its tree reads, in a probability, the first program's root value
// through a link pasted from the clipboard. The first program is driven over its "ScriptMgr" topic.
TEST(DocumentLinks, TwoProgramsExchangeANodeValueThroughALiveLink)
{
    DdeTestLock lock;
    // The started program's frame and splash take the activation and the top from other tests' windows.
    FocusTestLock focus;
    ClipboardTestLock clipboardLock;
    ScopedApplication app;
    MessageBoxRecorder boxes;
    const std::string first = TempFilePath("kivo-link-first.tre"), second = TempFilePath("kivo-link-second.tre"),
                      job = TempFilePath("kivo-link-job.txt");
    {
        // The first program's tree: a chance root over A (0.3, payoff v) and B; its value is link 1.
        TreeWindow window;
        TreeDocument& document = window.Document();
        document.Root->SetKind(ChanceNode, false);
        document.AddChild(document.Root, TerminalNode, "A", "0.3", "v");
        document.AddChild(document.Root, TerminalNode, "B", "#", "0");
        document.LinkIdFor(document.Root, NodeLinkBlock::ExpectedValueLink);
        zString message;
        ASSERT_TRUE(window.SaveAs(first.c_str(), message)) << message.Text();
    }
    // Each start of the first program opens the tree with v = 100 and rolls it back (worth 30).
    std::FILE* file = std::fopen(job.c_str(), "wb");
    std::fprintf(file, "!OpenFile(\"%s\")\n!SelectRoot\n!SetNodeVar(v,100)\n!RollBack\n!SetScriptVar(done,1)\n",
                 first.c_str());
    std::fclose(file);
    auto program = std::make_unique<ProgramProcess>(KIVO_PROGRAM, job);
    ASSERT_TRUE(program->WaitForScriptItem("SV_DONE", "1", 60000)) << "The job did not end: " << program->State();
    const std::vector<std::string> name = RunClient("ScriptMgr", "run:[!TopWindowName(n,1)] SV_N");
    ASSERT_EQ(name.size(), 2u);
    const std::string topic = name[1].substr(name[1].find('=') + 1);
    ASSERT_GT(topic.size(), 4u) << name[0] << " " << name[1];

    auto window = std::make_unique<TreeWindow>();
    TreeDocument& document = window->Document();
    Clipboard clipboard{window.get()};
    ProgramLinks links{&clipboard, "KIVO_Node"};
    DdeLinkManager& manager = links.Manager();
    document.Root->SetKind(ChanceNode, false);
    TreeNode* x = document.AddChild(document.Root, TerminalNode, "X", "0", "10");
    document.AddChild(document.Root, TerminalNode, "Y", "#", "0");
    // What the first program's Copy Special puts for its root's value, pasted into X's probability.
    manager.CopyLinkToClipboard(topic.c_str(), "DDE_1", "30");
    zString formula;
    ASSERT_TRUE(manager.CanPasteLink());
    ASSERT_TRUE(window->PasteLink(formula)) << (boxes.Count() ? boxes.Last().text : std::string("no box"));
    window->SelectNode(x, 1, nullptr, false);
    window->SetFieldText(2, zString((std::string(formula.Text()) + "/100").c_str()), false);
    zString probability;
    x->GetProbabilityText(probability);
    EXPECT_STREQ(probability.Text(), "Sub(1)/100");
    DocumentLink* link = document.DocumentLinks.Find(1);
    ASSERT_NE(link, nullptr);
    EXPECT_STREQ(LinksDialog(document.DocumentLinks).RowText(0).Text(), "1\t+\t\t");
    window->OnCommand(1612);
    EXPECT_TRUE(PumpMessagesUntil([&] { return std::abs(document.Root->ExpectedValue() - 3.0) < 1e-9; }));

    // A change and a roll back in the first program reach the second's results.
    RunClient("ScriptMgr", "run:[!SelectRoot][!SetNodeVar(v,200)][!RollBack(0)][!RollBack]");
    EXPECT_TRUE(PumpMessagesUntil([&] { return std::abs(document.Root->ExpectedValue() - 6.0) < 1e-9; }));
    EXPECT_STREQ(link->value.Text(), "60");

    // The first program ends: the link stays, unconnected.
    zString message;
    ASSERT_TRUE(window->SaveAs(second.c_str(), message));
    RunClient("ScriptMgr", "run:[!CloseTopWindow]");
    DWORD exitCode = 99;
    EXPECT_TRUE(program->Close(exitCode));
    EXPECT_TRUE(PumpMessagesUntil([&] { return !manager.IsConnected(*link); }));
    EXPECT_EQ(manager.ConversationCount(), 1u);

    // Started again, the first program is found once this one becomes the active program again; a copy
    // opened here shares the item and its loop, and both get the value the first program has now.
    program = std::make_unique<ProgramProcess>(KIVO_PROGRAM, job);
    ASSERT_TRUE(program->WaitForScriptItem("SV_DONE", "1", 60000)) << "The job did not end: " << program->State();
    {
        MainFrame frame;
        EXPECT_FALSE(manager.IsConnected(*link));
        SendMessageA(frame.Handle(), WM_ACTIVATEAPP, TRUE, 0);
        EXPECT_TRUE(manager.IsConnected(*link));
    }
    auto copy = std::make_unique<TreeWindow>(second.c_str());
    DdeClientLink* conversation = manager.FindConversation("KIVO_Node", topic.c_str());
    ASSERT_NE(conversation, nullptr);
    ASSERT_EQ(conversation->items.size(), 1u);
    EXPECT_EQ(conversation->items[0]->subscribers.size(), 2u);
    EXPECT_TRUE(PumpMessagesUntil([&] { return std::abs(document.Root->ExpectedValue() - 3.0) < 1e-9; }));
    EXPECT_STREQ(copy->Document().DocumentLinks.Find(1)->value.Text(), link->value.Text());

    // A link to a program that does not run stays unconnected, at once.
    const DWORD begun = GetTickCount();
    const int absent = CreateDdeLink(document.DocumentLinks, "KIVO_Absent", "Topic", "Item", "");
    EXPECT_LT(GetTickCount() - begun, 5000u);
    EXPECT_FALSE(manager.IsConnected(*document.DocumentLinks.Find(absent)));
    EXPECT_EQ(manager.ConversationCount(), 2u);

    // Closing the trees ends their conversations.
    copy.reset();
    EXPECT_EQ(conversation->items[0]->subscribers.size(), 1u);
    window.reset();
    EXPECT_EQ(manager.ConversationCount(), 0u);
    EXPECT_EQ(boxes.Count(), 0u);

    RunClient("ScriptMgr", "run:[!CloseTopWindow]");
    EXPECT_TRUE(program->Close(exitCode));
    for (const std::string& path : {first, second, job})
        DeleteFileA(path.c_str());
}

} // namespace
