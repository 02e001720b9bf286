#pragma once
// The pickers of a line's mark (Modify Line Marker) and of a region's fill (Modify Region Fill), one dialog
// (2494) with a list of styles and a sample of the one selected.

#include "graph/GraphMarks.h"

// Edits the mark kind of the named line; true after OK (Cancel leaves it unchanged).
bool RunLineMarkerDialog(int& markKind, const char* lineName);
// Edits the fill of the named region, its colour through "&Color..."; true after OK.
bool RunRegionFillDialog(GraphFill& fill, const char* regionName);
