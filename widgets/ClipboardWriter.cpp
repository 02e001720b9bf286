#include "widgets/ClipboardWriter.h"

ClipboardWriter::ClipboardWriter(Clipboard& clipboard, const ClipboardFormat& format, bool emptyFirst)
    : clipboard(clipboard), format(format), emptyFirst(emptyFirst), stream(std::make_unique<MemoryStream>(100))
{
}

ClipboardWriter::~ClipboardWriter()
{
    Flush();
}

int ClipboardWriter::Flush()
{
    if (!stream)
        return 0;
    const uint32_t written = stream->Position();
    std::unique_ptr<uint8_t[]> bytes(stream->ReleaseBuffer());
    stream.reset();
    if (emptyFirst)
        clipboard.Empty();
    return clipboard.PutBlock(bytes.get(), written, format);
}

void ClipboardWriter::Reset(const ClipboardFormat& newFormat, bool newEmptyFirst)
{
    Flush();
    format = newFormat;
    emptyFirst = newEmptyFirst;
    stream = std::make_unique<MemoryStream>(100);
}
