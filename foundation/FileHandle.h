#pragma once
// Scoped owners of open files: a Win32 file handle and a standard-library FILE.

#include <windows.h>

#include <cstdio>
#include <memory>

class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(FileHandle&& other) noexcept : handle_(other.Release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept
    {
        if (this != &other) {
            Close();
            handle_ = other.Release();
        }
        return *this;
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE Get() const { return handle_; }
    HANDLE Release()
    {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }
    void Close()
    {
        if (IsValid())
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

struct CFileCloser {
    void operator()(std::FILE* file) const
    {
        if (file)
            std::fclose(file);
    }
};
using CFile = std::unique_ptr<std::FILE, CFileCloser>;
