#include "graph/GraphLineElement.h"

#include "foundation/Archive.h"
#include "foundation/VersionRecord.h"
#include "framework/draw/Display.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/zPen.h"
#include "graph/GraphMarks.h"
#include "graph/GraphWindow.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t kBadLine = 13;
constexpr uint32_t kBadSeriesItem = 10;
constexpr float kLinePenWidth = 0.0075f;

// Cuts the segment to the rectangle (Liang-Barsky); false when nothing of it lies inside.
bool ClipSegment(const LogicalRect& box, float& x1, float& y1, float& x2, float& y2)
{
    float t0 = 0.0f;
    float t1 = 1.0f;
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    const float p[4] = {-dx, dx, -dy, dy};
    const float q[4] = {x1 - box.left, box.right - x1, y1 - box.top, box.bottom - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0f) {
            if (q[i] < 0.0f)
                return false;
            continue;
        }
        const float t = q[i] / p[i];
        if (p[i] < 0.0f)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const float sx = x1;
    const float sy = y1;
    x1 = sx + t0 * dx;
    y1 = sy + t0 * dy;
    x2 = sx + t1 * dx;
    y2 = sy + t1 * dy;
    return true;
}

bool Finite(float value)
{
    return std::isfinite(value);
}

}  // namespace

float GraphLineElement::PointX(int point) const
{
    const LogicalRect& plot = owner->graphRect;
    if (!positions.empty())
        return owner->horizontalAxis.Position(positions[point], plot);
    const int count = Count();
    return count > 1 ? plot.left + point * (plot.right - plot.left) / (count - 1) : plot.left;
}

void GraphLineElement::Draw(Display& display)
{
    if (isHidden || owner == nullptr || values.empty())
        return;
    const LogicalRect& plot = owner->graphRect;
    const HDC dc = display.DeviceContext();
    // Segments inside the plot join into runs drawn as one polyline; a cut segment ends its run.
    std::vector<POINT> run;
    std::vector<POINT> marks;
    display.PushPen(new zPen(Colour{0, 0, 0, 0}, PS_SOLID, LogicalWidthToPixels(kLinePenWidth, display)));
    auto flush = [&run, dc] {
        if (run.size() > 1)
            Polyline(dc, run.data(), static_cast<int>(run.size()));
        run.clear();
    };
    auto pixel = [&display](float x, float y) { return POINT{LogicalXToPixel(x, display), LogicalYToPixel(y, display)}; };
    float lastX = 0.0f;
    float lastY = 0.0f;
    for (int i = 0; i < Count(); ++i) {
        const float x = PointX(i);
        const float y = owner->verticalAxis.Position(values[i], plot);
        const bool finite = Finite(x) && Finite(y);
        if (finite && x >= plot.left && x <= plot.right && y >= plot.top && y <= plot.bottom)
            marks.push_back(pixel(x, y));
        if (i > 0 && finite && Finite(lastX) && Finite(lastY)) {
            float x1 = lastX, y1 = lastY, x2 = x, y2 = y;
            if (!ClipSegment(plot, x1, y1, x2, y2)) {
                flush();
            } else {
                const bool whole = x1 == lastX && y1 == lastY;
                if (!whole || run.empty()) {
                    flush();
                    run.push_back(pixel(x1, y1));
                }
                // A point on the pixel of the one before adds nothing to the polyline.
                const POINT end = pixel(x2, y2);
                if (run.size() < 2 || end.x != run.back().x || end.y != run.back().y)
                    run.push_back(end);
                if (x2 != x || y2 != y)
                    flush();
            }
        } else {
            flush();
        }
        lastX = x;
        lastY = y;
    }
    flush();
    display.PopPen();
    DrawPointMarks(dc, markKind, marks.data(), static_cast<int>(marks.size()), LogicalWidthToPixels(kMarkSize, display),
                   IsColourDevice(display), LogicalWidthToPixels(kLinePenWidth, display));
}

void GraphLineElement::Serialize(Archive& archive)
{
    VersionRecord version;
    if (!SerializeElementHead(archive, version, rect))
        return;
    if (archive.IsStoring()) {
        const bool hasPositions = !positions.empty();
        archive.WriteShort(static_cast<int16_t>(markKind)).WriteShort(static_cast<int16_t>(Count()));
        archive.WriteShort(isHidden).WriteShort(hasPositions ? 1 : 0);
        for (int i = 0; i < Count(); ++i) {
            archive.WriteDouble(values[i]);
            if (hasPositions)
                archive.WriteDouble(positions[i]);
        }
        return;
    }
    int16_t kind = 0;
    int16_t count = 0;
    int16_t hasPositions = 0;
    archive.ReadShort(kind).ReadShort(count);
    markKind = kind;
    if (version.IsAtLeast(KnownVersion::k2_6))
        archive.ReadShort(isHidden).ReadShort(hasPositions);
    const uint32_t pointSize = hasPositions ? 16u : 8u;
    if (archive.Failed() || count < 0 || static_cast<uint64_t>(count) * pointSize > archive.BytesLeft()) {
        archive.SetFormatError(kBadLine);
        return;
    }
    values.assign(count, 0.0);
    positions.assign(hasPositions ? count : 0, 0.0);
    for (int i = 0; i < count; ++i) {
        archive.ReadDouble(values[i]);
        if (hasPositions)
            archive.ReadDouble(positions[i]);
    }
}

void GraphLineElementList::StoreItem(Archive& archive, void* item)
{
    static_cast<GraphLineElement*>(item)->Serialize(archive);
}

void* GraphLineElementList::LoadItem(Archive& archive)
{
    auto* line = new GraphLineElement;
    line->Serialize(archive);
    return line;
}

void* GraphLineElementList::CloneItem(void* item)
{
    return new GraphLineElement(*static_cast<GraphLineElement*>(item));
}

void GraphLineElementList::DeleteItem(void* item)
{
    delete static_cast<GraphLineElement*>(item);
}

void GraphSeriesItem::Draw(Display& display)
{
    if (owner == nullptr)
        return;
    const LogicalRect& plot = owner->graphRect;
    float x1 = owner->horizontalAxis.Position(x, plot);
    float y1 = plot.bottom;
    float x2 = x1;
    float y2 = owner->verticalAxis.Position(y, plot);
    if (!Finite(x1) || !Finite(y2) || !ClipSegment(plot, x1, y1, x2, y2))
        return;
    DrawDashedLine(display, LogicalPoint{x1, y1}, LogicalPoint{x2, y2}, 2, RGB(0, 0, 0));
}

void GraphSeriesItem::Serialize(Archive& archive)
{
    if (archive.Failed())
        return;
    VersionRecord version;
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteShort(first).WriteShort(second).WriteDouble(x).WriteDouble(y);
        return;
    }
    archive.ReadShort(first).ReadShort(second).ReadDouble(x).ReadDouble(y);
    if (first < 0 || second < 0)
        archive.SetFormatError(kBadSeriesItem);
}

int GraphSeriesList::InsertSorted(GraphSeriesItem* item)
{
    int index = 0;
    while (index < Count() && Point(index)->x < item->x)
        ++index;
    return InsertAt(index, item) ? index : -1;
}

void GraphSeriesList::StoreItem(Archive& archive, void* item)
{
    static_cast<GraphSeriesItem*>(item)->Serialize(archive);
}

void* GraphSeriesList::LoadItem(Archive& archive)
{
    auto* item = new GraphSeriesItem;
    item->Serialize(archive);
    return item;
}

void* GraphSeriesList::CloneItem(void* item)
{
    return new GraphSeriesItem(*static_cast<GraphSeriesItem*>(item));
}

void GraphSeriesList::DeleteItem(void* item)
{
    delete static_cast<GraphSeriesItem*>(item);
}

bool EditLineMarkKey(GraphWindow& graph, GraphElement& key, GraphLineElementList& lines)
{
    const int index = graph.legendKeys.IndexOf(&key);
    if (index >= lines.Count() || !graph.PickLegendMark(key))
        return false;
    lines.Line(index)->markKind = static_cast<GraphMarkElement&>(key).markKind;
    return true;
}
