#include "foundation/FilePath.h"

#include "foundation/Archive.h"
#include "foundation/FileHelpers.h"
#include "foundation/FileStream.h"
#include "foundation/NameList.h"
#include "foundation/StoredString.h"
#include "foundation/StringHelpers.h"
#include "foundation/VersionRecord.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {

// Fails critical errors (no "drive not ready" box) for the scope's life, then restores the previous mode.
class CriticalErrorsSuppressed {
public:
    CriticalErrorsSuppressed() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~CriticalErrorsSuppressed() { SetErrorMode(previous_); }

private:
    UINT previous_;
};

class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

FileHandle OpenExisting(const zString& path, DWORD access, DWORD share)
{
    return FileHandle(
        CreateFileA(path.Text(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

const char* FindExtensionDot(const char* text)
{
    if (!text)
        return nullptr;
    const char* dot = std::strrchr(text, '.');
    const char* backslash = std::strrchr(text, '\\');
    if (dot && backslash && dot < backslash)
        return nullptr;
    return dot;
}

FilePath::FilePath(const char* directory, const char* name)
{
    Set(directory, name);
}

FilePath::FilePath(const char* path)
{
    SetFullPath(path);
}

namespace {

// The system takes "/" for "\\": every path is kept with "\\" only, so that each file has one spelling.
zString WithBackslashes(const char* text)
{
    std::string path(text != nullptr ? text : "");
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return zString(path.c_str());
}

} // namespace

void FilePath::Set(const char* directory, const char* name)
{
    directory_ = WithBackslashes(directory);
    name_ = name;
}

void FilePath::SetFullPath(const char* text)
{
    const zString path = WithBackslashes(text);
    const char* backslash = std::strrchr(path.Text(), '\\');
    if (!backslash) {
        directory_ = "";
        name_ = path;
        return;
    }
    zString directory(path);
    directory.Truncate(static_cast<uint32_t>(backslash - path.Text() + 1));
    directory_ = directory;
    name_ = backslash + 1;
}

void FilePath::GetFullPath(zString& out) const
{
    out = directory_;
    out += name_;
}

zString FilePath::FullPath() const
{
    zString out;
    GetFullPath(out);
    return out;
}

void FilePath::GetExtension(zString& out) const
{
    const char* dot = FindExtensionDot(name_.Text());
    out = dot ? dot + 1 : "";
}

void FilePath::GetBaseName(zString& out) const
{
    out = name_;
    if (const char* dot = FindExtensionDot(name_.Text()))
        out.Truncate(static_cast<uint32_t>(dot - name_.Text()));
}

void FilePath::SetExtension(const char* extension)
{
    if (const char* dot = FindExtensionDot(name_.Text()))
        name_.Truncate(static_cast<uint32_t>(dot - name_.Text()));
    if (extension && *extension) {
        name_ += '.';
        name_ += extension;
    }
}

void FilePath::Clear()
{
    name_ = "";
    directory_ = "";
}

zString FilePath::NormalPath() const
{
    const zString path = FullPath();
    if (path.IsEmpty())
        return path;
    char normal[MAX_PATH * 4];
    const DWORD length = GetFullPathNameA(path.Text(), sizeof normal, normal, nullptr);
    if (length == 0 || length >= sizeof normal)
        return path;
    // Doubled separators inside the path name no other file than single ones.
    std::string collapsed;
    for (const char* c = normal; *c != '\0'; ++c) {
        const bool doubled = *c == '\\' && !collapsed.empty() && collapsed.back() == '\\' && collapsed.size() > 1;
        if (!doubled)
            collapsed += *c;
    }
    return WithBackslashes(collapsed.c_str());
}

bool FilePath::EqualsNoCase(const FilePath& other) const
{
    return ::EqualsNoCase(NormalPath(), other.NormalPath());
}

bool FilePath::Exists() const
{
    CriticalErrorsSuppressed noErrorBox;
    const DWORD attributes = GetFileAttributesA(FullPath().Text());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FilePath::IsInUse(bool* heldElsewhere) const
{
    if (heldElsewhere != nullptr)
        *heldElsewhere = false;
    if (!Exists())
        return false;
    CriticalErrorsSuppressed noErrorBox;
    HANDLE file = CreateFileA(FullPath().Text(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    const DWORD error = GetLastError();
    if (heldElsewhere != nullptr)
        *heldElsewhere = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
    return true;
}

uint32_t FilePath::FileSize() const
{
    FileHandle file = OpenExisting(FullPath(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (!file.IsValid())
        return 0;
    DWORD end = SetFilePointer(file.Get(), 0, nullptr, FILE_END);
    return end == INVALID_SET_FILE_POINTER ? 0 : end;
}

bool FilePath::Delete() const
{
    return DeleteFileA(FullPath().Text()) != 0;
}

std::unique_ptr<FileStream> FilePath::OpenStream(bool storing) const
{
    return std::make_unique<FileStream>(FullPath().Text(), storing);
}

CFile FilePath::OpenCFile(bool write) const
{
    return CFile(std::fopen(FullPath().Text(), write ? "w" : "r"));
}

FileHandle FilePath::OpenHandle(bool create) const
{
    zString path = FullPath();
    if (create)
        return FileHandle(CreateFileA(path.Text(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    return OpenExisting(path, GENERIC_READ, FILE_SHARE_READ);
}

// Stored form:
//   version record          3 bytes
//   full path               stored string (version record, 4-byte length, characters, flag byte)
//   reserved 0              4 bytes   (from 2.5 build 4 on)
//   reserved 0              2 bytes   (from 2.5 build 4 on)
void FilePath::Serialize(Archive& archive)
{
    if (archive.HasFormatError())
        return;
    if (archive.IsStoring()) {
        VersionRecord version = VersionRecord::Current();
        version.Serialize(archive);
        StoreString(archive, FullPath());
        archive.WriteLong(0);
        archive.WriteShort(0);
        return;
    }
    VersionRecord version;
    version.Serialize(archive);
    zString text;
    LoadString(archive, text);
    if (version.IsAtLeast(KnownVersion::k2_5_Build4)) {
        int32_t reservedLong = 0;
        int16_t reservedShort = 0;
        archive.ReadLong(reservedLong).ReadShort(reservedShort);
    }
    // A damaged record leaves the path as it was.
    if (!archive.Failed())
        SetFullPath(text.Text());
}

bool FilePath::CanWriteDirectory(const char* directory)
{
    zString probePath(directory);
    EnsureTrailingBackslash(probePath);
    probePath += "testMorl.und";
    {
        CriticalErrorsSuppressed noErrorBox;
        FileStream probe(probePath.Text(), true);
        probe.WriteLong(0);
    }
    FilePath probe(probePath.Text());
    bool exists = probe.Exists();
    probe.Delete();
    return exists;
}

void FilePath::EnsureDirectory(const char* directory)
{
    if (!CanWriteDirectory(directory))
        CreateDirectoryChain(directory);
}

void FilePath::ListFiles(const char* directory, const char* pattern, NameList& list)
{
    zString search(directory);
    search += pattern;
    WIN32_FIND_DATAA entry;
    FindHandle find(FindFirstFileA(search.Text(), &entry));
    if (find.Get() == INVALID_HANDLE_VALUE)
        return;
    do {
        list.AddText(entry.cFileName);
    } while (FindNextFileA(find.Get(), &entry));
}
