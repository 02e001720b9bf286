#include "graph/AxisElement.h"

void AxisElement::SetScale(const NumericFormat& format, double bottom, double top, double interval, int userMayEdit)
{
    valueBottom = bottom;
    valueTop = top;
    this->interval = interval;
    isLocked = userMayEdit == 0 ? 1 : 0;
    numberFormat = format;
    numberFormat.axisFormat = 1;
}

float AxisElement::Position(double value, const LogicalRect& plot) const
{
    const double span = valueTop - valueBottom;
    const double share = span != 0.0 ? (value - valueBottom) / span : 0.0;
    if (isVertical)
        return static_cast<float>(plot.bottom - share * (plot.bottom - plot.top));
    return static_cast<float>(plot.left + share * (plot.right - plot.left));
}

int AxisElement::IntervalCount() const
{
    if (interval <= 0.0)
        return 1;
    return static_cast<int>((valueTop - valueBottom) / interval + 0.5);
}
