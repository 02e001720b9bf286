#include "framework/visual/VisualLayoutRule.h"

#include <algorithm>
#include <vector>

VisualBarArranger::VisualBarArranger(bool across, int marginX, int marginY, int defaultWidth, int defaultHeight)
    : across_(across ? 1 : 0), marginX_(marginX), marginY_(marginY), defaultWidth_(defaultWidth),
      defaultHeight_(defaultHeight)
{
}

void VisualBarArranger::Arrange(RECT& rect, LayoutChildren& children, int)
{
    struct Entry {
        LayoutManager* child;
        LayoutGeometry geometry;
        bool placed;
    };
    std::vector<Entry> entries;
    for (LayoutManager* child : children) {
        Entry entry{child, {}, false};
        child->Geometry(entry.geometry);
        entries.push_back(entry);
    }
    const RECT work{rect.left + marginX_, rect.top + marginY_, rect.right - marginX_, rect.bottom - marginY_};
    POINT cursor{work.left, work.top};
    int usedRight = work.left, usedBottom = work.top;
    std::vector<std::pair<LayoutManager*, RECT>> placements;
    auto place = [&](LayoutManager* child, RECT r) {
        placements.emplace_back(child, r);
        usedRight = std::max<int>(usedRight, r.right);
        usedBottom = std::max<int>(usedBottom, r.bottom);
    };
    int highest = 0;
    for (Entry& entry : entries) {
        const LayoutGeometry& g = entry.geometry;
        if (g.kind == LayoutManager::Absolute) {
            entry.placed = true;
            place(entry.child, RECT{g.x, g.y, g.placed.cx == LayoutUnset ? work.right : g.x + g.placed.cx,
                                    g.placed.cy == LayoutUnset ? work.bottom : g.y + g.placed.cy});
        } else {
            highest = std::max(highest, g.order);
        }
    }
    for (int order = 1; order <= highest; ++order) {
        auto found = std::find_if(entries.begin(), entries.end(),
                                  [order](const Entry& e) { return !e.placed && e.geometry.order == order; });
        if (found == entries.end()) {
            (across_ ? cursor.x : cursor.y) += across_ ? defaultWidth_ : defaultHeight_;
            continue;
        }
        found->placed = true;
        const LayoutGeometry& g = found->geometry;
        const int ownWidth = g.placed.cx, ownHeight = g.placed.cy;
        const int width = ownWidth == 0 ? work.right - cursor.x : ownWidth == -1 ? defaultWidth_ : ownWidth;
        int height = ownHeight == 0 ? work.bottom - cursor.y : ownHeight == -1 ? defaultHeight_ : ownHeight;
        if (!across_ && g.kind == LayoutManager::DockRight)
            height = g.y;
        RECT r{cursor.x, cursor.y, cursor.x + width, cursor.y + height};
        if (across_) {
            if (r.bottom < work.bottom) {
                const int top = g.kind == LayoutManager::DockRight ? g.y : cursor.y + (work.bottom - r.bottom) / 2;
                OffsetRect(&r, 0, top - r.top);
            }
            cursor.x += width;
        } else {
            if (r.right < work.right)
                OffsetRect(&r, (work.right - r.right) / 2, 0);
            cursor.y += height;
        }
        place(found->child, r);
    }
    for (auto& [child, r] : placements)
        child->Place(&r, 0);
    rect.right = std::max<int>(usedRight, cursor.x);
    rect.bottom = std::max<int>(usedBottom, cursor.y);
}

void VisualBarArranger::Measure(LayoutGeometry& geometry, LayoutChildren& children, int)
{
    int right = 0, bottom = 0;
    for (LayoutManager* child : children) {
        LayoutGeometry g;
        child->Geometry(g);
        if (g.kind != LayoutManager::Absolute)
            continue;
        right = std::max<int>(right, g.x + g.placed.cx);
        bottom = std::max<int>(bottom, g.y + g.placed.cy);
    }
    geometry.first.cx = std::max<int>(geometry.first.cx, right);
    geometry.placed.cx = std::max<int>(geometry.placed.cx, right);
    geometry.first.cy = std::max<int>(geometry.first.cy, bottom);
    geometry.placed.cy = std::max<int>(geometry.placed.cy, bottom);
}

VisualLayoutRule::VisualLayoutRule(int order, int width, int height, ChildLayout* owner)
    : ChildLayout(0, 0, width, height, owner), order_(order), wanted_{width, height}
{
    kind_ = DockLeft;
}

VisualLayoutRule::VisualLayoutRule(bool across, int marginX, int marginY, int defaultWidth, int defaultHeight,
                                   ChildLayout* owner)
    : ChildLayout(owner),
      bar_(std::make_unique<VisualBarArranger>(across, marginX, marginY, defaultWidth, defaultHeight))
{
    SetArranger(bar_.get());
}

void VisualLayoutRule::Geometry(LayoutGeometry& geometry)
{
    ChildLayout::Geometry(geometry);
    if (count_ == 0 && order_ != 0) {
        geometry.Assign(wanted_.cx, wanted_.cy);
        geometry.x = x_;
        geometry.y = y_;
        geometry.kind = kind_;
    }
    geometry.order = order_;
}
