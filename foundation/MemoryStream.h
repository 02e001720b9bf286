#pragma once
// Archive over a block of memory: either a borrowed block of fixed size (reading, or writing in place) or a
// block that the stream allocates, grows in steps and owns (writing).

#include "foundation/Archive.h"

#include <cstdint>

class MemoryStream : public Archive {
public:
    // Over an existing block; position 0, not owned.
    MemoryStream(void* buffer, uint32_t size, bool storing);
    // For writing into a block that grows in multiples of growStep bytes (callers pass 100).
    explicit MemoryStream(uint32_t growStep);
    ~MemoryStream() override;

    void Write(const void* buffer, uint32_t size, uint32_t count) override;
    void Read(void* buffer, uint32_t size, uint32_t count) override;
    // origin 0 from the start, 1 from the current position, 2 from the end (size - offset - 1), any other
    // value as 0; a target not below the size sets state 1 and leaves the position.
    void Seek(long offset, int origin) override;
    long Tell() override;
    uint32_t BytesLeft() override;

    uint32_t Position() const { return position; }
    uint32_t Size() const { return size; }
    const uint8_t* Data() const { return buffer; }
    bool OwnsBuffer() const { return ownsBuffer; }
    // Hands the block to the caller (who frees it with delete[]); the written length is Position().
    uint8_t* ReleaseBuffer();

private:
    // Grows an owned block so that it holds `needed` bytes; false (state 2) when that is not possible.
    bool Grow(uint32_t needed);

    uint32_t position = 0;
    uint32_t size = 0;
    uint32_t growStep = 0;
    bool ownsBuffer = false;
    uint8_t* buffer = nullptr;
    uint32_t allocated = 0;  // bytes of an owned block (at least size)
};
