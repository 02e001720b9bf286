#pragma once
// Something drawn on a graph besides its series: a rectangle in inches and the graph window that holds it.
// The graph window measures, places, draws, selects, moves, edits and stores its elements through these
// operations; labels, legend keys, axes and lines derive from it.

#include "foundation/LogicalRect.h"

class Archive;
class Display;
class FontRecord;
class GraphWindow;
class NumericFormat;
class VersionRecord;

class GraphElement {
public:
    GraphElement() = default;
    GraphElement(const GraphElement&) = default;
    GraphElement& operator=(const GraphElement&) = default;
    virtual ~GraphElement() = default;

    // Sets right to the content's width and bottom to its height (a plain element is 0.125 square).
    virtual void Measure(Display& display);
    // Keeps the top-left corner and takes the content's size.
    void Fit(Display& display);
    // Draws the content inside the element's rectangle.
    virtual void Draw(Display& display) {}
    virtual bool Movable() const { return true; }
    // The element's font, or null when the font command does not apply to it.
    virtual FontRecord* Font() { return nullptr; }
    // The element's number format, or null when numeric formatting does not apply to it.
    virtual NumericFormat* Format() { return nullptr; }
    virtual bool Editable() const { return false; }
    // Lets the user edit the element; true when it changed.
    virtual bool Edit() { return false; }
    virtual void Serialize(Archive& archive) {}
    // 1 for a mark key, 2 for a fill key, 0 otherwise.
    virtual int KindCode() const { return 0; }
    // Moves the element by the offset.
    virtual void MoveBy(float dx, float dy);

    void MoveTo(float x, float y) { MoveBy(x - rect.left, y - rect.top); }
    float Width() const { return rect.right - rect.left; }
    float Height() const { return rect.bottom - rect.top; }
    // The point lies in the rectangle, edges included.
    bool Contains(float x, float y) const
    {
        return x >= rect.left && x <= rect.right && y >= rect.top && y <= rect.bottom;
    }

    LogicalRect rect{0, 0, 0, 0};
    GraphWindow* owner = nullptr;
};

// A rectangle's stored form: left, top, right, bottom as 4 x f32. A side read out of a page's range
// (LogicalRect.h) sets format error 41.
void SerializeElementRect(Archive& archive, LogicalRect& rect);
// The head most element records begin with: the version record, then the rectangle. False (nothing moved)
// once the archive has failed.
bool SerializeElementHead(Archive& archive, VersionRecord& version, LogicalRect& rect);
// The two rectangles overlap (touching edges count).
bool RectsMeet(const LogicalRect& a, const LogicalRect& b);
// The smallest rectangle holding both.
LogicalRect RectUnion(const LogicalRect& a, const LogicalRect& b);
