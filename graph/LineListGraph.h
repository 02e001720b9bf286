#pragma once
// The graphs that show bars side by side across the plot, one per slot of the horizontal axis: the option
// bar graph and the probability distribution histogram. The base lays the bars out, draws them, shows a
// bar's value while the button is held on it and hands a double-click on a bar to the kind.

#include "foundation/PtrArray.h"
#include "graph/GraphMarks.h"
#include "graph/GraphWindow.h"

#include <memory>

class GraphBar : public GraphElement {
public:
    GraphBar() = default;
    GraphBar(const GraphBar& other);
    GraphBar& operator=(const GraphBar&) = delete;

    // Filled with its fill (the stock grey without one) and outlined; an overflowing bar gets an arrow.
    void Draw(Display& display) override;
    bool Movable() const override { return false; }
    // Stored form:
    //   version record                               3 bytes
    //   value                                        f64
    //   left, top, right, bottom                     4 x f32
    //   isOverflow, isHidden                         2 x u8   (from 2.6 on)
    //   has fill, fill                               i16, fill (from 2.6 on)
    void Serialize(Archive& archive) override;
    // Replaces the fill by a copy.
    void SetFill(const GraphFill& newFill) { fill = std::make_unique<GraphFill>(newFill); }

    double value = 0.0;
    uint8_t isOverflow = 0;
    uint8_t isHidden = 0;
    std::unique_ptr<GraphFill> fill;
};

class GraphBarList : public PtrArray {
public:
    GraphBarList() : PtrArray(4, true) {}
    ~GraphBarList() override { Clear(); }

    GraphBar* Bar(int index) const { return static_cast<GraphBar*>(At(index)); }
    GraphBar* AddBar(double value, bool hidden);
    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;
};

// The vertical axis format of the bar graphs: an axis format with 3 places.
NumericFormat MakeProbabilityAxisFormat();

class LineListGraph : public GraphWindow {
public:
    // Places every bar in its slot of the plot, from the plot's bottom up to its value, cut at the top.
    void LayoutBars();
    // The index of the first bar holding the point (inches) as last laid out, -1 when none.
    int BarAt(float x, float y) const;
    void OnCanvasMouseDown(POINT client) override;
    void OnCanvasMouseMove(POINT client, bool control, bool leftHeld) override;
    void OnCanvasMouseUp() override;

    GraphBarList bars;
    // The bar whose value shows while the button is held, -1 when none.
    int pressedBar = -1;

protected:
    using GraphWindow::GraphWindow;
    void DrawSeries(Display& display) override;
    // A double-click on bar `index`; true when the kind handled it.
    virtual bool OnBarDoubleClick(int index) { return false; }
};
