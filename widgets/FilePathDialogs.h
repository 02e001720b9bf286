#pragma once
// Choosing a file to open or to save through the file dialogs.

#include <windows.h>

class FilePath;

// Runs the open-file dialog; when the user chose a file, stores its full path. Returns whether one was chosen.
bool ChooseOpenPath(HWND owner, const char* const* filters, const char* title, const char* initial,
                    FilePath& path);
// Runs the save-file dialog until the user cancels or chooses a file in a writable directory; an unwritable
// directory is reported with "That directory is either on a locked disk or non-existent." and the dialog
// runs again. Returns whether a file was chosen.
bool ChooseSavePath(HWND owner, const char* const* filters, const char* title, const char* initial,
                    FilePath& path);
