#pragma once
// The display of a window. While its painting flag is set it obtains its context with BeginPaint and gives
// it back with EndPaint (a pane's paint sequence sets the flag); otherwise with GetDC and ReleaseDC.

#include "framework/draw/Display.h"

class WindowCL;

class WindowDisplay : public Display {
public:
    // Reads the capabilities of the window (of its parent while the window has no live handle); the
    // background and text colours and the bottom brush take the system's window colours.
    explicit WindowDisplay(WindowCL* window);

    void SetPainting(bool painting) { painting_ = painting; }
    bool IsPainting() const { return painting_; }
    WindowCL* Window() const { return window_; }

    // While painting, the paint rectangle moved by the window origin; else empty.
    void Bounds(RECT& rect) override;
    // GetClientRect while the window lives; else the rectangle is left as it is.
    void ClientRect(RECT& rect) override;
    void InvalidateRgn(zRegion* region, bool erase) override;
    void InvalidateRect(const RECT* rect, bool erase) override;

protected:
    // A window display that drawing code takes for a display of another kind (a printer's page shown in a
    // window).
    WindowDisplay(WindowCL* window, int kind);
    void AcquireDC() override;
    void ReleaseDC() override;

private:
    HWND LiveHandle() const;

    WindowCL* window_;
    bool painting_ = false;
    PAINTSTRUCT paint_{};
};
