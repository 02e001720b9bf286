#include "foundation/MemoryStream.h"

#include <cstring>
#include <new>

namespace {

// The archive's single values are a few bytes long: copied in place, without a call.
inline void CopyBytes(uint8_t* to, const uint8_t* from, uint32_t count)
{
    if (count > 8) {
        std::memcpy(to, from, count);
        return;
    }
    for (uint32_t i = 0; i < count; ++i)
        to[i] = from[i];
}

}  // namespace

MemoryStream::MemoryStream(void* block, uint32_t blockSize, bool storing)
    : Archive(storing), size(block ? blockSize : 0), buffer(static_cast<uint8_t*>(block))
{
}

MemoryStream::MemoryStream(uint32_t step) : Archive(true), growStep(step), ownsBuffer(true) {}

MemoryStream::~MemoryStream()
{
    if (ownsBuffer)
        delete[] buffer;
}

uint8_t* MemoryStream::ReleaseBuffer()
{
    ownsBuffer = false;
    return buffer;
}

bool MemoryStream::Grow(uint32_t needed)
{
    uint32_t step = growStep > 0 ? growStep : 1;
    uint64_t rounded = (static_cast<uint64_t>(needed) + step - 1) / step * step;
    if (rounded > 0x7FFFFFFFu) {
        SetState(StateIoFailure);
        return false;
    }
    if (rounded > allocated) {
        // The block itself grows at least geometrically, so a long run of small writes copies each byte a
        // bounded number of times; the stream's size still follows the growth step.
        uint64_t reserve = static_cast<uint64_t>(allocated) * 2;
        uint32_t newAllocation = static_cast<uint32_t>(reserve > rounded && reserve <= 0x7FFFFFFFu ? reserve : rounded);
        auto* grown = new (std::nothrow) uint8_t[newAllocation];
        if (!grown) {
            SetState(StateIoFailure);
            return false;
        }
        if (buffer && position > 0)
            std::memcpy(grown, buffer, position);
        delete[] buffer;
        buffer = grown;
        allocated = newAllocation;
    }
    size = static_cast<uint32_t>(rounded);
    return true;
}

void MemoryStream::Write(const void* source, uint32_t itemSize, uint32_t count)
{
    if (State() != 0)
        return;
    uint64_t bytes = static_cast<uint64_t>(itemSize) * count;
    uint64_t end = position + bytes;
    if (end > size) {
        if (!ownsBuffer || end > 0xFFFFFFFFu) {
            SetState(StateIoFailure);
            return;
        }
        if (!Grow(static_cast<uint32_t>(end)))
            return;
    }
    CopyBytes(buffer + position, static_cast<const uint8_t*>(source), static_cast<uint32_t>(bytes));
    position = static_cast<uint32_t>(end);
}

void MemoryStream::Read(void* target, uint32_t itemSize, uint32_t count)
{
    if (State() != 0)
        return;
    uint64_t bytes = static_cast<uint64_t>(itemSize) * count;
    if (position + bytes > size) {
        SetState(StateIoFailure);
        return;
    }
    CopyBytes(static_cast<uint8_t*>(target), buffer + position, static_cast<uint32_t>(bytes));
    position += static_cast<uint32_t>(bytes);
    if (IsSwapping())
        SwapBytes(target, itemSize, count);
}

void MemoryStream::Seek(long offset, int origin)
{
    int64_t target;
    switch (origin) {
    case 1:
        target = static_cast<int64_t>(position) + offset;
        break;
    case 2:
        target = static_cast<int64_t>(size) - offset - 1;
        break;
    default:
        target = offset;
        break;
    }
    if (target < 0 || target >= static_cast<int64_t>(size)) {
        SetState(StatePastEnd);
        return;
    }
    position = static_cast<uint32_t>(target);
}

long MemoryStream::Tell() { return static_cast<long>(position); }

uint32_t MemoryStream::BytesLeft() { return position < size ? size - position : 0; }
