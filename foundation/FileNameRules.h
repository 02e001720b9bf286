#pragma once
// Which characters a file name may hold. With long file names (an application-wide flag) more punctuation is
// legal and the 8-character limit is lifted.

// Letters and digits always; the listed punctuation by the long-names flag; nothing else.
bool IsLegalFileNameChar(char c);
// Not empty, every character legal, and without long names at most 8 characters.
bool IsLegalFileName(const char* text);
