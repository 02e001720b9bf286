#pragma once
// A snapshot of a display's device capabilities, read through the display's own device context (borrowed
// while the snapshot is made). A display without a context reports no capability bits, and a screen size
// of 640 x 480.

#include <windows.h>

class Display;

class DeviceInfo {
public:
    explicit DeviceInfo(Display& display);
    DeviceInfo(const DeviceInfo&) = delete;
    DeviceInfo& operator=(const DeviceInfo&) = delete;

    // Lock and Unlock nest like the display's and borrow its device context.
    void Lock();
    void Unlock();
    // GetDeviceCaps(NUMCOLORS) while locked, else 0.
    int Caps();

    int driverVersion = 0;
    int horzRes = 0;
    int vertRes = 0;
    int logPixelsX = 0;
    int logPixelsY = 0;
    int horzSize = 0;
    int vertSize = 0;
    int rasterCaps = 0;
    int curveCaps = 0;
    int lineCaps = 0;
    int polygonalCaps = 0;
    int textCaps = 0;

private:
    int lockCount_ = 0;
    Display& display_;
    HDC dc_ = nullptr;
};
