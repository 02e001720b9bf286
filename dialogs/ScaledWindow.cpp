#include "dialogs/ScaledWindow.h"

#include <cmath>

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
    baseX_ = LogPixelsX();
    baseY_ = LogPixelsY();
    if (std::fabs(scale_ - 1.0) >= 1e-10)
        SetScale(scale_, -1.0);
}

void ScaledWindow::SetScale(double horizontal, double vertical)
{
    scale_ = horizontal;
    if (vertical < 0.0)
        vertical = horizontal;
    SetCapabilities(HorzRes(), VertRes(), static_cast<int>(std::floor(baseX_ * horizontal)),
                    static_cast<int>(std::floor(baseY_ * vertical)), HorzSize(), VertSize());
}
