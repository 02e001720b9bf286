#pragma once
// The system's font dialog. It reaches the screen through one presenter, which tests replace to answer the
// dialog instead of a person.

#include <windows.h>
#include <commdlg.h>

#include <functional>

class zFontSpec;

// Runs the font dialog on screen fonts, starting from the description's logical font (flags
// CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT plus the caller's), owned by the given window or, when there is none,
// by the application's main window. On confirmation the logical font holds the
// choice and the description's size the chosen point size in tenths. Returns whether the user confirmed.
bool ChooseFontDialog(HWND owner, zFontSpec& logicalFont, DWORD flags);

// Runs one prepared dialog and returns nonzero when the user confirmed.
using FontDialogPresenter = std::function<int(CHOOSEFONTA& dialog)>;
// Installs a presenter (an empty one restores the system dialog) and returns the one it replaces.
FontDialogPresenter SetFontDialogPresenter(FontDialogPresenter presenter);
