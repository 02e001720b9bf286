#pragma once
// The system's open-file and save-file dialogs. Every dialog reaches the screen through one presenter, which
// tests replace to answer the dialog instead of a person.

#include <windows.h>
#include <commdlg.h>

#include <cstdint>
#include <functional>

struct FileDialogResult {
    char path[256] = {};
    int32_t chosen = 0; // 1 when the user chose a file
};

// Moves a dialog that is about to show to where the program opens its dialogs.
using DialogPlacement = void (*)(HWND dialog);

// filters: pairs of texts (description, pattern) ending with a null entry, or null for "All Files (*.*)".
// initial: a name or a "*.ext" pattern for the name field, or null. place: where the dialog opens, or null
// for where the system puts it. The name field's text is selected when the dialog opens, and a name whose
// full path would not fit in the result is refused with a message, the dialog staying open.
void ShowOpenFileDialog(FileDialogResult& result, HWND parent, const char* title, const char* initial,
                        const char* const* filters, DialogPlacement place = nullptr);
void ShowSaveFileDialog(FileDialogResult& result, HWND parent, const char* title, const char* initial,
                        const char* const* filters, DialogPlacement place = nullptr);

// The file dialog on the screen now, or null: a message box shown meanwhile belongs to it.
HWND RunningFileDialog();

// Runs one prepared dialog (saving tells which) and returns nonzero when the user chose a file.
using FileDialogPresenter = std::function<int(OPENFILENAMEA& dialog, bool saving)>;
// Installs a presenter (an empty one restores the system dialogs) and returns the one it replaces.
FileDialogPresenter SetFileDialogPresenter(FileDialogPresenter presenter);
