#pragma once
// Painting an influence diagram on a display (the screen, a printer page, a bitmap or a picture): every node
// in its kind's outline with its label, every arc with its arrowhead and comment, every note; and the
// diagram's bounds. Drawing is in logical units through the display's drawing scale.

#include "foundation/LogicalRect.h"
#include "framework/draw/Colour.h"

#include <windows.h>

class Display;
class InfluenceArc;
class InfluenceDiagram;
class InfluenceDocument;
class InfluenceNodeRecord;
struct DiagramPoint;
struct LogicalPoint;

// Chance (0, 128, 0), deterministic (128, 0, 128), decision (0, 0, 255), value (255, 0, 0), sub-model
// (0, 128, 128), any other kind black; grey 192 when disabled (a clone).
Colour NodeKindColour(int kind, bool disabled);

// The outline of a node of the kind in the pixel rectangle with the pen and brush of the device: the inner
// oval of a deterministic node inset so far, the corners of a sub-model node cut so far.
void PaintNodeShape(HDC dc, int kind, const RECT& r, int inset, int corner);

// Nodes, then arcs, then notes; with a clip rectangle only the nodes that overlap it. A hidden arc is left
// out while the preferences leave hidden arcs off the screen (or off paper).
void PaintDiagram(InfluenceDocument& document, InfluenceDiagram& diagram, Display& display, const LogicalRect* clip);

// The arc's line (straight through its middle, or curved) with the display's pen; where its arrowhead points
// from.
LogicalPoint DrawArcLine(const InfluenceArc& arc, Display& display);

// From (0, 0) to the right and bottom of every node, arc (curves as drawn), shown comment and note.
LogicalRect DiagramBounds(InfluenceDiagram& diagram, Display& display);

// The selection's marks and the arc hit test (DiagramSelectionMarks.cpp).
// The selection band of a node: the strip 0.06 wide inside its outline, filled in its kind's colour.
void PaintSelectionBand(const InfluenceNodeRecord& node, Display& display);
// The selected arc's marks: its line drawn 3 pixels wide in its colour, so that the selection shows wherever
// the arc was clicked (it may pass over a node far from its middle), and an 8 x 8 pixel black square on its
// middle.
void PaintArcSelection(const InfluenceDocument& document, const InfluenceArc& arc, Display& display);
// Whether the point hits the arc: its shown comment, the 12 x 12 pixel square of its middle, or the line
// (0.05 either side of it, curved as drawn). A hidden arc is missed while hidden arcs are not shown.
bool ArcHit(InfluenceDocument& document, const InfluenceArc& arc, DiagramPoint point, Display& display);
