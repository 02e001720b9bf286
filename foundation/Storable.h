#pragma once
// Root of the framework's storable classes and the registry that re-creates them by class name.

#include <cstdint>

class Archive;
class zStorable;

// One record per storable class: {id, class name, object size, create function}, linked into one global list.
struct StorableClassRecord {
    uint32_t id;
    const char* name;
    uint32_t objectSize;
    zStorable* (*create)();
    StorableClassRecord* next;
};

class zStorable {
public:
    virtual ~zStorable() = default;
    virtual const StorableClassRecord* ClassRecord() const;
    // Writes or reads the object's own fields; the base has none. Every override calls it first.
    virtual void Serialize(Archive& archive);
};

// The global list of storable classes. Records are linked at the head, ids count from 1 in order of
// registration; registration happens in static initialisers, so the head is a constant-initialised pointer.
class StorableRegistry {
public:
    static void Register(StorableClassRecord& record);
    static const StorableClassRecord* Head();
    // The first record (from the head) whose name equals `name` byte for byte, or null.
    static const StorableClassRecord* Find(const char* name);
};

// Registers a class record during static initialisation: `static StorableClassRegistrar reg(record);`.
struct StorableClassRegistrar {
    explicit StorableClassRegistrar(StorableClassRecord& record) { StorableRegistry::Register(record); }
};
