#pragma once
// Writes a storable in place into a memory stream and reads it back into another object, in the native byte
// order or in the other one (the archive swaps what it reads; the writer here swaps what it writes, as a
// machine of the other order would have stored it).

#include "foundation/MemoryStream.h"
#include "foundation/Storable.h"

#include <cstdint>
#include <vector>

class OtherOrderWriter : public MemoryStream {
public:
    OtherOrderWriter() : MemoryStream(100) { SetSwapping(true); }
    void Write(const void* buffer, uint32_t size, uint32_t count) override
    {
        std::vector<uint8_t> copy(static_cast<const uint8_t*>(buffer), static_cast<const uint8_t*>(buffer) + size * count);
        SwapBytes(copy.data(), size, count);
        MemoryStream::Write(copy.data(), size, count);
    }
};

inline std::vector<uint8_t> StoreBytes(zStorable& object, bool swapped)
{
    MemoryStream native(100);
    OtherOrderWriter other;
    MemoryStream& out = swapped ? other : native;
    object.Serialize(out);
    return std::vector<uint8_t>(out.Data(), out.Data() + out.Position());
}

// Returns whether the whole stream was read without failure.
inline bool LoadBytes(zStorable& object, std::vector<uint8_t> bytes, bool swapped)
{
    MemoryStream in(bytes.data(), static_cast<uint32_t>(bytes.size()), false);
    in.SetSwapping(swapped);
    object.Serialize(in);
    return !in.Failed() && in.Position() == bytes.size();
}
