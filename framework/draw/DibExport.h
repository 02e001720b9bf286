#pragma once
// Packed device-independent bitmaps: a global memory block (GMEM_MOVEABLE | GMEM_ZEROINIT) holding a
// 40-byte BITMAPINFOHEADER, the colour table and the pixel rows. Used for printers and for export.

#include <windows.h>

// The bitmap as a packed device-independent bitmap of the given bit count (0: the bitmap's own planes x bits
// per pixel) and compression, through the palette (the default palette when null). Null on failure; the
// caller frees the block.
HGLOBAL ExportDib(HBITMAP bitmap, DWORD compression, WORD bitCount, HPALETTE palette);
