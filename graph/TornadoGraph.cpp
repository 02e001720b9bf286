#include "graph/TornadoGraph.h"

#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <windows.h>

TornadoGraph::TornadoGraph(const TornadoResults& results) : allBars(results.bars), steps(static_cast<int16_t>(results.intervals))
{
    title.text = "Tornado Diagram";
    if (results.node != nullptr) {
        results.node->GetShortText(subtitle.text, 30);
        hasSubtitle = subtitle.text.IsEmpty() ? 0 : 1;
        strategyCount = static_cast<int16_t>(results.thisNodeOnly ? 1 : results.node->childCount);
        if (results.node->document != nullptr)
            maximizing = results.node->document->IsMaximizing() ? 1 : 0;
    }
    const NumericFormat format =
        results.node != nullptr && results.node->document != nullptr ? results.node->document->NumberFormat
                                                                     : NumericFormat(true);
    AutoScaleAxis(0, format, results.low, results.high, results.label.Text(), 1, 0);
    const int count = allBars ? allBars->Count() : 0;
    verticalAxis.SetScale(format, 0.0, count > 0 ? count : 1, 1.0, 0);
    verticalAxis.isHidden = 1;
    for (int b = 0; b < count; ++b)
        AddLegendEntry(allBars->At(b)->barName.Text(), new GraphFillElement(GraphItemStyle(b)));
}

// Bar b (the widest first) fills the middle half of its row from its low to its high result.
void TornadoGraph::DrawSeries(Display& display)
{
    const int count = allBars ? allBars->Count() : 0;
    for (int b = 0; b < count; ++b) {
        const TornadoSetup* bar = allBars->At(b);
        const float left = horizontalAxis.Position(bar->lowResult, graphRect);
        const float right = horizontalAxis.Position(bar->highResult, graphRect);
        const float top = verticalAxis.Position(count - b - 0.25, graphRect);
        const float bottom = verticalAxis.Position(count - b - 0.75, graphRect);
        DrawLineBetween(display, left, top, right, top);
        DrawLineBetween(display, right, top, right, bottom);
        DrawLineBetween(display, right, bottom, left, bottom);
        DrawLineBetween(display, left, bottom, left, top);
    }
}

void InstallTornadoGraphs()
{
    SetTornadoPresenter([](const TornadoResults& results) {
        if (!results.bars)
            return;
        (new TornadoGraph(results))->Open(results.graphTemplate);
    });
}
