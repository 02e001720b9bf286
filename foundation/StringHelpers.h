#pragma once
// Free helpers that search, replace and substitute inside a zString, trim blanks and write integers.
// (The search is not named FindText: the common-dialog header makes that name a macro.)

#include "foundation/CharClass.h"
#include "foundation/zString.h"

#include <cstdint>

// 1-based position of the first match of `pattern` at or after the 0-based `start`; 0 when there is none,
// when `start` is not below the text's length, or when the pattern is empty. Without matchCase both sides
// are compared upper-cased. With wholeWord a match counts only when the character after it is a word break
// and the character before it is a word break or the match begins exactly at `start`.
int FindInText(const zString& text, const char* pattern, bool wholeWord, bool matchCase, uint32_t start);

// Moves from p one character at a time, forward (stopping before the terminator) or backward (stopping at
// limit), and stops at the first word-break character; returns where it stopped.
const char* FindWordEnd(const char* p, bool forward, const char* limit);

// The text becomes its first `position` characters (all of it when position is not below its length), then
// the replacement, then the old text from position + count on (when that is below the old length).
void ReplaceRange(zString& text, uint32_t position, const char* replacement, uint32_t count);

// Replaces matches of `pattern` (found as FindInText does; the first search from `start`, later ones from
// just after the previous replacement), once or, with `all`, repeatedly. Returns, when nothing was found,
// 0 with `all` and -1 without; after replacing with `all`, 1; after one replacement, the 1-based position
// of the character that follows the inserted replacement.
int ReplaceAll(zString& text, const char* pattern, const char* replacement, bool wholeWord, bool matchCase,
               uint32_t start, bool all);

// Removes every "\r"; then, unless lineEnd is "\n", replaces every "\n" by lineEnd.
void NormalizeLineEnds(zString& text, const char* lineEnd);

// For each argument in order, stopping at the first null one, replaces the first occurrence of "$1", "$2",
// "$3" or "$4" by the argument text.
void SubstituteArgs(zString& message, const char* a1, const char* a2 = nullptr, const char* a3 = nullptr,
                    const char* a4 = nullptr);

// Removes spaces and tabs at the end of the text.
void TrimTrailingBlanks(zString& text);
// True when the text is empty or holds only spaces.
bool IsBlankText(const char* text);
inline bool IsBlankText(const zString& text) { return IsBlankText(text.Text()); }

// Appends n in decimal, with '-' for negatives.
void AppendInt(zString& text, long n);
// Writes n in decimal (every digit) with a leading '-' for negatives and a terminator; the buffer must hold
// kIntTextSize bytes. Returns the number of characters written.
constexpr int kIntTextSize = 12;
int IntToText(char* buffer, long n);

// Pointer to the terminator of a zero-terminated text.
inline const char* StringEnd(const char* p)
{
    while (*p)
        ++p;
    return p;
}
inline char* StringEnd(char* p)
{
    while (*p)
        ++p;
    return p;
}

// The text becomes "(" + text + ")".
void Parenthesize(zString& text);

// True when both texts are equal after upper-casing; nothing is copied.
bool EqualsNoCase(const zString& a, const zString& b);
bool EqualsNoCase(const zString& a, const char* b);
// The character upper-cased as zString::MakeUpper does it.
char UpperChar(char c);
// True when the text upper-cased (as zString::MakeUpper does it) equals `upper`; nothing is copied.
bool UpperCasedEquals(const char* text, const zString& upper);
