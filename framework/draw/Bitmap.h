#pragma once
// A drawing object owning one device-dependent bitmap: made compatible with a display, loaded from the
// program's resources or a resource library, or adopted from a handle made elsewhere.

#include "framework/draw/zDrawObj.h"

class Display;
class ResourceId;

class Bitmap : public zDrawObj {
public:
    // CreateCompatibleBitmap on the display's device context (the display must be locked).
    Bitmap(Display& display, int width, int height);
    // LoadBitmapA of the resource; a resource library that cannot be loaded falls back to the program.
    explicit Bitmap(const ResourceId& resource);
    // Takes over a bitmap handle; it is deleted with the object.
    explicit Bitmap(HBITMAP handle);

    HBITMAP Handle() const { return static_cast<HBITMAP>(handle_); }
    // (bmWidth, bmHeight), (0, 0) without a handle.
    SIZE Size() const;
};
