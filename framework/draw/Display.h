#pragma once
// A drawing surface. Drawing code brackets its work with Lock and Unlock; the first Lock obtains the device
// context, the last Unlock gives it back. Each kind of display reads its device capabilities when it is made.

#include <windows.h>

#include <vector>

class zFont;

class Display {
public:
    enum : int { KindPlain = 0, KindWindow = 1, KindBitmap = 2, KindPrinter = 3, KindMetafile = 4 };

    virtual ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    int Kind() const { return kind_; }
    void Lock();
    void Unlock();
    // The device context while locked (held for life by bitmap and printer displays), else null.
    HDC DeviceContext() const { return dc_; }

    int LogPixelsX() const { return logPixelsX_; }
    int LogPixelsY() const { return logPixelsY_; }
    int HorzRes() const { return horzRes_; }
    int VertRes() const { return vertRes_; }

    // A height in tenths of a point in device units (tenths x pixels per inch / 720, truncated toward zero);
    // 0 when the display does not know its pixels per inch.
    int PointTenthsToDevice(int tenths) const;

    // Outline of a pixel rectangle with the current pen, as a polyline through its four corners (the right
    // and bottom edges lie on the rectangle's own right and bottom); nothing is filled. Only while locked.
    void FrameRect(const RECT& rect);
    // Makes the font current for a drawing (selected while a device context is held) and restores the
    // previous one on PopFont. The caller keeps the font alive until it is popped.
    void PushFont(zFont* font);
    void PopFont();

protected:
    explicit Display(int kind) : kind_(kind) {}
    virtual void AcquireDC() {}
    virtual void ReleaseDC() {}
    // Reads HORZRES, VERTRES, LOGPIXELSX, LOGPIXELSY, HORZSIZE and VERTSIZE of a device context.
    void ReadCapabilities(HDC dc);

    HDC dc_ = nullptr;

private:
    int kind_;
    int lockCount_ = 0;
    int horzRes_ = 0;
    int vertRes_ = 0;
    int logPixelsX_ = 0;
    int logPixelsY_ = 0;
    int horzSize_ = 0;
    int vertSize_ = 0;
    std::vector<HGDIOBJ> replacedFonts_;
};
