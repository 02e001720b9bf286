#pragma once
// A rectangle of a document drawing in logical units (inches, single-precision floats).

#include <cmath>

struct LogicalRect {
    float left;
    float top;
    float right;
    float bottom;
};

// Stored drawings place things in inches from their corner. A page-sized drawing (a graph, an influence
// diagram) places nothing farther than kFarthestPagePlace either way; a tree, as tall as its branches are
// many, nothing farther than kFarthestTreePlace. A file placing anything farther, or at no number, is
// damaged: its reader stops with Archive::FormatPlaceTooFar.
inline constexpr float kFarthestPagePlace = 8000.0f;
inline constexpr float kFarthestTreePlace = 1.0e7f;

inline bool IsPlaceable(double value, float farthest)
{
    return std::isfinite(value) && std::fabs(value) <= farthest;
}

inline bool IsPlaceable(const LogicalRect& rect, float farthest)
{
    return IsPlaceable(rect.left, farthest) && IsPlaceable(rect.top, farthest) &&
           IsPlaceable(rect.right, farthest) && IsPlaceable(rect.bottom, farthest);
}
