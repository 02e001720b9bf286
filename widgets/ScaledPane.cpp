#include "widgets/ScaledPane.h"

ScaledPane::ScaledPane(WindowCL* window, int kind) : WindowDisplay(window, kind)
{
    UpdateScaleState();
}

void ScaledPane::UpdateScaleState()
{
    scale_.Measure(LogPixelsX(), LogPixelsY());
    if (scale_.IsScaled())
        SetScale(scale_.Factor(), -1.0);
}

void ScaledPane::SetScale(double horizontal, double vertical)
{
    const POINT perInch = scale_.Apply(horizontal, vertical);
    SetCapabilities(HorzRes(), VertRes(), perInch.x, perInch.y, HorzSize(), VertSize());
}
