#pragma once
// Collects what an object writes into a growing memory stream and puts the bytes on the clipboard in one
// format. Several formats go one after another through Reset.

#include "foundation/MemoryStream.h"
#include "framework/window/Clipboard.h"
#include "framework/window/ClipboardFormat.h"

#include <memory>

class ClipboardWriter {
public:
    // emptyFirst: the clipboard is emptied before this writer's bytes are put on it.
    ClipboardWriter(Clipboard& clipboard, const ClipboardFormat& format, bool emptyFirst);
    // Flushes what was written.
    ~ClipboardWriter();
    ClipboardWriter(const ClipboardWriter&) = delete;
    ClipboardWriter& operator=(const ClipboardWriter&) = delete;

    // The archive to write into (null once flushed).
    Archive* Stream() const { return stream.get(); }
    // Puts the bytes written so far on the clipboard (once) and frees the stream. Returns the clipboard's
    // answer (0 when nothing could be put).
    int Flush();
    // Flush, then collect anew for another format.
    void Reset(const ClipboardFormat& newFormat, bool newEmptyFirst);

private:
    Clipboard& clipboard;
    ClipboardFormat format;
    bool emptyFirst;
    std::unique_ptr<MemoryStream> stream;
};
