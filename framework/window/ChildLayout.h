#pragma once
// A layout that holds child layouts in order and places them through its arranger; bound to a window, it
// places its children in that window's client coordinates.

#include "framework/window/LayoutArranger.h"
#include "framework/window/LayoutManager.h"

class ChildLayout : public LayoutManager {
public:
    explicit ChildLayout(ChildLayout* owner = nullptr);
    ChildLayout(POINT position, SIZE size, ChildLayout* owner);
    ChildLayout(int x, int y, int width, int height, ChildLayout* owner);
    ChildLayout(const RECT& rect, ChildLayout* owner);
    // Orphans the children (they are not deleted).
    ~ChildLayout() override;

    void Arrange(RECT* rect) override;
    void Geometry(LayoutGeometry& geometry) override;
    void Place(RECT* rect, int keepWindow) override;

    // Adds at the end.
    void Append(LayoutManager* child);
    // Adds at the front.
    void Add(LayoutManager* child);
    // Takes the child out; a child that is not here changes nothing.
    void Remove(LayoutManager* child);
    void SetWindow(WindowCL* window);
    void SetArranger(LayoutArranger* arranger) { arranger_ = arranger; }

    WindowCL* Window() const { return window_; }
    int Count() const { return count_; }
    const LayoutChildren& Children() const { return children_; }

protected:
    LayoutArranger& ArrangerInUse() const;
    // The rectangle the children are placed in: r itself, or {0, 0, width, height} for a bound container.
    RECT InnerRect(const RECT& rect) const;
    // Moves the bound window to the rectangle, repainting.
    void MoveBoundWindow(const RECT& rect) const;

    LayoutArranger* arranger_ = nullptr;
    LayoutChildren children_;
    WindowCL* window_ = nullptr;
    unsigned windowBound_ = 0;
    int count_ = 0;
};
