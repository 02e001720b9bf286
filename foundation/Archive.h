#pragma once
// Typed binary stream with a table of the objects already transferred. Errors never throw: a stream state
// (I/O level) and a format error (record level, first one kept) are recorded and tested by callers.

#include <cstdint>
#include <unordered_map>
#include <vector>

class zStorable;

class Archive {
public:
    // Stream states.
    enum : uint32_t {
        StateGood = 0,
        StatePastEnd = 1,       // a memory-stream seek beyond its size
        StateIoFailure = 2,     // open, short read or write, seek, out of memory, truncated data
        StateUnknownClass = 4,  // an object reference names a class the registry does not know
        StateBadReference = 8,  // an object reference with a corrupt tag or an index out of range
    };
    // Format errors set by the foundation's readers (readers elsewhere use 7 and 16..40 of the same numbering).
    enum : uint32_t {
        FormatNumericFormat = 22,
        FormatNoMemoryForString = 29,
        FormatListMarkerOrCount = 30,
        FormatFontRecord = 31,
        FormatVersionRecord = 32,
        FormatPlaceTooFar = 41,  // a stored drawing places something out of range (LogicalRect.h)
    };
    // Tags of stored object references.
    enum : uint8_t { TagStoredObject = 0, TagNewObject = 1, TagNullObject = 2 };
    static constexpr uint32_t kNoLimit = 0xFFFFFFFFu;

    explicit Archive(bool storing);
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;
    virtual ~Archive();

    // Moves count items of size bytes. Both do nothing while the state is nonzero.
    virtual void Write(const void* buffer, uint32_t size, uint32_t count) = 0;
    virtual void Read(void* buffer, uint32_t size, uint32_t count) = 0;
    virtual void Seek(long offset, int origin);
    virtual long Tell();
    // Bytes that a reader can still take (kNoLimit when the stream cannot tell); readers use it to refuse
    // counts and lengths that a truncated or corrupt stream cannot hold, before allocating for them.
    virtual uint32_t BytesLeft();

    bool IsStoring() const { return loading == 0; }
    bool IsLoading() const { return loading != 0; }

    uint32_t State() const { return state; }
    // A stream that runs out after a format error was recorded ran out because of that damage.
    void SetState(uint32_t value)
    {
        if (state == 0 && value != 0 && formatError != 0)
            ranOutFromDamage = 1;
        state = value;
    }
    uint32_t FormatError() const { return formatError; }
    bool HasFormatError() const { return formatError != 0; }
    // Records a format error unless one is already recorded (only the first stays).
    void SetFormatError(uint32_t code);
    // True when either a stream state or a format error is set.
    bool Failed() const { return state != 0 || formatError != 0; }
    // Whether the rest of the stream holds that many bytes, for a length or count just read. When it does
    // not, the stream fails as one that ran out; a request larger than the whole stream also marks it as
    // damaged rather than cut short, since no length in a sound stream exceeds the stream itself.
    bool Holds(uint64_t bytes);
    // The stream ran out because of damage, not because it was cut short: at a length larger than the
    // whole stream, or after a format error had been recorded.
    bool RanOutFromDamage() const { return ranOutFromDamage != 0; }

    uint32_t FileVersion() const { return fileVersion; }
    void SetFileVersion(uint32_t key) { fileVersion = key; }
    bool IsSwapping() const { return swap != 0; }
    void SetSwapping(bool on) { swap = on ? 1 : 0; }
    // Reverses the bytes of each of count items of size bytes in place when the swap flag is set.
    void SwapBytes(void* buffer, uint32_t size, uint32_t count) const;

    // Typed transfer; each moves exactly its stated number of bytes. A failed read leaves the value 0.
    Archive& WriteByte(uint8_t value);
    Archive& ReadByte(uint8_t& value);
    Archive& ReadByte(int8_t& value);
    Archive& WriteShort(int16_t value);
    Archive& ReadShort(int16_t& value);
    Archive& ReadShort(uint16_t& value);
    Archive& WriteLong(int32_t value);
    Archive& ReadLong(int32_t& value);
    Archive& ReadLong(uint32_t& value);
    Archive& WriteInt(int value) { return WriteLong(static_cast<int32_t>(value)); }
    Archive& ReadInt(int& value);
    Archive& WriteFloat(float value);
    Archive& ReadFloat(float& value);
    Archive& WriteDouble(double value);
    Archive& ReadDouble(double& value);
    // Two 4-byte integers, x then y.
    Archive& WritePoint(int32_t x, int32_t y);
    Archive& ReadPoint(int32_t& x, int32_t& y);
    // Two points: the first corner, then the second.
    Archive& WriteRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    Archive& ReadRect(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom);
    // Three bytes: red, green, blue.
    Archive& WriteColor(uint8_t red, uint8_t green, uint8_t blue);
    Archive& ReadColor(uint8_t& red, uint8_t& green, uint8_t& blue);
    // count single bytes (characters); never byte-swapped.
    Archive& WriteBytes(const void* buffer, uint32_t count);
    Archive& ReadBytes(void* buffer, uint32_t count);

    // Object references:
    //   tag 0 + 4-byte index                         an object written earlier under that index
    //   tag 1 + 4-byte index + class name + fields   a new object (the first one written takes index 0)
    //   tag 2 + 4-byte 0xFFFFFFFF                    a null pointer
    // A class name is a 4-byte length counting the terminating zero, then the characters with the zero.
    Archive& WriteObject(const zStorable* object);
    // Reads a reference; a new object is created through the storable-class registry and owned by the
    // caller. Null for a null reference and on any error (state 4 for an unknown class, 8 for a bad tag or
    // index, 2 for a truncated stream).
    Archive& ReadObject(zStorable*& object);
    void WriteClassName(const char* name);
    // Reads a class name into `name`; false (with a state set) when it cannot be read.
    bool ReadClassName(std::vector<char>& name);
    void SerializeObject(zStorable& object);

    uint32_t ObjectCount() const { return objectCount; }

private:
    template <typename T> Archive& WriteValue(T value);
    template <typename T> Archive& ReadValue(T& value);

    std::vector<zStorable*> objectTable;
    std::unordered_map<const zStorable*, uint32_t> writtenIndex;
    uint32_t loading;
    uint32_t objectCount = 0;
    uint32_t swap = 0;
    uint32_t state = 0;
    uint32_t fileVersion = 0;
    uint32_t formatError = 0;
    uint32_t ranOutFromDamage = 0;
};

// The byte-order mark that begins table files and graph templates: writing stores the 2-byte value 68;
// reading accepts 68, or 0x4400 (the stream was written in the other byte order: the archive starts
// swapping), and returns false for anything else.
bool SerializeByteOrderMark(Archive& archive);
// The same test for any mark value (the document header uses 34, read swapped as 0x2200).
bool SerializeByteOrderMark(Archive& archive, uint16_t mark);
