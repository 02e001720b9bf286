#pragma once
// The tornado diagram: one horizontal bar per variable (or group of correlated variables), from the lowest to
// the highest result its sweep reached, in the analysis's order, with a thick mark where the optimal strategy
// changes inside the bar. The graph owns the analysis's bars; a double click on a bar opens its one-way graph.

#include "analysis/TornadoDiagram.h"
#include "foundation/NameList.h"
#include "graph/GraphWindow.h"

#include <memory>
#include <vector>

class TornadoGraph : public GraphWindow {
public:
    static constexpr int kTypeCode = 52;

    explicit TornadoGraph(const TornadoResults& results);
    // Reads the graph file; an unreadable file was reported and leaves the graph without a path.
    explicit TornadoGraph(const char* path);

    int TypeCode() override { return kTypeCode; }
    bool HasTextExport() override { return true; }
    // "KIVO(tm) Tornado Diagram": every bar, hidden ones included, with its spread and share of the risk.
    bool WriteTextExport(TextReport& report) override;
    // The bar under the point, in one line; empty elsewhere.
    zString CoordinateText(float x, float y) const override;
    // The fill picker on the key's bar.
    bool EditLegendKey(GraphElement& key) override;
    // Show/Hide, always offered.
    CommandTable KindCommands() const override;
    // The legend entries of hidden bars are left out.
    bool ElementShown(const GraphElement& element) const override;

    // The rectangle (inches) of the bar shown at position v of n shown bars.
    LogicalRect BarRect(int bar, int v, int n) const;
    // The bar (index into allBars) whose rectangle holds the point, edges included; -1 for none.
    int BarAt(float x, float y) const;
    // The bar's text: name, range and results, in one line or several.
    zString BarText(int bar, bool multiLine) const;
    // The one-way sensitivity graph of the bar's first variable, from the results stored with the bar.
    void OpenOneWayGraph(int bar);
    // Pressing the button on a bar shows its text in several lines until the button is released; a double
    // click on it opens its one-way graph.
    void OnCanvasMouseDown(POINT client) override;
    void OnCanvasMouseMove(POINT client, bool control, bool leftHeld) override;
    void OnCanvasMouseUp() override;

    std::shared_ptr<TornadoVariableList> allBars;
    // Indexes into allBars of the bars shown, in allBars order.
    std::vector<int16_t> shownBars;
    int16_t riskAdjusted = 0;
    int16_t strategyCount = 1;
    int16_t maximizing = 1;
    int16_t steps = 0;
    NameList strategyNames;

protected:
    void DrawSeries(Display& display) override;
    bool HasStoredForm() override { return true; }
    void StorePart(Archive& archive) override;
    bool LoadPart(Archive& archive) override;

private:
    static const CommandRow KindRows[];
    void ShowHideBars();
};

// Shows tornado diagrams in this graph window from now on.
void InstallTornadoGraphs();
