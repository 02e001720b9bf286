#include "foundation/PtrArray.h"

#include "foundation/Archive.h"
#include "foundation/VersionRecord.h"

#include <cstdlib>
#include <cstring>
#include <new>

PtrArray::PtrArray(int16_t step, bool owns) : growBy(step), ownsItems(owns ? 1 : 0) {}

PtrArray::~PtrArray() { delete[] items; }

void PtrArray::StoreItem(Archive&, void*) {}

void* PtrArray::LoadItem(Archive&) { return nullptr; }

void* PtrArray::CloneItem(void* item) { return item; }

void PtrArray::DeleteItem(void*) {}

bool PtrArray::SetCapacity(int n)
{
    if (n > kMaxItems)
        n = kMaxItems;
    if (n < count)
        n = count;
    void** block = nullptr;
    if (n > 0) {
        block = new (std::nothrow) void*[n];
        if (!block)
            return false;
        for (int i = 0; i < n; ++i)
            block[i] = i < count ? items[i] : nullptr;
    }
    delete[] items;
    items = block;
    capacity = static_cast<int16_t>(n);
    return true;
}

bool PtrArray::InsertAt(int i, void* item)
{
    if (count >= kMaxItems)
        return false;
    if (!IsValidIndex(i))
        i = count;
    if (count == capacity) {
        int step = growBy > 0 ? growBy : 1;
        if (!SetCapacity(capacity + step))
            return false;
    }
    for (int slot = count; slot > i; --slot)
        items[slot] = items[slot - 1];
    items[i] = item;
    ++count;
    return true;
}

void PtrArray::RemoveAt(int i)
{
    if (!IsValidIndex(i))
        return;
    for (int slot = i; slot < count - 1; ++slot)
        items[slot] = items[slot + 1];
    items[--count] = nullptr;
}

void PtrArray::DeleteAt(int i)
{
    if (!IsValidIndex(i))
        return;
    DeleteItem(items[i]);
    RemoveAt(i);
}

int16_t PtrArray::IndexOf(const void* p) const
{
    for (int16_t i = 0; i < count; ++i)
        if (items[i] == p)
            return i;
    return -1;
}

void PtrArray::RemovePtr(const void* p) { RemoveAt(IndexOf(p)); }

void PtrArray::DeletePtr(void* p) { DeleteAt(IndexOf(p)); }

void PtrArray::RemoveAll()
{
    delete[] items;
    items = nullptr;
    capacity = 0;
    count = 0;
}

void PtrArray::Empty()
{
    for (int i = 0; i < count; ++i)
        items[i] = nullptr;
    count = 0;
}

void PtrArray::DeleteAll()
{
    for (int i = 0; i < count; ++i)
        DeleteItem(items[i]);
    RemoveAll();
}

void PtrArray::Clear()
{
    if (ownsItems)
        DeleteAll();
    else
        RemoveAll();
}

void PtrArray::Copy(const PtrArray& source, bool clone)
{
    if (&source == this)
        return;
    RemoveAll();
    growBy = source.growBy;
    if (source.count == 0 || !source.items)
        return;
    items = new (std::nothrow) void*[source.capacity];
    if (!items)
        return;
    std::memcpy(items, source.items, sizeof(void*) * source.capacity);
    capacity = source.capacity;
    count = source.count;
    if (clone)
        for (int i = 0; i < count; ++i)
            items[i] = CloneItem(items[i]);
}

void PtrArray::Sort(Compare compare)
{
    if (items && count > 1)
        std::qsort(items, count, sizeof(void*), compare);
}

void** PtrArray::BinarySearch(const void* key, Compare compare) const
{
    int low = 0;
    int high = count;
    while (low < high) {
        int middle = (low + high - 1) / 2;
        int order = compare(key, &items[middle]);
        if (order == 0)
            return &items[middle];
        if (order < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return nullptr;
}

void PtrArray::ForEach(void (*function)(void* item, void* argument), void* argument) const
{
    for (int i = 0; i < count; ++i)
        function(items[i], argument);
}

void PtrArray::Serialize(Archive& archive)
{
    if (archive.HasFormatError())
        return;
    VersionRecord version;
    if (archive.IsStoring()) {
        version.Serialize(archive);
        archive.WriteShort(growBy).WriteByte(static_cast<uint8_t>(ownsItems)).WriteShort(count).WriteShort(kMarker);
        for (int i = 0; i < count && archive.State() == 0; ++i)
            StoreItem(archive, items[i]);
        return;
    }
    version.Serialize(archive);
    int16_t storedGrowBy = 0;
    uint8_t storedOwns = 0;
    int16_t storedCount = 0;
    int16_t marker = kMarker;
    archive.ReadShort(storedGrowBy).ReadByte(storedOwns).ReadShort(storedCount);
    if (version.IsAtLeast(KnownVersion::k2_6))
        archive.ReadShort(marker);
    if (archive.HasFormatError() || archive.State() != 0) {
        archive.SetFormatError(Archive::FormatListMarkerOrCount);
        return;
    }
    // The stored owns flag is read and not taken: whether the items are deleted with the array is the
    // owner's choice, and a stream marked "not owning" would leak every item loaded here.
    growBy = storedGrowBy;
    // Every item takes a byte at least: a count the rest of the stream cannot hold is refused before any
    // item is read, as damage when it exceeds the whole stream.
    if (storedCount > 0 && !archive.Holds(static_cast<uint64_t>(storedCount))) {
        archive.SetFormatError(Archive::FormatListMarkerOrCount);
        return;
    }
    if (marker == kMarker && storedCount >= 0) {
        Clear();
        for (int i = 0; i < storedCount; ++i) {
            void* item = LoadItem(archive);
            if (archive.State() != 0 || archive.HasFormatError()) {
                if (item)
                    DeleteItem(item);
                break;
            }
            if (!InsertAt(count, item)) {
                DeleteItem(item);
                break;
            }
        }
    }
    if (marker != kMarker || count != storedCount)
        archive.SetFormatError(Archive::FormatListMarkerOrCount);
}
