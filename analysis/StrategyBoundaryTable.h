#pragma once
// For every pair of strategies of a region map, the line where the two are equally good, ordered into a path
// and closed along the grid's border into a polygon, with which of the two is better inside it.

#include "foundation/PtrArray.h"

#include <cstdint>
#include <vector>

class Archive;
class StrategyRegionMap;

// Tags: a tie on a grid point carries its x and y step, a crossing the two strategy numbers, a border
// corner 0 and 0. x and y are in variable units.
struct BoundaryPoint {
    int16_t tag1 = 0;
    int16_t tag2 = 0;
    double x = 0.0;
    double y = 0.0;
};

// Owns its points. Item stored form: two shorts (tags), x and y (doubles), a long 0.
class BoundaryPointList : public PtrArray {
public:
    BoundaryPointList() : PtrArray(2, true) {}
    ~BoundaryPointList() override;
    BoundaryPoint* Point(int i) const { return static_cast<BoundaryPoint*>(At(i)); }
    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;
};

class StrategyBoundaryTable {
public:
    StrategyBoundaryTable() = default;
    explicit StrategyBoundaryTable(const StrategyRegionMap& map);
    StrategyBoundaryTable(const StrategyBoundaryTable&) = delete;
    StrategyBoundaryTable& operator=(const StrategyBoundaryTable&) = delete;
    ~StrategyBoundaryTable();

    int PairIndex(int i, int j) const { return i + j * n; }
    // The pair's boundary whichever way round it is asked; null for a pair never built.
    const BoundaryPointList* Entry(int i, int j) const;
    // 0 when the first strategy is the better one inside the pair's polygon (the whole map when the pair
    // has no points), 1 when outside; asking (j, i) inverts it.
    int Orientation(int i, int j) const;
    int Count() const { return n; }
    void Clear();

    // Stored form: for every pair i < j, i outer, the pair's point list (PtrArray form) then the
    // orientation byte. The strategy count is not stored: reading takes it from the map stored alongside.
    void Serialize(Archive& archive, int strategies);

private:
    int16_t n = 0;
    std::vector<BoundaryPointList*> lists;
    std::vector<uint8_t> orientation;
};

// Builds the boundary of strategies i and j into list and returns the orientation byte.
int BuildPairBoundary(const StrategyRegionMap& map, BoundaryPointList& list, int i, int j);
// Points where the difference of strategies i and j (value, or under cost-effectiveness the cost
// difference over the effectiveness difference) equals level, in path order.
void ContourPoints(const StrategyRegionMap& map, BoundaryPointList& list, int i, int j, double level);
