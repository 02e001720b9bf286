#pragma once
// The document window that shows one analysis result as a graph: title and subtitle, two axis labels, two
// axes, the plot (graph size) rectangle, the legend texts and keys, and the labels the user adds (free,
// bottom and side labels). Positions are in inches; the canvas pane converts them to pixels. The user
// selects, moves and edits the elements, drags and resizes the plot, and saves the graph as a ".grf" file.
// Graph kinds derive from it, fill their series, scale the axes, lay the graph out and show it.

#include "widgets/DocumentWindow.h"
#include "foundation/LogicalRect.h"
#include "foundation/zString.h"
#include "graph/AxisElement.h"
#include "graph/GraphLabel.h"
#include "graph/GraphMarks.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class Display;
class GraphTemplate;
class PrinterSetupRecord;
class TextReport;
class TrackerBase;
class ZoomPane;

class GraphWindow : public DocumentWindow {
public:
    using ElementVisit = std::function<void(GraphElement&)>;

    // A new, untitled graph: "Untitled Graph <n>", counted over every graph since the program started; it
    // starts modified.
    GraphWindow();
    ~GraphWindow() override;

    int DocumentKind() override { return 2; }
    const char* const* FileFilter() override;
    int CanSaveAsPicture() override { return 1; }
    int CanPrint() override { return 1; }
    // The common part, then the kind's own.
    bool WriteDocument(Archive& stream) override;
    bool ReadDocument(Archive& stream, uint32_t fileSize) override;
    // Kinds without a stored part of their own cannot be saved as graphs yet.
    bool CanWriteDocument() override { return HasStoredForm(); }
    void Bounds(LogicalRect& rect) override { rect = extent; }
    void Draw(Display* display) override;
    bool GetPrintOffset(float& x, float& y) override;
    void SetPrintOffset(float x, float y) override;
    int CentreOnePage() override { return centreOnPage; }
    double GetPrintScale() override { return printZoom / 100.0; }
    void SetPrintScale(double x, double y) override;
    PrinterSetupRecord& PrinterSettings() override;

    // The Graph menu's common items and the main-menu commands a graph answers; the rest goes on to the
    // document's own (Save, Save As).
    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    void UpdateMenus(HMENU bar) override;
    // The tool bar's Save, Print and the buttons of the graph's commands, by the same rules.
    void SetDefaultCommandStates() override;
    // Whether the command is the graph window's, and whether its row's rule (the kind's row first) allows it
    // now; a command without a row is refused.
    static bool HasCommand(unsigned id);
    bool CommandAllowed(unsigned id);

    // A command of the graph: its handler and the rule that greys its item and refuses it.
    struct CommandRow {
        unsigned id;
        void (*handler)(GraphWindow& graph);
        bool (*rule)(GraphWindow& graph);
    };
    // The rows of a table, as a range.
    struct CommandTable {
        CommandTable() = default;
        template <std::size_t count>
        CommandTable(const CommandRow (&rows)[count]) : first(rows), last(rows + count)
        {
        }
        const CommandRow* begin() const { return first; }
        const CommandRow* end() const { return last; }
        const CommandRow* first = nullptr;
        const CommandRow* last = nullptr;
    };
    // A kind's own commands, which answer before the common rows; none here.
    virtual CommandTable KindCommands() const { return {}; }

    // 44..53 for the kinds, 0 here.
    virtual int TypeCode() { return 0; }
    // The graph as tab-separated text; false when the kind has none.
    virtual bool WriteTextExport(TextReport& report);
    virtual bool HasTextExport() { return false; }
    // Starts an export: its title, the heading (the title, and the subtitle when shown) and the horizontal
    // axis's column.
    void BeginTextExport(TextReport& report, const char* reportTitle) const;
    // After the user changed a number format.
    virtual void FormatChanged() {}
    // After the user changed an axis: 1 accepts, 0 refuses (the axis is then put back).
    virtual int AxisChanged(int vertical) { return 1; }
    // Lets the user edit a legend key; true when it changed.
    virtual bool EditLegendKey(GraphElement& key) { return false; }
    // The marker picker on a legend mark, named after the legend text of its index; true (the graph
    // repainted) when the person chose a mark.
    bool PickLegendMark(GraphElement& key);
    // Every element in walk order: title, subtitle (when shown), the axis labels, the axes, legend texts
    // and keys, free, bottom and side labels, the block in the legend column, then the kind's own. The kind
    // adds its own at the end.
    virtual void ForEachElement(const ElementVisit& visit);
    // Whether an element of the walk is drawn, hit and counted in the extent now; a kind hides some of its own
    // while keeping them measured and placed.
    virtual bool ElementShown(const GraphElement& element) const { return true; }
    // The topmost element under the point (inches), or null.
    virtual GraphElement* FindElement(float x, float y);

    // Scales an axis (vertical when which is nonzero) from low to high in about `count` intervals (8 when
    // below 1) on whole multiples of a power of ten, and labels it.
    void AutoScaleAxis(int which, const NumericFormat& format, double low, double high, const char* title,
                       int userMayEdit, int count);
    // Scales the axis of a swept variable exactly from low to high in its intervals when every step falls on
    // a round value, else over the range on round ticks (1, 2 or 5 times a power of ten, about as many), the
    // format fitted to the range, and labels it; the user may change the scale.
    void ScaleSweptAxis(int which, const NumericFormat& format, double low, double high, int intervals,
                        const char* title);
    // Measures every element and places the title, plot and bottom blocks; unless its placements are kept,
    // the plot takes the room the window leaves it.
    void Layout();
    // What a template, a drag or a file placed stays where it is: the plot keeps its size until the window's
    // size changes, and then is resized in place instead of the graph being laid out again.
    void KeepPlacements() { placementsKept_ = true; }
    // The canvas changed size, whichever way: the graph follows it to fill it.
    void CanvasResized();
    // Laid out and shown, as the kept template of a stored analysis says when there is one (its fonts,
    // texts and lines, then its plot size).
    void Open(const GraphTemplate* kept);
    // Shows the window; its first showing then calls FirstShown.
    void Show(int showCommand) override;
    // The plot's width and height: the graph size rectangle's, or the preferred size while it has none.
    void GraphSize(float& width, float& height) const;
    // Moves and resizes the plot and the elements tied to it.
    virtual void SetGraphRect(const LogicalRect& rect);
    // The extent becomes the union of the origin and every element; the pane follows.
    void Refit();
    // The Ctrl status text of a point (inches): "<h title> = x; <v title> = y".
    virtual zString CoordinateText(float x, float y) const;

    // A template of the graph's size, formats, fonts, free labels, texts and lines.
    std::unique_ptr<GraphTemplate> MakeTemplate();
    // Changes the graph by the template's apply choices (the caller fits and lays out).
    void ApplyTemplate(const GraphTemplate& applied);

    void Select(GraphElement* element);
    void Deselect();
    GraphElement* Selected() const { return selected_; }
    // Appends a legend text (and its key when given, owned from now on).
    GraphLabel* AddLegendEntry(const char* text, GraphElement* key);

    // Keeps a strip of the height (pixels) under the canvas for the child window there; 0 gives it back.
    void ReserveBottomStrip(int height);

    // Mouse and keys of the canvas, in the pane's client pixels. A press that hits the same element (or bar)
    // as the press before it, within the system's double-click time, is a double click.
    virtual void OnCanvasMouseDown(POINT client);
    virtual void OnCanvasMouseMove(POINT client, bool control, bool leftHeld);
    virtual void OnCanvasMouseUp();
    void OnCanvasKey(bool down);
    // A box of text (lines split at newlines) in the tip colours at the pointer while the button is held on
    // a part of the graph; hiding it repaints what it covered.
    void ShowHeldTip(POINT client, const char* text);
    void HideHeldTip();
    bool HeldTipShown() const { return heldTipShown_; }
    // What the held tip says.
    zString heldTipText;

    GraphLabel title;
    GraphLabel subtitle;
    uint8_t hasSubtitle = 0;
    GraphLabel horizontalLabel;
    GraphLabel verticalLabel;
    GraphElementList legendTexts;
    GraphMarkList legendKeys;
    AxisElement horizontalAxis;
    AxisElement verticalAxis;
    GraphElementList freeLabels;
    GraphElementList bottomLabels;
    GraphElementList sideLabels;
    // The area holding everything, and the plot (graph size) rectangle.
    LogicalRect extent{0, 0, 0, 0};
    LogicalRect graphRect{0, 0, 0, 0};
    // Set Lines: 1 draws the dotted line, 0 does not, 0xFF the graph does not offer it.
    uint8_t verticalLineFlag = 0;
    uint8_t horizontalLineFlag = 0;
    double verticalLineX = 0.0;
    double horizontalLineY = 0.0;
    // Print zoom in per cent and centring, from the "GraphPrefs" preferences.
    uint8_t printZoom = 100;
    uint8_t centreOnPage = 0;
    float printOffsetX = 0.0f;
    float printOffsetY = 0.0f;

protected:
    // A graph about to be read from a file: no title of its own yet, not counted.
    struct FromFile {};
    explicit GraphWindow(FromFile);
    // Reads the file into this window; false (reported) when it could not be read.
    bool OpenGraphFile(const char* path);

    // The kind's stored part after the common part, when it has one.
    virtual bool HasStoredForm() { return false; }
    virtual void StorePart(Archive& archive) {}
    // False when the part could not be read (the archive says why).
    virtual bool LoadPart(Archive& archive) { return true; }
    // Writes the common part (header, type code, texts, axes, lists, rectangles, lines, print settings).
    bool StoreCommon(Archive& archive);
    // Reads the common part; false when the header is wrong or the archive failed at a check point.
    bool LoadCommon(Archive& archive);

    // The window is on the screen for the first time, laid out: what the kind starts then.
    virtual void FirstShown() {}
    // The kind's lines, bars or regions inside the plot rectangle.
    virtual void DrawSeries(Display& display) {}
    // The dotted Set Lines go under the series unless the kind says otherwise.
    virtual bool SetLinesUnderSeries() { return true; }
    // Measures of the three blocks, at the origin.
    // A block standing in the legend column under the legend texts (a heading, then its items), laid out,
    // widened for and moved with the plot; none here.
    virtual std::vector<GraphElement*> LegendColumnBlock() { return {}; }
    virtual LogicalRect TitleBlockSize();
    virtual LogicalRect PlotBlockSize();
    // The height of the legend texts shown and the block under them, as they are placed beside the plot.
    float LegendColumnHeight();
    virtual LogicalRect BottomBlockSize();
    virtual void PlaceTitleBlock(const LogicalRect& block);
    virtual void PlacePlotBlock(const LogicalRect& block);
    virtual void PlaceBottomBlock(const LogicalRect& block);

    // A point of the canvas's client area in inches on the graph.
    LogicalPoint CanvasPoint(POINT client) const;
    // Names what the press being handled hit (null: nothing that a double click acts on); true when it is the
    // second press of a double click on it.
    static bool PressedTwice(const void* target);

private:
    RECT heldTipRect_{0, 0, 0, 0};
    bool heldTipShown_ = false;
    static const CommandRow Commands[];
    // The kind's row of the command, else the common one; null when neither has one.
    const CommandRow* FindCommand(unsigned id) const;
    // The common commands' handlers (GraphCommands.cpp).
    struct CommandHandlers;
    void CreateTemplate();
    void ApplyTemplateCommand();
    void MaintainTemplates();
    // The element fitted to its changed content (null: none), the graph modified and repainted.
    void Changed(GraphElement* element);

    void Initialise();
    // The canvas fills the window but for the strip kept at its bottom.
    void PlaceCanvas();
    void DrawSetLines(Display& display);
    void InvalidateElement(const GraphElement& element);

    // Measures and places the three blocks at the current plot size.
    void LayoutBlocks();
    // The title and subtitle centred again over the widest block, at the height they stand.
    void CentreTitles();
    // The plot size that makes the graph fill the canvas (at zoom 1); false when it is the size now.
    bool FittedPlotSize(float& width, float& height);
    // The plot resized to fill the canvas, the elements tied to it following and the titles centred again.
    void FitPlotInPlace();
    // Whether the window's client size differs from the one last seen here (which it then becomes).
    bool WindowSizeChanged();
    // A drawing that is larger than its canvas even with the smallest plot is shown smaller, whole when half
    // its size is enough; once it fits again it is shown at its size. A zoom the user chose is left alone
    // while the drawing fits.
    void ZoomToCanvas();

    GraphElement* selected_ = nullptr;
    // Placements kept (see KeepPlacements); measured and placed at least once (laid out or read).
    bool placementsKept_ = false;
    bool laidOut_ = false;
    // The window's client size the graph last followed.
    SIZE windowSize_{0, 0};
    int bottomStrip_ = 0;
    // The pane's zoom was chosen by ZoomToCanvas.
    bool zoomedToCanvas_ = false;
    std::unique_ptr<TrackerBase> tracker_;
    // 1 moving the plot, 2 resizing it, 3 moving the selected element.
    int dragKind_ = 0;
    bool statusShown_ = false;
    std::unique_ptr<PrinterSetupRecord> printerSettings_;
};

// Opens the graph file as the window of its kind; null after "Unable to read graph file." or the reading's
// own report.
GraphWindow* ReadGraphFile(const char* path);

// The width of the graph's legend keys (0 without a graph or keys), which the marks of legend items that
// draw their own take too.
float LegendKeyWidth(const GraphWindow* graph);
