#pragma once
// The clipboard's text as a typed field takes it.

#include "foundation/zString.h"

class Clipboard;

// out = the clipboard's text; without tabs when noTabs is set, without CR and LF when noLineBreaks is set.
void ReplaceControlChars(Clipboard& clipboard, zString& out, bool noTabs, bool noLineBreaks);
