#include "framework/draw/MultiLineText.h"

int LineBreakLength(const char* text)
{
    if (text == nullptr || (text[0] != '\r' && text[0] != '\n'))
        return 0;
    const char partner = text[0] == '\r' ? '\n' : '\r';
    return text[1] == partner ? 2 : 1;
}

int CountLineBreaks(const char* text)
{
    int count = 0;
    while (text != nullptr && *text != '\0') {
        const int length = LineBreakLength(text);
        count += length > 0 ? 1 : 0;
        text += length > 0 ? length : 1;
    }
    return count;
}
