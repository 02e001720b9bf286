#pragma once
// A copy of everything on the clipboard, so that an operation that must use the clipboard for itself can put
// the user's contents back afterwards. Formats held in global memory are copied as bytes; pictures (bitmaps,
// metafile pictures, enhanced metafiles) are copied as the objects their handles name, never as the bytes of
// a handle; other handle formats (palettes, owner display) are left out.

#include "framework/window/Clipboard.h"
#include "framework/window/ClipboardFormat.h"

#include <cstdint>
#include <memory>
#include <vector>

class WindowCL;

class ClipboardSnapshot {
public:
    // Takes the snapshot with the clipboard opened for the window (for no window when none).
    explicit ClipboardSnapshot(Clipboard& clipboard, WindowCL* window = nullptr);
    ~ClipboardSnapshot();
    ClipboardSnapshot(const ClipboardSnapshot&) = delete;
    ClipboardSnapshot& operator=(const ClipboardSnapshot&) = delete;

    // Empties the clipboard and puts back every entry that has contents, in the order taken.
    void Restore();
    // Frees what the snapshot holds.
    void Free();

    // Formats on the clipboard when the snapshot was taken.
    int Count() const { return count_; }
    // Entries that hold contents to restore.
    int HeldCount() const;

private:
    struct Entry {
        ClipboardFormat format;
        std::vector<uint8_t> bytes; // formats in global memory
        HANDLE picture = nullptr;    // an owned copy of a picture handle (a METAFILEPICT block for that format)
    };
    void TakePicture(Entry& entry, HANDLE data);
    static void FreePicture(Entry& entry);

    Clipboard& clipboard_;
    int count_ = 0;
    std::vector<Entry> entries_;
};
