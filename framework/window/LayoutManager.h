#pragma once
// A window's or item's place in its owner: position, size (LayoutUnset when not set), the container that
// holds it and its kind: 0 dock left, 1 dock right, 2 dock top, 3 dock bottom, 4 fill and centre, 5 fill from
// the top-left corner, 6 absolute.

#include "framework/window/LayoutGeometry.h"
#include "framework/window/WindowEvent.h"

class ChildLayout;
class WindowCL;

class LayoutManager {
public:
    enum Kind { DockLeft = 0, DockRight = 1, DockTop = 2, DockBottom = 3, FillCentre = 4, FillTopLeft = 5,
                Absolute = 6 };

    // Each form with an owner appends itself to the owner.
    explicit LayoutManager(ChildLayout* owner = nullptr);
    LayoutManager(POINT position, SIZE size, ChildLayout* owner);
    LayoutManager(int x, int y, int width, int height, ChildLayout* owner);
    LayoutManager(const RECT& rect, ChildLayout* owner);
    LayoutManager(const LayoutManager&) = delete;
    LayoutManager& operator=(const LayoutManager&) = delete;
    // Leaves the owner.
    virtual ~LayoutManager();

    // Follows the parent's WM_SIZE.
    virtual void Resize(WindowCL* window, WindowEvent* parentSize);
    // Lays out the children in the rectangle, or in the layout's own rectangle when it is null.
    virtual void Arrange(RECT* rect);
    // What the layout reports of itself to the arranger.
    virtual void Geometry(LayoutGeometry& geometry);
    // Takes the rectangle the arranger gave it.
    virtual void Place(RECT* rect, int keepWindow);

    void SetPosition(int x, int y);
    void SetSize(int width, int height);
    void SetKind(int kind) { kind_ = kind; }
    void Detach();
    void SetOwner(ChildLayout* owner) { owner_ = owner; }

    int X() const { return x_; }
    int Y() const { return y_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Kind() const { return kind_; }
    ChildLayout* Owner() const { return owner_; }
    // {x, y, x + width, y + height}.
    RECT OwnRect() const;

protected:
    int x_ = LayoutUnset;
    int y_ = LayoutUnset;
    int width_ = LayoutUnset;
    int height_ = LayoutUnset;
    ChildLayout* owner_ = nullptr;
    int kind_ = Absolute;
};
