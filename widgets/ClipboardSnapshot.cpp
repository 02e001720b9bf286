#include "widgets/ClipboardSnapshot.h"

#include "foundation/GlobalMemory.h"
#include "framework/draw/Bitmap.h"
#include "framework/window/WindowCL.h"

#include <cstring>

namespace {

bool IsPicture(UINT format)
{
    return format == CF_BITMAP || format == CF_METAFILEPICT || format == CF_ENHMETAFILE;
}

// Formats whose data is a GDI or window handle rather than a global memory block.
bool IsOtherHandle(UINT format)
{
    switch (format) {
    case CF_PALETTE:
    case CF_OWNERDISPLAY:
    case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT:
    case CF_DSPENHMETAFILE:
        return true;
    default:
        return format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST;
    }
}

HBITMAP CopyBitmap(HBITMAP bitmap)
{
    return static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
}

// A METAFILEPICT block of its own, with its own copy of the metafile.
HGLOBAL CopyMetafilePicture(HANDLE data)
{
    GlobalLockScope source(data);
    const auto* picture = static_cast<const METAFILEPICT*>(source.Bytes());
    if (!picture || GlobalSize(data) < sizeof(METAFILEPICT))
        return nullptr;
    GlobalBlock copy(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, sizeof(METAFILEPICT));
    GlobalLockScope target(copy.Get());
    auto* copied = static_cast<METAFILEPICT*>(target.Bytes());
    if (!copied)
        return nullptr;
    *copied = *picture;
    copied->hMF = CopyMetaFileA(picture->hMF, nullptr);
    return copied->hMF ? copy.Release() : nullptr;
}

} // namespace

ClipboardSnapshot::ClipboardSnapshot(Clipboard& clipboard, WindowCL* window) : clipboard_(clipboard)
{
    count_ = CountClipboardFormats();
    if (count_ <= 0)
        return;
    OpenedClipboard opened(window ? window->Handle() : nullptr);
    if (!opened.IsOpen())
        return;
    UINT format = 0;
    for (int taken = 0; taken < count_ && (format = EnumClipboardFormats(format)) != 0; ++taken) {
        Entry entry{ClipboardFormat(format), {}, nullptr};
        HANDLE data = IsOtherHandle(format) ? nullptr : GetClipboardData(format);
        if (data && IsPicture(format)) {
            TakePicture(entry, data);
        } else if (data) {
            const SIZE_T size = GlobalSize(data);
            GlobalLockScope lock(data);
            if (lock.Bytes() && size > 0) {
                const auto* bytes = static_cast<const uint8_t*>(lock.Bytes());
                entry.bytes.assign(bytes, bytes + size);
            }
        }
        entries_.push_back(std::move(entry));
    }
}

ClipboardSnapshot::~ClipboardSnapshot()
{
    Free();
}

void ClipboardSnapshot::TakePicture(Entry& entry, HANDLE data)
{
    switch (entry.format.Number()) {
    case CF_BITMAP:
        entry.picture = CopyBitmap(static_cast<HBITMAP>(data));
        break;
    case CF_METAFILEPICT:
        entry.picture = CopyMetafilePicture(data);
        break;
    case CF_ENHMETAFILE:
        entry.picture = CopyEnhMetaFileA(static_cast<HENHMETAFILE>(data), nullptr);
        break;
    default:
        break;
    }
}

void ClipboardSnapshot::FreePicture(Entry& entry)
{
    if (!entry.picture)
        return;
    switch (entry.format.Number()) {
    case CF_BITMAP:
        DeleteObject(entry.picture);
        break;
    case CF_METAFILEPICT: {
        GlobalBlock block(entry.picture);
        GlobalLockScope lock(block.Get());
        if (const auto* picture = static_cast<const METAFILEPICT*>(lock.Bytes()))
            DeleteMetaFile(picture->hMF);
        break;
    }
    case CF_ENHMETAFILE:
        DeleteEnhMetaFile(static_cast<HENHMETAFILE>(entry.picture));
        break;
    default:
        break;
    }
    entry.picture = nullptr;
}

int ClipboardSnapshot::HeldCount() const
{
    int held = 0;
    for (const Entry& entry : entries_)
        held += (entry.picture || !entry.bytes.empty()) ? 1 : 0;
    return held;
}

void ClipboardSnapshot::Restore()
{
    clipboard_.Empty();
    for (Entry& entry : entries_) {
        if (!entry.bytes.empty()) {
            clipboard_.PutBlock(entry.bytes.data(), static_cast<uint32_t>(entry.bytes.size()), entry.format);
        } else if (entry.picture) {
            // The clipboard takes a copy, so that the snapshot can be restored again.
            Entry copy{entry.format, {}, nullptr};
            TakePicture(copy, entry.picture);
            if (copy.picture && !clipboard_.PutHandle(copy.picture, entry.format))
                FreePicture(copy);
        }
    }
}

void ClipboardSnapshot::Free()
{
    for (Entry& entry : entries_)
        FreePicture(entry);
    entries_.clear();
}
