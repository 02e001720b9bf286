#pragma once
// Scoped owners for GDI work, so that no drawing path leaks a handle or leaves a selection behind on an early
// return: a selection undone when the scope ends, an owned GDI object, device contexts that are deleted or
// released with their owner, and a palette selection.

#include <windows.h>

class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelection()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A GDI object (pen, brush, font, bitmap, region) deleted with its owner unless handed on.
template <class Handle>
class ScopedGdiObject {
public:
    explicit ScopedGdiObject(Handle handle = nullptr) : handle_(handle) {}
    ~ScopedGdiObject()
    {
        if (handle_)
            DeleteObject(handle_);
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;

    Handle Get() const { return handle_; }
    Handle Release()
    {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    // Deletes the object held so far and takes the new one.
    void Reset(Handle handle = nullptr)
    {
        if (handle_ && handle_ != handle)
            DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_;
};

// A one-pixel solid pen of one colour, made and selected for a scope, then unselected and deleted.
class ScopedPen {
public:
    ScopedPen(HDC dc, COLORREF colour) : pen_(CreatePen(PS_SOLID, 1, colour)), selection_(dc, pen_.Get()) {}
    bool Made() const { return pen_.Get() != nullptr; }

private:
    ScopedGdiObject<HPEN> pen_;
    ScopedSelection selection_;
};

// A solid brush of one colour, made and selected for a scope, then unselected and deleted.
class ScopedBrush {
public:
    ScopedBrush(HDC dc, COLORREF colour) : brush_(CreateSolidBrush(colour)), selection_(dc, brush_.Get()) {}
    bool Made() const { return brush_.Get() != nullptr; }

private:
    ScopedGdiObject<HBRUSH> brush_;
    ScopedSelection selection_;
};

// A device context made by CreateCompatibleDC, CreateDCA or CreateICA, deleted with its owner.
class ScopedCreatedDC {
public:
    explicit ScopedCreatedDC(HDC dc) : dc_(dc) {}
    ~ScopedCreatedDC()
    {
        if (dc_)
            DeleteDC(dc_);
    }
    ScopedCreatedDC(const ScopedCreatedDC&) = delete;
    ScopedCreatedDC& operator=(const ScopedCreatedDC&) = delete;

    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

class ScopedMemoryDC : public ScopedCreatedDC {
public:
    explicit ScopedMemoryDC(HDC compatibleWith) : ScopedCreatedDC(CreateCompatibleDC(compatibleWith)) {}
};

// An information context of the screen ("DISPLAY").
class ScopedScreenInfoContext : public ScopedCreatedDC {
public:
    ScopedScreenInfoContext() : ScopedCreatedDC(CreateICA("DISPLAY", nullptr, nullptr, nullptr)) {}
};

// The device context of a window (the screen's for a null window), released with its owner.
class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ScopedWindowDC()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;

    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A window's painting: BeginPaint when made, EndPaint at the end.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~ScopedPaint() { EndPaint(window_, &paint_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;

    HDC Get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A palette selected (and realised) into a device context, the previous palette reselected at the end.
class ScopedPaletteSelection {
public:
    ScopedPaletteSelection(HDC dc, HPALETTE palette)
        : dc_(dc), previous_(dc && palette ? SelectPalette(dc, palette, FALSE) : nullptr)
    {
        if (previous_)
            RealizePalette(dc_);
    }
    ~ScopedPaletteSelection()
    {
        if (previous_)
            SelectPalette(dc_, previous_, FALSE);
    }
    ScopedPaletteSelection(const ScopedPaletteSelection&) = delete;
    ScopedPaletteSelection& operator=(const ScopedPaletteSelection&) = delete;

private:
    HDC dc_;
    HPALETTE previous_;
};
