#pragma once
// A drawing surface. The whole drawing state (colours, modes, mapping, the current brush, pen and font) lives
// in the object, not in the device context, so a context can be obtained late, given back early and obtained
// again without losing anything. Drawing code brackets its work with Lock and Unlock: the first Lock obtains
// the context and applies the stored state, the last Unlock gives it back. Brushes, pens and fonts are pushed
// and popped on three stacks; an object on a stack belongs to the display until it is popped, and the
// display deletes what is left when it is destroyed (the stock defaults at the bottom included).

#include "framework/draw/Colour.h"
#include "framework/draw/zBrush.h"
#include "framework/draw/zFont.h"
#include "framework/draw/zPen.h"

#include <windows.h>

#include <memory>
#include <vector>

class Bitmap;
class zRegion;

class Display {
public:
    enum : int { KindPlain = 0, KindWindow = 1, KindBitmap = 2, KindPrinter = 3, KindMetafile = 4 };

    // A plain display: no device of its own.
    Display() : Display(KindPlain) {}
    virtual ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    int Kind() const { return kind_; }
    // Lock and Unlock nest and must balance; only the outermost pair obtains and gives back the context.
    void Lock();
    void Unlock();
    int LockCount() const { return lockCount_; }
    // The device context while locked (held for life by bitmap and printer displays), else null.
    HDC DeviceContext() const { return dc_; }

    // Capabilities read when the display was made.
    int LogPixelsX() const { return logPixelsX_; }
    int LogPixelsY() const { return logPixelsY_; }
    int HorzRes() const { return horzRes_; }
    int VertRes() const { return vertRes_; }
    int HorzSize() const { return horzSize_; }
    int VertSize() const { return vertSize_; }
    // A height in tenths of a point in device units (tenths x pixels per inch / 720, truncated toward zero);
    // 0 when the display does not know its pixels per inch.
    int PointTenthsToDevice(int tenths) const;

    // The setters store the value always and apply it to the device context while one is held.
    // Both return the previous colour.
    Colour SetBackgroundColour(const Colour& colour);
    Colour SetTextColor(const Colour& colour);
    Colour BackgroundColour() const { return background_; }
    Colour TextColour() const { return text_; }
    // OPAQUE or TRANSPARENT; returns the previous mode.
    int SetBackgroundMode(int mode);
    // With a context SetMapMode's answer, else the previously stored mode (MM_TEXT when none was stored).
    int SetMapMode(int mode);
    int MapMode() const { return mapMode_; }
    // Without a context the answer is the new values packed (y high 16 bits, x low 16); with one, the
    // previous origin packed the same way.
    DWORD SetWindowOrigin(int x, int y);
    DWORD SetViewportOrigin(int x, int y);
    POINT WindowOrigin() const { return windowOrigin_; }
    POINT ViewportOrigin() const { return viewportOrigin_; }
    // Stored and applied at once (with no context the system call simply fails).
    void SetWindowExtent(int cx, int cy);
    void SetViewportExtent(int cx, int cy);
    // Returns the previously stored raster operation.
    int SetRop2(int mode);

    // Push makes the object current (selected while a context is held) and hands it to the display. Pop
    // removes the top, reselects the one below and hands the removed object back to the caller, who
    // deletes it; the bottom default is never popped (null then). Replace pops, then pushes.
    void PushBrush(zBrush* brush);
    void PushPen(zPen* pen);
    void PushFont(zFont* font);
    std::unique_ptr<zBrush> PopBrush();
    std::unique_ptr<zPen> PopPen();
    std::unique_ptr<zFont> PopFont();
    std::unique_ptr<zBrush> ReplaceBrush(zBrush* brush);
    std::unique_ptr<zPen> ReplacePen(zPen* pen);
    zBrush* CurrentBrush() const { return brushes_.back().get(); }
    zPen* CurrentPen() const { return pens_.back().get(); }
    zFont* CurrentFont() const { return fonts_.back().get(); }

    // The rectangle being drawn, in logical units (empty in the base).
    virtual void Bounds(RECT& rect);
    virtual void InvalidateRgn(zRegion* region, bool erase);
    virtual void InvalidateRect(const RECT* rect, bool erase);
    // GetTextExtentPoint32A on the held context (length 0: the text's own length); only while locked.
    virtual SIZE TextExtent(const char* text, int length);
    // The drawable area (empty in the base).
    virtual void ClientRect(RECT& rect);
    // Draws the bitmap at (x, y) with the raster operation through a memory context in the display's map
    // mode; 0 without a held context.
    virtual BOOL DrawBitmap(Bitmap* bitmap, int x, int y, DWORD rop);
    // Copies this surface onto another display (nothing in the base).
    virtual void CopyTo(Display& target, int x, int y, int width, int height, int sourceX, int sourceY);
    // A picture drawn in black and white only (no in the base).
    virtual bool BlackAndWhitePicture() const { return false; }

    // Outline of a pixel rectangle with the current pen, as a polyline through its four corners (the right
    // and bottom edges lie on the rectangle's own right and bottom); nothing is filled. Only while locked.
    void FrameRect(const RECT& rect);
    // TextOutA at (x, y) with the current font, text colour and background mode; only while locked.
    void TextOutAt(int x, int y, const char* text);

protected:
    explicit Display(int kind);
    virtual void AcquireDC() {}
    virtual void ReleaseDC() {}
    // Reads HORZRES, VERTRES, LOGPIXELSX, LOGPIXELSY, HORZSIZE and VERTSIZE of a device context.
    void ReadCapabilities(HDC dc);
    // Copies the six capabilities of another display.
    void CopyCapabilities(const Display& other);
    // Sets the six capabilities (a display that knows its device without a context of its own).
    void SetCapabilities(int horzRes, int vertRes, int logPixelsX, int logPixelsY, int horzSize, int vertSize);
    // Replaces the bottom brush (a default) by another, deleting the old one.
    void ReplaceBottomBrush(zBrush* brush);

    HDC dc_ = nullptr;

private:
    // Applies the stored state to a newly obtained context.
    void ApplyState();

    int lockCount_ = 0;
    Colour background_{255, 255, 255, 0};
    Colour text_{0, 0, 0, 0};
    std::vector<std::unique_ptr<zBrush>> brushes_;
    std::vector<std::unique_ptr<zPen>> pens_;
    std::vector<std::unique_ptr<zFont>> fonts_;
    int rop_ = R2_COPYPEN;
    POINT windowOrigin_{0, 0};
    POINT viewportOrigin_{0, 0};
    SIZE windowExtent_{0, 0};
    SIZE viewportExtent_{0, 0};
    int mapMode_ = 0;
    int kind_;
    int horzRes_ = 0;
    int vertRes_ = 0;
    int logPixelsX_ = 0;
    int logPixelsY_ = 0;
    int horzSize_ = 0;
    int vertSize_ = 0;
    int backgroundMode_ = OPAQUE;
};

// Locks a display for the length of a scope.
class DisplayLock {
public:
    explicit DisplayLock(Display& display) : display_(display) { display_.Lock(); }
    ~DisplayLock() { display_.Unlock(); }
    DisplayLock(const DisplayLock&) = delete;
    DisplayLock& operator=(const DisplayLock&) = delete;

private:
    Display& display_;
};
