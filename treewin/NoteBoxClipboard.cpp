#include "treewin/NoteBoxClipboard.h"

#include "widgets/ClipboardReader.h"
#include "widgets/ClipboardWriter.h"
#include "framework/window/Clipboard.h"
#include "framework/window/ClipboardFormat.h"
#include "model/NoteBox.h"

#include <memory>

const ClipboardFormat& NoteBoxClipboardFormat()
{
    static const ClipboardFormat format = ClipboardFormat::Register("NoteBox");
    return format;
}

bool PutNoteBoxOnClipboard(NoteBox& note)
{
    Clipboard clipboard = MainWindowClipboard();
    ClipboardWriter writer(clipboard, NoteBoxClipboardFormat(), true);
    note.Serialize(*writer.Stream());
    return writer.Flush() != 0;
}

bool IsNoteBoxOnClipboard()
{
    return MainWindowClipboard().HasFormat(NoteBoxClipboardFormat());
}

NoteBox* GetNoteBoxFromClipboard()
{
    if (!IsNoteBoxOnClipboard())
        return nullptr;
    Clipboard clipboard = MainWindowClipboard();
    ClipboardReader reader(clipboard, NoteBoxClipboardFormat());
    Archive* stream = reader.Stream();
    if (!stream)
        return nullptr;
    auto note = std::make_unique<NoteBox>();
    note->Serialize(*stream);
    if (stream->Failed())
        return nullptr;
    return note.release();
}
