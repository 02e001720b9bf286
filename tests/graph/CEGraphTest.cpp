// The cost-effectiveness graph as the analysis command makes it from a rolled-back decision node: its
// dominance report (exact text), the extended-dominance legend and guide lines with Display Extended
// Dominance, the status text, and the graph file written and read back.

#include "app/MainFrame.h"
#include "treewin/CEAnalysisDialog.h"
#include "framework/dialog/FileDialogs.h"
#include "graph/CEGraph.h"
#include "graph/GraphStylePickers.h"
#include "model/TreeNode.h"
#include "tests/graph/GraphPointer.h"
#include "tests/support/ClipboardTestText.h"
#include "tests/support/MenuItemState.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Strategy {
    const char* name;
    const char* cost;
    const char* effectiveness;
};

class CEGraphs : public ::testing::Test {
protected:
    CEGraphs()
    {
        frame->EndStartup();
        frame->Show(SW_SHOWNOACTIVATE);
        tree->Show(SW_SHOWNORMAL);
        TreeCalcPrefs& prefs = tree->Document().CalcPrefs;
        prefs.CalcMethod = CostEffectivenessMethod;
        prefs.CECostPayoff = 0;
        prefs.CEEffPayoff = 1;
    }
    ~CEGraphs() override
    {
        CEAnalysisDialog::SetPresenter(nullptr);
        SetFileDialogPresenter(nullptr);
        delete frame;
    }

    // The graph of a decision node over the strategies, made by the analysis command with cost on x.
    CEGraph* Analyse(const std::vector<Strategy>& strategies)
    {
        TreeDocument& document = tree->Document();
        document.Root->kind = DecisionNode;
        for (const Strategy& strategy : strategies)
            document.AddChild(document.Root, TerminalNode, strategy.name, "", strategy.cost)
                ->SetPayoffText(strategy.effectiveness, 1, false);
        tree->SelectNode(document.Root, 1, nullptr, false);
        CEAnalysisDialog::SetPresenter([](CEAnalysisDialog& dialog) {
            dialog.effectivenessOnX = 0;
            return IDOK;
        });
        SendMessageA(tree->Handle(), WM_COMMAND, Cmd::AnalysisCostEffectiveness, 0);
        auto* graph = dynamic_cast<CEGraph*>(frame->ActiveChild());
        if (graph != nullptr)
            Activate(graph);
        return graph;
    }
    void Activate(WindowCL* window)
    {
        static_cast<MDIchildCL*>(window)->Activate();
        PumpMessagesUntil([&] {
            MSG pending;
            return frame->ActiveChild() == window && !PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE);
        });
    }
    void Post(unsigned id) { SendMessageA(frame->Handle(), WM_COMMAND, id, 0); }
    UINT MenuState(UINT id)
    {
        SendMessageA(frame->Handle(), WM_INITMENU, 0, 0);
        return MenuItemState(GetMenu(frame->Handle()), id);
    }
    // The export as Copy Special puts it on the clipboard.
    std::string Exported()
    {
        ClipboardTestLock clipboardLock;
        ModalDialogDriver person;
        person.Press(IDOK);
        Post(Cmd::EditCopySpecial);
        return ClipboardText();
    }
    void SaveAs(GraphWindow* graph, const std::string& path)
    {
        SetFileDialogPresenter([path](OPENFILENAMEA& dialog, bool) {
            std::strcpy(dialog.lpstrFile, path.c_str());
            return 1;
        });
        SendMessageA(graph->Handle(), WM_COMMAND, Cmd::FileSaveAs, 0);
    }
    static std::string TempPath(const char* name)
    {
        const char* temp = std::getenv("TEMP");
        return std::string(temp ? temp : ".") + "\\" + name;
    }
    static std::vector<char> FileBytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    FocusTestLock focus;
    ScopedApplication app;
    MainFrame* frame = new MainFrame;
    MessageBoxRecorder boxes;
    TreeWindow* tree = new TreeWindow();
};

TEST_F(CEGraphs, ReportLegendGuideLinesStatusAndFileOfFourStrategies)
{
    CEGraph* graph = Analyse({{"S1", "0", "0"}, {"S2", "10", "2"}, {"S3", "20", "5"}, {"S4", "15", "1"}});
    ASSERT_NE(graph, nullptr);
    const std::string report = Exported();
    EXPECT_EQ(report,
              "KIVO(tm) Cost-Effectiveness Analysis\r\n\r\n"
              "Strategy\tCost\tMarg Cost\tEff\tMarg Eff\tC/E\tMarg C/E\r\n"
              "S1\t$0\t\t0.0\t\t(Undefined)\t\r\n"
              "S2\t$10\t$10\t2.0\t2.0\t$5\t$5\r\n"
              "S4\t$15\t$5\t1.0\t-1.0\t$15\t(Dominated)\r\n"
              "S3\t$20\t$10\t5.0\t3.0\t$4\t$3\r\n\r\n\r\n"
              "S1\t$0\t\t0.0\t\t(Undefined)\t\r\n"
              "S3\t$20\t$20\t5.0\t5.0\t$4\t$4\r\n\r\n\r\n"
              "(The second table above excludes strategies which are\r\n"
              "dominated in either the standard or extended sense.)\r\n\r\n"
              "Dominance Report:\r\n"
              "The strategy \"S4\" is dominated by \"S2\".\r\n\r\n"
              "Extended Dominance Report:\r\n"
              "The strategy \"S2\" is dominated by a blend of \"S1\" and \"S3\",\r\n"
              "with a coefficient of inequity between 0.500 and 0.600.");

    // S2 lies under the segment S1-S3: its guide lines end on it at its effectiveness and at its cost.
    ASSERT_EQ(graph->ExtendedItemCount(), 1);
    EXPECT_EQ(graph->ExtendedItem(0).text, "0.500 <= k <= 0.600");
    double ends[2][2];
    graph->GuideEnds(1, ends);
    EXPECT_DOUBLE_EQ(ends[0][0], 8.0);
    EXPECT_DOUBLE_EQ(ends[0][1], 2.0);
    EXPECT_DOUBLE_EQ(ends[1][0], 10.0);
    EXPECT_DOUBLE_EQ(ends[1][1], 2.5);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(graph->MarkKind(i), 6 + i);

    // Every strategy's mark (0.075 in across) stands clear of the plot's frame, the cheapest one too.
    const LogicalRect& plot = graph->graphRect;
    for (const auto& point : {std::pair<double, double>{0, 0}, {10, 2}, {20, 5}, {15, 1}}) {
        const float x = graph->horizontalAxis.Position(point.first, plot);
        const float y = graph->verticalAxis.Position(point.second, plot);
        EXPECT_GT(x - 0.0375f, plot.left) << point.first;
        EXPECT_LT(x + 0.0375f, plot.right) << point.first;
        EXPECT_LT(y + 0.0375f, plot.bottom) << point.second;
        EXPECT_GT(y - 0.0375f, plot.top) << point.second;
    }

    const std::string status =
        graph->CoordinateText(graph->horizontalAxis.Position(10.0, plot), graph->verticalAxis.Position(2.0, plot))
            .Text();
    EXPECT_EQ(status, "Cost = $10.0; Eff = 2.00; C/E = $5.0");
    // Cost and its ratios are money; effectiveness, on its axis too, is not.
    EXPECT_EQ(graph->horizontalAxis.ValueText(10.0), "$10");
    EXPECT_EQ(graph->verticalAxis.ValueText(-1.0), "-1.0");

    UINT state = MenuState(Cmd::GraphDisplayThresholdValues);
    EXPECT_TRUE(state & MF_CHECKED);
    EXPECT_FALSE(state & MF_GRAYED);
    for (bool shown : {false, true}) {
        Post(Cmd::GraphDisplayThresholdValues);
        EXPECT_EQ(graph->ExtendedShown(), shown);
        EXPECT_EQ((MenuState(Cmd::GraphDisplayThresholdValues) & MF_CHECKED) != 0, shown);
        ScreenOnTop top(graph->Handle());
        ExpectScreenEqualsRepaint(graph->Handle());
    }

    const std::string first = TempPath("kivo_ce_trip1.grf");
    const std::string second = TempPath("kivo_ce_trip2.grf");
    SaveAs(graph, first);
    GraphWindow* reopened = ReadGraphFile(first.c_str());
    ASSERT_NE(dynamic_cast<CEGraph*>(reopened), nullptr);
    reopened->Show(SW_SHOWNORMAL);
    Activate(reopened);
    EXPECT_EQ(Exported(), report);
    auto* ce = static_cast<CEGraph*>(reopened);
    EXPECT_TRUE(ce->ExtendedShown());
    ASSERT_EQ(ce->ExtendedItemCount(), 1);
    EXPECT_EQ(ce->ExtendedItem(0).pointIndex, 1);
    SaveAs(reopened, second);
    std::vector<char> bytes = FileBytes(second);
    EXPECT_EQ(FileBytes(first), bytes);

    // The file ends with the legend item's strategy index and the axis flag: an index past the strategies
    // is refused.
    ASSERT_GE(bytes.size(), 4u);
    bytes[bytes.size() - 4] = 9;
    std::ofstream(second, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    boxes.Clear();
    EXPECT_EQ(ReadGraphFile(second.c_str()), nullptr);
    EXPECT_EQ(boxes.Count(), 1);
    std::remove(first.c_str());
    std::remove(second.c_str());
}

// Effectiveness is written with the tree's places for it (three in this tree), or the places the axis's
// steps need when the tree's are fewer; never the range's automatic five.
TEST_F(CEGraphs, EffectivenessTakesItsOwnPlaces)
{
    NumericFormat& own = tree->Document().CalcPrefs.PayoffFormats[1];
    own.expValDigits = 3;
    CEGraph* graph = Analyse({{"A", "1000", "0.6"}, {"B", "1500", "0.75"}, {"C", "2500", "0.9"}});
    for (const char* expected : {"0.900", "0.90"}) {
        ASSERT_NE(graph, nullptr);
        const std::string report = Exported();
        const size_t row = report.find("\r\nC\t") + 2;
        std::string cells = report.substr(row, report.find("\r\n", row) - row);
        for (int cell = 0; cell < 3; ++cell)
            cells = cells.substr(cells.find('\t') + 1);
        EXPECT_EQ(cells.substr(0, cells.find('\t')), expected) << report;
        EXPECT_EQ(graph->verticalAxis.ValueText(0.9), expected);
        // Without places of its own, the axis's steps of 0.04 ask for two.
        own.expValDigits = 0;
        tree->SelectNode(tree->Document().Root, 1, nullptr, false);
        SendMessageA(tree->Handle(), WM_COMMAND, Cmd::AnalysisCostEffectiveness, 0);
        graph = dynamic_cast<CEGraph*>(frame->ActiveChild());
        if (graph != nullptr)
            Activate(graph);
    }
}

// A person's double click on a strategy's mark opens the marker picker on it; the chosen mark is the
// strategy's in the legend and at its point.
TEST_F(CEGraphs, ADoubleClickedMarkTakesTheChosenMark)
{
    CEGraph* graph = Analyse({{"S1", "0", "0"}, {"S2", "10", "2"}});
    ASSERT_NE(graph, nullptr);
    SendMessageA(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(graph->Handle()), 0);
    graph->SetModified(0);
    std::string caption;
    ModalDialogDriver person;
    person
        .Then([&caption](DialogFrameCL& dialog) {
            caption = dialog.Text();
            SendMessageA(dialog.Control(Ctl::ModifyLineMarker::List3497), LB_SETCURSEL, 2, 0);
        })
        .Press(IDOK);
    ScreenOnTop onTop(graph->Handle());
    DoubleClickOnGraph(*graph, graph->legendKeys.Key(1)->rect);
    ASSERT_TRUE(PumpMessagesUntil([&] { return person.Finished(); }));
    EXPECT_EQ(caption, "Modify Line Marker");
    EXPECT_EQ(graph->MarkKind(1), 2);
    EXPECT_EQ(graph->MarkKind(0), 6);
    EXPECT_TRUE(graph->IsModified());
    ExpectScreenEqualsRepaint(graph->Handle());
}

TEST_F(CEGraphs, OneStrategyHasNoDominanceAndNoExtendedLegend)
{
    CEGraph* graph = Analyse({{"Only", "5", "2"}});
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(Exported(), "KIVO(tm) Cost-Effectiveness Analysis\r\n\r\n"
                          "Strategy\tCost\tMarg Cost\tEff\tMarg Eff\tC/E\tMarg C/E\r\n"
                          "Only\t$5.00\t\t2.00\t\t$2.50\t\r\n\r\n\r\n"
                          "Dominance Report:\r\n"
                          "No strategies were clearly dominated by any other.\r\n\r\n"
                          "Extended Dominance Report:\r\n"
                          "No strategies were eliminated by extended dominance.");
    EXPECT_EQ(graph->ExtendedItemCount(), 0);
    EXPECT_TRUE(MenuState(Cmd::GraphDisplayThresholdValues) & MF_GRAYED);
}

} // namespace
