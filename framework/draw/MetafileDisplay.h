#pragma once
// A display that records drawing into a memory Windows metafile, measuring text on a reference display (the
// window being copied). MetafileObject adds the picture's file, written as a placeable metafile when the
// object is destroyed, and the clipboard.

#include "foundation/FilePath.h"
#include "framework/draw/Display.h"

#include <array>
#include <cstdint>

class MetafileDisplay : public Display {
public:
    // Map mode MM_ANISOTROPIC; the capabilities and colours of the reference display (of the screen when
    // there is none).
    explicit MetafileDisplay(Display* reference);
    ~MetafileDisplay() override;

    // The picture's size in logical units; an empty frame leaves the size to the reference display.
    void SetFrame(const RECT& frame) { frame_ = frame; }
    // The frame when its width is not 0; else the reference display's client rectangle; else
    // (0, 0, HORZRES, VERTRES).
    void Bounds(RECT& rect) override;
    void ClientRect(RECT& rect) override;
    // Measured on the reference display.
    SIZE TextExtent(const char* text, int length) override;
    // Plays the metafile onto the target with window and viewport both at (x, y) with extent (width, height).
    void CopyTo(Display& target, int x, int y, int width, int height, int sourceX, int sourceY) override;

    // Whether the picture is drawn in black and white (set by its maker, before drawing; off when made).
    void SetBlackAndWhite(bool blackAndWhite) { blackAndWhite_ = blackAndWhite; }
    bool BlackAndWhitePicture() const override { return blackAndWhite_; }

    // mm = the map mode (MM_TEXT when none), xExt and yExt = the client rectangle's size, hMF = the metafile.
    void FillMetafilePict(METAFILEPICT& picture);
    // The recorded metafile (made when recording closes), or null.
    HMETAFILE Metafile() const { return metafile_; }

protected:
    // CreateMetaFileA(NULL), mapped anisotropically onto the picture's size; closing keeps the metafile.
    void AcquireDC() override;
    void ReleaseDC() override;

private:
    // The picture rectangle; the reference display's client rectangle is read with it locked when asked.
    void PictureRect(RECT& rect, bool lockReference);

    RECT frame_{0, 0, 0, 0};
    Display* reference_;
    HMETAFILE metafile_ = nullptr;
    bool blackAndWhite_ = false;
};

// The 22-byte header of a placeable metafile file, little-endian:
//   offset 0   4  key 0x9AC6CDD7
//   offset 4   2  handle, 0
//   offset 6   2  left of the frame          offset 8   2  top
//   offset 10  2  right                      offset 12  2  bottom
//   offset 14  2  units per inch (the display's LOGPIXELSX)
//   offset 16  4  reserved, 0
//   offset 20  2  checksum: XOR of the ten 16-bit words at offsets 0-18
// The metafile's bits follow.
std::array<uint8_t, 22> PlaceableMetafileHeader(const RECT& frame, int unitsPerInch);

class MetafileObject : public MetafileDisplay {
public:
    MetafileObject(const FilePath& path, Display* reference);
    // Writes the placeable file (header, then the bits) when the picture has bits and a path.
    ~MetafileObject() override;

    // The picture's rectangle in inches, for the clipboard's extents.
    void SetLogicalRect(float left, float top, float right, float bottom);
    // Adds a copy of the picture to the clipboard as CF_METAFILEPICT, in HIMETRIC extents of the logical
    // rectangle (truncate(inches x 2540) + 1); the clipboard is not emptied first. The clipboard owns the
    // copy, so the object can still write its file. Returns whether the picture was put.
    bool CopyToClipboard(HWND owner);

private:
    FilePath path_;
    float logical_[4] = {0, 0, 0, 0};
};
