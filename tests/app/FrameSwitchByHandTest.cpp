// Switching by hand between a maximised tree and a tool window over it (a window without a maximise box):
// Ctrl+F6, Ctrl+Shift+F6 and clicks leave the tool window at the size and place it opened with and the tree
// maximised, whichever of them they reach.

#include "tests/app/FrameByHand.h"

#include "analysis/LineGraphData.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "graph/LineGraph.h"
#include "tests/model/CostSweep.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProgramLoop.h"
#include "treewin/CESensitivityWindow.h"
#include "treewin/DefineValuesDialog.h"
#include "treewin/TableGraphWindow.h"

#include <algorithm>

namespace {

class ToolWindowTurns;

// A tool window as a person opens it over the tree.
struct ToolWindowCase {
    const char* name;
    void (*open)(ToolWindowTurns& test, TreeWindow& tree);
};

// A line graph opened over the tree's windows and maximised.
class GraphOverTools : public FrameByHand {
protected:
    MDIchildCL* MaximisedGraph()
    {
        InstallLineGraphWindows();
        LineGraphData data;
        data.title = "Cohort";
        data.horizontal.top = 2;
        data.vertical.top = 1;
        data.lines.push_back(GraphLineData{"State", {0.0, 0.5, 1.0}});
        ShowLineGraph(data);
        Settle();
        MDIchildCL* graph = frame->ActiveChild();
        SendMessageA(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(graph->Handle()), 0);
        return graph;
    }
    // By the Window menu's entries.
    void Activate(MDIchildCL* window) { Command(static_cast<unsigned>(GetDlgCtrlID(window->Handle()))); }
};

class ToolWindowTurns : public GraphOverTools, public ::testing::WithParamInterface<ToolWindowCase> {
public:
    ~ToolWindowTurns() override
    {
        if (tables.empty())
            return;
        CloseTableGraphs("Rates");
        FreeTables();
        DeleteFileA((tables + "rates.tbl").c_str());
        RemoveDirectoryA(tables.c_str());
    }
    using FrameByHand::Command;
    using FrameByHand::Press;
    // A table with an entry, in a tables directory of this process: an empty table's window asks for entries.
    void MakeTable()
    {
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        tables = temp + std::string("kivo_frame_switch") + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(tables.c_str(), nullptr);
        SetTablesDirectory(tables.c_str());
        LoadTablesDirectory();
        LookupTable* table = CreateTable("Rates", "rates", "", LookupTable::Interpolation, false);
        ASSERT_NE(table, nullptr);
        table->SetEntry(1, 0.5);
        ASSERT_TRUE(table->Save());
    }

    std::string tables;
};

void Select(ToolWindowTurns& test, TreeWindow& tree, TreeNode* node, const char* keys)
{
    tree.SelectNode(node, 1, nullptr, false);
    test.Press(keys);
}

const ToolWindowCase ToolWindows[] = {
    {"Table",
     [](ToolWindowTurns& test, TreeWindow&) {
         test.MakeTable();
         auto previous = DefineValuesDialog::SetPresenter([](DefineValuesDialog& dialog) {
             dialog.chosen.AddText("Rates  [ ]");
             return IDOK;
         });
         test.Command(Cmd::ValuesDefineValues);
         DefineValuesDialog::SetPresenter(previous);
     }},
    {"Markov",
     [](ToolWindowTurns& test, TreeWindow& tree) { Select(test, tree, AddCohort(tree.Document()), "shift+F6"); }},
    {"Comment",
     [](ToolWindowTurns& test, TreeWindow& tree) {
         TreeDocument& document = tree.Document();
         document.AddChild(document.Root, TerminalNode, "End");
         Select(test, tree, document.Root, "ctrl+m");
     }},
    {"Payoff",
     [](ToolWindowTurns& test, TreeWindow& tree) {
         TreeDocument& document = tree.Document();
         Select(test, tree, document.AddChild(document.Root, TerminalNode, "End"), "ctrl+y");
     }},
    {"Variables", [](ToolWindowTurns& test, TreeWindow&) { test.Command(Cmd::DisplayShowVariablesWindow); }},
    {"Find", [](ToolWindowTurns& test, TreeWindow& tree) { Select(test, tree, tree.Document().Root, "ctrl+f"); }},
    {"StateInfo",
     [](ToolWindowTurns& test, TreeWindow& tree) {
         tree.SelectNode(AddCohort(tree.Document())->GetChild(0), 1, nullptr, false);
         test.Command(Cmd::ValuesMarkovStateInformation);
     }},
    // F7, 20 trials and Begin; the trials run to their end.
    {"MonteCarlo",
     [](ToolWindowTurns& test, TreeWindow& tree) {
         TreeDocument& document = tree.Document();
         document.AddChild(document.Root, TerminalNode, "Low", "", "10");
         document.AddChild(document.Root, TerminalNode, "High", "", "20");
         ModalDialogDriver driver;
         driver.Type(Ctl::MonteCarloSimulation::NumberOfTrialsEdit, "20").Press(IDOK);
         Select(test, tree, document.Root, "F7");
         ASSERT_TRUE(RunProgramLoopUntil([&] { return document.RunningSimulations == 0; }));
     }},
    {"CESensitivity",
     [](ToolWindowTurns&, TreeWindow& tree) {
         const CESensitivityPresenter previous = SetCESensitivityPresenter(nullptr);
         InstallCESensitivityWindow();
         RunCostSweep(tree.Document(), "3");
         SetCESensitivityPresenter(previous);
     }},
};

// With a second tree open behind: each turn leaves one document maximised (the one reached, else the one
// under the tool window), the tool window as it opened, and nothing restored drawn over the maximised one.
TEST_P(ToolWindowTurns, KeysAndClicksLeaveItsSizeAndTheTreeMaximised)
{
    TreeWindow* other = NewTree();
    TreeWindow* tree = NewTree();
    ASSERT_NE(tree, nullptr);
    SendMessageA(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(tree->Handle()), 0);
    GetParam().open(*this, *tree);
    MDIchildCL* tool = frame->ActiveChild();
    ASSERT_NE(tool, nullptr);
    ASSERT_NE(tool, tree);
    RECT place{};
    GetWindowRect(tool->Handle(), &place);
    const POINT onTree = EmptyCanvas(*tree);
    ASSERT_FALSE(PtInRect(&place, onTree));
    // Listed in the Window menu, as every window of the frame.
    const std::vector<std::string> listed = ListedWindows();
    const std::string title = tool->Text();
    EXPECT_NE(std::find(listed.begin(), listed.end(), title), listed.end()) << title;
    const struct {
        const char* keys;
        POINT click;
        MDIchildCL* reached;
        TreeWindow* maximised;
    } turns[] = {
        {"ctrl+F6", {}, other, other},      {"ctrl+F6", {}, tree, tree},         {"ctrl+F6", {}, tool, tree},
        {"ctrl+shift+F6", {}, tree, tree},  {"ctrl+shift+F6", {}, other, other}, {"ctrl+shift+F6", {}, tool, other},
        {"ctrl+F6", {}, other, other},      {"ctrl+shift+F6", {}, tool, other},  {nullptr, onTree, other, other},
    };
    for (const auto& turn : turns) {
        SCOPED_TRACE(turn.keys != nullptr ? turn.keys : "click");
        if (turn.keys != nullptr)
            Press(turn.keys);
        else
            Click(turn.click);
        EXPECT_EQ(frame->ActiveChild(), turn.reached);
        EXPECT_TRUE(IsZoomed(turn.maximised->Handle()));
        EXPECT_FALSE(IsZoomed((turn.maximised == tree ? other : tree)->Handle()));
        EXPECT_FALSE(IsZoomed(tool->Handle()));
        RECT now{};
        GetWindowRect(tool->Handle(), &now);
        EXPECT_TRUE(EqualRect(&now, &place));
        ScreenOnTop top(frame->Handle());
        ExpectScreenEqualsRepaint(frame->Handle());
    }
}

// A graph opened maximised over the tree and its tool window, then closed from the keyboard: the tool window
// the client activates in its place keeps its size, and the frame names no maximised window.
TEST_P(ToolWindowTurns, ClosingAMaximisedGraphAboveItLeavesItsSize)
{
    const LineGraphPresenter previousGraphs = SetLineGraphPresenter(nullptr);
    TreeWindow* tree = NewTree();
    ASSERT_NE(tree, nullptr);
    SendMessageA(frame->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(tree->Handle()), 0);
    GetParam().open(*this, *tree);
    MDIchildCL* tool = frame->ActiveChild();
    ASSERT_NE(tool, tree);
    RECT place{};
    GetWindowRect(tool->Handle(), &place);
    // The tool window right under the maximised graph: the client activates it when the graph closes.
    MDIchildCL* graph = MaximisedGraph();
    Activate(tool);
    Activate(graph);
    ASSERT_EQ(frame->ActiveChild(), graph);
    boxes.Answer(IDNO);
    Press("ctrl+F4");
    EXPECT_EQ(frame->ActiveChild(), tool);
    EXPECT_FALSE(IsZoomed(tool->Handle()));
    RECT now{};
    GetWindowRect(tool->Handle(), &now);
    EXPECT_TRUE(EqualRect(&now, &place));
    EXPECT_EQ(frame->Text(), std::string(MainFrame::Title));
    ScreenOnTop top(frame->Handle());
    ExpectScreenEqualsRepaint(frame->Handle());
    SetLineGraphPresenter(previousGraphs);
}

// Close All Except Trees (by its keys) closes a maximised graph before the Node Comment opened after it: the
// comment, which the client maximises meanwhile, keeps the rectangle it had, and Ctrl+M opens it there again
// instead of over the whole client area.
TEST_F(GraphOverTools, CloseAllExceptTreesUnderAMaximisedGraphKeepsTheCommentsPlace)
{
    const LineGraphPresenter previousGraphs = SetLineGraphPresenter(nullptr);
    TreeWindow* tree = NewTree();
    ASSERT_NE(tree, nullptr);
    TreeDocument& document = tree->Document();
    document.AddChild(document.Root, TerminalNode, "End");
    MDIchildCL* graph = MaximisedGraph();
    Activate(tree);
    tree->SelectNode(document.Root, 1, nullptr, false);
    Press("ctrl+m");
    MDIchildCL* comment = frame->ActiveChild();
    ASSERT_NE(comment, tree);
    RealInput::Type("Seen");
    Settle();
    RECT place{};
    GetWindowRect(comment->Handle(), &place);
    Activate(graph);
    boxes.Answer(IDNO);
    Press("alt+w e");
    ASSERT_EQ(frame->ActiveChild(), tree);
    Press("ctrl+m");
    comment = frame->ActiveChild();
    ASSERT_NE(comment, tree);
    EXPECT_FALSE(IsZoomed(comment->Handle()));
    RECT now{};
    GetWindowRect(comment->Handle(), &now);
    EXPECT_TRUE(EqualRect(&now, &place)) << now.right - now.left << " x " << now.bottom - now.top;
    ScreenOnTop top(frame->Handle());
    ExpectScreenEqualsRepaint(frame->Handle());
    SetLineGraphPresenter(previousGraphs);
}

// Tree A with its Node Comment, Variables and Find/Replace windows, trees B and C maximised over them:
// Ctrl+Shift+F6 turns through the windows in the reverse of Ctrl+F6's turn, each once.
TEST_F(GraphOverTools, BackwardTurnIsTheForwardTurnReversed)
{
    TreeWindow* a = NewTree();
    ASSERT_NE(a, nullptr);
    TreeDocument& document = a->Document();
    document.AddChild(document.Root, TerminalNode, "End");
    a->SelectNode(document.Root, 1, nullptr, false);
    Press("ctrl+m");
    Command(Cmd::DisplayShowVariablesWindow);
    Activate(a);
    Press("ctrl+f");
    NewTree();
    SendMessageA(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(frame->ActiveChild()->Handle()), 0);
    MDIchildCL* start = NewTree();
    ASSERT_NE(start, nullptr);
    std::vector<MDIchildCL*> forward;
    for (int turn = 0; turn < 6; ++turn) {
        Press("ctrl+F6");
        forward.push_back(frame->ActiveChild());
    }
    auto titles = [](const std::vector<MDIchildCL*>& windows) {
        std::string text;
        for (MDIchildCL* window : windows)
            text += (window != nullptr ? window->Text() : std::string("(none)")) + "; ";
        return text;
    };
    ASSERT_EQ(forward.back(), start) << titles(forward);
    std::vector<MDIchildCL*> sorted(forward);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end()) << "Ctrl+F6 reached a window twice";
    std::vector<MDIchildCL*> backward;
    for (int turn = 0; turn < 6; ++turn) {
        Press("ctrl+shift+F6");
        backward.push_back(frame->ActiveChild());
    }
    std::vector<MDIchildCL*> expected(forward.rbegin() + 1, forward.rend());
    expected.push_back(start);
    EXPECT_EQ(titles(backward), titles(expected)) << "forward: " << titles(forward);
    ScreenOnTop top(frame->Handle());
    ExpectScreenEqualsRepaint(frame->Handle());
}

// A minimised tree chosen in the Window menu by its number comes back restored.
TEST_F(FrameByHand, WindowMenuRestoresAMinimisedDocument)
{
    TreeWindow* first = NewTree();
    ASSERT_NE(first, nullptr);
    SendMessageA(frame->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(first->Handle()), 0);
    // Its minimise button: the third from the caption's right end.
    RECT place{};
    GetWindowRect(first->Handle(), &place);
    const int border = GetSystemMetrics(SM_CXFRAME);
    Click(POINT{place.right - border - GetSystemMetrics(SM_CXSIZE) * 5 / 2,
                place.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2});
    ASSERT_TRUE(IsIconic(first->Handle()));
    TreeWindow* second = NewTree();
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(IsIconic(first->Handle()));
    Press("alt+w 1");
    EXPECT_EQ(frame->ActiveChild(), first);
    EXPECT_FALSE(IsIconic(first->Handle()));
    ScreenOnTop top(frame->Handle());
    ExpectScreenEqualsRepaint(frame->Handle());
}

INSTANTIATE_TEST_SUITE_P(FrameSwitchByHand, ToolWindowTurns, ::testing::ValuesIn(ToolWindows),
                         [](const ::testing::TestParamInfo<ToolWindowCase>& info) { return info.param.name; });

} // namespace
