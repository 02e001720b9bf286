#pragma once
// Character classes of single-byte texts. Codes below 1 (zero and, with signed char, every byte above 127)
// are never spaces or letters.

#include <cctype>

inline bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }
inline bool IsSpaceChar(char c) { return c >= 1 && std::isspace(static_cast<unsigned char>(c)) != 0; }
inline bool IsAlphaChar(char c) { return c >= 1 && std::isalpha(static_cast<unsigned char>(c)) != 0; }
// True for every character that is neither alphanumeric nor '_' (the terminator included).
inline bool IsWordBreak(char c) { return !(c == '_' || std::isalnum(static_cast<unsigned char>(c))); }
