#pragma once
// One call that stores a field when the archive is storing and loads it otherwise, for records whose reader
// and writer are the same list of fields. A failed read leaves 0 (or an empty text).

#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/zString.h"

#include <cstdint>

template <typename T> void TransferByte(Archive& archive, T& value)
{
    if (archive.IsStoring()) {
        archive.WriteByte(static_cast<uint8_t>(value));
        return;
    }
    uint8_t stored = 0;
    archive.ReadByte(stored);
    value = static_cast<T>(stored);
}

template <typename T> void TransferShort(Archive& archive, T& value)
{
    if (archive.IsStoring()) {
        archive.WriteShort(static_cast<int16_t>(value));
        return;
    }
    int16_t stored = 0;
    archive.ReadShort(stored);
    value = static_cast<T>(stored);
}

inline void TransferString(Archive& archive, zString& text)
{
    if (archive.IsStoring())
        StoreString(archive, text);
    else
        LoadString(archive, text);
}
