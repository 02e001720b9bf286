#pragma once
// Bounded reading of the foreign tree format: every read checks the bytes the stream still holds and stops
// with the archive's error state once anything is missing, so that later reads do nothing.

#include <cstdint>
#include <string>

class Archive;

class ForeignStreamReader {
public:
    explicit ForeignStreamReader(Archive& archive) : archive(archive) {}

    bool Good() const;
    uint8_t Byte();
    int8_t SignedByte() { return static_cast<int8_t>(Byte()); }
    int16_t Short();
    int32_t Long();
    double Double();
    void Skip(uint32_t count);
    // A length byte and that many characters; converted through the character map when asked.
    std::string String(bool convert);
    // `count` characters (no length byte).
    std::string Characters(uint32_t count, bool convert);
    // A length-prefixed string padded to `size` bytes in all.
    std::string FixedString(uint32_t size, bool convert);

    Archive& Stream() { return archive; }

private:
    // False (and the stream marked failed) when fewer than `count` bytes are left.
    bool Available(uint32_t count);
    // One value read by `read` when its bytes are left, else 0.
    template <typename T>
    T Checked(Archive& (Archive::*read)(T&))
    {
        T value{};
        if (Available(sizeof(T)))
            (archive.*read)(value);
        return value;
    }

    Archive& archive;
};
