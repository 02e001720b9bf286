#include "framework/window/DefaultLayoutArranger.h"

#include "framework/window/LayoutManager.h"

#include <vector>

DefaultLayoutArranger& DefaultLayoutArranger::Instance()
{
    static DefaultLayoutArranger arranger;
    return arranger;
}

void DefaultLayoutArranger::Arrange(RECT& rect, LayoutChildren& children, int)
{
    struct Placement {
        LayoutManager* child;
        RECT rect;
    };
    std::vector<Placement> placements;
    RECT free = rect;
    int usedWidth = 0;
    int usedHeight = 0;
    bool filled = false;
    for (LayoutManager* child : children) {
        LayoutGeometry geometry;
        child->Geometry(geometry);
        const int w = geometry.placed.cx;
        const int h = geometry.placed.cy;
        RECT placed{};
        switch (geometry.kind) {
        case LayoutManager::DockLeft:
            placed = RECT{free.left, free.top, free.left + w, h ? free.top + h : free.bottom};
            free.left += w;
            usedWidth += w;
            break;
        case LayoutManager::DockRight:
            placed = RECT{free.right - w, free.top, free.right, h ? free.top + h : free.bottom};
            free.right -= w;
            usedWidth += w;
            break;
        case LayoutManager::DockTop:
            placed = RECT{free.left, free.top, w ? free.left + w : free.right, free.top + h};
            free.top += h;
            usedHeight += h;
            break;
        case LayoutManager::DockBottom:
            placed = RECT{free.left, free.bottom - h, w ? free.left + w : free.right, free.bottom};
            free.bottom -= h;
            usedHeight += h;
            break;
        case LayoutManager::FillCentre: {
            placed = RECT{free.left, free.top, w ? free.left + w : free.right, h ? free.top + h : free.bottom};
            const int dx = free.right > placed.right ? (free.right - placed.right) / 2 : 0;
            const int dy = free.bottom > placed.bottom ? (free.bottom - placed.bottom) / 2 : 0;
            OffsetRect(&placed, dx, dy);
            filled = true;
            break;
        }
        case LayoutManager::FillTopLeft:
            // A fill never reaches into what the docked children before it took.
            placed = RECT{free.left, free.top, w ? free.left + w : free.right, h ? free.top + h : free.bottom};
            placed.right = placed.right < free.right ? placed.right : free.right;
            placed.bottom = placed.bottom < free.bottom ? placed.bottom : free.bottom;
            filled = true;
            break;
        default:
            placed = RECT{geometry.x, geometry.y, w == LayoutUnset ? free.right : geometry.x + w,
                          h == LayoutUnset ? free.bottom : geometry.y + h};
            break;
        }
        placements.push_back(Placement{child, placed});
    }
    for (Placement& placement : placements)
        placement.child->Place(&placement.rect, 0);
    if (!filled) {
        rect.right = rect.left + usedWidth;
        rect.bottom = rect.top + usedHeight;
    }
}

void DefaultLayoutArranger::Measure(LayoutGeometry& total, LayoutChildren& children, int)
{
    int rightExtent = 0;
    int bottomExtent = 0;
    for (LayoutManager* child : children) {
        LayoutGeometry geometry;
        child->Geometry(geometry);
        switch (geometry.kind) {
        case LayoutManager::DockTop:
            for (auto pair : {&LayoutGeometry::first, &LayoutGeometry::placed, &LayoutGeometry::third}) {
                SIZE& mine = total.*pair;
                const SIZE& theirs = geometry.*pair;
                mine.cx = theirs.cx > mine.cx ? theirs.cx : mine.cx;
                mine.cy += theirs.cy;
            }
            break;
        case LayoutManager::Absolute:
            if (geometry.placed.cx != LayoutUnset && geometry.x + geometry.placed.cx > rightExtent)
                rightExtent = geometry.x + geometry.placed.cx;
            if (geometry.placed.cy != LayoutUnset && geometry.y + geometry.placed.cy > bottomExtent)
                bottomExtent = geometry.y + geometry.placed.cy;
            break;
        default:
            total.Merge(geometry);
            break;
        }
    }
    if (total.placed.cx < rightExtent) {
        total.placed.cx = rightExtent;
        if (total.third.cx < rightExtent)
            total.third.cx = rightExtent;
    }
    if (total.placed.cy < bottomExtent) {
        total.placed.cy = bottomExtent;
        if (total.third.cy < bottomExtent)
            total.third.cy = bottomExtent;
    }
}
