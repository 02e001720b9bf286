#pragma once
// Where two lines cross: on a common x interval (sensitivity grids, thresholds) and between two point pairs
// (graph geometry).

// Line A runs from a0 at x0 to a1 at x1, line B from b0 to b1 over the same interval; x, y and t are results.
struct CrossingRecord {
    double x;
    double y;
    double t;
    double x0;
    double x1;
    double a0;
    double b0;
    double a1;
    double b1;
};

// x = (b0 - a0) ((x1 - x0) / ((a1 - a0) - (b1 - b0))) + x0; t = (x - x0) / (x1 - x0); y = (a1 - a0) t + a0.
// Parallel segments do not cross: false, the record's results untouched.
bool InterpolateCrossing(CrossingRecord& crossing);

struct FloatPoint {
    float x;
    float y;
};

// The intersection of the line through p1, p2 with the line through p3, p4, in single precision as the
// graph geometry keeps its points. Parallel or vertical lines are not guarded (infinite or NaN result).
FloatPoint IntersectLines(FloatPoint p1, FloatPoint p2, FloatPoint p3, FloatPoint p4);
