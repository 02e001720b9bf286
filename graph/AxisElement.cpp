#include "graph/AxisElement.h"

#include "widgets/Shell.h"
#include "foundation/Archive.h"
#include "foundation/NumericFormatting.h"
#include "foundation/VersionRecord.h"
#include "framework/draw/Display.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/zPen.h"
#include "graph/GraphLabel.h"
#include "graph/GraphWindow.h"
#include "graph/ModifyAxisDialog.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr uint32_t kBadAxis = 8;
constexpr float kAxisPenWidth = 0.0075f;

class AxisPen {
public:
    explicit AxisPen(Display& display) : display_(display)
    {
        display_.PushPen(new zPen(Colour{0, 0, 0, 0}, PS_SOLID, LogicalWidthToPixels(kAxisPenWidth, display)));
    }
    ~AxisPen() { display_.PopPen(); }
    AxisPen(const AxisPen&) = delete;
    AxisPen& operator=(const AxisPen&) = delete;

private:
    Display& display_;
};

LogicalRect PlotOf(const GraphElement& element)
{
    if (element.owner == nullptr)
        return LogicalRect{0, 0, 0, 0};
    return element.owner->graphRect;
}

void Line(Display& display, float x1, float y1, float x2, float y2)
{
    MoveToEx(display.DeviceContext(), LogicalXToPixel(x1, display), LogicalYToPixel(y1, display), nullptr);
    LineTo(display.DeviceContext(), LogicalXToPixel(x2, display), LogicalYToPixel(y2, display));
}

}  // namespace

AxisElement::AxisElement() : numberFormat(true)
{
    if (const FontRecord* preferred = TheShell().DefaultFontNamed("GraphAxis"))
        font = *preferred;
}

void AxisElement::SetScale(const NumericFormat& format, double bottom, double top, double interval, int userMayEdit)
{
    valueBottom = bottom;
    valueTop = top;
    this->interval = interval;
    isLocked = userMayEdit == 0 ? 1 : 0;
    numberFormat = format;
    numberFormat.axisFormat = 1;
}

bool AxisElement::ScaleFits(double bottom, double top, double interval)
{
    const double span = top - bottom;
    return top >= bottom && interval > 0.0 && span >= interval && span / interval <= kMostIntervals;
}

double AxisElement::Span() const
{
    return countedBars > 0 ? countedBars * interval : valueTop - valueBottom;
}

float AxisElement::Position(double value, const LogicalRect& plot) const
{
    const double span = Span();
    const double share = span != 0.0 ? (value - valueBottom) / span : 0.0;
    // In double throughout: the plot's length taken in float rounds, and the axis's top value would then fall a
    // hair outside the plot and its line be cut away.
    const double bottom = plot.bottom;
    const double left = plot.left;
    if (isVertical)
        return static_cast<float>(bottom - share * (bottom - plot.top));
    return static_cast<float>(left + share * (plot.right - left));
}

double AxisElement::ValueAt(float position, const LogicalRect& plot) const
{
    const double span = Span();
    if (isVertical) {
        const double length = plot.bottom - plot.top;
        return length != 0.0 ? valueBottom + span - (position - plot.top) / length * span : valueBottom;
    }
    const double length = plot.right - plot.left;
    return length != 0.0 ? valueBottom + (position - plot.left) / length * span : valueBottom;
}

int AxisElement::IntervalCount() const
{
    if (countedBars > 0)
        return countedBars;
    if (interval <= 0.0)
        return 1;
    const double count = (valueTop - valueBottom) / interval + 0.5;
    return static_cast<int>(std::min(std::max(count, 1.0), kMostIntervals));
}

zString AxisElement::ValueText(double value) const
{
    zString text;
    FormatNumber(numberFormat, value, text, false, true, DigitsOfFormat);
    return text;
}

void AxisElement::LabelExtent(Display& display, float& width, float& height)
{
    width = 0.0f;
    height = 0.0f;
    if (isHidden)
        return;
    float topWidth = 0.0f;
    float bottomWidth = 0.0f;
    MeasureText(display, font, ValueText(valueTop).Text(), topWidth, height);
    MeasureText(display, font, ValueText(valueBottom).Text(), bottomWidth, height);
    width = std::max(topWidth, bottomWidth) + (isVertical ? 0.05f : 0.1f);
}

int AxisElement::LabelStep(Display& display, float plotLength)
{
    float width = 0.0f;
    float height = 0.0f;
    LabelExtent(display, width, height);
    const float extent = isVertical ? height : width;
    if (std::fabs(extent) < 1e-10f || plotLength <= 0.0f)
        return 1;
    const double fit = plotLength / extent;
    const int step = static_cast<int>(std::ceil(IntervalCount() / fit));
    return std::max(step, 1);
}

void AxisElement::Measure(Display& display)
{
    if (isHidden) {
        rect.right = rect.bottom = 0.0f;
        overhang = 0.0f;
        return;
    }
    float width = 0.0f;
    float height = 0.0f;
    LabelExtent(display, width, height);
    LogicalRect plot = PlotOf(*this);
    float plotWidth = plot.right - plot.left;
    float plotHeight = plot.bottom - plot.top;
    if (plotWidth < 0.01f && owner != nullptr)
        owner->GraphSize(plotWidth, plotHeight);
    if (isVertical) {
        overhang = height / 2 + 0.05f;
        rect.right = width + kMajorTick;
        rect.bottom = plotHeight + 2 * overhang;
    } else {
        overhang = width / 2 + 0.1f;
        rect.right = plotWidth + 2 * overhang;
        rect.bottom = height + kMajorTick;
    }
}

void AxisElement::Place(Display& display)
{
    const float oldOverhang = overhang;
    const float oldWidth = rect.right - rect.left;
    LogicalRect placed = rect;
    Measure(display);
    const float width = rect.right;
    const float height = rect.bottom;
    if (isVertical) {
        placed.top -= overhang - oldOverhang;
        placed.left -= width - oldWidth;
    } else {
        placed.left -= overhang - oldOverhang;
    }
    rect = LogicalRect{placed.left, placed.top, placed.left + width, placed.top + height};
}

void AxisElement::Draw(Display& display)
{
    if (isHidden || owner == nullptr)
        return;
    const LogicalRect plot = owner->graphRect;
    AxisPen pen(display);
    const int count = IntervalCount();
    const int step = LabelStep(display, isVertical ? plot.bottom - plot.top : plot.right - plot.left);
    const float spacing = (isVertical ? plot.bottom - plot.top : plot.right - plot.left) / count;
    for (int i = 0; i <= count; ++i) {
        const bool major = i % step == 0;
        const float tick = major ? kMajorTick : kMinorTick;
        const float x = isVertical ? rect.right : rect.left + overhang + i * spacing;
        const float y = isVertical ? rect.top + overhang + i * spacing : rect.top;
        if (isVertical)
            Line(display, x, y, x - tick, y);
        else
            Line(display, x, y, x, y + tick);
        if (!major)
            continue;
        GraphLabel number(ValueText(isVertical ? valueTop - i * interval : valueBottom + i * interval).Text());
        number.font = font;
        number.Measure(display);
        const float width = number.rect.right;
        const float height = number.rect.bottom;
        if (isVertical)
            number.rect = LogicalRect{x - (width + 0.1f), y - height / 2, x - 0.1f, y + height / 2};
        else
            number.rect = LogicalRect{x - width / 2, y + tick, x + width / 2, y + tick + height};
        number.Draw(display);
    }
}

bool AxisElement::Edit()
{
    const AxisElement kept = *this;
    if (!RunModifyAxisDialog(*this))
        return false;
    if (owner == nullptr || owner->AxisChanged(isVertical))
        return true;
    *this = kept;
    owner->AxisChanged(isVertical);
    return false;
}

void AxisElement::Serialize(Archive& archive)
{
    VersionRecord version;
    if (!SerializeElementHead(archive, version, rect))
        return;
    if (archive.IsStoring()) {
        archive.WriteDouble(valueBottom).WriteDouble(valueTop).WriteDouble(interval).WriteByte(isVertical);
        SerializeWithVersion(numberFormat, archive);
        archive.WriteFloat(overhang).WriteByte(isHidden).WriteByte(isLocked);
        font.Serialize(archive);
        archive.WriteByte(reserved);
        return;
    }
    archive.ReadDouble(valueBottom).ReadDouble(valueTop).ReadDouble(interval).ReadByte(isVertical);
    SerializeWithVersion(numberFormat, archive);
    archive.ReadFloat(overhang).ReadByte(isHidden).ReadByte(isLocked);
    font.Serialize(archive);
    if (version.IsNewerThan(KnownVersion::k2_6_Beta5))
        archive.ReadByte(reserved);
    if (archive.Failed())
        return;
    if (!ScaleFits(valueBottom, valueTop, interval) || isVertical > 1 || isHidden > 1)
        archive.SetFormatError(kBadAxis);
}
