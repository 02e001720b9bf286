#pragma once
// The system's character string: an owned, zero-terminated single-byte text with a cached length and a
// capacity kept at a multiple of 8; an empty string made empty owns no buffer (capacity 0) until written. The length value 0xFFFF means "not measured yet": it is set whenever the
// buffer is handed out for writing, and the next operation that needs the length counts it again.

#include "foundation/Storable.h"

#include <cstdint>

class zString : public zStorable {
public:
    static constexpr uint32_t kNotMeasured = 0xFFFF;

    // Empty: length 0, capacity 0 (no buffer).
    zString();
    // Room for `reserve` characters: capacity RoundCapacity(reserve + 1).
    explicit zString(unsigned reserve);
    // A copy of a zero-terminated text (null gives an empty string), with room for `extra` more characters.
    zString(const char* text, unsigned extra = 8);
    zString(const zString& source, unsigned extra = 8);
    // `count` copies of `c`.
    zString(char c, unsigned count, unsigned extra = 8);
    zString(zString&& source) noexcept;
    ~zString() override;

    zString& operator=(const zString& source);
    zString& operator=(zString&& source) noexcept;
    zString& operator=(const char* text);

    // Case-sensitive comparison of the measured texts.
    bool operator==(const zString& other) const;
    bool operator==(const char* text) const;
    bool operator!=(const zString& other) const { return !(*this == other); }
    bool operator!=(const char* text) const { return !(*this == text); }

    zString& operator+=(const char* text);
    zString& operator+=(char c);
    zString& operator+=(const zString& text);

    // n rounded up to a multiple of 8.
    static uint32_t RoundCapacity(uint32_t n);
    // Capacity RoundCapacity(max(n, length) + 1); returns the new capacity minus 1.
    uint32_t SetCapacity(uint32_t n);

    // The length, measured first when it is not known.
    uint32_t Length() const;
    uint32_t Capacity() const { return capacity; }
    bool IsEmpty() const { return buffer[0] == '\0'; }
    const char* Text() const { return buffer; }
    char operator[](uint32_t i) const { return buffer[i]; }
    // The buffer for writing in place (at most Capacity() - 1 characters and the terminator); the length
    // becomes "not measured".
    char* Buffer();
    // Cuts the text to its first n characters (nothing happens when it is not longer).
    void Truncate(uint32_t n);
    void Clear() { Truncate(0); }

    void MakeUpper();
    void MakeLower();

    // Stored form: a 4-byte length, then the characters without terminator. A stored length of 0 leaves
    // the string unchanged.
    void Serialize(Archive& archive) override;
    const StorableClassRecord* ClassRecord() const override;

private:
    void Allocate(uint32_t newCapacity);
    uint32_t MeasuredLength() const;

    char* buffer = nullptr;
    mutable uint32_t length = 0;
    uint32_t capacity = 0;
};
