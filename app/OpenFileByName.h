#pragma once
// Opening a document file by its name, as File Open, the recent files, Revert and the command line do.

#include <windows.h>

class DocumentWindow;

// Opens the file as a document window by its extension ("tre" and "trb": a tree; any other extension by the
// document header it begins with). A file that is open already, that does not exist or whose kind is not
// known opens nothing: the status line or an error box says why, and an open window comes to the top. An
// opened file goes first in the recent files (and the File menu's recent-file items), the window is moved
// to the placement (frame client coordinates) when one is given and shown with the frame's show command,
// and the status line reads Opened "<path>".
// A damaged tree file gives an untitled tree (its path is never kept), which is shown but neither recent nor
// reported opened. The window stays open until it is closed or the program ends.
DocumentWindow* OpenFileByName(const char* path, const RECT* placement = nullptr);
// The frame's document window that holds the file, or null.
DocumentWindow* FindOpenDocument(const char* path);
