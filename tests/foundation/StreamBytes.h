#pragma once
// Test helpers: the bytes a writer produced, and a reading archive over hand-built bytes.

#include "foundation/MemoryStream.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

using Bytes = std::vector<uint8_t>;

// Runs `write` on a growable memory stream and returns the bytes it wrote.
inline Bytes WrittenBytes(const std::function<void(Archive&)>& write)
{
    MemoryStream stream(100);
    write(stream);
    const uint8_t* data = stream.Data();
    return data ? Bytes(data, data + stream.Position()) : Bytes();
}

// A reading memory stream that keeps its own copy of the bytes.
class ReadStream {
public:
    explicit ReadStream(Bytes bytes) : bytes(std::move(bytes)), stream(this->bytes.data(), uint32_t(this->bytes.size()), false) {}
    operator Archive&() { return stream; }
    MemoryStream* operator->() { return &stream; }
    MemoryStream& Stream() { return stream; }

private:
    Bytes bytes;
    MemoryStream stream;
};

// Concatenates byte groups.
inline Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}
