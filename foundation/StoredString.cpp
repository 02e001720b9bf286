#include "foundation/StoredString.h"

#include "foundation/Archive.h"
#include "foundation/VersionRecord.h"

#include <cstring>
#include <new>

void StoreString(Archive& archive, const char* text, uint8_t flag)
{
    if (archive.HasFormatError())
        return;
    VersionRecord version;
    version.Serialize(archive);
    uint32_t length = text ? static_cast<uint32_t>(std::strlen(text)) : 0;
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
    if (length > archive.BytesLeft()) {
        archive.SetState(Archive::StateIoFailure);
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
