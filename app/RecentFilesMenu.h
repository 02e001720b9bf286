#pragma once
// The recent-files items of the File menu, kept in step with the recent-files list of the preferences. With
// n items, entry i of the list is shown by the item with id 1179 + n - i: the most recent entry has the
// highest id and stands at the top, just above a separator and Exit.

#include "foundation/FilePath.h"
#include "foundation/zString.h"

#include "CommandIds.h"

class MainFrame;


// One item per entry of the list (at start-up), then their texts.
void BuildRecentFilesMenu(MainFrame* frame);
// Adds an item unless all six exist; unless slotOnly, records the path first in the list (a path already
// listed, compared without regard to case, only moves to the front and adds no item). Without a frame only
// the list changes.
void AddRecentFile(MainFrame* frame, const FilePath& path, bool slotOnly);
// Rewrites the texts of all items from the list.
void UpdateRecentFilesMenu(MainFrame* frame);
// "&1 C:\path\file.tre" for entry 0.
void RecentFileMenuText(int entry, zString& out);
// The path when it has at most 40 characters; otherwise its leading directories, "\...\" and the file name.
void AbbreviatePath(const FilePath& path, zString& out);
// The list entry that the item with the command id shows, or -1.
int RecentFileEntry(const MainFrame* frame, unsigned command);
