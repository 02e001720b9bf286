#pragma once
// Which characters a file name may hold.

// Letters and digits, and the punctuation long file names allow; nothing else.
bool IsLegalFileNameChar(char c);
// Not empty and every character legal.
bool IsLegalFileName(const char* text);
