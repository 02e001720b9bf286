#pragma once
// A file named as a directory (ending with "\" when not empty) and a file name with its extension, and the
// file operations the system needs on it. Paths use "\" as separator; comparisons ignore case.

#include "foundation/FileHandle.h"
#include "foundation/zString.h"

#include <memory>

class Archive;
class FileStream;
class NameList;

class FilePath {
public:
    FilePath() = default;
    FilePath(const char* directory, const char* name);
    // A full path, split as SetFullPath does.
    explicit FilePath(const char* path);

    void Set(const char* directory, const char* name);
    // Splits at the last "\": the name follows it, the directory runs up to and including it; without a
    // backslash the whole text is the name.
    void SetFullPath(const char* path);

    void GetFullPath(zString& out) const;
    zString FullPath() const;
    // The full path in its one normal spelling, as the system resolves it: relative to the current
    // directory when not absolute, with "." and ".." steps and doubled separators taken out. The path as
    // given when the system cannot resolve it.
    zString NormalPath() const;
    void GetDirectory(zString& out) const { out = directory_; }
    const zString& Directory() const { return directory_; }
    void GetName(zString& out) const { out = name_; }
    const zString& Name() const { return name_; }
    // The text after the name's extension dot; empty when there is none.
    void GetExtension(zString& out) const;
    // The name without its extension dot and extension.
    void GetBaseName(zString& out) const;
    // Cuts the name at its extension dot, then appends "." and the extension unless that is empty.
    void SetExtension(const char* extension);

    bool IsEmpty() const { return name_.IsEmpty() && directory_.IsEmpty(); }
    void Clear();
    // The same file: normal paths equal after upper-casing.
    bool EqualsNoCase(const FilePath& other) const;

    // True when the path names a file (not a folder), also one that another program holds open.
    bool Exists() const;
    // False when the file does not exist; else true when it cannot be opened for exclusive reading and
    // writing: another program holds it (heldElsewhere then says so), or it is read-only or locked.
    bool IsInUse(bool* heldElsewhere = nullptr) const;
    // Size in bytes; 0 when the file cannot be opened.
    uint32_t FileSize() const;
    bool Delete() const;
    // An archive on the file, "wb" when storing, "rb" otherwise; the caller tests its state.
    std::unique_ptr<FileStream> OpenStream(bool storing) const;
    // The standard library's file, mode "w" or "r"; empty on failure.
    CFile OpenCFile(bool write) const;
    // A raw handle, created (truncated) when create is set, else opened for reading; invalid on failure.
    FileHandle OpenHandle(bool create) const;

    // Stored form: the current version record (3 bytes), the full path as a stored string, a reserved 4-byte
    // 0 and a reserved 2-byte 0. Streams older than 2.5 build 4 have no reserved fields.
    void Serialize(Archive& archive);

    // Whether a file can be written in the directory: writes a 4-byte zero into the probe file
    // "testMorl.und" there, reports whether it exists and deletes it.
    static bool CanWriteDirectory(const char* directory);
    // Creates the directory chain unless the directory is already writable.
    static void EnsureDirectory(const char* directory);
    // Appends to the list the name of every entry (file or subdirectory) matching directory + pattern, in
    // the order the system enumerates them.
    static void ListFiles(const char* directory, const char* pattern, NameList& list);

private:
    zString name_;
    zString directory_;
};

// The last "." of the text when it comes after the last "\"; null otherwise.
const char* FindExtensionDot(const char* text);
