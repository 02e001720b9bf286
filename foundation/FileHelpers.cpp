#include "foundation/FileHelpers.h"

#include "foundation/FilePath.h"
#include "foundation/StringHelpers.h"

#include <windows.h>

#include <cstring>

void EnsureTrailingBackslash(zString& text)
{
    uint32_t length = text.Length();
    if (length == 0 || text[length - 1] != '\\')
        text += '\\';
}

void AppendDirectory(zString& text, const char* part)
{
    text += part;
    EnsureTrailingBackslash(text);
}

void ParentDirectory(zString& text, int levels)
{
    uint32_t length = text.Length();
    if (length > 0 && text[length - 1] == '\\')
        text.Truncate(length - 1);
    int remaining = levels < 0 ? 1000 : levels;
    for (; remaining > 0; --remaining) {
        const char* backslash = std::strrchr(text.Text(), '\\');
        if (!backslash)
            break;
        text.Truncate(static_cast<uint32_t>(backslash - text.Text()));
    }
    EnsureTrailingBackslash(text);
}

bool CreateDirectoryChain(const char* directory)
{
    zString parent(directory);
    ParentDirectory(parent, 1);
    zString own(directory);
    EnsureTrailingBackslash(own);
    if (!EqualsNoCase(parent, own) && !FilePath::CanWriteDirectory(parent.Text()))
        CreateDirectoryChain(parent.Text());
    if (CreateDirectoryA(directory, nullptr))
        return true;
    DWORD attributes = GetFileAttributesA(directory);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeTempFilePath(FilePath& path)
{
    char directory[MAX_PATH + 1] = {};
    char name[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof directory, directory);
    if (length == 0 || length > MAX_PATH)
        return false;
    if (GetTempFileNameA(directory, "TRE", 0, name) == 0)
        return false;
    path.SetFullPath(name);
    return true;
}

bool MoveFilePath(const FilePath& source, const FilePath& target)
{
    if (!CopyFileA(source.FullPath().Text(), target.FullPath().Text(), FALSE))
        return false;
    return source.Delete();
}
