#pragma once
// Archive over a standard-library file, opened "wb" for storing and "rb" for loading.

#include "foundation/Archive.h"

#include <cstdint>
#include <cstdio>

class FileStream : public Archive {
public:
    // Sets state 2 when the file cannot be opened.
    FileStream(const char* path, bool storing);
    ~FileStream() override;

    void Write(const void* buffer, uint32_t size, uint32_t count) override;
    // A read that the file cannot satisfy sets state 2; otherwise the items are byte-swapped when the
    // archive's swap flag is set.
    void Read(void* buffer, uint32_t size, uint32_t count) override;
    void Seek(long offset, int origin) override;
    long Tell() override;
    uint32_t BytesLeft() override;

    bool IsOpen() const { return file != nullptr; }
    void Close();

private:
    std::FILE* file = nullptr;
};
