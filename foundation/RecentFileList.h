#pragma once
// The six most recently used files, most recent first, kept in the registry section "RecentFiles" as the
// values "File1" to "File6".

#include "foundation/FilePath.h"

#include <cstdint>

class RecentFileList {
public:
    static constexpr int16_t Capacity = 6;

    // Six empty entries, then Load.
    RecentFileList();
    // Saves the list.
    ~RecentFileList();
    RecentFileList(const RecentFileList&) = delete;
    RecentFileList& operator=(const RecentFileList&) = delete;

    // Reads "File1".."File6" (at most 300 bytes each), stopping at the first empty one; files that no longer
    // exist are skipped.
    void Load();
    // Deletes section "RecentFiles" in the INI file and the registry, then writes the entries.
    void Save();
    // Puts the path first (the oldest entry drops out of a full list) and saves.
    void AddToFront(const FilePath& path);
    // Moves the entry equal to the path (ignoring case) to the front and saves; callers use it for a path
    // that Contains reports and AddToFront otherwise.
    void MoveToFront(const FilePath& path);
    bool Contains(const FilePath& path) const;
    // Copies entry i; false (path unchanged) for an index outside the list.
    bool GetAt(int i, FilePath& path) const;
    int16_t Count() const { return count_; }

private:
    FilePath entries_[Capacity];
    int16_t count_ = 0;
};
