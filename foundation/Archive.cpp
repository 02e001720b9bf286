#include "foundation/Archive.h"

#include "foundation/Storable.h"

#include <cstring>
#include <new>

namespace {

// Longest class name a reader accepts (registered names are short identifiers).
constexpr uint32_t kMaxClassNameLength = 256;

}  // namespace

Archive::Archive(bool storing) : loading(storing ? 0 : 1) {}

Archive::~Archive() = default;

void Archive::Seek(long, int) {}

long Archive::Tell() { return 0; }

uint32_t Archive::BytesLeft() { return kNoLimit; }

bool Archive::Holds(uint64_t bytes)
{
    const uint32_t left = BytesLeft();
    if (bytes <= left)
        return true;
    const long at = Tell();
    if (at >= 0 && bytes > static_cast<uint64_t>(left) + static_cast<uint64_t>(at))
        ranOutFromDamage = 1;
    SetState(StateIoFailure);
    return false;
}

void Archive::SetFormatError(uint32_t code)
{
    if (formatError == 0)
        formatError = code;
}

void Archive::SwapBytes(void* buffer, uint32_t size, uint32_t count) const
{
    if (!swap || size < 2)
        return;
    auto* bytes = static_cast<uint8_t*>(buffer);
    for (uint32_t item = 0; item < count; ++item, bytes += size) {
        for (uint32_t low = 0, high = size - 1; low < high; ++low, --high) {
            uint8_t kept = bytes[low];
            bytes[low] = bytes[high];
            bytes[high] = kept;
        }
    }
}

template <typename T> Archive& Archive::WriteValue(T value)
{
    Write(&value, sizeof(T), 1);
    return *this;
}

template <typename T> Archive& Archive::ReadValue(T& value)
{
    T read{};
    Read(&read, sizeof(T), 1);
    value = state == 0 ? read : T{};
    return *this;
}

Archive& Archive::WriteByte(uint8_t value) { return WriteValue(value); }
Archive& Archive::ReadByte(uint8_t& value) { return ReadValue(value); }
Archive& Archive::ReadByte(int8_t& value) { return ReadValue(value); }
Archive& Archive::WriteShort(int16_t value) { return WriteValue(value); }
Archive& Archive::ReadShort(int16_t& value) { return ReadValue(value); }
Archive& Archive::ReadShort(uint16_t& value) { return ReadValue(value); }
Archive& Archive::WriteLong(int32_t value) { return WriteValue(value); }
Archive& Archive::ReadLong(int32_t& value) { return ReadValue(value); }
Archive& Archive::ReadLong(uint32_t& value) { return ReadValue(value); }
Archive& Archive::WriteFloat(float value) { return WriteValue(value); }
Archive& Archive::ReadFloat(float& value) { return ReadValue(value); }
Archive& Archive::WriteDouble(double value) { return WriteValue(value); }
Archive& Archive::ReadDouble(double& value) { return ReadValue(value); }

Archive& Archive::ReadInt(int& value)
{
    int32_t read = 0;
    ReadLong(read);
    value = read;
    return *this;
}

Archive& Archive::WritePoint(int32_t x, int32_t y) { return WriteLong(x).WriteLong(y); }
Archive& Archive::ReadPoint(int32_t& x, int32_t& y) { return ReadLong(x).ReadLong(y); }

Archive& Archive::WriteRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return WritePoint(left, top).WritePoint(right, bottom);
}

Archive& Archive::ReadRect(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom)
{
    return ReadPoint(left, top).ReadPoint(right, bottom);
}

Archive& Archive::WriteColor(uint8_t red, uint8_t green, uint8_t blue)
{
    return WriteByte(red).WriteByte(green).WriteByte(blue);
}

Archive& Archive::ReadColor(uint8_t& red, uint8_t& green, uint8_t& blue)
{
    return ReadByte(red).ReadByte(green).ReadByte(blue);
}

Archive& Archive::WriteBytes(const void* buffer, uint32_t count)
{
    if (count > 0)
        Write(buffer, 1, count);
    return *this;
}

Archive& Archive::ReadBytes(void* buffer, uint32_t count)
{
    if (count > 0)
        Read(buffer, 1, count);
    return *this;
}

void Archive::WriteClassName(const char* name)
{
    uint32_t length = static_cast<uint32_t>(std::strlen(name)) + 1;
    WriteLong(static_cast<int32_t>(length));
    WriteBytes(name, length);
}

bool Archive::ReadClassName(std::vector<char>& name)
{
    name.clear();
    uint32_t length = 0;
    ReadLong(length);
    if (state != 0) {
        SetState(StateIoFailure);
        return false;
    }
    if (!Holds(length))
        return false;
    if (length == 0 || length > kMaxClassNameLength) {
        SetState(StateUnknownClass);
        return false;
    }
    name.assign(length + 1, '\0');
    ReadBytes(name.data(), length);
    if (state != 0) {
        SetState(StateIoFailure);
        name.clear();
        return false;
    }
    return true;
}

Archive& Archive::WriteObject(const zStorable* object)
{
    if (!object) {
        WriteByte(TagNullObject);
        WriteLong(-1);
        return *this;
    }
    auto found = writtenIndex.find(object);
    if (found != writtenIndex.end()) {
        WriteByte(TagStoredObject);
        WriteLong(static_cast<int32_t>(found->second));
        return *this;
    }
    uint32_t index = objectCount++;
    writtenIndex.emplace(object, index);
    objectTable.push_back(const_cast<zStorable*>(object));
    WriteByte(TagNewObject);
    WriteLong(static_cast<int32_t>(index));
    WriteClassName(object->ClassRecord()->name);
    const_cast<zStorable*>(object)->Serialize(*this);
    return *this;
}

Archive& Archive::ReadObject(zStorable*& object)
{
    object = nullptr;
    uint8_t tag = 0;
    uint32_t index = 0;
    ReadByte(tag);
    ReadLong(index);
    if (state != 0)
        return *this;
    switch (tag) {
    case TagNullObject:
        return *this;
    case TagStoredObject:
        if (index < objectTable.size() && objectTable[index])
            object = objectTable[index];
        else
            SetState(StateBadReference);
        return *this;
    case TagNewObject:
        break;
    default:
        SetState(StateBadReference);
        return *this;
    }
    // A writer numbers new objects in order, so a new object never lies beyond the next free index.
    if (index > objectCount) {
        SetState(StateBadReference);
        return *this;
    }
    std::vector<char> name;
    if (!ReadClassName(name))
        return *this;
    const StorableClassRecord* record = StorableRegistry::Find(name.data());
    if (!record) {
        SetState(StateUnknownClass);
        return *this;
    }
    // Some registered classes cannot be created by name; such a stored object is refused, never called.
    zStorable* created = record->create ? record->create() : nullptr;
    if (!created) {
        SetState(StateIoFailure);
        return *this;
    }
    if (index >= objectTable.size())
        objectTable.resize(index + 1, nullptr);
    objectTable[index] = created;
    if (index + 1 > objectCount)
        objectCount = index + 1;
    const uint32_t formatErrorBefore = formatError;
    created->Serialize(*this);
    // An object whose fields failed to read is nobody's: it is freed, and its index names nothing.
    if (state != 0 || formatError != formatErrorBefore) {
        objectTable[index] = nullptr;
        delete created;
        return *this;
    }
    object = created;
    return *this;
}

void Archive::SerializeObject(zStorable& object) { object.Serialize(*this); }

bool SerializeByteOrderMark(Archive& archive, uint16_t mark)
{
    if (archive.IsStoring()) {
        archive.WriteShort(static_cast<int16_t>(mark));
        return true;
    }
    uint16_t read = 0;
    archive.ReadShort(read);
    if (archive.State() != 0)
        return false;
    if (read == mark)
        return true;
    uint16_t swapped = static_cast<uint16_t>((mark >> 8) | (mark << 8));
    if (read == swapped && swapped != mark) {
        archive.SetSwapping(true);
        return true;
    }
    return false;
}

bool SerializeByteOrderMark(Archive& archive) { return SerializeByteOrderMark(archive, 68); }
