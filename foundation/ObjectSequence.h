#pragma once
// The stored form of a list of object references: a 32-bit count, then each reference (tag, index and, for a
// new object, its class name and fields). Used by the framework's linked list and pointer ring.

#include "foundation/Archive.h"
#include "foundation/Storable.h"

#include <cstdint>

// Reads the count and the references, handing each object to `add` (which returns false when it cannot take
// it). Every reference takes at least 5 bytes, so a damaged count ends at the first failed read.
template <typename Add>
void ReadObjectSequence(Archive& archive, Add add)
{
    uint32_t stored = 0;
    archive.ReadLong(stored);
    for (uint32_t i = 0; i < stored && archive.State() == 0 && !archive.HasFormatError(); ++i) {
        zStorable* object = nullptr;
        archive.ReadObject(object);
        if (archive.State() != 0)
            break;
        if (!add(object)) {
            archive.SetState(Archive::StateIoFailure);
            break;
        }
    }
}
