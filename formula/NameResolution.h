#pragma once
// Shared support for resolving the names of parsed formulas quickly: one shared upper-case text per
// distinct name, and a per-name cache of where a variable's binding was found. Anything that can change
// which binding a name resolves to (bindings added, removed or renamed, nodes inserted, moved or deleted,
// document variables added or removed) calls InvalidateNameResolution, which makes every cache stale. Table
// names have their own cache and generation.

#include "foundation/zString.h"

#include <cstdint>

// Bumped by InvalidateNameResolution; a cache filled under an older value is ignored.
extern uint32_t NameResolutionGeneration;

inline void InvalidateNameResolution()
{
    ++NameResolutionGeneration;
}

class Expression;

// Where a name node last resolved: the scope its lookup started from (a node under which every name resolves
// alike), the binding found there and the binding's formula.
struct NameResolutionCache {
    uint32_t generation = 0;
    const void* scope = nullptr;
    void* binding = nullptr;
    const Expression* definition = nullptr;
};

class LookupTable;

// Bumped whenever a table joins or leaves the tables directory or is renamed; a table cache filled under an
// older value is ignored.
extern uint32_t TableResolutionGeneration;

inline void InvalidateTableResolution()
{
    ++TableResolutionGeneration;
}

// Bumped whenever a table's entries or the way it looks them up may have changed (its lookup caches are
// cleared); values worked out from tables under an older value may be stale.
extern uint32_t TableContentGeneration;

// The table a lookup node's name last resolved to (null: none of that name).
struct TableResolutionCache {
    uint32_t generation = 0;
    LookupTable* table = nullptr;
};

// The one shared copy of a name's text; it lives as long as the process.
const zString* InternName(const zString& name);
