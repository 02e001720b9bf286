#pragma once
// Takes the block of one clipboard format into a memory stream for reading. When the format is absent or
// its block is empty there is no stream and the caller finds nothing to read.

#include "foundation/MemoryStream.h"
#include "framework/window/Clipboard.h"
#include "framework/window/ClipboardFormat.h"

#include <cstdint>
#include <memory>

class ClipboardReader {
public:
    ClipboardReader(Clipboard& clipboard, const ClipboardFormat& format);
    ~ClipboardReader();
    ClipboardReader(const ClipboardReader&) = delete;
    ClipboardReader& operator=(const ClipboardReader&) = delete;

    // The archive over the clipboard's bytes, or null.
    Archive* Stream() const { return stream.get(); }
    uint32_t Size() const { return size; }
    // The clipboard's bytes (Size() of them), or null.
    const uint8_t* Data() const { return bytes.get(); }

private:
    std::unique_ptr<uint8_t[]> bytes;
    std::unique_ptr<MemoryStream> stream;
    uint32_t size = 0;
};
