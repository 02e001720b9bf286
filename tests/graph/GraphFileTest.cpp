// Graph files: a line graph saved with Save As and opened with Open reads back byte for byte; older files read
// to their last gate; damaged records are refused by their format error; kinds that cannot be stored say so.

#include "analysis/LineGraphData.h"
#include "analysis/TreeEngines.h"
#include "analysis/ThreeWaySensitivityAnalysis.h"
#include "analysis/TwoWaySensitivityAnalysis.h"
#include "app/MainFrame.h"
#include "foundation/Archive.h"
#include "foundation/DocumentFileHeader.h"
#include "foundation/FilePath.h"
#include "foundation/FileStream.h"
#include "foundation/MemoryStream.h"
#include "foundation/StoredString.h"
#include "foundation/TextReport.h"
#include "widgets/ZoomPane.h"
#include "foundation/VersionRecord.h"
#include "treewin/CESensitivityWindow.h"
#include "graph/GraphCommandDialogs.h"
#include "graph/ShowHideLinesDialog.h"
#include "framework/dialog/FileDialogs.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/LogicalUnits.h"
#include "graph/CEGraph.h"
#include "graph/CESensitivityGraph.h"
#include "graph/LineGraph.h"
#include "graph/RegionGraph.h"
#include "graph/SensitivityRegionGraphs.h"
#include "graph/TornadoGraph.h"
#include "tests/graph/GraphPicture.h"
#include "tests/graph/GraphPointer.h"
#include "tests/graph/SampleGraphs.h"
#include "tests/model/CostSweep.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/NewestChild.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/SampleTornado.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/RealInput.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string TempPath(const char* name)
{
    const char* temp = std::getenv("TEMP");
    return std::string(temp ? temp : ".") + "\\" + name;
}

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The colours drawn in the pixels up to `radius` away from the point (inches).
std::set<COLORREF> ColoursAtInches(GraphWindow& graph, float x, float y, int radius)
{
    const std::unique_ptr<BitmapDisplay> drawn = Drawn(graph);
    BitmapDisplay& bitmap = *drawn;
    const int cx = LogicalXToPixel(x, bitmap);
    const int cy = LogicalYToPixel(y, bitmap);
    std::set<COLORREF> colours;
    for (int dx = -radius; dx <= radius; ++dx)
        for (int dy = -radius; dy <= radius; ++dy)
            colours.insert(GetPixel(bitmap.DeviceContext(), cx + dx, cy + dy));
    return colours;
}

// The same around the point of the plot at (x, y) in axis values, 4 pixels each way.
std::set<COLORREF> ColoursAt(GraphWindow& graph, double x, double y)
{
    return ColoursAtInches(graph, graph.horizontalAxis.Position(x, graph.graphRect),
                           graph.verticalAxis.Position(y, graph.graphRect), 4);
}

const COLORREF kFirstFill = RGB(0, 0, 255);
const COLORREF kSecondFill = RGB(0, 255, 0);

// Where the bytes of the value stand in the file (the first place), or the file's size.
template <class Value>
size_t FindValue(const std::vector<uint8_t>& bytes, const Value& value)
{
    const auto* start = reinterpret_cast<const uint8_t*>(&value);
    return std::search(bytes.begin(), bytes.end(), start, start + sizeof value) - bytes.begin();
}

class GraphFiles : public ::testing::Test {
protected:
    GraphFiles()
    {
        frame = new MainFrame;
        frame->EndStartup();
        frame->Show(SW_SHOWNOACTIVATE);
        previousDialogs = SetFileDialogPresenter([this](OPENFILENAMEA& dialog, bool) {
            std::strcpy(dialog.lpstrFile, chosenPath.c_str());
            return 1;
        });
    }
    ~GraphFiles() override
    {
        SetFileDialogPresenter(previousDialogs);
        delete frame;
    }

    // Save As from the graph's File menu, to the path.
    void SaveAs(GraphWindow* graph, const std::string& path)
    {
        chosenPath = path;
        SendMessageA(graph->Handle(), WM_COMMAND, Cmd::FileSaveAs, 0);
    }
    // Open from the frame's File menu; the graph window of the kind it opened, or null.
    template <class Graph = LineGraph>
    Graph* Open(const std::string& path)
    {
        chosenPath = path;
        SendMessageA(frame->Handle(), WM_COMMAND, Cmd::FileOpen, 0);
        std::vector<WindowCL*> windows;
        frame->CollectWindows(windows);
        for (WindowCL* window : windows)
            if (auto* graph = dynamic_cast<Graph*>(window); graph && !graph->FilePathObject().IsEmpty() &&
                                                             graph->FilePathObject().EqualsNoCase(FilePath(path.c_str())))
                return graph;
        return nullptr;
    }
    // The newest window of the kind, or null.
    template <class Graph>
    Graph* Newest()
    {
        return NewestChild<Graph>(*frame);
    }
    // A stepped graph starts playing its steps as it appears; this waits until it rests on the last.
    static bool AnimationEnds(const StepAnimationStrip& strip)
    {
        return PumpMessagesUntil([&strip] { return !strip.Animating(); });
    }
    // Saved, reopened and saved again: the second file has the first's bytes; the reopened graph (left open)
    // draws the same picture. The first file's bytes.
    template <class Graph>
    std::vector<uint8_t> RoundTrip(Graph* graph, Graph*& reopened)
    {
        const std::string first = TempPath("kivo_graph_trip1.grf");
        const std::string second = TempPath("kivo_graph_trip2.grf");
        const std::string copy = TempPath("kivo_graph_trip3.grf");
        SaveAs(graph, first);
        const std::vector<uint8_t> picture = Picture(*graph);
        // The saved graph now holds the file it was saved to: a copy of it is opened in a window of its own.
        CopyFileA(first.c_str(), copy.c_str(), FALSE);
        reopened = Open<Graph>(copy);
        std::remove(copy.c_str());
        EXPECT_NE(reopened, nullptr);
        if (reopened == nullptr)
            return {};
        EXPECT_TRUE(Picture(*reopened) == picture);
        SaveAs(reopened, second);
        const std::vector<uint8_t> bytes = FileBytes(first);
        EXPECT_EQ(FileBytes(second), bytes);
        std::remove(first.c_str());
        std::remove(second.c_str());
        return bytes;
    }
    FocusTestLock focus;
    ScopedApplication app;
    MainFrame* frame;
    MessageBoxRecorder boxes;
    std::string chosenPath;
    FileDialogPresenter previousDialogs;
};

TEST_F(GraphFiles, ALineGraphSavedAndReopenedSavesTheSameBytes)
{
    LineGraph* graph = OpenLineGraph(OneWayData());
    graph->freeLabels.AddLabel("Free");
    graph->bottomLabels.AddLabel("Bottom");
    graph->sideLabels.AddLabel("Side");
    graph->verticalLineFlag = 1;
    graph->verticalLineX = 0.25;
    graph->horizontalLineFlag = kLineNotOffered;
    graph->Layout();
    const std::string first = TempPath("kivo_graph_first.grf");
    const std::string second = TempPath("kivo_graph_second.grf");
    SaveAs(graph, first);
    EXPECT_FALSE(graph->IsModified());
    const std::string threshold = graph->ThresholdText(0, 1).Text();
    const std::vector<uint8_t> picture = Picture(*graph);

    const std::vector<uint8_t> bytes = FileBytes(first);
    const std::vector<uint8_t> start{0x22, 0, 3, 5, 0, 2, 0, 44, 0};
    ASSERT_GT(bytes.size(), start.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + start.size()), start);

    // A copy opened beside the first window, so not maximised to fill the frame.
    const std::string copy = TempPath("kivo_graph_copy.grf");
    CopyFileA(first.c_str(), copy.c_str(), FALSE);
    LineGraph* reopened = Open(copy);
    delete graph;
    ASSERT_NE(reopened, nullptr);
    EXPECT_FALSE(reopened->IsModified());
    EXPECT_STREQ(reopened->subtitle.text.Text(), "[q:  0 to 1]");
    EXPECT_EQ(reopened->LineCount(), 2);
    EXPECT_EQ(reopened->ShownLineCount(), 2);
    EXPECT_EQ(reopened->ThresholdText(0, 1).Text(), threshold);
    EXPECT_STREQ(reopened->sideLabels.Label(0)->text.Text(), "Side");
    EXPECT_EQ(reopened->horizontalLineFlag, kLineNotOffered);
    EXPECT_EQ(reopened->verticalLineX, 0.25);
    EXPECT_TRUE(Picture(*reopened) == picture);
    SaveAs(reopened, second);
    EXPECT_EQ(FileBytes(second), bytes);
    EXPECT_TRUE(boxes.Boxes().empty());
    std::remove(first.c_str());
    std::remove(second.c_str());
    std::remove(copy.c_str());
}

// Two lines crossing at 0.5: B (50) best below, A (0 to 100 by 25) above; Strategy Graph makes one region of
// each, filled as its legend entry says, and the graph saves and reopens.
TEST_F(GraphFiles, StrategyGraphOfTwoCrossingLinesFillsARegionPerInterval)
{
    LineGraphData data = OneWayData();
    data.horizontal.interval = 0.25;
    data.lines = {{"A", {0.0, 25.0, 50.0, 75.0, 100.0}}, {"B", {50.0, 50.0, 50.0, 50.0, 50.0}}};
    LineGraph* lines = OpenLineGraph(data);
    ASSERT_TRUE(lines->CommandAllowed(Cmd::GraphStrategyGraph));
    SendMessageA(lines->Handle(), WM_COMMAND, Cmd::GraphStrategyGraph, 0);
    auto* graph = Newest<StrategyRegionGraph>();
    ASSERT_NE(graph, nullptr);
    ASSERT_EQ(graph->RegionCount(), 2);
    ASSERT_EQ(graph->legendTexts.Count(), 2);
    EXPECT_STREQ(graph->legendTexts.Label(graph->FillIndex(0))->text.Text(), "B");
    EXPECT_STREQ(graph->legendTexts.Label(graph->FillIndex(1))->text.Text(), "A");
    EXPECT_STREQ(graph->subtitle.text.Text(), "p");
    const double bottom = graph->verticalAxis.valueBottom;
    const std::vector<std::pair<double, double>> outlines[2] = {
        {{0, bottom}, {0, 50}, {0.25, 50}, {0.5, 50}, {0.5, bottom}, {0, bottom}},
        {{0.5, bottom}, {0.5, 50}, {0.75, 75}, {1, 100}, {1, bottom}, {0.5, bottom}}};
    for (int r = 0; r < 2; ++r) {
        std::vector<std::pair<double, double>> points;
        for (int k = 0; k < graph->Outline(r)->Count(); ++k)
            points.emplace_back(graph->Outline(r)->Point(k)->x, graph->Outline(r)->Point(k)->y);
        EXPECT_EQ(points, outlines[r]) << "region " << r;
    }
    const std::set<COLORREF> underB = ColoursAt(*graph, 0.25, 25.0);
    const std::set<COLORREF> underA = ColoursAt(*graph, 0.8, 30.0);
    const std::set<COLORREF> aboveA = ColoursAt(*graph, 0.6, 90.0);
    EXPECT_TRUE(underB.count(kFirstFill) && !underB.count(kSecondFill));
    EXPECT_TRUE(underA.count(kSecondFill) && !underA.count(kFirstFill));
    EXPECT_FALSE(aboveA.count(kFirstFill) || aboveA.count(kSecondFill));

    StrategyRegionGraph* reopened = nullptr;
    std::vector<uint8_t> bytes = RoundTrip(graph, reopened);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->Outline(1)->Point(2)->y, 75.0);
    // The region count stands after the region part's version record, before region 0's rectangle.
    const size_t at = FindValue(bytes, reopened->RegionRect(0)) - 2;
    ASSERT_LT(at, bytes.size());
    for (int16_t count : {int16_t(51), int16_t(-1)}) {
        std::memcpy(&bytes[at], &count, 2);
        const std::string path = TempPath("kivo_graph_regions.grf");
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        StrategyRegionGraph damaged(1);
        std::unique_ptr<FileStream> stream = FilePath(path.c_str()).OpenStream(false);
        EXPECT_FALSE(damaged.ReadDocument(*stream, 0));
        EXPECT_EQ(stream->FormatError(), 15u) << count;
        std::remove(path.c_str());
    }
    data.thresholds.clear();
    EXPECT_FALSE(OpenLineGraph(data)->CommandAllowed(Cmd::GraphStrategyGraph));
    EXPECT_TRUE(boxes.Boxes().empty());
}

// Each side of the two-way graph takes its strategy's fill. The
// Isocontours dialog inserts added values in order; Cancel keeps the old ones, OK stores them with the graph.
TEST_F(GraphFiles, TwoWayRegionsTakeTheirStrategiesFillsAndKeepTheirIsocontours)
{
    TwoWaySensitivityResults results = LeftRightResults();
    auto* graph = new TwoWaySensGraph(results);
    graph->Open(nullptr);
    const std::set<COLORREF> left = ColoursAt(*graph, 0.2, 0.5);
    const std::set<COLORREF> right = ColoursAt(*graph, 0.8, 0.5);
    EXPECT_TRUE(left.count(kFirstFill) && !left.count(kSecondFill));
    EXPECT_TRUE(right.count(kSecondFill) && !right.count(kFirstFill));
    // Left (100 - 100 x) is the best at x = 0.25: 75.
    const zString status = graph->CoordinateText(graph->horizontalAxis.Position(0.25, graph->graphRect),
                                                 graph->verticalAxis.Position(0.5, graph->graphRect));
    EXPECT_NE(std::string(status.Text()).find("; Value = "), std::string::npos) << status.Text();
    EXPECT_NE(std::string(status.Text()).find("Value = 75"), std::string::npos) << status.Text();

    graph->contourValues = {1.0, 10.0};
    std::vector<std::string> listed;
    LRESULT selected = -1;
    auto addFive = [](ModalDialogDriver& driver) -> ModalDialogDriver& {
        return driver.Press(Ctl::Isocontours::Add)
            .Type(Ctl::AddIsocontour::EnterAMarginalValueAtWhichToDrawAnIsocontourIncludeANegativeSignIfNecessaryEdit, "5")
            .Press(IDOK);
    };
    for (unsigned ending : {IDCANCEL, IDOK}) {
        ModalDialogDriver driver;
        addFive(driver)
            .Then([&](DialogFrameCL& dialog) {
                listed.clear();
                const HWND list = GetDlgItem(dialog.Handle(), Ctl::Isocontours::MarginalValuesList);
                for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
                    char text[64] = {};
                    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
                    listed.push_back(text);
                }
                selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
            })
            .Press(ending);
        ASSERT_TRUE(graph->CommandAllowed(Cmd::GraphDisplayThresholdValues));
        SendMessageA(graph->Handle(), WM_COMMAND, Cmd::GraphDisplayThresholdValues, 0);
        EXPECT_TRUE(driver.Finished());
        EXPECT_EQ(listed, (std::vector<std::string>{"1", "5", "10"}));
        EXPECT_EQ(selected, 1);
        EXPECT_EQ(graph->contourValues.size(), ending == IDOK ? 3u : 2u);
    }

    TwoWaySensGraph* reopened = nullptr;
    std::vector<uint8_t> bytes = RoundTrip(graph, reopened);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->contourValues, (std::vector<double>{1.0, 5.0, 10.0}));
    // The contour count stands before the cost and effectiveness formats and the three values.
    MemoryStream format(100);
    NumericFormat plain;
    SerializeWithVersion(plain, format);
    const size_t at = bytes.size() - 3 * 8 - 2 * format.Position() - 4;
    for (int32_t count : {-1, 4}) {
        std::memcpy(&bytes[at], &count, 4);
        const std::string path = TempPath("kivo_graph_contours.grf");
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        TwoWaySensGraph damaged(results);
        std::unique_ptr<FileStream> stream = FilePath(path.c_str()).OpenStream(false);
        EXPECT_FALSE(damaged.ReadDocument(*stream, 0));
        EXPECT_EQ(stream->FormatError(), 15u) << count;
        std::remove(path.c_str());
    }
    results.map = std::make_shared<StrategyRegionMap>(nullptr, 2, 2, 3, 0.0, 1.0, 0.0, 1.0);
    EXPECT_FALSE(TwoWaySensGraph(results).CommandAllowed(Cmd::GraphDisplayThresholdValues));
    EXPECT_TRUE(boxes.Boxes().empty());
}

// Columns of the tornado export's rows as numbers.
std::vector<double> ExportColumn(const TextReport& report, int column)
{
    std::vector<double> values;
    for (int row = 0; row < report.Lines().Count(); ++row) {
        zString cell;
        TextReport::ColumnText(report.Lines().At(row)->Text(), column, cell);
        EXPECT_EQ(std::string(cell.Text()).find("nan"), std::string::npos);
        values.push_back(std::atof(cell.Text()));
    }
    return values;
}

// Bars of spreads 3 and 4 stand in the analysis's order, three units high with a unit between; the tie of
// strategies inside bar p is a thick mark; the export shares the risk 36/64; a double click opens p's graph.
// Graphs follow their windows whichever way the size changes: a tornado opened from its file fills its window
// maximised, and Window > Tile then gives it, a graph that was maximised before it, two-way and three-way
// graphs and two more one-way graphs their six tiles; six more graphs (one titled in 18 points, a
// cost-effectiveness graph with its extended-dominance block, a cost-effectiveness sensitivity graph with its
// Animate strip) make twelve tiles of 320 x 222 pixels. Each fits its tile without scroll bars, nothing
// beside its plot over its horizontal axis or label, and is drawn on the screen as a full repaint draws it.
TEST_F(GraphFiles, GraphsFillTheirWindowsMaximisedOpenedOrTiled)
{
    const std::string path = TempPath("kivo_graph_tiles.grf");
    auto* saved = new TornadoGraph(MakeTornadoResults({{"p", 10.0, 13.0}, {"v", 10.0, 14.0}}, 11.5, 10.0, 14.0, "EV"));
    saved->Open(nullptr);
    SaveAs(saved, path);
    delete saved;
    LineGraph* line = OpenLineGraph(OneWayData());
    SendMessageA(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(line->Handle()), 0);
    ExpectFillsItsWindow(*line, "line maximised");
    auto* tornado = Open<TornadoGraph>(path);
    ASSERT_NE(tornado, nullptr);
    SendMessageA(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(tornado->Handle()), 0);
    ExpectFillsItsWindow(*tornado, "tornado maximised");
    EXPECT_FALSE(tornado->IsModified());
    auto* twoWay = new TwoWaySensGraph(LeftRightResults());
    twoWay->Open(nullptr);
    auto* threeWay = new ThreeWaySensGraph(ThreeStepResults());
    threeWay->Open(nullptr);
    ASSERT_TRUE(AnimationEnds(*threeWay->Strip()));
    LineGraph* second = OpenLineGraph(OneWayData());
    LineGraph* third = OpenLineGraph(OneWayData());
    SendMessageA(frame->Handle(), WM_COMMAND, Cmd::WindowTile, 0);
    std::vector<std::pair<GraphWindow*, const char*>> tiled = {
        {line, "line tiled"},           {tornado, "tornado tiled"},   {twoWay, "two-way tiled"},
        {threeWay, "three-way tiled"}, {second, "second line tiled"}, {third, "third line tiled"}};
    // Each graph fills its tile without scroll bars (shown smaller when even its smallest plot leaves it too
    // large), every element inside the drawing and nothing beside the plot reaching its horizontal axis or
    // that axis's label, and the screen shows it as a full repaint draws it.
    auto expectTiles = [&tiled] {
        for (const auto& [graph, when] : tiled) {
            ExpectFillsItsWindow(*graph, when);
            LogicalRect drawing;
            graph->Bounds(drawing);
            graph->ForEachElement([graph = graph, when = when, &drawing](GraphElement& element) {
                const LogicalRect& place = element.rect;
                if (!graph->ElementShown(element) || element.Width() <= 0)
                    return;
                EXPECT_TRUE(place.left >= drawing.left && place.right <= drawing.right && place.top >= drawing.top &&
                            place.bottom <= drawing.bottom)
                    << when << ": an element at " << place.left << ", " << place.top << " is cut";
                for (const GraphElement* below : {static_cast<GraphElement*>(&graph->horizontalAxis),
                                                  static_cast<GraphElement*>(&graph->horizontalLabel)}) {
                    const LogicalRect& other = below->rect;
                    if (&element != below && &element != &graph->verticalAxis && &element != &graph->horizontalAxis &&
                        place.left < other.right && other.left < place.right && place.top < other.bottom &&
                        other.top < place.bottom)
                        ADD_FAILURE() << when << ": an element at " << place.left << ", " << place.top
                                      << " meets the horizontal axis or its label";
                }
            });
            ExpectScreenEqualsRepaint(graph->Handle());
        }
    };
    expectTiles();

    LineGraph* titled = OpenLineGraph(OneWayData());
    titled->title.font.pointSize = 18;
    titled->Layout();
    TreeBuilder ceTree;
    TreeDocument& document = ceTree.Document();
    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    document.CalcPrefs.CECostPayoff = 0;
    document.CalcPrefs.CEEffPayoff = 1;
    document.Root->kind = DecisionNode;
    const char* const strategies[][3] = {{"S1", "0", "0"}, {"S2", "10", "2"}, {"S3", "20", "5"}, {"S4", "15", "1"}};
    for (const auto& [name, cost, effectiveness] : strategies)
        ceTree.Terminal(document.Root, name, "", cost, effectiveness);
    RollBackDocument(document);
    auto* ce = new CEGraph(document.Root, 0);
    ce->Open(nullptr);
    ASSERT_EQ(ce->ExtendedItemCount(), 1);
    TreeBuilder sweep;
    CESensitivityWindow* results = nullptr;
    SetCESensitivityPresenter([&results](const CESensitivityResults& run) { results = CESensitivityWindow::Open(run); });
    RunCostSweep(sweep, "3");
    SetCESensitivityPresenter(nullptr);
    ASSERT_NE(results, nullptr);
    CESensitivityGraph* planes = results->OpenPlaneGraph(0);
    delete results;
    ASSERT_TRUE(AnimationEnds(*planes->Strip()));
    tiled.insert(tiled.end(), {{titled, "18 point title tiled"},
                               {ce, "cost-effectiveness tiled"},
                               {planes, "cost-effectiveness sensitivity tiled"},
                               {OpenLineGraph(OneWayData()), "fourth line tiled"},
                               {OpenLineGraph(OneWayData()), "fifth line tiled"},
                               {OpenLineGraph(OneWayData()), "sixth line tiled"}});
    // Twelve tiles of 320 x 222 pixels: four across and three down a frame's client area of 1280 x 666.
    RECT outer{};
    RECT inner{};
    GetWindowRect(frame->Handle(), &outer);
    GetClientRect(frame->ClientHandle(), &inner);
    MoveWindow(frame->Handle(), 0, 0, outer.right - outer.left + 1280 - inner.right,
               outer.bottom - outer.top + 666 - inner.bottom, TRUE);
    SendMessageA(frame->Handle(), WM_COMMAND, Cmd::WindowTile, 0);
    expectTiles();
    for (const auto& [graph, when] : tiled)
        delete graph;
    std::remove(path.c_str());
}

TEST_F(GraphFiles, TornadoBarsStackInUnitsShareTheRiskAndOpenTheirOneWayGraph)
{
    TornadoResults results = MakeTornadoResults({{"p", 10.0, 13.0}, {"v", 10.0, 14.0}}, 11.5, 10.0, 14.0, "EV");
    auto* graph = new TornadoGraph(results);
    graph->Open(nullptr);
    // As shown, it saves a file that opens again.
    TornadoGraph* reopened = nullptr;
    RoundTrip(graph, reopened);
    ASSERT_NE(reopened, nullptr);
    delete reopened;
    const LogicalRect plot = graph->graphRect;
    const float unit = (plot.bottom - plot.top) / 9;
    const LogicalRect p = graph->BarRect(0, 0, 2);
    const LogicalRect v = graph->BarRect(1, 1, 2);
    EXPECT_NEAR(p.top, plot.top + unit, 1e-4);
    EXPECT_NEAR(p.bottom, plot.top + 4 * unit, 1e-4);
    EXPECT_NEAR(v.top, plot.top + 5 * unit, 1e-4);
    EXPECT_NEAR(v.bottom, plot.bottom - unit, 1e-4);
    EXPECT_EQ(graph->BarAt((p.left + p.right) / 2, p.bottom), 0);
    EXPECT_EQ(graph->BarAt((v.left + v.right) / 2, v.top + unit), 1);
    EXPECT_EQ(graph->BarAt((p.left + p.right) / 2, p.bottom + unit / 2), -1);
    // Across the tie: black on the mark (0.03 in wide), none just beside it.
    const float tieAt = graph->horizontalAxis.Position(11.5, plot);
    for (float offset : {0.0f, 0.04f, -0.04f})
        EXPECT_EQ(ColoursAtInches(*graph, tieAt + offset, (p.top + p.bottom) / 2, 0).count(RGB(0, 0, 0)),
                  offset == 0.0f ? 1u : 0u)
            << offset;

    TextReport report;
    ASSERT_TRUE(graph->WriteTextExport(report));
    EXPECT_EQ(report.Title(), "KIVO(tm) Tornado Diagram");
    std::string headers;
    for (int c = 0; c < report.ColumnHeaders().Count(); ++c)
        headers += std::string(report.ColumnHeaders().At(c)->Text()) + "|";
    EXPECT_EQ(headers, "Variable|Low EV|High EV|Low Input|High Input|Spread|SpreadSqr|Risk Pct|Cum Pct|");
    EXPECT_EQ(ExportColumn(report, 6), (std::vector<double>{9, 16}));
    EXPECT_EQ(ExportColumn(report, 7), (std::vector<double>{36, 64}));
    EXPECT_EQ(ExportColumn(report, 8), (std::vector<double>{36, 100}));

    InstallLineGraphWindows();
    const float x = (p.left + p.right) / 2 + 0.1f;
    const POINT client = CanvasClientPoint(*graph, x, p.top + unit);
    // Held on the bar: its text in several lines, until the button comes up.
    graph->OnCanvasMouseDown(client);
    EXPECT_TRUE(graph->HeldTipShown());
    EXPECT_EQ(std::string(graph->heldTipText.Text()), std::string(graph->BarText(0, true).Text()));
    EXPECT_NE(std::string(graph->heldTipText.Text()).find('\n'), std::string::npos);
    graph->OnCanvasMouseUp();
    EXPECT_FALSE(graph->HeldTipShown());
    {
        ScreenOnTop onTop(graph->Handle());
        RealInput::DoubleClick(RealInput::OnScreen(graph->Pane()->Handle(), client));
        ASSERT_TRUE(PumpMessagesUntil([&] { return Newest<LineGraph>() != nullptr; }));
    }
    SetLineGraphPresenter(nullptr);
    auto* oneWay = Newest<LineGraph>();
    EXPECT_STREQ(oneWay->title.text.Text(), "Sensitivity Analysis on ");
    EXPECT_STREQ(oneWay->subtitle.text.Text(), "p");
    EXPECT_EQ(oneWay->LineCount(), 1);
    EXPECT_EQ(oneWay->ThresholdCount(), 1);

    EXPECT_EQ(std::string(graph->CoordinateText(x, p.top + unit).Text()).rfind("p (0 to 1) : ", 0), 0u);

    // Show/Hide leaves p out: v alone takes the bar of one shown, the legend drops p, the export keeps it.
    ModalDialogDriver person;
    person
        .Then([](DialogFrameCL& dialog) {
            SendDlgItemMessageA(dialog.Handle(), Ctl::ShowHide::ClickOnAnyItemToToggleItsStateList, LB_SETSEL, FALSE,
                                0);
        })
        .Press(IDOK);
    SendMessageA(graph->Handle(), WM_COMMAND, Cmd::GraphShowHide, 0);
    EXPECT_EQ(graph->shownBars, (std::vector<int16_t>{1}));
    EXPECT_FALSE(graph->ElementShown(*graph->legendTexts.Label(0)));
    EXPECT_TRUE(graph->ElementShown(*graph->legendKeys.Key(1)));
    EXPECT_EQ(graph->BarAt((v.left + v.right) / 2, plot.top + 2 * unit), 1);
    TextReport hidden;
    graph->WriteTextExport(hidden);
    EXPECT_EQ(hidden.Lines().Count(), 2);

    RoundTrip(graph, reopened);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->shownBars, (std::vector<int16_t>{1}));
    EXPECT_EQ(reopened->allBars->At(0)->points.Count(), 1);

    for (int b = 0; b < 2; ++b)
        results.bars->At(b)->highResult = results.bars->At(b)->lowResult;
    TextReport flat;
    TornadoGraph(results).WriteTextExport(flat);
    EXPECT_EQ(ExportColumn(flat, 7), (std::vector<double>{0, 0}));
    EXPECT_EQ(ExportColumn(flat, 8), (std::vector<double>{0, 0}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

// Whether the plot is inked across the middle of its width at the height of the value.
bool InkedAt(LineGraph& graph, double value)
{
    const std::unique_ptr<BitmapDisplay> bitmap = Drawn(graph);
    const LogicalRect& plot = graph.graphRect;
    const int x = LogicalXToPixel((plot.left + plot.right) / 2, *bitmap);
    const int y = LogicalYToPixel(graph.verticalAxis.Position(value, plot), *bitmap);
    return GetPixel(bitmap->DeviceContext(), x, y) != RGB(255, 255, 255);
}

// Thirty-five level lines, line i at the value i + 1: all are kept, listed and stored, thirty are drawn, the
// same thirty after the file is reopened; Show/Hide refuses a thirty-first and shows another line instead.
TEST_F(GraphFiles, ThirtyOfThirtyFiveLinesAreDrawnThroughSaveAndShowHide)
{
    LineGraphData data;
    data.title = "Lines";
    data.horizontal.top = 1.0;
    data.horizontal.interval = 1.0;
    data.vertical.top = 40.0;
    data.vertical.interval = 10.0;
    for (int i = 0; i < 35; ++i)
        data.lines.push_back({"L" + std::to_string(i + 1), {i + 1.0, i + 1.0}});
    LineGraph* graph = OpenLineGraph(data);
    EXPECT_EQ(graph->legendTexts.Count(), 35);
    EXPECT_EQ(graph->legendKeys.Count(), 35);
    EXPECT_EQ(graph->ShownLineCount(), 30);
    EXPECT_TRUE(InkedAt(*graph, 30.0));
    EXPECT_FALSE(InkedAt(*graph, 31.0));
    const std::string path = TempPath("kivo_graph_35.grf");
    SaveAs(graph, path);
    const std::vector<uint8_t> picture = Picture(*graph);

    // A copy opened beside the first window, so not maximised to fill the frame.
    const std::string copy = TempPath("kivo_graph_35_copy.grf");
    CopyFileA(path.c_str(), copy.c_str(), FALSE);
    LineGraph* saved = graph;
    graph = Open(copy);
    delete saved;
    std::remove(copy.c_str());
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->LineCount(), 35);
    EXPECT_TRUE(Picture(*graph) == picture);

    ModalDialogDriver person;
    person
        .Then([](DialogFrameCL& dialog) {
            EXPECT_STREQ(dialog.Text(), "Show/Hide ");
            EXPECT_EQ(SendDlgItemMessageA(dialog.Handle(), Ctl::ShowHide::ClickOnAnyItemToToggleItsStateList,
                                          LB_GETCOUNT, 0, 0),
                      35);
            EXPECT_EQ(SendDlgItemMessageA(dialog.Handle(), Ctl::ShowHide::ClickOnAnyItemToToggleItsStateList,
                                          LB_GETSELCOUNT, 0, 0),
                      30);
            SendDlgItemMessageA(dialog.Handle(), Ctl::ShowHide::ClickOnAnyItemToToggleItsStateList, LB_SETSEL, TRUE,
                                30);
            SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
        })
        .Then([](DialogFrameCL& dialog) {
            // Still open after the refusal: line 1 goes, line 31 stays chosen.
            SendDlgItemMessageA(dialog.Handle(), Ctl::ShowHide::ClickOnAnyItemToToggleItsStateList, LB_SETSEL, FALSE,
                                0);
            SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
        });
    SendMessageA(graph->Handle(), WM_COMMAND, Cmd::GraphShowHide, 0);
    EXPECT_TRUE(person.Finished());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "You may only show 30 lines at one time.");
    EXPECT_EQ(graph->ShownLineCount(), 30);
    EXPECT_TRUE(graph->IsModified());
    EXPECT_TRUE(InkedAt(*graph, 31.0));
    EXPECT_FALSE(InkedAt(*graph, 1.0));
    delete graph;
    std::remove(path.c_str());
}

// The common part written by hand up to each gate of the file's version, with the line part after it.
struct HandMade {
    uint8_t version[3];
    int16_t typeCode = 44;
    int16_t steps = 1;
    int16_t thresholdA = 0;
    int thresholdTitleLength = 17;
};

void WriteHandMade(const std::string& path, const HandMade& made)
{
    std::unique_ptr<FileStream> stream = FilePath(path.c_str()).OpenStream(true);
    Archive& out = *stream;
    WriteFileHeader(out, GraphDocumentKind);
    out.WriteShort(made.typeCode);
    out.WriteBytes(made.version, 3);
    VersionRecord version;
    uint8_t versionBytes[3] = {made.version[0], made.version[1], made.version[2]};
    MemoryStream probe(versionBytes, 3, false);
    version.Serialize(probe);
    const int32_t key = version.Key();
    GraphLabel label("Title");
    label.Serialize(out);
    out.WriteByte(0);
    label.Serialize(out);
    label.vertical = 1;
    label.Serialize(out);
    label.vertical = 0;
    label.Serialize(out);
    AxisElement axis;
    axis.valueTop = 1.0;
    axis.interval = 0.5;
    axis.Serialize(out);
    axis.isVertical = 1;
    axis.Serialize(out);
    GraphElementList legend;
    legend.AddLabel("A");
    legend.AddLabel("B");
    legend.Serialize(out);
    GraphMarkList keys;
    keys.Add(new GraphMarkElement(6));
    keys.Add(new GraphMarkElement(7));
    keys.Serialize(out);
    for (float side : {1.0f, 1.0f, 3.0f, 3.0f, 0.0f, 0.0f, 4.0f, 4.0f})
        out.WriteFloat(side);
    GraphElementList labels;
    labels.AddLabel("Extra");
    if (key >= 0x20600) {
        out.WriteFloat(0).WriteFloat(0);
        labels.Serialize(out);
        out.WriteByte(1).WriteByte(0).WriteDouble(0.5).WriteDouble(0.0);
    }
    if (key >= 0x206B2)
        out.WriteByte(50);
    if (key >= 0x300B2)
        out.WriteFloat(1.5f).WriteFloat(2.5f);
    if (key >= 0x300E9)
        out.WriteShort(0);
    if (key > 0x305B2) {
        labels.Serialize(out);
        labels.Serialize(out);
    }
    // The line part.
    out.WriteBytes(made.version, 3);
    out.WriteShort(made.steps);
    GraphLineElementList lines;
    for (int i = 0; i < 2; ++i) {
        auto* line = new GraphLineElement;
        line->values = {0.0, 1.0 - i};
        lines.Add(line);
    }
    lines.Serialize(out);
    out.WriteShort(1);
    GraphLabel title(std::string(made.thresholdTitleLength, 'T').c_str());
    title.Serialize(out);
    GraphSeriesList points;
    auto* point = new GraphSeriesItem;
    point->first = made.thresholdA;
    point->second = 1;
    point->x = 0.5;
    point->y = 0.5;
    points.Add(point);
    points.Serialize(out);
    ThresholdLabelList thresholdLabels;
    thresholdLabels.Add(new ThresholdLabel);
    thresholdLabels.Serialize(out);
    StoreString(out, "p");
    out.WriteShort(0).WriteShort(1);
    if (key >= 0x20600)
        out.WriteShort(1);
    if (key >= 0x30000)
        out.WriteShort(1).WriteShort(1);
}

TEST_F(GraphFiles, OlderFilesReadToTheirLastGateAndKeepTheRestAtDefaults)
{
    struct Case {
        uint8_t version[3];
        int freeLabels, zoom;
        float offsetX;
        int bottomLabels, shownLines;
    };
    const Case cases[] = {
        {{2, 5, 0}, 0, 100, 0.0f, 0, 0},     {{2, 6, 0xB1}, 1, 100, 0.0f, 0, 0}, {{2, 6, 0xB2}, 1, 50, 0.0f, 0, 0},
        {{3, 0, 0xB2}, 1, 50, 1.5f, 0, 1},   {{3, 0, 9}, 1, 50, 1.5f, 0, 1},     {{3, 5, 0xB2}, 1, 50, 1.5f, 0, 1},
        {{3, 5, 0xB3}, 1, 50, 1.5f, 1, 1},
    };
    const std::string path = TempPath("kivo_graph_old.grf");
    for (const Case& c : cases) {
        HandMade made{{c.version[0], c.version[1], c.version[2]}};
        WriteHandMade(path, made);
        LineGraph* graph = Open(path);
        ASSERT_NE(graph, nullptr) << int(c.version[1]) << "." << int(c.version[2]);
        EXPECT_EQ(graph->freeLabels.Count(), c.freeLabels);
        EXPECT_EQ(graph->printZoom, c.zoom);
        EXPECT_EQ(graph->printOffsetX, c.offsetX);
        EXPECT_EQ(graph->bottomLabels.Count(), c.bottomLabels);
        EXPECT_EQ(graph->sideLabels.Count(), c.bottomLabels);
        EXPECT_EQ(graph->ShownLineCount(), c.shownLines);
        EXPECT_EQ(graph->LineCount(), 2);
        delete graph;
    }
    EXPECT_TRUE(boxes.Boxes().empty());
    std::remove(path.c_str());
}

TEST_F(GraphFiles, UnknownKindsAndDamagedLinePartsOpenNothing)
{
    struct Case {
        HandMade made;
        const char* box;
    };
    const HandMade current{{3, 5, 0}};
    HandMade kind43 = current, kind54 = current, negativeSteps = current, longTitle = current, noLine = current;
    kind43.typeCode = 43;
    kind54.typeCode = 54;
    negativeSteps.steps = -1;
    longTitle.thresholdTitleLength = 301;
    noLine.thresholdA = -1;
    const Case cases[] = {{kind43, "Unable to read graph file."}, {kind54, "Unable to read graph file."},
                          {negativeSteps, "Unable to open file."},  {longTitle, "Unable to open file."},
                          {noLine, "Unable to open file."}};
    const std::string path = TempPath("kivo_graph_bad.grf");
    for (const Case& c : cases) {
        boxes.Clear();
        WriteHandMade(path, c.made);
        EXPECT_EQ(Open(path), nullptr);
        ASSERT_EQ(boxes.Count(), 1u);
        // The box names the file and says why after the message.
        const std::string named = std::string(c.box) + "\n\n\"" + path + "\"\n\n";
        EXPECT_EQ(boxes.Last().text.substr(0, named.size()), named);
        EXPECT_GT(boxes.Last().text.size(), named.size());
    }
    // The format errors behind "Unable to open file.".
    struct Error {
        HandMade made;
        uint32_t code;
    };
    const Error errors[] = {{negativeSteps, 13}, {longTitle, 14}, {noLine, 10}};
    for (const Error& e : errors) {
        WriteHandMade(path, e.made);
        LineGraph graph(1, 1);
        std::unique_ptr<FileStream> stream = FilePath(path.c_str()).OpenStream(false);
        EXPECT_FALSE(graph.ReadDocument(*stream, 0) && stream->FormatError() == 0);
        EXPECT_EQ(stream->FormatError(), e.code);
    }
    std::remove(path.c_str());
}

// The picture follows the step shown, the label "z = <value>" keeps its size, and the graph saves and reopens.
TEST_F(GraphFiles, ThreeWayStepsShowTheirRegionsUnderALabelOfOneSize)
{
    auto* graph = new ThreeWaySensGraph(ThreeStepResults());
    graph->Open(nullptr);
    EXPECT_TRUE(graph->Strip()->Animating());
    ASSERT_TRUE(AnimationEnds(*graph->Strip()));
    const float width = graph->stepLabel.Width();
    const std::set<COLORREF> fills[] = {{kSecondFill}, {kFirstFill}, {kFirstFill}};
    for (int step : {1, 2, 0}) {
        graph->Strip()->ShowStep(step);
        EXPECT_EQ(std::string(graph->stepLabel.text.Text()).rfind("z = ", 0), 0u) << graph->stepLabel.text.Text();
        EXPECT_EQ(graph->stepLabel.currentValue, 50.0 * step);
        EXPECT_EQ(graph->stepLabel.Width(), width);
        // At x = 3.5: Right's at step 0, Left's from step 1 on (drawn again, not by the strip).
        const std::set<COLORREF> colours = ColoursAt(*graph, 3.5, 5.0);
        EXPECT_TRUE(colours.count(*fills[step].begin()) && !colours.count(step == 0 ? kFirstFill : kSecondFill))
            << step;
    }
    ThreeWaySensGraph* reopened = nullptr;
    RoundTrip(graph, reopened);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->StepCount(), 3);
    EXPECT_EQ(reopened->stepLabel.currentValue, 0.0);
    EXPECT_TRUE(boxes.Boxes().empty());
}

// Opened with File Open, a three-way graph plays its steps in order as it appears and rests on the last, its
// scroll bar at 2 and the screen as a full repaint draws it. The graph it was saved from stops playing as its
// window is destroyed.
TEST_F(GraphFiles, AThreeWayGraphOpenedFromItsFilePlaysItsStepsToTheLast)
{
    auto* graph = new ThreeWaySensGraph(ThreeStepResults());
    graph->Open(nullptr);
    const std::string path = TempPath("kivo_graph_threeway.grf");
    SaveAs(graph, path);
    ASSERT_TRUE(graph->Strip()->Animating());
    DestroyWindow(graph->Handle());
    EXPECT_FALSE(graph->Strip()->Animating());
    delete graph;
    auto* opened = Open<ThreeWaySensGraph>(path);
    std::remove(path.c_str());
    ASSERT_NE(opened, nullptr);
    StepAnimationStrip& strip = *opened->Strip();
    EXPECT_TRUE(strip.Animating());
    std::vector<int> seen;
    ASSERT_TRUE(PumpMessagesUntil([&] {
        if (seen.empty() || seen.back() != opened->currentStep) {
            seen.push_back(opened->currentStep);
            EXPECT_EQ(strip.ScrollPosition(), opened->currentStep);
        }
        return !strip.Animating();
    }));
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(strip.ScrollPosition(), 2);
    EXPECT_EQ(opened->stepLabel.currentValue, 100.0);
    EXPECT_TRUE(ColoursAt(*opened, 3.5, 5.0).count(kFirstFill));
    ExpectScreenEqualsRepaint(opened->Handle());
}

// A (cost c, effectiveness 1) against B (cost 10, effectiveness 3), c from 0 to 20: the plane graph of the
// run's window joins A and B while A is the cheaper, leaves A dominated and unjoined once it costs more, and
// A keeps its mark although it moves behind B in the order of cost.
TEST_F(GraphFiles, CostEffectivenessPlanesRecomputeDominanceAtEachStep)
{
    TreeBuilder tree;
    CESensitivityWindow* window = nullptr;
    SetCESensitivityPresenter([&window](const CESensitivityResults& results) { window = CESensitivityWindow::Open(results); });
    RunCostSweep(tree, "3");
    SetCESensitivityPresenter(nullptr);
    ASSERT_NE(window, nullptr);
    SendMessageA(window->Handle(), WM_COMMAND, CESensitivityWindow::kCostByEffectiveness, 0);
    delete window;
    auto* graph = Newest<CESensitivityGraph>();
    ASSERT_NE(graph, nullptr);
    EXPECT_TRUE(graph->Strip()->Animating());
    ASSERT_TRUE(AnimationEnds(*graph->Strip()));
    ASSERT_EQ(graph->StepCount(), 5);
    EXPECT_STREQ(graph->horizontalLabel.text.Text(), "Cost");
    auto inches = [graph](double cost, double effectiveness) {
        return LogicalPoint{graph->horizontalAxis.Position(cost, graph->graphRect),
                            graph->verticalAxis.Position(effectiveness, graph->graphRect)};
    };
    const COLORREF markA = MarkColour(graph->MarkOfStrategy("A"), true);
    const COLORREF markB = MarkColour(graph->MarkOfStrategy("B"), true);
    ASSERT_NE(markA, markB);
    struct Step {
        int step;
        double costA;
        bool joined;
    };
    for (const Step& s : {Step{0, 0.0, true}, Step{4, 20.0, false}}) {
        graph->Strip()->ShowStep(s.step);
        const LogicalPoint a = inches(s.costA, 1.0);
        const LogicalPoint b = inches(10.0, 3.0);
        const LogicalPoint middle{(a.x + b.x) / 2, (a.y + b.y) / 2};
        EXPECT_TRUE(ColoursAtInches(*graph, a.x, a.y, 3).count(markA)) << s.step;
        EXPECT_TRUE(ColoursAtInches(*graph, b.x, b.y, 3).count(markB)) << s.step;
        EXPECT_EQ(ColoursAtInches(*graph, middle.x, middle.y, 1).count(RGB(0, 0, 0)), s.joined ? 1u : 0u) << s.step;
    }
    graph->Strip()->ShowStep(0);
    CESensitivityGraph* reopened = nullptr;
    RoundTrip(graph, reopened);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->StepCount(), 5);
    EXPECT_TRUE(boxes.Boxes().empty());
}

// Stored forms of the elements: the format error each damaged record sets.
TEST(GraphElementRecords, DamagedRecordsSetTheirFormatErrors)
{
    MemoryStream out(100);
    GraphMarkList keys;
    keys.Add(new GraphFillElement(GraphFill{{10, 20, 30, 0}, 3}));
    keys.Add(new GraphMarkElement(4));
    keys.Serialize(out);
    // Past the list's header (version 3, grow 2, owns 1, count 2, marker 2): kind code 2 then, after the fill
    // record (version 3, colour 3, style 2, rectangle 16), kind code 1.
    EXPECT_EQ(out.Data()[10], 2);
    EXPECT_EQ(out.Data()[10 + 2 + 24], 1);
    MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Size(), false);
    GraphMarkList read;
    read.Serialize(in);
    ASSERT_EQ(read.Count(), 2);
    const auto* fill = dynamic_cast<GraphFillElement*>(read.Key(0));
    ASSERT_NE(fill, nullptr);
    EXPECT_EQ(fill->fill.colour.green, 20);
    EXPECT_EQ(fill->fill.style, 3);
    EXPECT_EQ(dynamic_cast<GraphMarkElement*>(read.Key(1))->markKind, 4);

    std::vector<uint8_t> badKind(out.Data(), out.Data() + out.Size());
    badKind[10] = 3;
    MemoryStream badKindIn(badKind.data(), static_cast<uint32_t>(badKind.size()), false);
    GraphMarkList refused;
    refused.Serialize(badKindIn);
    EXPECT_EQ(badKindIn.FormatError(), 12u);

    MemoryStream labelOut(100);
    GraphLabel label("x");
    label.Serialize(labelOut);
    std::vector<uint8_t> badFlag(labelOut.Data(), labelOut.Data() + labelOut.Size());
    badFlag[3 + 16] = 2;
    MemoryStream badFlagIn(badFlag.data(), static_cast<uint32_t>(badFlag.size()), false);
    label.Serialize(badFlagIn);
    EXPECT_EQ(badFlagIn.FormatError(), 9u);

    struct Axis {
        double bottom, top, interval;
        uint32_t code;
    };
    const Axis axes[] = {{0, 1, 0.25, 0}, {2, 1, 0.5, 8}, {0, 1, 0, 8}, {0, 1, 2, 8}, {0, 1e6, 1, 8}};
    for (const Axis& a : axes) {
        AxisElement axis;
        axis.valueBottom = a.bottom;
        axis.valueTop = a.top;
        axis.interval = a.interval;
        MemoryStream axisOut(100);
        axis.Serialize(axisOut);
        MemoryStream axisIn(const_cast<uint8_t*>(axisOut.Data()), axisOut.Size(), false);
        AxisElement read;
        read.Serialize(axisIn);
        EXPECT_EQ(axisIn.FormatError(), a.code) << a.bottom << ".." << a.top << " by " << a.interval;
    }
}

}  // namespace
