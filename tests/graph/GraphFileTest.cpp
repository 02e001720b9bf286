// Graph files: a line graph saved with Save As and opened with Open reads back byte for byte; older files read
// to their last gate; damaged records are refused by their format error; kinds that cannot be stored say so.

#include "analysis/LineGraphData.h"
#include "app/MainFrame.h"
#include "foundation/Archive.h"
#include "foundation/DocumentFileHeader.h"
#include "foundation/FilePath.h"
#include "foundation/FileStream.h"
#include "foundation/MemoryStream.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "dialogs/GraphCommandDialogs.h"
#include "framework/dialog/FileDialogs.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/LogicalUnits.h"
#include "graph/LineGraph.h"
#include "graph/TornadoGraph.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
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

// The graph drawn whole into a bitmap, as a device-independent block of bytes.
std::vector<uint8_t> Picture(GraphWindow& graph)
{
    LogicalRect bounds;
    graph.Bounds(bounds);
    BitmapDisplay screen(1, 1);
    const RECT pixels = LogicalRectToPixels(bounds, screen);
    BitmapDisplay bitmap(pixels.right - pixels.left, pixels.bottom - pixels.top);
    graph.Draw(&bitmap);
    HGLOBAL dib = bitmap.ExportDib();
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(dib));
    std::vector<uint8_t> copy(bytes, bytes + GlobalSize(dib));
    GlobalUnlock(dib);
    GlobalFree(dib);
    return copy;
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
    // Open from the frame's File menu; the graph window it opened, or null.
    LineGraph* Open(const std::string& path)
    {
        chosenPath = path;
        SendMessageA(frame->Handle(), WM_COMMAND, Cmd::FileOpen, 0);
        std::vector<WindowCL*> windows;
        frame->CollectWindows(windows);
        for (WindowCL* window : windows)
            if (auto* graph = dynamic_cast<LineGraph*>(window); graph && !graph->FilePathObject().IsEmpty() &&
                                                                 graph->FilePathObject().EqualsNoCase(FilePath(path.c_str())))
                return graph;
        return nullptr;
    }
    static LineGraphData OneWayData()
    {
        LineGraphData data;
        data.title = "Sensitivity Analysis on p";
        data.subtitles.push_back("[q:  0 to 1]");
        data.variableName = "p";
        data.horizontal.label = "p";
        data.horizontal.top = 1.0;
        data.horizontal.interval = 0.5;
        data.vertical.label = "Expected Value";
        data.vertical.top = 100.0;
        data.vertical.autoScale = true;
        data.lines.push_back({"A", {0.0, 50.0, 100.0}});
        data.lines.push_back({"B", {50.0, 50.0, 50.0}});
        ThresholdPoint crossing;
        crossing.first = 0;
        crossing.second = 1;
        crossing.x = 0.5;
        crossing.value = 50.0;
        data.thresholds.push_back(crossing);
        return data;
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
    delete graph;

    const std::vector<uint8_t> bytes = FileBytes(first);
    const std::vector<uint8_t> start{0x22, 0, 3, 5, 0, 2, 0, 44, 0};
    ASSERT_GT(bytes.size(), start.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + start.size()), start);

    LineGraph* reopened = Open(first);
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
        EXPECT_EQ(boxes.Last().text, c.box);
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

TEST_F(GraphFiles, AKindWithoutAStoredFormKeepsItsTitleAndSaysSo)
{
    TornadoResults results;
    auto* graph = new TornadoGraph(results);
    const std::string title = graph->Text();
    SaveAs(graph, TempPath("kivo_graph_tornado.grf"));
    EXPECT_EQ(graph->Text(), title);
    EXPECT_TRUE(graph->FilePathObject().IsEmpty());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_NE(boxes.Last().text.find("cannot be saved as a graph file"), std::string::npos);
    delete graph;
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
