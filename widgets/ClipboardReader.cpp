#include "widgets/ClipboardReader.h"

ClipboardReader::ClipboardReader(Clipboard& clipboard, const ClipboardFormat& format)
{
    bytes.reset(clipboard.GetBlock(format, size));
    if (bytes && size != 0)
        stream = std::make_unique<MemoryStream>(bytes.get(), size, false);
}

ClipboardReader::~ClipboardReader() = default;
