#pragma once
// The tables directory and the registry of its tables: one entry per ".tbl" file, sorted by the tables'
// upper-case keys, read at start-up (headers only), and the tables menu with ids from 500.

#include "foundation/FilePath.h"
#include "foundation/PtrArray.h"
#include "foundation/zString.h"

#include <windows.h>

#include <cstdint>

class LookupTable;
class NameList;
struct TableResolutionCache;

// One registry entry: the table (owned) and the path of its file.
struct TableDirEntry {
    TableDirEntry(LookupTable* table, const FilePath& path) : table(table), path(path) {}
    ~TableDirEntry();
    TableDirEntry(const TableDirEntry&) = delete;
    TableDirEntry& operator=(const TableDirEntry&) = delete;

    LookupTable* table;
    FilePath path;
};

// Owning list of TableDirEntry, growth step 2, ascending by key (byte order); a clone has its own copy of
// the table, so no table is ever deleted twice.
class TableRegistry : public PtrArray {
public:
    TableRegistry() : PtrArray(2, true) {}
    ~TableRegistry() override { Clear(); }

    TableDirEntry* EntryAt(int i) const { return static_cast<TableDirEntry*>(At(i)); }
    // Inserts before the first entry whose key is not below the new one; the position, -1 when full.
    int InsertSorted(TableDirEntry* entry);

    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;
};

constexpr unsigned kFirstTableMenuId = 500;

// The tables directory (ends with "\"), found once per run and then reused.
void GetTablesDirectory(zString& out);
// The rule behind GetTablesDirectory, for a program directory ending with "\": the directory named by the
// first line of "table.dir" there when it is writable or the user agrees to create it, else "Tables\"
// under the program directory (whose creation is offered when it is not writable).
void FindTablesDirectory(const char* programDirectory, zString& out);
// Fixes the directory for the rest of the run (start-up options and tests).
void SetTablesDirectory(const char* directory);

void LoadTablesDirectory();
void FreeTables();

TableRegistry& Tables();

TableDirEntry* FindTableEntry(const char* name, bool nameIsUpper = false);
// The table of the name (any case), searched only when the directory changed since the cache was filled.
LookupTable* FindTable(const zString& name, TableResolutionCache& cache);
LookupTable* FindTable(const char* name, bool nameIsUpper = false);
inline LookupTable* FindTable(const zString& name, bool nameIsUpper = false)
{
    return FindTable(name.Text(), nameIsUpper);
}
TableDirEntry* FindEntryOfTable(const LookupTable* table);
LookupTable* GetTableAt(int i);
bool TablePath(const char* name, FilePath& path);
// True when an entry other than the table's has the file name file + ".tbl" (ignoring case).
bool FileUsedByOtherTable(const LookupTable* table, const char* file);

// A new empty table saved at once in the tables directory as file + ".tbl"; null when the file cannot be
// written (reported).
LookupTable* CreateTable(const char* name, const char* file, const char* comment, int32_t method,
                         bool offEdgeIsError);
// The Table Properties dialog for a new table; the table made, or null after Cancel or a failed save.
[[nodiscard]] LookupTable* NewTable();
// The Table Properties dialog for a table; on OK the table is renamed and moved to its new file. The new
// file is written before the old one is deleted. Nonzero after OK.
int EditTableProperties(LookupTable* table);
void DeleteTable(LookupTable* table);
// A table of that name for an import or a formula naming a missing table; name becomes the table's name
// when the user renames it. Null when no table results.
LookupTable* ProvideTable(zString& name);

void ListTableNames(NameList& names);
