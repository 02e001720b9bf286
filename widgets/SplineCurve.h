#pragma once
// A smooth curve through a few points in logical inches (the curved arcs of influence diagrams): a
// parametric spline under tension, parameterised by the distance along the polygon of the points, walked
// in a fixed number of steps. The same walk draws the curve, measures its bounding box, or builds the
// region a click on the curve hits.

#include "framework/draw/LogicalUnits.h"

#include <windows.h>

#include <memory>
#include <vector>

class Display;
class zRegion;

class SplineCurve {
public:
    enum Mode { Draw = 0, BoundingBox = 1, HitRegion = 2 };

    // The tension of every curve.
    static constexpr double Tension = 1.0;

    // Walks the whole curve at once through three or more points; an odd step count is raised by one.
    SplineCurve(Display& display, const LogicalPoint* points, int count, int steps, Mode mode);
    ~SplineCurve();
    SplineCurve(const SplineCurve&) = delete;
    SplineCurve& operator=(const SplineCurve&) = delete;

    // The pixel box of every point walked.
    const RECT& Bounds() const { return bounds_; }
    // The region of the curve (HitRegion mode; null otherwise).
    zRegion* Region() const { return region_.get(); }
    // The point walked just before the last one: where an arrowhead on the curve's end points from.
    LogicalPoint PointBeforeLast() const { return beforeLast_; }

private:
    // Second derivatives of u(s) for the spline under tension through (s, u).
    std::vector<double> Fit(const std::vector<double>& u) const;
    double Evaluate(const std::vector<double>& u, const std::vector<double>& p, double s);
    void Emit(double x, double y);

    Display& display_;
    Mode mode_;
    std::vector<double> s_;
    double sigma_ = 0; // tension scaled to the curve's mean interval
    int lastInterval_ = 1;
    POINT previous_{};
    LogicalPoint last_{};
    LogicalPoint beforeLast_{};
    RECT bounds_{};
    std::unique_ptr<zRegion> region_;
};
