#include "widgets/ClipboardText.h"

#include "framework/window/Clipboard.h"

#include <string>

void ReplaceControlChars(Clipboard& clipboard, zString& out, bool noTabs, bool noLineBreaks)
{
    char* text = clipboard.GetText();
    std::string kept;
    for (const char* p = text ? text : ""; *p; ++p) {
        if ((noTabs && *p == '\t') || (noLineBreaks && (*p == '\r' || *p == '\n')))
            continue;
        kept += *p;
    }
    delete[] text;
    out = kept.c_str();
}
