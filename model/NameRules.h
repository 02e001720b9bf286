#pragma once
// The rules a new variable or table name must satisfy, and the helpers that turn texts into names.

#include "foundation/zString.h"

constexpr unsigned kMaxVariableNameLength = 32;

// An ASCII letter or '_'.
bool IsNameStartChar(char c);
// IsNameStartChar or a decimal digit.
bool IsNameChar(char c);

// Nonzero when the name may be used for a new variable or table: not a built-in function, not a keyword,
// not one of the document's tables, letters/digits/underscores starting with a letter or underscore, at
// most 32 characters. The first failing test decides; with showMessage it is reported in an error box
// that quotes the name as the caller wrote it. alreadyUpper: the name is upper case already.
int CheckVariableName(const zString& name, bool showMessage, bool alreadyUpper);

// The character map of names: a character that may not stand at its place becomes '_'.
class NameValidator {
public:
    static char MapChar(char c, bool first);
};

// Turns any text into a usable name in place: illegal characters become '_', the result is cut to 32
// characters and trailing '_' are removed, never below two characters.
void MakeValidName(zString& text);

// "{T} name rest" -> "name": a text of at least 5 characters beginning with '{' loses its first 4; the text
// then ends before its first blank or tab.
void NormalizeVariableName(zString& text);

// Removes a leading "{T} " and the blanks after it; returns 1 when it did, else 0.
int StripTMarker(zString& name);
