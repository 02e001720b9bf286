#pragma once
// Pictures as bitmaps: the white paper a picture is drawn on, and writing a packed device-independent bitmap
// (held in a global memory block) as a .BMP file.

#include <windows.h>

#include <memory>

class BitmapDisplay;
class FilePath;

// Creates the file and writes the 14-byte file header ("BM", file size = block size + 14, 4 reserved zero
// bytes, offset of the pixel bits) followed by the whole block. False when there is no block or the file
// cannot be created or written.
bool SaveDibAsBmp(const FilePath& path, HGLOBAL dib);
// With the wait cursor shown, converts the display's bitmap to a device-independent bitmap and saves it with
// SaveDibAsBmp; false when the conversion or the saving fails.
bool SaveBitmapAsBmp(const BitmapDisplay& bitmap, const FilePath& path);
// A bitmap of the pixel rectangle's size, compatible with the screen and filled white (a new bitmap holds
// no colour of its own), whose window origin is the rectangle's top-left corner: a picture drawn on it in
// the rectangle's pixels lies on paper, as on the printed page.
std::unique_ptr<BitmapDisplay> PaperBitmap(const RECT& pixels);
