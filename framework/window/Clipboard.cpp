#include "framework/window/Clipboard.h"

#include "foundation/GlobalMemory.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/TopWindow.h"
#include "framework/window/WindowCL.h"

#include <cstring>
#include <new>

Clipboard::Clipboard(WindowCL* window) : window(window) {}

Clipboard::~Clipboard() = default;

HWND Clipboard::OwnerHandle() const
{
    return window->Handle();
}

void Clipboard::Empty()
{
    if (!window)
        return;
    OpenedClipboard opened(OwnerHandle());
    openResult = opened.IsOpen();
    if (opened.IsOpen())
        EmptyClipboard();
}

int Clipboard::PutBytes(const void* bytes, uint32_t count, uint32_t blockSize, uint32_t formatNumber)
{
    if (!window)
        return 0;
    OpenedClipboard opened(OwnerHandle());
    openResult = opened.IsOpen();
    if (!opened.IsOpen())
        return 0;
    GlobalBlock block(GMEM_MOVEABLE | GMEM_ZEROINIT, blockSize);
    {
        GlobalLockScope lock(block.Get());
        if (!lock.Bytes())
            return 0;
        if (count > 0)
            std::memcpy(lock.Bytes(), bytes, count);
    }
    if (!SetClipboardData(formatNumber, block.Get()))
        return 0;
    block.Release();
    return 1;
}

int Clipboard::PutText(const char* text)
{
    if (!text)
        text = "";
    const uint32_t length = static_cast<uint32_t>(std::strlen(text));
    return PutBytes(text, length + 1, length + 2, CF_TEXT);
}

int Clipboard::PutBlock(const void* bytes, uint32_t length, const ClipboardFormat& format)
{
    return PutBytes(bytes, length, length + 1, format.Number());
}

int Clipboard::PutHandle(HANDLE handle, const ClipboardFormat& format)
{
    if (!window || !handle)
        return 0;
    OpenedClipboard opened(OwnerHandle());
    openResult = opened.IsOpen();
    return opened.IsOpen() && SetClipboardData(format.Number(), handle) ? 1 : 0;
}

int Clipboard::PutBitmap(Bitmap& bitmap)
{
    if (!window)
        return 0;
    std::unique_ptr<Bitmap> copy;
    {
        // The caller's bitmap is lent to a display for the copy and handed back before it is deleted.
        BitmapDisplay source(&bitmap);
        RECT bounds{};
        source.Bounds(bounds);
        const int width = bounds.right - bounds.left;
        const int height = bounds.bottom - bounds.top;
        BitmapDisplay target(source, width, height);
        source.CopyTo(target, 0, 0, width, height, 0, 0);
        source.SelectBitmap(nullptr).release();
        copy = target.SelectBitmap(nullptr);
    }
    if (!copy || !PutHandle(copy->Handle(), ClipboardFormat::Bitmap))
        return 0;
    // The clipboard owns the copy's handle now.
    copy->ReleaseHandle();
    return 1;
}

bool Clipboard::HasText() const
{
    return IsClipboardFormatAvailable(CF_TEXT) != 0;
}

bool Clipboard::HasFormat(const ClipboardFormat& format) const
{
    return format.Number() != 0 && IsClipboardFormatAvailable(format.Number()) != 0;
}

char* Clipboard::GetText()
{
    if (!window || !HasText())
        return nullptr;
    OpenedClipboard opened(OwnerHandle());
    openResult = opened.IsOpen();
    if (!opened.IsOpen())
        return nullptr;
    HANDLE handle = GetClipboardData(CF_TEXT);
    const SIZE_T size = handle ? GlobalSize(handle) : 0;
    GlobalLockScope lock(handle);
    if (!lock.Bytes() || size == 0)
        return nullptr;
    char* copy = new (std::nothrow) char[size + 1];
    if (!copy)
        return nullptr;
    const char* source = static_cast<const char*>(lock.Bytes());
    SIZE_T n = 0;
    while (n < size && source[n] != '\0') {
        copy[n] = source[n];
        ++n;
    }
    copy[n] = '\0';
    return copy;
}

uint8_t* Clipboard::GetBlock(const ClipboardFormat& format, uint32_t& size)
{
    size = 0;
    if (!window || !HasFormat(format))
        return nullptr;
    OpenedClipboard opened(OwnerHandle());
    openResult = opened.IsOpen();
    if (!opened.IsOpen())
        return nullptr;
    HANDLE handle = GetClipboardData(format.Number());
    const SIZE_T blockSize = handle ? GlobalSize(handle) : 0;
    GlobalLockScope lock(handle);
    if (!lock.Bytes() || blockSize == 0)
        return nullptr;
    auto* copy = new (std::nothrow) uint8_t[blockSize];
    if (!copy)
        return nullptr;
    std::memcpy(copy, lock.Bytes(), blockSize);
    size = static_cast<uint32_t>(blockSize);
    return copy;
}

Clipboard MainWindowClipboard()
{
    return Clipboard(TheApp ? TheApp->MainWindow() : nullptr);
}
