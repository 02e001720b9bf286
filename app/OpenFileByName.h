#pragma once
// Opening a document file by its name, as File Open, the recent files and the command line do.

class TreeWindow;

// Opens the file as a document window by its extension ("tre" and "trb": a tree). A file that is open
// already, that does not exist or whose kind is not known opens nothing: the status line or an error box
// says why. An opened file goes first in the recent files (and the File menu's recent-file items), and
// the status line reads Opened "<path>".
// A damaged tree file gives an untitled tree (its path is never kept). The window stays open until it is
// closed or the program ends.
TreeWindow* OpenFileByName(const char* path);
