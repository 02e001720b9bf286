#include "foundation/Storable.h"

#include <cstring>

namespace {

StorableClassRecord* registryHead = nullptr;
uint32_t registeredCount = 0;

zStorable* CreateStorable() { return new zStorable; }

StorableClassRecord storableRecord = {0, "zStorable", sizeof(zStorable), &CreateStorable, nullptr};
StorableClassRegistrar storableRegistrar(storableRecord);

}  // namespace

const StorableClassRecord* zStorable::ClassRecord() const { return &storableRecord; }

void zStorable::Serialize(Archive&) {}

void StorableRegistry::Register(StorableClassRecord& record)
{
    record.id = ++registeredCount;
    record.next = registryHead;
    registryHead = &record;
}

const StorableClassRecord* StorableRegistry::Head() { return registryHead; }

const StorableClassRecord* StorableRegistry::Find(const char* name)
{
    if (!name)
        return nullptr;
    for (const StorableClassRecord* record = registryHead; record; record = record->next)
        if (std::strcmp(record->name, name) == 0)
            return record;
    return nullptr;
}
