#pragma once
// Hand-built node-record bytes in either byte order, for the node-record tests.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class NodeRecordFixture {
public:
    explicit NodeRecordFixture(bool bigEndian = false) : bigEndian(bigEndian) {}

    NodeRecordFixture& U8(int value)
    {
        bytes.push_back(static_cast<uint8_t>(value));
        return *this;
    }
    NodeRecordFixture& S16(int value) { return Number(static_cast<uint64_t>(static_cast<uint16_t>(value)), 2); }
    NodeRecordFixture& S32(int32_t value) { return Number(static_cast<uint64_t>(static_cast<uint32_t>(value)), 4); }
    NodeRecordFixture& F64(double value)
    {
        uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return Number(bits, 8);
    }
    NodeRecordFixture& Version(int major, int minor, int third) { return U8(major).U8(minor).U8(third); }
    // A stored string: its own version record (3.5), the length, the characters and the flag byte.
    NodeRecordFixture& Str(const std::string& text)
    {
        Version(3, 5, 0).S32(static_cast<int32_t>(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
        return U8(0);
    }
    // An expression without a parse tree.
    NodeRecordFixture& Expr(const std::string& text) { return Version(3, 5, 0).Str(text).S16(0); }
    // A flagged expression of the Markov fields: 0 alone when empty.
    NodeRecordFixture& OptionalExpr(const std::string& text) { return text.empty() ? S16(0) : S16(1).Expr(text); }

    std::vector<uint8_t> bytes;

private:
    NodeRecordFixture& Number(uint64_t value, int size)
    {
        for (int i = 0; i < size; ++i) {
            const int shift = 8 * (bigEndian ? size - 1 - i : i);
            bytes.push_back(static_cast<uint8_t>(value >> shift));
        }
        return *this;
    }

    bool bigEndian;
};
