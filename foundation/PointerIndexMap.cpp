#include "foundation/PointerIndexMap.h"

#include <new>

int16_t PointerIndexMap::EntryList::Find(const void* p) const
{
    for (int16_t i = 0; i < Count(); ++i)
        if (EntryAt(i)->pointer == p)
            return i;
    return -1;
}

bool PointerIndexMap::EntryList::Append(const void* p, int16_t index)
{
    Entry* entry = new (std::nothrow) Entry{p, index};
    if (!entry)
        return false;
    if (!Add(entry)) {
        delete entry;
        return false;
    }
    return true;
}

PointerIndexMap::PointerIndexMap(int32_t keptValue) : value(keptValue) {}

PointerIndexMap::~PointerIndexMap() = default;

int16_t PointerIndexMap::IndexFor(const void* p, bool& isNew)
{
    isNew = false;
    if (!p || IsSkipped(p))
        return 0;
    int16_t position = entries.Find(p);
    if (position >= 0)
        return static_cast<int16_t>(position + 1);
    int16_t number = static_cast<int16_t>(entries.Count() + 1);
    if (entries.Count() >= PtrArray::kMaxItems || !entries.Append(p, number))
        return 0;
    isNew = true;
    return number;
}

void* PointerIndexMap::PointerAt(int16_t index) const
{
    if (index == 0)
        return nullptr;
    for (int16_t i = 0; i < entries.Count(); ++i)
        if (entries.EntryAt(i)->index == index)
            return const_cast<void*>(entries.EntryAt(i)->pointer);
    return nullptr;
}

bool PointerIndexMap::AddPair(const void* p, int16_t index) { return entries.Append(p, index); }

void PointerIndexMap::AddSkipped(const void* p)
{
    if (p && skipped.Find(p) < 0)
        skipped.Append(p, static_cast<int16_t>(skipped.Count() + 1));
}

bool PointerIndexMap::IsSkipped(const void* p) const { return skipped.Find(p) >= 0; }
