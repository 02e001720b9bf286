#include "analysis/StrategyBoundaryTable.h"

#include "analysis/StrategyRegionMap.h"
#include "foundation/Archive.h"

#include <cmath>

BoundaryPointList::~BoundaryPointList()
{
    Clear();
}

void BoundaryPointList::StoreItem(Archive& archive, void* item)
{
    auto* point = static_cast<BoundaryPoint*>(item);
    archive.WriteShort(point->tag1).WriteShort(point->tag2).WriteDouble(point->x).WriteDouble(point->y);
    archive.WriteLong(0);
}

void* BoundaryPointList::LoadItem(Archive& archive)
{
    auto* point = new BoundaryPoint;
    int32_t reserved = 0;
    archive.ReadShort(point->tag1).ReadShort(point->tag2).ReadDouble(point->x).ReadDouble(point->y);
    archive.ReadLong(reserved);
    return point;
}

void* BoundaryPointList::CloneItem(void* item)
{
    return new BoundaryPoint(*static_cast<BoundaryPoint*>(item));
}

void BoundaryPointList::DeleteItem(void* item)
{
    delete static_cast<BoundaryPoint*>(item);
}

namespace {

constexpr double kTie = 1e-10;
// Edges of the grid's border: left, right, top (y high), bottom (y low); 0 inside.
enum { Inside = 0, LeftEdge = 1, RightEdge = 2, TopEdge = 3, BottomEdge = 4 };
constexpr int kPolygonGrid = 500;

// One pair of strategies over a map: its scan passes, point ordering and border closing.
class PairTracer {
public:
    PairTracer(const StrategyRegionMap& map, BoundaryPointList& list) : map(map), list(list) {}

    int EdgeCode(const BoundaryPoint& p) const
    {
        if (std::fabs(p.x - map.xLow) < kTie)
            return LeftEdge;
        if (std::fabs(p.x - map.xHigh) < kTie)
            return RightEdge;
        if (std::fabs(p.y - map.yLow) < kTie)
            return BottomEdge;
        if (std::fabs(p.y - map.yHigh) < kTie)
            return TopEdge;
        return Inside;
    }

    // Distance in grid steps.
    double Distance(const BoundaryPoint& a, const BoundaryPoint& b) const
    {
        double spanX = map.xHigh - map.xLow;
        double spanY = map.yHigh - map.yLow;
        double dx = spanX != 0.0 ? (b.x - a.x) * (map.xCount - 1) / spanX : 0.0;
        double dy = spanY != 0.0 ? (b.y - a.y) * (map.yCount - 1) / spanY : 0.0;
        return std::sqrt(dx * dx + dy * dy);
    }

    void AddPoint(int tag1, int tag2, double xStep, double yStep)
    {
        auto* point = new BoundaryPoint;
        point->tag1 = static_cast<int16_t>(tag1);
        point->tag2 = static_cast<int16_t>(tag2);
        point->x = map.XAt(xStep);
        point->y = map.YAt(yStep);
        list.Add(point);
    }

    // A corner the ordering already walked round is not added again: retracing it would fold the polygon
    // flat and leave no inside to test.
    void AddCorner(double x, double y)
    {
        for (int k = 0; k < list.Count(); ++k) {
            const BoundaryPoint& p = *list.Point(k);
            if (p.tag1 == 0 && p.tag2 == 0 && p.x == x && p.y == y)
                return;
        }
        list.Add(new BoundaryPoint{0, 0, x, y});
    }

    // Row pass then column pass over a side function: side(y, x) gives 1 or 0, or -1 at a tie (which adds a
    // grid point in the row pass) or -2 where the cell has no side at all; crossing(y1, x1, y2, x2) adds the
    // crossing point between two cells whose sides differ.
    template <typename Side, typename Crossing>
    void Scan(Side side, Crossing crossing)
    {
        for (int y = 0; y < map.yCount; ++y) {
            int known = -1;
            for (int x = 0; x < map.xCount; ++x) {
                int here = side(y, x);
                if (here == -1)
                    AddPoint(x, y, x, y);
                if (here >= 0 && known >= 0 && here != known)
                    crossing(y, x - 1, y, x);
                known = here >= 0 ? here : -1;
            }
        }
        for (int x = 0; x < map.xCount; ++x) {
            int known = -1;
            for (int y = 0; y < map.yCount; ++y) {
                int here = side(y, x);
                if (here >= 0 && known >= 0 && here != known)
                    crossing(y - 1, x, y, x);
                known = here >= 0 ? here : -1;
            }
        }
    }

    void AddCrossingAt(int i, int j, int y1, int x1, int y2, int x2, double t)
    {
        AddPoint(i, j, x1 + (x2 - x1) * t, y1 + (y2 - y1) * t);
    }

    double MaxStep() const
    {
        BoundaryPoint origin{0, 0, map.xLow, map.yLow};
        BoundaryPoint diagonal{0, 0, map.XAt(1.0), map.YAt(1.0)};
        return Distance(origin, diagonal) * 1.0001;
    }

    void DropIsolated(double maxStep)
    {
        for (int k = list.Count() - 1; k >= 0; --k) {
            bool near = false;
            for (int m = 0; m < list.Count() && !near; ++m)
                near = m != k && Distance(*list.Point(k), *list.Point(m)) <= maxStep + 0.0001;
            if (!near)
                list.DeleteAt(k);
        }
    }

    int StartIndex() const
    {
        int counts[5] = {0, 0, 0, 0, 0};
        int first[5] = {-1, -1, -1, -1, -1};
        for (int k = 0; k < list.Count(); ++k) {
            int edge = EdgeCode(*list.Point(k));
            if (counts[edge]++ == 0)
                first[edge] = k;
        }
        for (int edge = LeftEdge; edge <= BottomEdge; ++edge)
            if (counts[edge] == 1)
                return first[edge];
        for (int edge = LeftEdge; edge <= BottomEdge; ++edge) {
            if (counts[edge] == 0)
                continue;
            int best = first[edge];
            for (int k = best + 1; k < list.Count(); ++k) {
                const BoundaryPoint& p = *list.Point(k);
                if (EdgeCode(p) != edge)
                    continue;
                bool further = edge <= RightEdge ? p.y > list.Point(best)->y : p.x > list.Point(best)->x;
                if (further)
                    best = k;
            }
            return best;
        }
        return 0;
    }

    // The border corner reached from p when walking along edge towards q; updates edge.
    BoundaryPoint CornerPoint(const BoundaryPoint& p, const BoundaryPoint& q, int& edge) const
    {
        switch (edge) {
        case LeftEdge:
        case RightEdge: {
            double x = edge == LeftEdge ? map.xLow : map.xHigh;
            bool down = q.y <= p.y;
            edge = down ? BottomEdge : TopEdge;
            return BoundaryPoint{0, 0, x, down ? map.yLow : map.yHigh};
        }
        case TopEdge:
        case BottomEdge: {
            double y = edge == TopEdge ? map.yHigh : map.yLow;
            bool right = q.x > p.x;
            edge = right ? RightEdge : LeftEdge;
            return BoundaryPoint{0, 0, right ? map.xHigh : map.xLow, y};
        }
        default:
            edge = Inside;
            return BoundaryPoint{};
        }
    }

    // Orders the points into a path from a border point (or the first point of a closed island); returns
    // the start's edge code.
    int OrderPoints()
    {
        double maxStep = MaxStep();
        DropIsolated(maxStep);
        if (list.Count() == 0)
            return Inside;
        int start = StartIndex();
        void* startPoint = list.At(start);
        list.RemoveAt(start);
        list.InsertAt(0, startPoint);
        int startEdge = EdgeCode(*list.Point(0));
        int edge = startEdge;
        for (int k = 0; k < list.Count() - 1; ++k) {
            const BoundaryPoint& p = *list.Point(k);
            int same = -1;
            int other = -1;
            double sameDistance = 0.0;
            double otherDistance = 0.0;
            for (int m = k + 1; m < list.Count(); ++m) {
                double d = Distance(p, *list.Point(m));
                if (edge != Inside && EdgeCode(*list.Point(m)) == edge) {
                    if (same < 0 || d < sameDistance) {
                        same = m;
                        sameDistance = d;
                    }
                } else if (other < 0 || d < otherDistance) {
                    other = m;
                    otherDistance = d;
                }
            }
            int chosen = same;
            double chosenDistance = sameDistance;
            int nextEdge = edge;
            if (same < 0 || (k == 0 && other >= 0 && otherDistance <= maxStep && otherDistance < sameDistance)) {
                chosen = other;
                chosenDistance = otherDistance;
                nextEdge = EdgeCode(*list.Point(other));
            }
            if (edge != Inside && chosen != same && (chosenDistance > maxStep || nextEdge != edge)) {
                int cornerEdge = edge;
                BoundaryPoint corner = CornerPoint(p, *list.Point(chosen), cornerEdge);
                if (Distance(p, corner) < chosenDistance) {
                    list.InsertAt(k + 1, new BoundaryPoint(corner));
                    edge = cornerEdge;
                    continue;
                }
            }
            void* moved = list.At(chosen);
            list.RemoveAt(chosen);
            list.InsertAt(k + 1, moved);
            edge = nextEdge;
        }
        return startEdge;
    }

    // Appends the corners that lead from the last point's edge round to the start's edge.
    void CloseAlongBorder(int startEdge)
    {
        if (list.Count() == 0)
            return;
        int last = EdgeCode(*list.Point(list.Count() - 1));
        if (last == startEdge || last == Inside)
            return;
        struct Row {
            double x1, y1;
            int stop2;
            double x2, y2;
            int stop3;
            double x3, y3;
        };
        const double xl = map.xLow, xh = map.xHigh, yl = map.yLow, yh = map.yHigh;
        const Row rows[5] = {{},
                             {xl, yl, BottomEdge, xh, yl, RightEdge, xh, yh},
                             {xh, yl, BottomEdge, xl, yl, LeftEdge, xl, yh},
                             {xl, yh, LeftEdge, xl, yl, BottomEdge, xh, yl},
                             {xl, yl, LeftEdge, xl, yh, TopEdge, xh, yh}};
        const Row& row = rows[last];
        AddCorner(row.x1, row.y1);
        if (startEdge == row.stop2)
            return;
        AddCorner(row.x2, row.y2);
        if (startEdge == row.stop3)
            return;
        AddCorner(row.x3, row.y3);
    }

    int GridX(double x) const
    {
        return map.xHigh != map.xLow ? static_cast<int>((x - map.xLow) * kPolygonGrid / (map.xHigh - map.xLow)) : 0;
    }
    int GridY(double y) const
    {
        return map.yHigh != map.yLow ? static_cast<int>((y - map.yLow) * kPolygonGrid / (map.yHigh - map.yLow)) : 0;
    }

    // Whether the closed path of the list (winding fill, on the integer polygon grid) holds the point. An
    // empty list stands for the whole map, as graphs draw it.
    bool PolygonContains(double x, double y) const
    {
        if (list.Count() == 0)
            return true;
        int px = GridX(x);
        int py = GridY(y);
        int winding = 0;
        int count = list.Count();
        for (int k = 0; k < count; ++k) {
            const BoundaryPoint& a = *list.Point(k);
            const BoundaryPoint& b = *list.Point((k + 1) % count);
            long long ax = GridX(a.x), ay = GridY(a.y), bx = GridX(b.x), by = GridY(b.y);
            long long cross = (bx - ax) * (py - ay) - (px - ax) * (by - ay);
            if (ay <= py && by > py && cross > 0)
                ++winding;
            else if (ay > py && by <= py && cross < 0)
                --winding;
        }
        return winding != 0;
    }

    const StrategyRegionMap& map;
    BoundaryPointList& list;
};

bool Ties(double a, double b)
{
    return std::fabs(a - b) < kTie;
}

}  // namespace

int BuildPairBoundary(const StrategyRegionMap& map, BoundaryPointList& list, int i, int j)
{
    PairTracer tracer(map, list);
    auto side = [&](int y, int x) {
        double a = map.Comparison(i, y, x);
        double b = map.Comparison(j, y, x);
        if (Ties(a, b))
            return -1;
        return map.IsBetter(a, b) ? 1 : 0;
    };
    // Sides differ only across a change of sign of a - b, so the denominator is never zero.
    auto crossing = [&](int y1, int x1, int y2, int x2) {
        double a1 = map.Comparison(i, y1, x1), a2 = map.Comparison(i, y2, x2);
        double b1 = map.Comparison(j, y1, x1), b2 = map.Comparison(j, y2, x2);
        tracer.AddCrossingAt(i, j, y1, x1, y2, x2, (b1 - a1) / ((a2 - a1) - (b2 - b1)));
    };
    tracer.Scan(side, crossing);
    // Lone ties are dropped here; a pair left without points has the whole map as its polygon.
    int startEdge = tracer.OrderPoints();
    tracer.CloseAlongBorder(startEdge);

    // The test point: an interior cell without a tie, else a corner cell moved a little inwards.
    double testX = 1.0;
    double testY = 1.0;
    bool better = true;
    bool found = false;
    for (int x = 1; x < map.xCount - 1 && !found; ++x) {
        for (int y = 1; y < map.yCount - 1 && !found; ++y) {
            double a = map.Comparison(i, y, x);
            double b = map.Comparison(j, y, x);
            if (!Ties(a, b)) {
                found = true;
                testX = x;
                testY = y;
                better = map.IsBetter(a, b);
            }
        }
    }
    const int lastX = map.xCount - 1;
    const int lastY = map.yCount - 1;
    const int corners[4][2] = {{0, 0}, {0, lastY}, {lastX, 0}, {lastX, lastY}};
    for (int c = 0; c < 4 && !found; ++c) {
        int x = corners[c][0];
        int y = corners[c][1];
        double a = map.Comparison(i, y, x);
        double b = map.Comparison(j, y, x);
        if (!Ties(a, b)) {
            found = true;
            testX = x + (x == 0 ? 0.1 : -0.1);
            testY = y + (y == 0 ? 0.1 : -0.1);
            better = map.IsBetter(a, b);
        }
    }
    return (better != tracer.PolygonContains(map.XAt(testX), map.YAt(testY))) ? 1 : 0;
}

void ContourPoints(const StrategyRegionMap& map, BoundaryPointList& list, int i, int j, double level)
{
    PairTracer tracer(map, list);
    // The difference less the level; false where it does not exist (equal effectiveness under
    // cost-effectiveness), so no crossing is made there.
    auto offset = [&](int y, int x, double& d) {
        if (!map.costEffectiveness) {
            d = map.Value(i, y, x) - map.Value(j, y, x) - level;
            return true;
        }
        double de = std::fabs(map.Effectiveness(i, y, x) - map.Effectiveness(j, y, x));
        if (de == 0.0)
            return false;
        d = (map.Cost(i, y, x) - map.Cost(j, y, x)) / de - level;
        return true;
    };
    auto side = [&](int y, int x) {
        double d = 0.0;
        if (!offset(y, x, d))
            return -2;
        if (std::fabs(d) < kTie)
            return -1;
        return d > 0.0 ? 1 : 0;
    };
    auto crossing = [&](int y1, int x1, int y2, int x2) {
        double d1 = 0.0;
        double d2 = 0.0;
        offset(y1, x1, d1);
        offset(y2, x2, d2);
        if (d1 * d2 <= 0.0)
            tracer.AddCrossingAt(i, j, y1, x1, y2, x2, 1.0 / (1.0 - d2 / d1));
    };
    tracer.Scan(side, crossing);
    if (list.Count() > 0)
        tracer.OrderPoints();
}

StrategyBoundaryTable::StrategyBoundaryTable(const StrategyRegionMap& map)
    : n(static_cast<int16_t>(map.strategies)),
      lists(static_cast<size_t>(n) * n, nullptr),
      orientation(static_cast<size_t>(n) * n + 1, 0)
{
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            auto* list = new BoundaryPointList;
            orientation[PairIndex(i, j)] = static_cast<uint8_t>(BuildPairBoundary(map, *list, i, j));
            lists[PairIndex(i, j)] = list;
        }
    }
}

StrategyBoundaryTable::~StrategyBoundaryTable()
{
    Clear();
}

void StrategyBoundaryTable::Clear()
{
    for (BoundaryPointList* list : lists)
        delete list;
    lists.clear();
    orientation.clear();
}

const BoundaryPointList* StrategyBoundaryTable::Entry(int i, int j) const
{
    if (i > j)
        return Entry(j, i);
    if (i < 0 || j >= n)
        return nullptr;
    return lists[PairIndex(i, j)];
}

int StrategyBoundaryTable::Orientation(int i, int j) const
{
    if (i > j)
        return Orientation(j, i) == 0 ? 1 : 0;
    if (i < 0 || j >= n)
        return 0;
    return orientation[PairIndex(i, j)];
}

void StrategyBoundaryTable::Serialize(Archive& archive, int strategies)
{
    if (archive.IsStoring()) {
        for (int i = 0; i < n; ++i) {
            for (int j = i + 1; j < n; ++j) {
                lists[PairIndex(i, j)]->Serialize(archive);
                archive.WriteByte(orientation[PairIndex(i, j)]);
            }
        }
        return;
    }
    Clear();
    n = static_cast<int16_t>(strategies);
    lists.assign(static_cast<size_t>(n) * n, nullptr);
    orientation.assign(static_cast<size_t>(n) * n + 1, 0);
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n && !archive.HasFormatError(); ++j) {
            auto* list = new BoundaryPointList;
            list->Serialize(archive);
            lists[PairIndex(i, j)] = list;
            archive.ReadByte(orientation[PairIndex(i, j)]);
        }
    }
}
