#include "widgets/DisplayScale.h"

#include <cmath>

POINT DisplayScale::Apply(double horizontal, double vertical)
{
    factor_ = horizontal;
    if (vertical < 0.0)
        vertical = horizontal;
    return POINT{static_cast<LONG>(std::floor(baseX_ * horizontal)), static_cast<LONG>(std::floor(baseY_ * vertical))};
}

bool DisplayScale::IsScaled() const
{
    return std::fabs(factor_ - 1.0) >= 1e-10;
}
