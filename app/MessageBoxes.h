#pragma once
// The message boxes of the system: every error, notice and question goes through these functions.
// A caption of null means the product name "KIVO"; a help context of 0 or below means none.
// Results: ShowErrorBox/ShowInfoBox 1; AskOkCancel 1 OK, 2 Cancel; AskYesNoCancel 1 Yes, 3 No, 2 Cancel;
// AskYesNo 1 Yes, 3 No.

#include <functional>

// While nonzero, ShowErrorBox and ShowInfoBox show nothing; the question boxes always show.
extern unsigned char SuppressMessageBoxes;

int ShowErrorBox(const char* caption, const char* text, int help);
int ShowInfoBox(const char* caption, const char* text, int help);
int AskOkCancel(const char* caption, const char* text, int help, int kind);
int AskYesNoCancel(const char* caption, const char* text, int help);
int AskYesNo(const char* caption, const char* text, int help);

// What one box asks of the user: caption (already defaulted), text, MessageBox style bits and help context.
struct MessageBoxRequest {
    const char* caption;
    const char* text;
    unsigned style;
    int help;
};

// The single point where a box reaches the screen; it returns the Win32 button id (IDOK, IDYES...).
// The default presenter calls MessageBox owned by MessageOwnerWindow; tests install their own to record
// every box and answer it, so nothing ever waits for a person.
using MessageBoxPresenter = std::function<int(const MessageBoxRequest&)>;

// Installs a presenter (an empty one restores the default) and returns the one it replaces.
MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter);
