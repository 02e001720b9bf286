#pragma once
// The clipboard's plain text as tests put and read it.

#include <windows.h>

#include <string>

// The clipboard's CF_TEXT, empty when there is none.
std::string ClipboardText();
// Empties the clipboard and puts the text on it as CF_TEXT, the owner window named.
void PutClipboardText(HWND owner, const char* text);
