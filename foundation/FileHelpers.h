#pragma once
// Helpers on directory texts and files: trailing backslash, parent directory, directory chains, temporary
// files, moving a file and saving a file in place of another.

#include "foundation/zString.h"

#include <functional>

class FilePath;
class FileStream;

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
// The directory of the running program's file.
void RunningProgramDirectory(zString& out);
// Copies the source over the target and, when that succeeded, deletes the source.
bool MoveFilePath(const FilePath& source, const FilePath& target);

// Why a save failed, as the person is told.
enum class SaveFailure { DiskFull, FolderMissing, Locked, InUse, Other };
// A save writes the whole file beside its target (the target's name with ".tmp~" added) and then moves it
// into place, so a save that fails at any point, or that the writer refuses (returns false), leaves the
// older file as it was. False when nothing was saved: the message says what stopped the save and that the
// target was left unchanged.
bool SaveFileBeside(const char* target, const std::function<bool(FileStream&)>& write, zString& message,
                    SaveFailure* cause = nullptr);
