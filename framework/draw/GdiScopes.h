#pragma once
// Scoped owners for GDI work: a selection into a device context that is undone when the scope ends, and a
// memory device context that is deleted with its owner.

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

class ScopedMemoryDC {
public:
    explicit ScopedMemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~ScopedMemoryDC()
    {
        if (dc_)
            DeleteDC(dc_);
    }
    ScopedMemoryDC(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;

    HDC Get() const { return dc_; }

private:
    HDC dc_;
};
