#pragma once
// A person's pointer on a graph: a point of the graph (inches) in its canvas and on the screen, and the
// system's own double click there (tests/support/RealInput.h). Hold the graph's window on top (ScreenOnTop)
// until the input has been handled.

#include "framework/draw/Display.h"
#include "framework/draw/LogicalUnits.h"
#include "graph/GraphWindow.h"
#include "tests/support/RealInput.h"
#include "widgets/ZoomPane.h"

// The graph point in the canvas's client pixels.
inline POINT CanvasClientPoint(GraphWindow& graph, float x, float y)
{
    ZoomPane& pane = *graph.Pane();
    pane.PushDrawingScale();
    const Display& display = *pane.CurrentDisplay();
    const RECT pixels = pane.DrawingToClient(RECT{LogicalXToPixel(x, display), LogicalYToPixel(y, display), 0, 0});
    pane.PopDrawingScale();
    return POINT{pixels.left, pixels.top};
}

// The middle of a rectangle of the graph on the screen.
inline POINT OnScreen(GraphWindow& graph, const LogicalRect& rect)
{
    return RealInput::OnScreen(graph.Pane()->Handle(), CanvasClientPoint(graph, (rect.left + rect.right) / 2,
                                                                         (rect.top + rect.bottom) / 2));
}

inline void DoubleClickOnGraph(GraphWindow& graph, const LogicalRect& rect)
{
    RealInput::DoubleClick(OnScreen(graph, rect));
}
