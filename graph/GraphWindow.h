#pragma once
// The document window that shows one analysis result as a graph: title and subtitle, two axes, the plot
// rectangle, a legend and the kind's series. Positions are in inches; the pane converts them to pixels.
// Graph kinds derive from it, fill their series, scale the axes, lay the graph out and show it.

#include "app/DocumentWindow.h"
#include "foundation/LogicalRect.h"
#include "foundation/zString.h"
#include "graph/AxisElement.h"

#include <vector>

class Display;
class TextReport;

class GraphWindow : public DocumentWindow {
public:
    // A new, untitled graph: "Untitled Graph <n>", counted over every graph since the program started.
    GraphWindow();
    ~GraphWindow() override;

    int DocumentKind() override { return 2; }
    const char* const* FileFilter() override;
    int CanSaveAsPicture() override { return 1; }
    int CanPrint() override { return 1; }
    // Graph files are not written or read yet: a graph is saved as a picture.
    bool WriteDocument(Archive& stream) override;
    bool ReadDocument(Archive& stream, uint32_t fileSize) override;
    void Bounds(LogicalRect& rect) override { rect = extent; }
    void Draw(Display* display) override;

    // 44..53 for the kinds, 0 here.
    virtual int TypeCode() { return 0; }
    // The graph as tab-separated text; false when the kind has none.
    virtual bool WriteTextExport(TextReport& report);

    // Scales an axis (vertical when which is nonzero) from low to high in about `count` intervals (8 when
    // below 1) on whole multiples of a power of ten, and labels it.
    void AutoScaleAxis(int which, const NumericFormat& format, double low, double high, const char* title,
                       int userMayEdit, int count);
    // Measures and places the title, the plot with its axes and legend, and the horizontal-axis label.
    void Layout();

    zString title;
    zString subtitle;
    bool hasSubtitle = false;
    zString horizontalLabel;
    zString verticalLabel;
    std::vector<zString> legendTexts;
    AxisElement horizontalAxis;
    AxisElement verticalAxis;
    // The area holding everything, and the plot rectangle.
    LogicalRect extent{0, 0, 0, 0};
    LogicalRect graphRect{0, 0, 0, 0};

protected:
    // The kind's lines, bars or regions inside the plot rectangle.
    virtual void DrawSeries(Display& display) {}
    // The legend key of entry i at the rectangle (inches).
    virtual void DrawLegendKey(Display& display, int index, const LogicalRect& key) {}
    // Extra rows the kind places under the legend; their width and height in inches.
    virtual void ExtraLegendSize(Display& display, float& width, float& height) {}
    virtual void DrawExtraLegend(Display& display, float left, float top) {}

    // Text sizes in inches on the display (locked) with its current font.
    float TextWidth(Display& display, const char* text) const;
    float TextHeight(Display& display) const;
    void DrawTextAt(Display& display, float x, float y, const char* text) const;
    void DrawLineBetween(Display& display, float x1, float y1, float x2, float y2) const;

private:
    void DrawAxes(Display& display);

    float legendLeft_ = 0.0f;
    float legendTop_ = 0.0f;
};
