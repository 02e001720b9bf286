#include "foundation/zString.h"

#include "foundation/Archive.h"

#include <cctype>
#include <cstring>
#include <new>
#include <utility>

namespace {

zStorable* CreateString() { return new zString; }

StorableClassRecord stringRecord = {0, "zString", sizeof(zString), &CreateString, nullptr};
StorableClassRegistrar stringRegistrar(stringRecord);

// Text of empty strings that own no buffer (made empty, or whose buffer was moved away); never written,
// since a capacity of 0 makes every writer allocate first.
char emptyText[1] = {'\0'};

uint32_t TextLength(const char* text) { return text ? static_cast<uint32_t>(std::strlen(text)) : 0; }

}  // namespace

uint32_t zString::RoundCapacity(uint32_t n) { return (n + 7) & ~7u; }

void zString::Allocate(uint32_t newCapacity)
{
    capacity = RoundCapacity(newCapacity);
    buffer = new char[capacity];
    buffer[0] = '\0';
}

zString::zString() : buffer(emptyText)
{
}

zString::zString(unsigned reserve)
{
    Allocate(reserve + 1);
    length = 0;
}

zString::zString(const char* text, unsigned extra)
{
    uint32_t textLength = TextLength(text);
    Allocate(textLength + extra + 1);
    if (textLength > 0)
        std::memcpy(buffer, text, textLength);
    buffer[textLength] = '\0';
    length = textLength;
}

zString::zString(const zString& source, unsigned extra) : zStorable()
{
    uint32_t sourceLength = source.Length();
    Allocate(sourceLength + extra + 1);
    std::memcpy(buffer, source.buffer, sourceLength + 1);
    length = sourceLength;
}

zString::zString(char c, unsigned count, unsigned extra)
{
    Allocate(count + extra + 1);
    std::memset(buffer, c, count);
    buffer[count] = '\0';
    length = count;
}

zString::zString(zString&& source) noexcept : zStorable(), buffer(source.buffer), length(source.length), capacity(source.capacity)
{
    // The source keeps a valid empty text in a shared block that it does not own (capacity 0).
    source.buffer = emptyText;
    source.length = 0;
    source.capacity = 0;
}

zString::~zString()
{
    if (capacity > 0)
        delete[] buffer;
}

zString& zString::operator=(const zString& source)
{
    if (buffer == source.buffer)
        return *this;
    uint32_t sourceLength = source.Length();
    if (sourceLength == 0) {
        Truncate(0);
        return *this;
    }
    if (sourceLength >= capacity) {
        uint32_t sourceCapacity = source.capacity > sourceLength ? source.capacity : RoundCapacity(sourceLength + 1);
        if (capacity > 0)
            delete[] buffer;
        Allocate(sourceCapacity);
    }
    std::memcpy(buffer, source.buffer, sourceLength + 1);
    length = sourceLength;
    return *this;
}

zString& zString::operator=(zString&& source) noexcept
{
    if (this != &source) {
        std::swap(buffer, source.buffer);
        std::swap(length, source.length);
        std::swap(capacity, source.capacity);
    }
    return *this;
}

zString& zString::operator=(const char* text)
{
    if (!text || !*text) {
        Truncate(0);
        return *this;
    }
    uint32_t textLength = TextLength(text);
    if (textLength >= capacity) {
        // The text may lie inside the own buffer; copy before freeing it.
        char* old = buffer;
        uint32_t oldCapacity = capacity;
        Allocate(textLength + 9);
        std::memcpy(buffer, text, textLength + 1);
        if (oldCapacity > 0)
            delete[] old;
    } else {
        std::memmove(buffer, text, textLength + 1);
    }
    length = textLength;
    return *this;
}

uint32_t zString::MeasuredLength() const { return static_cast<uint32_t>(std::strlen(buffer)); }

uint32_t zString::Length() const
{
    if (length == kNotMeasured)
        length = MeasuredLength();
    return length;
}

bool zString::operator==(const zString& other) const
{
    uint32_t own = Length();
    return own == other.Length() && std::memcmp(buffer, other.buffer, own) == 0;
}

bool zString::operator==(const char* text) const
{
    uint32_t own = Length();
    return own == TextLength(text) && (own == 0 || std::memcmp(buffer, text, own) == 0);
}

uint32_t zString::SetCapacity(uint32_t n)
{
    uint32_t own = Length();
    uint32_t newCapacity = RoundCapacity((n > own ? n : own) + 1);
    if (newCapacity != capacity) {
        char* old = buffer;
        uint32_t oldCapacity = capacity;
        Allocate(newCapacity);
        std::memcpy(buffer, old, own + 1);
        if (oldCapacity > 0)
            delete[] old;
    }
    return capacity - 1;
}

zString& zString::operator+=(const char* text)
{
    if (!text)
        return *this;
    uint32_t own = Length();
    uint32_t added = TextLength(text);
    if (capacity <= own + added) {
        // The text may be part of the own buffer; keep it alive until it is copied.
        if (text >= buffer && text < buffer + capacity) {
            zString kept(text, 0);
            return *this += kept;
        }
        SetCapacity(own + added);
    }
    std::memmove(buffer + own, text, added);
    buffer[own + added] = '\0';
    length = own + added;
    return *this;
}

zString& zString::operator+=(char c)
{
    uint32_t own = Length();
    if (capacity <= own + 1)
        SetCapacity(own + 1);
    buffer[own] = c;
    buffer[own + 1] = '\0';
    length = c == '\0' ? own : own + 1;
    return *this;
}

zString& zString::operator+=(const zString& text)
{
    if (&text == this) {
        zString kept(text, 0);
        return *this += kept;
    }
    uint32_t own = Length();
    uint32_t added = text.Length();
    if (capacity <= own + added)
        SetCapacity(own + added);
    std::memcpy(buffer + own, text.buffer, added + 1);
    length = own + added;
    return *this;
}

char* zString::Buffer()
{
    if (capacity == 0)
        Allocate(16);
    length = kNotMeasured;
    return buffer;
}

void zString::Truncate(uint32_t n)
{
    if (n < Length()) {
        buffer[n] = '\0';
        length = n;
    }
}

void zString::MakeUpper()
{
    uint32_t own = Length();
    for (uint32_t i = 0; i < own; ++i)
        buffer[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(buffer[i])));
}

void zString::MakeLower()
{
    uint32_t own = Length();
    for (uint32_t i = 0; i < own; ++i)
        buffer[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(buffer[i])));
}

const StorableClassRecord* zString::ClassRecord() const { return &stringRecord; }

// Stored form:
//   length       4 bytes
//   characters   length bytes, no terminator
void zString::Serialize(Archive& archive)
{
    zStorable::Serialize(archive);
    if (archive.IsStoring()) {
        uint32_t own = Length();
        archive.WriteLong(static_cast<int32_t>(own));
        archive.WriteBytes(buffer, own);
        return;
    }
    uint32_t stored = 0;
    archive.ReadLong(stored);
    if (archive.State() != 0 || stored == 0)
        return;
    if (!archive.Holds(stored))
        return;
    char* block = new (std::nothrow) char[stored + 1];
    if (!block) {
        archive.SetFormatError(Archive::FormatNoMemoryForString);
        return;
    }
    archive.ReadBytes(block, stored);
    if (archive.State() != 0) {
        delete[] block;
        return;
    }
    block[stored] = '\0';
    if (stored >= capacity) {
        char* grown = new (std::nothrow) char[RoundCapacity(stored + 9)];
        if (!grown) {
            delete[] block;
            archive.SetFormatError(Archive::FormatNoMemoryForString);
            return;
        }
        if (capacity > 0)
            delete[] buffer;
        buffer = grown;
        capacity = RoundCapacity(stored + 9);
    }
    std::memcpy(buffer, block, stored + 1);
    length = stored;
    delete[] block;
}
