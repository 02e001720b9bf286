#include "graph/LineListGraph.h"

#include "widgets/ZoomPane.h"
#include "foundation/Archive.h"
#include "foundation/NumericFormatting.h"
#include "foundation/VersionRecord.h"
#include "framework/draw/ColourContext.h"
#include "framework/draw/Display.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/zBrush.h"
#include "framework/draw/zPen.h"

#include <algorithm>

namespace {

constexpr float kArrowPenWidth = 0.0075f;
constexpr float kArrowGap = 0.025f;
constexpr float kArrowShaft = 0.06f;
constexpr int kBarCursor = 32101;

}  // namespace

GraphBar::GraphBar(const GraphBar& other)
    : GraphElement(), value(other.value), isOverflow(other.isOverflow), isHidden(other.isHidden)
{
    if (other.fill)
        SetFill(*other.fill);
}

void GraphBar::Draw(Display& display)
{
    if (isHidden)
        return;
    RECT pixels = LogicalRectToPixels(rect, display);
    ++pixels.right;
    ++pixels.bottom;
    if (pixels.top >= pixels.bottom)
        return;
    const HDC dc = display.DeviceContext();
    RECT clip;
    if (GetClipBox(dc, &clip) != ERROR && !IntersectRect(&clip, &clip, &pixels))
        return;
    ColourContext context(display, nullptr, nullptr);
    if (fill)
        display.PushBrush(GraphBrush::Make(*fill, context).release());
    else
        display.PushBrush(new zBrush(GRAY_BRUSH));
    display.PushPen(new zPen(Colour{0, 0, 0, 0}, PS_SOLID, 1));
    Rectangle(dc, pixels.left, pixels.top, pixels.right, pixels.bottom);
    if (isOverflow) {
        display.PushPen(new zPen(Colour{0, 0, 0, 0}, PS_SOLID, LogicalWidthToPixels(kArrowPenWidth, display)));
        const int x = (pixels.left + pixels.right) / 2;
        const int tip = LogicalYToPixel(rect.top + kArrowGap, display);
        const int tail = LogicalYToPixel(rect.top + kArrowGap + kArrowShaft, display);
        const int head = LogicalWidthToPixels(kArrowGap, display);
        MoveToEx(dc, x, tail, nullptr);
        LineTo(dc, x, tip);
        LineTo(dc, x - head, tip + head);
        MoveToEx(dc, x, tip, nullptr);
        LineTo(dc, x + head, tip + head);
        display.PopPen();
    }
    display.PopPen();
    display.PopBrush();
}

void GraphBar::Serialize(Archive& archive)
{
    if (archive.Failed())
        return;
    VersionRecord version(VersionRecord::Current());
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteDouble(value);
        SerializeElementRect(archive, rect);
        archive.WriteByte(isOverflow).WriteByte(isHidden).WriteShort(fill ? 1 : 0);
        if (fill)
            SerializeGraphFill(archive, *fill);
        return;
    }
    archive.ReadDouble(value);
    SerializeElementRect(archive, rect);
    if (version.IsOlderThan(KnownVersion::k2_6))
        return;
    int16_t hasFill = 0;
    archive.ReadByte(isOverflow).ReadByte(isHidden).ReadShort(hasFill);
    fill.reset();
    if (hasFill != 0 && !archive.Failed()) {
        fill = std::make_unique<GraphFill>(GraphFill{Colour{0, 0, 0, 0}, kSolidFill});
        SerializeGraphFill(archive, *fill);
    }
}

GraphBar* GraphBarList::AddBar(double value, bool hidden)
{
    auto* bar = new GraphBar;
    bar->value = value;
    bar->isHidden = hidden ? 1 : 0;
    if (!Add(bar)) {
        delete bar;
        return nullptr;
    }
    return bar;
}

void GraphBarList::StoreItem(Archive& archive, void* item)
{
    static_cast<GraphBar*>(item)->Serialize(archive);
}

void* GraphBarList::LoadItem(Archive& archive)
{
    auto* bar = new GraphBar;
    bar->Serialize(archive);
    return bar;
}

void* GraphBarList::CloneItem(void* item)
{
    return new GraphBar(*static_cast<GraphBar*>(item));
}

void GraphBarList::DeleteItem(void* item)
{
    delete static_cast<GraphBar*>(item);
}

NumericFormat MakeProbabilityAxisFormat()
{
    NumericFormat format(true);
    format.axisDigits = 3;
    format.unitsKind = NumericFormat::UnitsNone;
    format.chopOff = 0;
    return format;
}

void LineListGraph::LayoutBars()
{
    const int count = bars.Count();
    horizontalAxis.countedBars = count;
    if (count == 0)
        return;
    const AxisElement& v = verticalAxis;
    const float width = (graphRect.right - graphRect.left) / count;
    const double span = v.valueTop - v.valueBottom;
    float x = graphRect.left;
    for (int i = 0; i < count; ++i) {
        GraphBar& bar = *bars.Bar(i);
        const double share = span != 0.0 ? (bar.value - v.valueBottom) / span : 0.0;
        const float top = static_cast<float>(graphRect.bottom - share * (graphRect.bottom - graphRect.top));
        bar.rect = LogicalRect{x, std::max(top, graphRect.top), x + width, graphRect.bottom};
        bar.isOverflow = bar.value > v.valueTop ? 1 : 0;
        bar.owner = this;
        x += width;
    }
}

int LineListGraph::BarAt(float x, float y) const
{
    for (int i = 0; i < bars.Count(); ++i)
        if (bars.Bar(i)->Contains(x, y))
            return i;
    return -1;
}

void LineListGraph::DrawSeries(Display& display)
{
    LayoutBars();
    for (int i = 0; i < bars.Count(); ++i)
        bars.Bar(i)->Draw(display);
}

void LineListGraph::OnCanvasMouseDown(POINT client)
{
    ZoomPane* pane = Pane();
    const LogicalPoint at = CanvasPoint(client);
    LayoutBars();
    const int index = pane != nullptr ? BarAt(at.x, at.y) : -1;
    if (index >= 0 && PressedTwice(bars.Bar(index)) && OnBarDoubleClick(index))
        return;
    if (index < 0 || bars.Bar(index)->value <= 0.0 || bars.Bar(index)->isHidden) {
        GraphWindow::OnCanvasMouseDown(client);
        return;
    }
    pressedBar = index;
    zString value;
    FormatNumber(verticalAxis.numberFormat, bars.Bar(index)->value, value, false, true, DigitsOfFormat);
    ShowHeldTip(client, value.Text());
}

void LineListGraph::OnCanvasMouseMove(POINT client, bool control, bool leftHeld)
{
    if (pressedBar >= 0)
        return;
    const LogicalPoint at = CanvasPoint(client);
    const int index = BarAt(at.x, at.y);
    const bool overBar = index >= 0 && bars.Bar(index)->value != 0.0 && !bars.Bar(index)->isHidden;
    HCURSOR cursor = overBar ? LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kBarCursor)) : nullptr;
    ::SetCursor(cursor != nullptr ? cursor : LoadCursorA(nullptr, overBar ? IDC_HAND : IDC_ARROW));
    GraphWindow::OnCanvasMouseMove(client, control, leftHeld);
}

void LineListGraph::OnCanvasMouseUp()
{
    if (pressedBar < 0) {
        GraphWindow::OnCanvasMouseUp();
        return;
    }
    HideHeldTip();
    pressedBar = -1;
}
