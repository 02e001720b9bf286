#include "framework/window/Clipboard.h"

#include "framework/window/FrameworkApp.h"
#include "framework/window/TopWindow.h"
#include "framework/window/WindowCL.h"

#include <windows.h>

#include <cstring>
#include <new>

namespace {

// Unlocks a locked global block when the scope ends.
class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL block) : block_(block), bytes_(block ? GlobalLock(block) : nullptr) {}
    ~GlobalLockScope()
    {
        if (bytes_)
            GlobalUnlock(block_);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;
    void* Bytes() const { return bytes_; }

private:
    HGLOBAL block_;
    void* bytes_;
};

}  // namespace

Clipboard::Clipboard(WindowCL* window) : window(window) {}

Clipboard::~Clipboard() = default;

bool Clipboard::Open()
{
    openResult = window ? static_cast<uint32_t>(OpenClipboard(window->Handle())) : 0;
    return openResult != 0;
}

void Clipboard::Empty()
{
    if (!window)
        return;
    if (Open())
        EmptyClipboard();
    CloseClipboard();
}

int Clipboard::PutBytes(const void* bytes, uint32_t count, uint32_t blockSize, uint32_t formatNumber)
{
    if (!Open())
        return 0;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, blockSize);
    bool handedOver = false;
    if (block) {
        {
            GlobalLockScope lock(block);
            if (lock.Bytes() && count > 0)
                std::memcpy(lock.Bytes(), bytes, count);
        }
        handedOver = SetClipboardData(formatNumber, block) != nullptr;
        if (!handedOver)
            GlobalFree(block);
    }
    const BOOL closed = CloseClipboard();
    return handedOver ? closed : 0;
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
    if (!HasText() || !Open())
        return nullptr;
    char* copy = nullptr;
    HANDLE handle = GetClipboardData(CF_TEXT);
    if (handle) {
        const SIZE_T size = GlobalSize(handle);
        GlobalLockScope lock(handle);
        if (lock.Bytes() && size > 0) {
            copy = new (std::nothrow) char[size + 1];
            if (copy) {
                const char* source = static_cast<const char*>(lock.Bytes());
                SIZE_T n = 0;
                while (n < size && source[n] != '\0') {
                    copy[n] = source[n];
                    ++n;
                }
                copy[n] = '\0';
            }
        }
    }
    CloseClipboard();
    return copy;
}

uint8_t* Clipboard::GetBlock(const ClipboardFormat& format, uint32_t& size)
{
    size = 0;
    if (!HasFormat(format) || !Open())
        return nullptr;
    uint8_t* copy = nullptr;
    HANDLE handle = GetClipboardData(format.Number());
    if (handle) {
        const SIZE_T blockSize = GlobalSize(handle);
        GlobalLockScope lock(handle);
        if (lock.Bytes() && blockSize > 0) {
            copy = new (std::nothrow) uint8_t[blockSize];
            if (copy) {
                std::memcpy(copy, lock.Bytes(), blockSize);
                size = static_cast<uint32_t>(blockSize);
            }
        }
    }
    CloseClipboard();
    return copy;
}

Clipboard MainWindowClipboard()
{
    return Clipboard(TheApp ? TheApp->MainWindow() : nullptr);
}
