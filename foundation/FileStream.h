#pragma once
// Archive over a standard-library file, opened "wb" for storing and "rb" for loading.

#include "foundation/Archive.h"

#include <cstdint>
#include <cstdio>
#include <cstddef>
#include <memory>

class FileStream : public Archive {
public:
    // Sets state 2 when the file cannot be opened.
    FileStream(const char* path, bool storing);
    ~FileStream() override;

    // With the swap flag set the items are written byte-swapped.
    void Write(const void* buffer, uint32_t size, uint32_t count) override;
    // A read that the file cannot satisfy sets state 2; otherwise the items are byte-swapped when the
    // archive's swap flag is set.
    void Read(void* buffer, uint32_t size, uint32_t count) override;
    void Seek(long offset, int origin) override;
    long Tell() override;
    uint32_t BytesLeft() override;

    bool IsOpen() const { return file != nullptr; }
    void Close();
    // The C library's error number of the first open, write or close that failed; 0 when none did.
    int FailureErrno() const { return failureErrno; }

private:
    void NoteFailure();
    // Reads through the read buffer; false when the file ends first.
    bool TakeBytes(uint8_t* out, size_t wanted);

    static constexpr size_t kReadBufferSize = 64 * 1024;

    std::FILE* file = nullptr;
    // Reading goes through one buffer of the stream's own: the file's buffered reads lock the file at
    // every field.
    std::unique_ptr<uint8_t[]> readBuffer;
    size_t bufferAt = 0;
    size_t bufferEnd = 0;
    // When reading: the file's size (-1 unknown) and the offset of the next byte.
    long fileSize = -1;
    long readPosition = 0;
    int failureErrno = 0;
};
