#include "framework/window/ScreenMetrics.h"

#include "framework/draw/GdiScopes.h"

#include <windows.h>

namespace {

ScreenMetrics ReadScreenMetrics()
{
    ScreenMetrics metrics{};
    ScopedWindowDC screen(nullptr);
    if (HDC dc = screen.Get()) {
        metrics.horzSize = GetDeviceCaps(dc, HORZSIZE);
        metrics.vertSize = GetDeviceCaps(dc, VERTSIZE);
        metrics.logPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
        metrics.logPixelsX = GetDeviceCaps(dc, LOGPIXELSX);
        metrics.horzRes = GetDeviceCaps(dc, HORZRES);
        metrics.vertRes = GetDeviceCaps(dc, VERTRES);
    }
    return WithScreenFallbacks(metrics);
}

} // namespace

ScreenMetrics WithScreenFallbacks(ScreenMetrics metrics)
{
    if (metrics.horzRes == 0)
        metrics.horzRes = 480;
    if (metrics.vertRes == 0)
        metrics.vertRes = 640;
    if (metrics.logPixelsX <= 0)
        metrics.logPixelsX = 96;
    if (metrics.logPixelsY <= 0)
        metrics.logPixelsY = 96;
    return metrics;
}

const ScreenMetrics& Screen()
{
    static const ScreenMetrics metrics = ReadScreenMetrics();
    return metrics;
}
