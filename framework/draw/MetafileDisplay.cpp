#include "framework/draw/MetafileDisplay.h"

#include "foundation/FileStream.h"
#include "foundation/GlobalMemory.h"
#include "framework/draw/GdiScopes.h"
#include "framework/window/Clipboard.h"

#include <vector>

namespace {

// The metafile display's own capabilities when it has no reference: the screen's.
class ScreenReference : public Display {
public:
    ScreenReference()
    {
        ScopedScreenInfoContext screen;
        if (screen.Get())
            ReadCapabilities(screen.Get());
    }
};

void PutLE16(uint8_t* at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

} // namespace

MetafileDisplay::MetafileDisplay(Display* reference) : Display(KindMetafile), reference_(reference)
{
    Display::SetMapMode(MM_ANISOTROPIC);
    if (!reference) {
        CopyCapabilities(ScreenReference());
        return;
    }
    DisplayLock lock(*reference);
    CopyCapabilities(*reference);
    SetBackgroundColour(reference->BackgroundColour());
    SetTextColor(reference->TextColour());
}

MetafileDisplay::~MetafileDisplay()
{
    if (metafile_)
        DeleteMetaFile(metafile_);
}

void MetafileDisplay::PictureRect(RECT& rect, bool lockReference)
{
    if (frame_.right - frame_.left != 0) {
        rect = frame_;
        return;
    }
    if (reference_) {
        if (lockReference) {
            DisplayLock lock(*reference_);
            reference_->ClientRect(rect);
        } else {
            reference_->ClientRect(rect);
        }
        return;
    }
    rect = RECT{0, 0, HorzRes(), VertRes()};
}

void MetafileDisplay::Bounds(RECT& rect) { PictureRect(rect, false); }
void MetafileDisplay::ClientRect(RECT& rect) { PictureRect(rect, true); }

void MetafileDisplay::AcquireDC()
{
    dc_ = CreateMetaFileA(nullptr);
    if (!dc_)
        return;
    RECT picture{};
    ClientRect(picture);
    SetMapMode(MM_ANISOTROPIC);
    SetWindowOrigin(0, 0);
    SetWindowExtent(picture.right - picture.left, picture.bottom - picture.top);
}

void MetafileDisplay::ReleaseDC()
{
    if (!dc_)
        return;
    if (metafile_)
        DeleteMetaFile(metafile_);
    metafile_ = CloseMetaFile(dc_);
}

SIZE MetafileDisplay::TextExtent(const char* text, int length)
{
    if (!reference_)
        return Display::TextExtent(text, length);
    DisplayLock lock(*reference_);
    return reference_->TextExtent(text, length);
}

void MetafileDisplay::CopyTo(Display& target, int x, int y, int width, int height, int, int)
{
    DisplayLock lock(target);
    // The extents only scale the picture in an anisotropic mapping.
    target.SetMapMode(MM_ANISOTROPIC);
    target.SetWindowOrigin(x, y);
    target.SetWindowExtent(width, height);
    target.SetViewportOrigin(x, y);
    target.SetViewportExtent(width, height);
    if (metafile_ && target.DeviceContext())
        PlayMetaFile(target.DeviceContext(), metafile_);
}

void MetafileDisplay::FillMetafilePict(METAFILEPICT& picture)
{
    RECT client{};
    ClientRect(client);
    picture.mm = MapMode() ? MapMode() : MM_TEXT;
    picture.xExt = client.right - client.left;
    picture.yExt = client.bottom - client.top;
    picture.hMF = metafile_;
}

std::array<uint8_t, 22> PlaceableMetafileHeader(const RECT& frame, int unitsPerInch)
{
    std::array<uint8_t, 22> header{};
    PutLE16(&header[0], 0xCDD7);
    PutLE16(&header[2], 0x9AC6);
    PutLE16(&header[6], static_cast<uint32_t>(frame.left));
    PutLE16(&header[8], static_cast<uint32_t>(frame.top));
    PutLE16(&header[10], static_cast<uint32_t>(frame.right));
    PutLE16(&header[12], static_cast<uint32_t>(frame.bottom));
    PutLE16(&header[14], static_cast<uint32_t>(unitsPerInch));
    uint32_t checksum = 0;
    for (int at = 0; at < 20; at += 2)
        checksum ^= header[at] | header[at + 1] << 8;
    PutLE16(&header[20], checksum);
    return header;
}

MetafileObject::MetafileObject(const FilePath& path, Display* reference) : MetafileDisplay(reference), path_(path) {}

MetafileObject::~MetafileObject()
{
    const UINT size = Metafile() ? GetMetaFileBitsEx(Metafile(), 0, nullptr) : 0;
    if (size == 0 || path_.IsEmpty())
        return;
    std::vector<uint8_t> bits(size);
    GetMetaFileBitsEx(Metafile(), size, bits.data());
    std::unique_ptr<FileStream> file = path_.OpenStream(true);
    if (!file || file->Failed())
        return;
    RECT frame{};
    ClientRect(frame);
    const std::array<uint8_t, 22> header = PlaceableMetafileHeader(frame, LogPixelsX());
    file->WriteBytes(header.data(), static_cast<uint32_t>(header.size()));
    file->WriteBytes(bits.data(), size);
}

void MetafileObject::SetLogicalRect(float left, float top, float right, float bottom)
{
    logical_[0] = left;
    logical_[1] = top;
    logical_[2] = right;
    logical_[3] = bottom;
}

bool MetafileObject::CopyToClipboard(HWND owner)
{
    OpenedClipboard clipboard(owner);
    if (!clipboard.IsOpen() || !Metafile())
        return false;
    GlobalBlock block(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, sizeof(METAFILEPICT));
    {
        GlobalLockScope lock(block.Get());
        auto* picture = static_cast<METAFILEPICT*>(lock.Bytes());
        if (!picture)
            return false;
        FillMetafilePict(*picture);
        picture->mm = MM_ANISOTROPIC;
        picture->xExt = static_cast<LONG>((logical_[2] - logical_[0]) * 2540.0) + 1;
        picture->yExt = static_cast<LONG>((logical_[3] - logical_[1]) * 2540.0) + 1;
        picture->hMF = CopyMetaFileA(Metafile(), nullptr);
        if (!picture->hMF)
            return false;
    }
    if (!SetClipboardData(CF_METAFILEPICT, block.Get())) {
        GlobalLockScope lock(block.Get());
        DeleteMetaFile(static_cast<METAFILEPICT*>(lock.Bytes())->hMF);
        return false;
    }
    block.Release();
    return true;
}
