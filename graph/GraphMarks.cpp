#include "graph/GraphMarks.h"

#include "foundation/Archive.h"
#include "foundation/VersionRecord.h"
#include "framework/draw/Display.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/zBrush.h"
#include "graph/GraphWindow.h"

namespace {

constexpr uint32_t kBadKeyKind = 12;
constexpr float kKeySize = kMarkSize + 0.05f;
constexpr float kMarkPenWidth = 0.0075f;

const char* const kMarkNames[kMarkKindCount] = {
    "(no mark)",    "open circle",    "open diamond",    "open triangle",    "open square",
    "open invert triangle", "filled circle", "filled diamond", "filled triangle", "filled square",
    "filled invert triangle", "plus", "ex", "double cross", "asterisk"};

const char* const kFillNames[7] = {"(no hatch)", "horizontal", "vertical", "down-diagonal", "up-diagonal",
                                   "cross-hatch", "diagonal cross-hatch"};

// The mark's pen and brush, selected while the scope lives.
class MarkTools {
public:
    MarkTools(HDC dc, int kind, bool colour, int penWidth)
        : dc_(dc), pen_(CreatePen(PS_SOLID, penWidth, MarkColour(kind, colour))),
          brush_(kind >= 6 && kind <= 10 ? CreateSolidBrush(MarkColour(kind, colour)) : nullptr),
          oldPen_(SelectObject(dc, pen_)),
          oldBrush_(SelectObject(dc, brush_ != nullptr ? brush_ : GetStockObject(HOLLOW_BRUSH)))
    {
    }
    ~MarkTools()
    {
        SelectObject(dc_, oldBrush_);
        SelectObject(dc_, oldPen_);
        DeleteObject(pen_);
        if (brush_ != nullptr)
            DeleteObject(brush_);
    }
    MarkTools(const MarkTools&) = delete;
    MarkTools& operator=(const MarkTools&) = delete;

private:
    HDC dc_;
    HPEN pen_;
    HBRUSH brush_;
    HGDIOBJ oldPen_;
    HGDIOBJ oldBrush_;
};

void Stroke(HDC dc, int x1, int y1, int x2, int y2)
{
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

}  // namespace

const char* MarkKindName(int kind)
{
    return kind >= 0 && kind < kMarkKindCount ? kMarkNames[kind] : "";
}

const char* FillEntryName(int entry)
{
    return entry >= 0 && entry < 7 ? kFillNames[entry] : "";
}

COLORREF MarkColour(int kind, bool colour)
{
    static const COLORREF shapes[5] = {RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 0, 0), RGB(0, 255, 255),
                                       RGB(255, 0, 255)};
    if (!colour || kind < 1 || kind > 10)
        return RGB(0, 0, 0);
    return shapes[(kind - 1) % 5];
}

namespace {

// The shape of a mark kind in the pen and brush selected now.
void DrawMarkShape(HDC dc, int kind, POINT at, int size)
{
    const int s = size + size % 2;
    const int h = s / 2;
    const int px = at.x;
    const int py = at.y;
    const int shape = kind <= 10 ? (kind - 1) % 5 : kind;
    switch (shape) {
    case 0:
        Ellipse(dc, px - h, py - h, px + h + 1, py + h + 1);
        break;
    case 1: {
        const POINT diamond[] = {{px, py - h}, {px - h, py}, {px, py + h}, {px + h, py}};
        Polygon(dc, diamond, 4);
        break;
    }
    case 2: {
        const POINT triangle[] = {{px, py - h}, {px + h, py + h}, {px - h, py + h}};
        Polygon(dc, triangle, 3);
        break;
    }
    case 3:
        Rectangle(dc, px - h, py - h, px + h + 1, py + h + 1);
        break;
    case 4: {
        const POINT triangle[] = {{px, py + h}, {px - h, py - h}, {px + h, py - h}};
        Polygon(dc, triangle, 3);
        break;
    }
    case 11:
        Stroke(dc, px, py - h, px, py + h + 1);
        Stroke(dc, px - h, py, px + h + 1, py);
        break;
    case 12:
        Stroke(dc, px - h, py - h, px + h + 1, py + h + 1);
        Stroke(dc, px + h, py - h, px - h - 1, py + h + 1);
        break;
    case 13: {
        // Strokes a sixth of the mark above and below the centre.
        const int offset = s / 6;
        Stroke(dc, px, py - h, px, py + h + 1);
        Stroke(dc, px - h, py + offset, px + h + 1, py + offset);
        Stroke(dc, px - h, py - offset, px + h + 1, py - offset);
        break;
    }
    case 14:
        DrawMarkShape(dc, 12, at, size);
        DrawMarkShape(dc, 11, at, size);
        break;
    default:
        break;
    }
}

}  // namespace

void DrawPointMarkAt(HDC dc, int kind, POINT at, int size, bool colour, int penWidth)
{
    DrawPointMarks(dc, kind, &at, 1, size, colour, penWidth);
}

void DrawPointMarks(HDC dc, int kind, const POINT* points, int count, int size, bool colour, int penWidth)
{
    if (kind < 1 || kind >= kMarkKindCount || count <= 0)
        return;
    MarkTools tools(dc, kind, colour, penWidth);
    for (int i = 0; i < count; ++i)
        if (i == 0 || points[i].x != points[i - 1].x || points[i].y != points[i - 1].y)
            DrawMarkShape(dc, kind, points[i], size);
}

void DrawPointMark(Display& display, int kind, float x, float y)
{
    DrawPointMarkAt(display.DeviceContext(), kind, POINT{LogicalXToPixel(x, display), LogicalYToPixel(y, display)},
                    LogicalWidthToPixels(kMarkSize, display), IsColourDevice(display),
                    LogicalWidthToPixels(kMarkPenWidth, display));
}

void DrawPointMarks(Display& display, int kind, const std::vector<LogicalPoint>& points)
{
    std::vector<POINT> pixels;
    pixels.reserve(points.size());
    for (const LogicalPoint& point : points)
        pixels.push_back(POINT{LogicalXToPixel(point.x, display), LogicalYToPixel(point.y, display)});
    DrawPointMarks(display.DeviceContext(), kind, pixels.data(), static_cast<int>(pixels.size()),
                   LogicalWidthToPixels(kMarkSize, display), IsColourDevice(display),
                   LogicalWidthToPixels(kMarkPenWidth, display));
}

void SerializeGraphFill(Archive& archive, GraphFill& fill)
{
    if (archive.IsStoring()) {
        archive.WriteColor(fill.colour.red, fill.colour.green, fill.colour.blue);
        archive.WriteShort(static_cast<int16_t>(fill.style));
        return;
    }
    int16_t style = 0;
    archive.ReadColor(fill.colour.red, fill.colour.green, fill.colour.blue);
    archive.ReadShort(style);
    fill.colour.flag = 0;
    fill.style = style;
}

GraphMarkElement::GraphMarkElement(int markKind) : markKind(markKind)
{
    rect = LogicalRect{0, 0, kKeySize, kKeySize};
}

void GraphMarkElement::Measure(Display&)
{
    rect.right = kKeySize;
    rect.bottom = kKeySize;
}

void GraphMarkElement::Draw(Display& display)
{
    DrawPointMark(display, markKind, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

bool GraphMarkElement::Edit()
{
    return owner != nullptr && owner->EditLegendKey(*this);
}

void GraphMarkElement::Serialize(Archive& archive)
{
    if (archive.Failed())
        return;
    VersionRecord version;
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteShort(static_cast<int16_t>(markKind));
    } else {
        int16_t kind = 0;
        archive.ReadShort(kind);
        markKind = kind;
    }
    SerializeElementRect(archive, rect);
}

GraphFillElement::GraphFillElement(const GraphFill& fill) : fill(fill)
{
    rect = LogicalRect{0, 0, kKeySize, kKeySize};
}

void GraphFillElement::Measure(Display&)
{
    rect.right = kKeySize;
    rect.bottom = kKeySize;
}

void GraphFillElement::Draw(Display& display)
{
    ColourContext context(display, nullptr, nullptr);
    display.PushBrush(GraphBrush::Make(fill, context).release());
    const RECT pixels = LogicalRectToPixels(rect, display);
    Rectangle(display.DeviceContext(), pixels.left, pixels.top, pixels.right, pixels.bottom);
    display.PopBrush();
}

bool GraphFillElement::Edit()
{
    return owner != nullptr && owner->EditLegendKey(*this);
}

void GraphFillElement::Serialize(Archive& archive)
{
    if (archive.Failed())
        return;
    VersionRecord version;
    version.Serialize(archive);
    SerializeGraphFill(archive, fill);
    SerializeElementRect(archive, rect);
}

void GraphMarkList::StoreItem(Archive& archive, void* item)
{
    auto* key = static_cast<GraphElement*>(item);
    archive.WriteShort(static_cast<int16_t>(key->KindCode()));
    key->Serialize(archive);
}

void* GraphMarkList::LoadItem(Archive& archive)
{
    int16_t kind = 0;
    archive.ReadShort(kind);
    GraphElement* key = nullptr;
    if (kind == 1)
        key = new GraphMarkElement;
    else if (kind == 2)
        key = new GraphFillElement(GraphFill{{0, 0, 0, 0}, kSolidFill});
    else {
        archive.SetFormatError(kBadKeyKind);
        return nullptr;
    }
    key->Serialize(archive);
    return key;
}

void* GraphMarkList::CloneItem(void* item)
{
    auto* key = static_cast<GraphElement*>(item);
    if (auto* mark = dynamic_cast<GraphMarkElement*>(key))
        return new GraphMarkElement(*mark);
    return new GraphFillElement(*static_cast<GraphFillElement*>(key));
}

void GraphMarkList::DeleteItem(void* item)
{
    delete static_cast<GraphElement*>(item);
}
