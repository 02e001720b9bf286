#include "framework/draw/DeviceInfo.h"

#include "framework/draw/Display.h"

DeviceInfo::DeviceInfo(Display& display) : display_(display)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    horzRes = display.HorzRes();
    vertRes = display.VertRes();
    if (dc) {
        driverVersion = GetDeviceCaps(dc, DRIVERVERSION);
        logPixelsX = GetDeviceCaps(dc, LOGPIXELSX);
        logPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
        horzSize = GetDeviceCaps(dc, HORZSIZE);
        vertSize = GetDeviceCaps(dc, VERTSIZE);
        rasterCaps = GetDeviceCaps(dc, RASTERCAPS);
        curveCaps = GetDeviceCaps(dc, CURVECAPS);
        lineCaps = GetDeviceCaps(dc, LINECAPS);
        polygonalCaps = GetDeviceCaps(dc, POLYGONALCAPS);
        textCaps = GetDeviceCaps(dc, TEXTCAPS);
    }
    if (horzRes == 0)
        horzRes = 640;
    if (vertRes == 0)
        vertRes = 480;
}

void DeviceInfo::Lock()
{
    if (lockCount_++ == 0) {
        display_.Lock();
        dc_ = display_.DeviceContext();
    }
}

void DeviceInfo::Unlock()
{
    if (lockCount_ <= 0)
        return;
    if (--lockCount_ == 0) {
        dc_ = nullptr;
        display_.Unlock();
    }
}

int DeviceInfo::Caps()
{
    return dc_ ? GetDeviceCaps(dc_, NUMCOLORS) : 0;
}
