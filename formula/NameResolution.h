#pragma once
// Shared support for resolving the names of parsed formulas quickly: one shared upper-case text per
// distinct name, and a per-name cache of where a variable's binding was found. Anything that can change
// which binding a name resolves to (bindings added, removed or renamed, nodes inserted, moved or deleted,
// document variables added or removed) calls InvalidateNameResolution, which makes every cache stale. Table
// names have their own cache and generation.

#include "foundation/zString.h"

#include <cstdint>

// The generations the caches are filled under; a cache filled under an older value is ignored. Only the
// three invalidating functions below move them on. The readers are inline: evaluation checks them for
// every name it looks up.
class ResolutionGenerations {
public:
    // Which binding a variable's name resolves to.
    static uint32_t Names() { return names_; }
    // Which table a table's name resolves to.
    static uint32_t Tables() { return tables_; }
    // What a table's entries are and how it looks them up.
    static uint32_t TableContents() { return tableContents_; }

private:
    friend void InvalidateNameResolution();
    friend void InvalidateTableResolution();
    friend void InvalidateTableContents();
    static uint32_t names_;
    static uint32_t tables_;
    static uint32_t tableContents_;
};

// Makes every name cache stale.
void InvalidateNameResolution();

class Expression;

// Where a name node last resolved: the scope its lookup started from (a node under which every name resolves
// alike), the binding found there, the node that holds it and the binding's formula.
struct NameResolutionCache {
    uint32_t generation = 0;
    const void* scope = nullptr;
    void* binding = nullptr;
    void* holder = nullptr;
    const Expression* definition = nullptr;
};

class LookupTable;

// Called whenever a table joins or leaves the tables directory or is renamed: every table cache is stale.
void InvalidateTableResolution();

// Called whenever a table's entries or the way it looks them up may have changed (its lookup caches are
// cleared): values worked out from tables before may be stale.
void InvalidateTableContents();

// The table a lookup node's name last resolved to (null: none of that name).
struct TableResolutionCache {
    uint32_t generation = 0;
    LookupTable* table = nullptr;
};

// The one shared copy of a name's text; it lives as long as the process.
const zString* InternName(const zString& name);
