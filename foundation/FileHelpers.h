#pragma once
// Helpers on directory texts and files: trailing backslash, parent directory, directory chains, temporary
// files and moving a file.

#include "foundation/zString.h"

class FilePath;

// Appends "\" unless the last character is one; an empty text becomes "\".
void EnsureTrailingBackslash(zString& text);
// Appends the part, then ensures the trailing backslash.
void AppendDirectory(zString& text, const char* part);
// Drops a trailing "\", then cuts the text at its last "\" `levels` times (negative: up to 1000 times),
// stopping when no backslash remains; ends with a trailing backslash.
void ParentDirectory(zString& text, int levels);
// Creates the directory, creating its parents first when the parent is not writable. True when the
// directory exists afterwards.
bool CreateDirectoryChain(const char* directory);
// A new, empty, uniquely named file with the prefix "TRE" in the system's temporary directory; false (and
// the path unchanged) when none could be made.
bool MakeTempFilePath(FilePath& path);
// Copies the source over the target and, when that succeeded, deletes the source.
bool MoveFilePath(const FilePath& source, const FilePath& target);
