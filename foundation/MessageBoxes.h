#pragma once
// The message boxes of the system: every error, notice and question goes through these functions, and
// through the host to the screen. A caption of null means the product name "KIVO"; a help context of 0 or
// below means none.
// Results: ShowErrorBox/ShowInfoBox 1; AskOkCancel 1 OK, 2 Cancel; AskYesNoCancel 1 Yes, 3 No, 2 Cancel;
// AskYesNo 1 Yes, 3 No.

// While the host's notices are silenced (HostSilence), ShowErrorBox and ShowInfoBox show nothing; the
// question boxes always show.
int ShowErrorBox(const char* caption, const char* text, int help);
int ShowInfoBox(const char* caption, const char* text, int help);
int AskOkCancel(const char* caption, const char* text, int help, int kind);
int AskYesNoCancel(const char* caption, const char* text, int help);
int AskYesNo(const char* caption, const char* text, int help);
