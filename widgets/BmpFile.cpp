#include "widgets/BmpFile.h"

#include "widgets/CursorStack.h"
#include "foundation/FilePath.h"
#include "foundation/GlobalMemory.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/DrawingPrimitives.h"

#include <cstdint>

namespace {

bool WriteAll(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

void PutLE32(uint8_t* p, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * i));
}

} // namespace

// File header, 14 bytes, little-endian:
//   "BM"              2 bytes
//   file size         4 bytes   block size + 14
//   reserved          4 bytes   0
//   offset of bits    4 bytes   14 + bitmap header size + colour-table size
bool SaveDibAsBmp(const FilePath& path, HGLOBAL dib)
{
    if (!dib)
        return false;
    GlobalLockScope lock(dib);
    SIZE_T blockSize = GlobalSize(dib);
    if (!lock.Bytes() || blockSize < sizeof(BITMAPCOREHEADER))
        return false;
    const auto* header = static_cast<const BITMAPINFOHEADER*>(lock.Bytes());

    FileHandle file = path.OpenHandle(true);
    if (!file.IsValid())
        return false;

    uint8_t fileHeader[14] = {'B', 'M'};
    PutLE32(fileHeader + 2, static_cast<uint32_t>(blockSize + 14));
    PutLE32(fileHeader + 10, 14 + header->biSize + BitmapDisplay::DibColourTableBytes(lock.Bytes()));
    return WriteAll(file.Get(), fileHeader, sizeof fileHeader) &&
           WriteAll(file.Get(), lock.Bytes(), static_cast<DWORD>(blockSize));
}

bool SaveBitmapAsBmp(const BitmapDisplay& bitmap, const FilePath& path)
{
    WaitCursorScope wait;
    GlobalBlock dib(bitmap.ExportDib());
    return dib.Get() && SaveDibAsBmp(path, dib.Get());
}

std::unique_ptr<BitmapDisplay> PaperBitmap(const RECT& pixels)
{
    auto paper = std::make_unique<BitmapDisplay>(pixels.right - pixels.left, pixels.bottom - pixels.top);
    paper->SetWindowOrigin(pixels.left, pixels.top);
    DrawShape(*paper, RECT{pixels.left, pixels.top, pixels.right - 1, pixels.bottom - 1}, RGB(255, 255, 255));
    return paper;
}
