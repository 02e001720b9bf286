#pragma once
// A clipboard format: one of the nine standard formats (kind equal to the number) or a format registered
// by name (kind 10, the number the system gave it). Two formats are equal when their numbers are.

#include <cstdint>

class ClipboardFormat {
public:
    enum Standard : uint32_t {
        Text = 1,
        Bitmap = 2,
        MetafilePicture = 3,
        Sylk = 4,
        Dif = 5,
        Tiff = 6,
        OemText = 7,
        Dib = 8,
        Palette = 9,
    };
    static constexpr uint32_t kRegistered = 10;

    ClipboardFormat() : kind(kRegistered), number(0) {}
    ClipboardFormat(Standard standard) : kind(standard), number(standard) {}
    // Numbers 1 to 9 are standard formats; 0 and anything above 9 are registered ones.
    explicit ClipboardFormat(uint32_t formatNumber);

    // A private format registered by name; a name the system refuses gives number 0, which is never
    // available.
    static ClipboardFormat Register(const char* name);

    uint32_t Kind() const { return kind; }
    uint32_t Number() const { return number; }
    bool operator==(const ClipboardFormat& other) const { return number == other.number; }
    bool operator!=(const ClipboardFormat& other) const { return number != other.number; }

private:
    uint32_t kind;
    uint32_t number;
};
