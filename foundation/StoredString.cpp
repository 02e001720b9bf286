#include "foundation/StoredString.h"

#include "foundation/Archive.h"
#include "foundation/VersionRecord.h"

#include <cstring>
#include <new>

namespace {

// Version record, length and flag byte around the characters.
constexpr uint32_t kRecordOverhead = 8;

}  // namespace

void StoreString(Archive& archive, const char* text, uint8_t flag)
{
    if (archive.HasFormatError())
        return;
    uint32_t length = text ? static_cast<uint32_t>(std::strlen(text)) : 0;
    // A short record goes out in one write: version, length, characters and flag (in this machine's order).
    uint8_t record[256];
    if (length <= sizeof record - kRecordOverhead && !archive.IsSwapping()) {
        VersionRecord::Current().StoredBytes(record);
        std::memcpy(record + 3, &length, 4);  // as WriteLong stores it
        if (length > 0)
            std::memcpy(record + 7, text, length);
        record[7 + length] = flag;
        archive.WriteBytes(record, length + kRecordOverhead);
        return;
    }
    VersionRecord version;
    version.Serialize(archive);
    archive.WriteLong(static_cast<int32_t>(length));
    archive.WriteBytes(text, length);
    archive.WriteByte(flag);
}

void StoreString(Archive& archive, const zString& text, uint8_t flag) { StoreString(archive, text.Text(), flag); }

void LoadString(Archive& archive, zString& text)
{
    text.Clear();
    VersionRecord version;
    version.Serialize(archive);
    uint32_t length = 0;
    archive.ReadLong(length);
    if (archive.HasFormatError() || archive.State() != 0)
        return;
    const uint32_t left = archive.BytesLeft();
    if (!archive.Holds(length))
        return;
    if (length < text.Capacity()) {
        // The text fits: read it in place, with the flag byte (overwritten by the terminator) when the
        // stream still holds it.
        char* buffer = text.Buffer();
        if (length < left) {
            archive.ReadBytes(buffer, length + 1);
        } else {
            archive.ReadBytes(buffer, length);
            uint8_t flag = 0;
            archive.ReadByte(flag);
        }
        buffer[archive.State() == 0 ? length : 0] = '\0';
        return;
    }
    char* block = new (std::nothrow) char[length + 1];
    if (!block) {
        archive.SetFormatError(Archive::FormatNoMemoryForString);
        return;
    }
    archive.ReadBytes(block, length);
    uint8_t flag = 0;
    archive.ReadByte(flag);
    block[archive.State() == 0 ? length : 0] = '\0';
    text = block;
    delete[] block;
}
