#pragma once
// The base of every rubber-band gesture: a tracker follows the mouse from a start point, keeps the point
// within its limits and draws the current shape in exclusive-or mode, erasing the previous one by drawing
// it again. Derived trackers supply the shapes (a moving rectangle, a rubber rectangle or line).

#include <functional>
#include <memory>

#include <windows.h>

class Display;
class zPen;

class TrackerBase {
public:
    // Draws on the display (the pane's) with a thin black pen unless replaced. A black pen is drawn in
    // not-exclusive-or mode, so that it shows on white and a second drawing takes it away.
    explicit TrackerBase(Display* display);
    virtual ~TrackerBase();
    TrackerBase(const TrackerBase&) = delete;
    TrackerBase& operator=(const TrackerBase&) = delete;

    // Erases the old shape (when one is drawn) and draws the new one.
    virtual void Redraw(const RECT& oldShape, const RECT& newShape);
    virtual void DrawShape(Display& display, const RECT& shape);
    // One shape, with the drawing state set up around it.
    virtual void DrawOnce(Display& display, const RECT& shape);
    // Keeps the point on the moving axes, back at the start outside the snap rectangle, within the limit.
    virtual void Constrain(POINT& point);
    virtual void BeginDraw();
    virtual void EndDraw();
    virtual void Start(int x, int y);
    // Follows the mouse; moves of less than three pixels from the last drawn point are ignored.
    virtual void MoveTo(int x, int y);
    // Erases what is drawn.
    virtual void Finish();
    // The shape drawn now and the shape at the requested point; here the rectangle (or line) from the start.
    virtual RECT OldShape();
    virtual RECT NewShape();

    // From the start point to the point, normalised unless in line mode.
    RECT ShapeRect(const POINT& to) const;
    static bool IsSmallMove(const POINT& a, const POINT& b);
    void SetPen(zPen* pen);

    POINT StartPoint{0, 0};
    POINT CurrentPoint{0, 0};
    POINT RequestedPoint{0, 0};
    int MoveX = 1;
    int MoveY = 1;
    RECT Limit{0, 0, 0, 0};
    RECT SnapRect{0, 0, 0, 0};
    Display* TrackDisplay;
    int SavedRasterMode = 0;
    int Drawn = 0;
    int LineMode = 0;
    int Limited = 0;
    int SnapBack = 0;
    int CustomDraw = 0;
    std::function<void(Display&)> DrawCallback;

private:
    std::unique_ptr<zPen> pen_;
};
