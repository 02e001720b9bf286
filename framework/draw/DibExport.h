#pragma once
// Packed device-independent bitmaps: a global memory block (GMEM_MOVEABLE | GMEM_ZEROINIT) holding a
// 40-byte BITMAPINFOHEADER, the colour table and the pixel rows. Used for printers and for export.

#include <windows.h>

// The bitmap as a packed device-independent bitmap of the given bit count (0: the bitmap's own planes x bits
// per pixel) and compression, through the palette (the default palette when null). Null on failure; the
// caller frees the block.
HGLOBAL ExportDib(HBITMAP bitmap, DWORD compression, WORD bitCount, HPALETTE palette);
// StretchDIBits of the packed bitmap from its source area to the destination area with the raster
// operation; a null block gives PatBlt of the destination area.
BOOL DrawDib(HDC dc, int x, int y, int width, int height, HGLOBAL dib, int sourceX, int sourceY, int sourceWidth,
             int sourceHeight, DWORD rop);
