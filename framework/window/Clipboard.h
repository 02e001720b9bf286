#pragma once
// The system clipboard seen from one window: puts text and blocks of bytes, tests what is there and takes
// text and blocks off it. Every operation opens and closes the clipboard itself; a clipboard that another
// program holds open makes puts return 0 and takes return null.

#include "framework/window/ClipboardFormat.h"
#include "framework/window/EventTarget.h"

#include <windows.h>

#include <cstdint>

class Bitmap;
class WindowCL;

// Opens the clipboard for one scope, naming the window as its owner, and closes it at the end.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != 0) {}
    ~OpenedClipboard()
    {
        if (open_)
            CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool IsOpen() const { return open_; }

private:
    bool open_;
};

class Clipboard : public EventTarget {
public:
    // Bound to the window, whose handle names the clipboard's owner; a null window leaves it unusable.
    explicit Clipboard(WindowCL* window);
    ~Clipboard() override;

    // Opens, empties when the open succeeded, and closes in every case.
    void Empty();
    // Adds the text as CF_TEXT in a block of its length + 2 zeroed bytes; 0 when the clipboard could not
    // be opened or the block not made. The clipboard is not emptied first.
    int PutText(const char* text);
    // Adds the bytes under the format in a block of length + 1 bytes, the last one 0.
    int PutBlock(const void* bytes, uint32_t length, const ClipboardFormat& format);
    // Adds a copy of the bitmap as CF_BITMAP; the caller keeps its bitmap, the clipboard owns the copy.
    int PutBitmap(Bitmap& bitmap);
    // Adds a handle (a picture or a global block) under the format; nonzero when the clipboard took it, and
    // then the clipboard owns it.
    int PutHandle(HANDLE handle, const ClipboardFormat& format);

    bool HasText() const;
    bool HasFormat(const ClipboardFormat& format) const;
    // A new NUL-terminated copy of the text (delete[] by the caller), or null.
    char* GetText();
    // A new copy of the format's block (delete[] by the caller) with its size, or null with size 0.
    uint8_t* GetBlock(const ClipboardFormat& format, uint32_t& size);

    // The result of the last open (nonzero when it succeeded).
    uint32_t LastOpenResult() const { return openResult; }

private:
    HWND OwnerHandle() const;
    int PutBytes(const void* bytes, uint32_t count, uint32_t blockSize, uint32_t formatNumber);

    uint32_t openResult = 0;
    WindowCL* window;
};

// The clipboard of the application's main window (no window: an unbound clipboard on which every
// operation fails quietly).
Clipboard MainWindowClipboard();
