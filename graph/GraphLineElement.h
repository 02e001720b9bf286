#pragma once
// A line of values across a graph's plot with a mark at every point, and the points where two lines of a
// line graph cross (threshold points), each drawn as a dashed drop line, in their lists.

#include "foundation/PtrArray.h"
#include "graph/GraphElement.h"

#include <cstdint>
#include <vector>

class GraphLineElement : public GraphElement {
public:
    // Drawn with its marks through the owner's axes, clipped to the plot and to what is redrawn.
    void Draw(Display& display) override;
    // Stored form:
    //   version record                       3 bytes
    //   left, top, right, bottom             4 x f32
    //   markKind, count                      2 x i16
    //   isHidden, has positions              2 x i16  (from 2.6 on)
    //   per point: value (and position)      f64 (f64)
    // A negative count, or one the stream cannot hold, sets format error 13.
    void Serialize(Archive& archive) override;
    bool Movable() const override { return false; }

    int Count() const { return static_cast<int>(values.size()); }
    // The point's place on the horizontal axis, in inches.
    float PointX(int point) const;

    std::vector<double> values;
    // X values of the points, empty for points spread evenly across the plot.
    std::vector<double> positions;
    int16_t isHidden = 0;
    int32_t markKind = 6;
};

class GraphLineElementList : public PtrArray {
public:
    GraphLineElementList() : PtrArray(8, true) {}
    ~GraphLineElementList() override { Clear(); }

    GraphLineElement* Line(int index) const { return static_cast<GraphLineElement*>(At(index)); }
    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;
};

// The marker picker on a legend key of the graph whose entries name the lines of the list, in order; the key
// and its line take the chosen mark. True when it changed.
bool EditLineMarkKey(GraphWindow& graph, GraphElement& key, GraphLineElementList& lines);

// Lines `first` and `second` of the graph have the value y at x.
class GraphSeriesItem : public GraphElement {
public:
    // A dashed line at x from the plot's bottom up to y, clipped to the plot.
    void Draw(Display& display) override;
    // version record (3), first, second (2 x i16), x, y (2 x f64); a negative line sets format error 10.
    void Serialize(Archive& archive) override;
    bool Movable() const override { return false; }

    int16_t first = 0;
    int16_t second = 0;
    double x = 0.0;
    double y = 0.0;
};

// Threshold points in ascending order of x.
class GraphSeriesList : public PtrArray {
public:
    GraphSeriesList() : PtrArray(8, true) {}
    ~GraphSeriesList() override { Clear(); }

    GraphSeriesItem* Point(int index) const { return static_cast<GraphSeriesItem*>(At(index)); }
    // Inserts before the first point whose x is not less; the index where it went, -1 when it was not taken.
    int InsertSorted(GraphSeriesItem* item);
    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;
};
