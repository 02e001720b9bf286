#include "foundation/StringHelpers.h"

#include <cctype>
#include <cstring>

int FindInText(const zString& text, const char* pattern, bool wholeWord, bool matchCase, uint32_t start)
{
    if (!pattern || pattern[0] == '\0' || start >= text.Length())
        return 0;
    // Case-insensitive searches compare upper-cased copies; case-sensitive ones search the text itself.
    zString upperText;
    zString upperPattern;
    const char* base = text.Text();
    const char* needle = pattern;
    if (!matchCase) {
        upperText = text;
        upperText.MakeUpper();
        upperPattern = pattern;
        upperPattern.MakeUpper();
        base = upperText.Text();
        needle = upperPattern.Text();
    }
    const size_t needleLength = std::strlen(needle);
    const char* from = base + start;
    while (const char* match = std::strstr(from, needle)) {
        if (!wholeWord)
            return static_cast<int>(match - base) + 1;
        bool breakAfter = IsWordBreak(match[needleLength]);
        bool breakBefore = match == base + start || IsWordBreak(match[-1]);
        if (breakAfter && breakBefore)
            return static_cast<int>(match - base) + 1;
        from = match + 1;
    }
    return 0;
}

const char* FindWordEnd(const char* p, bool forward, const char* limit)
{
    if (forward) {
        while (*p && !IsWordBreak(*p))
            ++p;
    } else {
        while (p > limit && !IsWordBreak(*p))
            --p;
    }
    return p;
}

void ReplaceRange(zString& text, uint32_t position, const char* replacement, uint32_t count)
{
    const uint32_t oldLength = text.Length();
    zString result(text);
    if (position < oldLength)
        result.Truncate(position);
    result += replacement;
    if (static_cast<uint64_t>(position) + count < oldLength)
        result += text.Text() + position + count;
    text = result;
}

int ReplaceAll(zString& text, const char* pattern, const char* replacement, bool wholeWord, bool matchCase,
               uint32_t start, bool all)
{
    const uint32_t patternLength = pattern ? static_cast<uint32_t>(std::strlen(pattern)) : 0;
    const uint32_t replacementLength = replacement ? static_cast<uint32_t>(std::strlen(replacement)) : 0;
    bool replaced = false;
    uint32_t from = start;
    int found;
    while ((found = FindInText(text, pattern, wholeWord, matchCase, from)) > 0) {
        uint32_t position = static_cast<uint32_t>(found - 1);
        ReplaceRange(text, position, replacement ? replacement : "", patternLength);
        replaced = true;
        from = position + replacementLength;
        if (!all)
            return static_cast<int>(from) + 1;
    }
    if (!replaced)
        return all ? 0 : -1;
    return 1;
}

void NormalizeLineEnds(zString& text, const char* lineEnd)
{
    zString result(text.Length() + 8);
    for (const char* p = text.Text(); *p; ++p) {
        if (*p == '\r')
            continue;
        if (*p == '\n' && std::strcmp(lineEnd, "\n") != 0)
            result += lineEnd;
        else
            result += *p;
    }
    text = result;
}

void SubstituteArgs(zString& message, const char* a1, const char* a2, const char* a3, const char* a4)
{
    static const char* const placeholders[] = {"$1", "$2", "$3", "$4"};
    const char* arguments[] = {a1, a2, a3, a4};
    for (int i = 0; i < 4 && arguments[i]; ++i)
        ReplaceAll(message, placeholders[i], arguments[i], false, true, 0, false);
}

void TrimTrailingBlanks(zString& text)
{
    uint32_t length = text.Length();
    while (length > 0 && (text[length - 1] == ' ' || text[length - 1] == '\t'))
        --length;
    text.Truncate(length);
}

bool IsBlankText(const char* text)
{
    if (!text)
        return true;
    for (; *text; ++text)
        if (*text != ' ')
            return false;
    return true;
}

int IntToText(char* buffer, long n)
{
    // Digits of the magnitude, computed in unsigned arithmetic so that the most negative value works too.
    unsigned long magnitude = n < 0 ? 0ul - static_cast<unsigned long>(n) : static_cast<unsigned long>(n);
    char digits[kIntTextSize];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    int written = 0;
    if (n < 0)
        buffer[written++] = '-';
    while (count > 0)
        buffer[written++] = digits[--count];
    buffer[written] = '\0';
    return written;
}

void AppendInt(zString& text, long n)
{
    char digits[kIntTextSize];
    IntToText(digits, n);
    text += digits;
}

void Parenthesize(zString& text)
{
    zString result("(");
    result += text;
    result += ')';
    text = result;
}

char UpperChar(char c)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

namespace {

// The first `length` characters of both texts agree once each is mapped by its own function.
template <typename MapA, typename MapB>
bool SameMapped(const char* a, const char* b, uint32_t length, MapA mapA, MapB mapB)
{
    for (uint32_t i = 0; i < length; ++i) {
        if (mapA(a[i]) != mapB(b[i]))
            return false;
    }
    return true;
}

char Same(char c)
{
    return c;
}

}  // namespace

bool EqualsNoCase(const zString& a, const zString& b)
{
    return a.Length() == b.Length() && SameMapped(a.Text(), b.Text(), a.Length(), UpperChar, UpperChar);
}

bool EqualsNoCase(const zString& a, const char* b)
{
    const char* text = b != nullptr ? b : "";
    return a.Length() == std::strlen(text) && SameMapped(a.Text(), text, a.Length(), UpperChar, UpperChar);
}

bool UpperCasedEquals(const char* text, const zString& upper)
{
    const char* own = text != nullptr ? text : "";
    return std::strlen(own) == upper.Length() && SameMapped(own, upper.Text(), upper.Length(), UpperChar, Same);
}
