#pragma once
// The styles of plot elements and the legend keys that show them: point marks (kinds 0 to 14) drawn at a
// point, and fills (a colour and a solid or hatched style) of bars and regions. A graph's legend key list
// holds mark and fill keys and stores each with its kind code.

#include "foundation/PtrArray.h"
#include "framework/draw/ColourContext.h"
#include "graph/GraphElement.h"

#include <cstdint>
#include <vector>

struct LogicalPoint;

// A fill of bars and regions: style 99 solid, 0 to 5 the platform's hatch styles.
using GraphFill = GraphStyle;
constexpr int32_t kSolidFill = 99;
constexpr int kMarkKindCount = 15;
// Across a mark, inches.
constexpr float kMarkSize = 0.075f;

// The picker's name of a mark kind ("(no mark)", "open circle", ...), and of a fill picker entry.
const char* MarkKindName(int kind);
const char* FillEntryName(int entry);
// The mark's pen colour: circles green, diamonds blue, triangles red, squares cyan, inverted triangles
// magenta, strokes black; black everywhere without colour.
COLORREF MarkColour(int kind, bool colour);
// Draws the mark of the kind centred on (x, y) inches; kind 0 and unknown kinds draw nothing.
void DrawPointMark(Display& display, int kind, float x, float y);
// The same in pixels: `size` across (rounded up to even), in colour or black.
void DrawPointMarkAt(HDC dc, int kind, POINT at, int size, bool colour, int penWidth);
// The mark at each of the points (pixels) with one pen and brush; a point equal to the one before is skipped.
void DrawPointMarks(HDC dc, int kind, const POINT* points, int count, int size, bool colour, int penWidth);
// The same at points in inches on the display.
void DrawPointMarks(Display& display, int kind, const std::vector<LogicalPoint>& points);

// Stored form of a fill: colour red, green, blue (3 bytes), then the style as i16.
void SerializeGraphFill(Archive& archive, GraphFill& fill);

// A legend key drawn as a point mark (kind code 1).
class GraphMarkElement : public GraphElement {
public:
    explicit GraphMarkElement(int markKind = 1);
    void Measure(Display& display) override;
    void Draw(Display& display) override;
    bool Editable() const override { return true; }
    // Handed to the graph, which edits the key's mark.
    bool Edit() override;
    // version record (3), mark kind as i16, left, top, right, bottom (4 x f32).
    void Serialize(Archive& archive) override;
    int KindCode() const override { return 1; }

    int32_t markKind;
};

// A legend key drawn as a filled box (kind code 2).
class GraphFillElement : public GraphElement {
public:
    explicit GraphFillElement(const GraphFill& fill);
    void Measure(Display& display) override;
    void Draw(Display& display) override;
    bool Editable() const override { return true; }
    bool Edit() override;
    // version record (3), the fill, left, top, right, bottom (4 x f32).
    void Serialize(Archive& archive) override;
    int KindCode() const override { return 2; }

    GraphFill fill;
};

// The owning list of legend keys: each stored as its i16 kind code (1 mark, 2 fill) and its record; another
// code sets format error 12.
class GraphMarkList : public PtrArray {
public:
    GraphMarkList() : PtrArray(4, true) {}
    ~GraphMarkList() override { Clear(); }

    GraphElement* Key(int index) const { return static_cast<GraphElement*>(At(index)); }
    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;
};
