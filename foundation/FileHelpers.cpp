#include "foundation/FileHelpers.h"

#include "foundation/FilePath.h"
#include "foundation/FileStream.h"
#include "foundation/StringHelpers.h"

#include <windows.h>

#include <cerrno>
#include <cstring>
#include <string>

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

namespace {

SaveFailure FailureOfErrno(int number)
{
    switch (number) {
    case ENOSPC:
        return SaveFailure::DiskFull;
    case ENOENT:
        return SaveFailure::FolderMissing;
    case EACCES:
    case EPERM:
    case EROFS:
        return SaveFailure::Locked;
    default:
        return SaveFailure::Other;
    }
}

SaveFailure FailureOfSystemError(DWORD code)
{
    switch (code) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return SaveFailure::DiskFull;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
        return SaveFailure::FolderMissing;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return SaveFailure::InUse;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return SaveFailure::Locked;
    default:
        return SaveFailure::Other;
    }
}

void DescribeFailure(SaveFailure cause, const char* target, bool existed, zString& message)
{
    switch (cause) {
    case SaveFailure::DiskFull:
        message = "Insufficient disk space.";
        break;
    case SaveFailure::FolderMissing:
        message = "The folder of this file cannot be found.";
        break;
    case SaveFailure::Locked:
        message = "The file is read-only, in use by another program, or on a locked disk.";
        break;
    case SaveFailure::InUse:
        message = "The file is in use by another program.";
        break;
    case SaveFailure::Other:
        message = "Unable to save file.";
        break;
    }
    message += " \"";
    message += target;
    message += existed ? "\" was left unchanged." : "\" was not saved.";
}

} // namespace

void RunningProgramDirectory(zString& out)
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    out = length > 0 && length < sizeof path ? path : "";
    ParentDirectory(out, 1);
}

bool SaveFileBeside(const char* target, const std::function<bool(FileStream&)>& write, zString& message,
                    SaveFailure* cause)
{
    const std::string beside = std::string(target) + ".tmp~";
    const bool existed = FilePath(target).Exists();
    SaveFailure failure = SaveFailure::Other;
    {
        FileStream stream(beside.c_str(), true);
        bool wrote = stream.IsOpen() && write(stream);
        stream.Close();
        if (stream.State() != 0) {
            failure = FailureOfErrno(stream.FailureErrno());
            wrote = false;
        }
        if (wrote) {
            if (MoveFileExA(beside.c_str(), target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return true;
            failure = FailureOfSystemError(GetLastError());
        }
    }
    DeleteFileA(beside.c_str());
    DescribeFailure(failure, target, existed, message);
    if (cause != nullptr)
        *cause = failure;
    return false;
}
