#include "widgets/ScaledWindow.h"

ScaledWindow::ScaledWindow(const DefaultPrinter* printer) : PrinterDisplay(printer)
{
    UpdateScaleState();
}

ScaledWindow::ScaledWindow(const char* driver, const char* device, const char* port, const DEVMODEA* deviceMode)
    : PrinterDisplay(driver, device, port, deviceMode)
{
    UpdateScaleState();
}

void ScaledWindow::UpdateScaleState()
{
    scale_.Measure(LogPixelsX(), LogPixelsY());
    if (scale_.IsScaled())
        SetScale(scale_.Factor(), -1.0);
}

void ScaledWindow::SetScale(double horizontal, double vertical)
{
    const POINT perInch = scale_.Apply(horizontal, vertical);
    SetCapabilities(HorzRes(), VertRes(), perInch.x, perInch.y, HorzSize(), VertSize());
}
