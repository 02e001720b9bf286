#include "formula/TableDirectory.h"

#include "foundation/Host.h"
#include "foundation/MessageBoxes.h"
#include "formula/LookupTable.h"
#include "formula/NameResolution.h"
#include "foundation/FileHelpers.h"
#include "foundation/FileNameRules.h"
#include "foundation/NameList.h"
#include "foundation/StringHelpers.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct TablesState {
    bool directoryKnown = false;
    zString directory;
    TableRegistry registry;
};

TablesState& State()
{
    static TablesState state;
    return state;
}

int CompareKeys(const zString& a, const zString& b)
{
    return std::strcmp(a.Text(), b.Text());
}

// Yes/No: creates the directory chain on Yes, which counts as agreement whatever the creation gives.
bool AgreeToCreate(const zString& directory)
{
    zString message("The tables directory \"$1\" does not exist. Do you want KIVO to create it for you?");
    SubstituteArgs(message, directory.Text());
    if (AskYesNo(nullptr, message.Text(), -1) != 1)
        return false;
    CreateDirectoryChain(directory.Text());
    return true;
}

// The directory named by the first line of table.dir: leading characters that are neither legal in file
// names nor "\" are skipped, then the run of legal characters, "\" and ":" is taken.
bool DirectoryFromFile(const char* programDirectory, zString& out)
{
    zString path(programDirectory);
    path += "table.dir";
    std::FILE* file = std::fopen(path.Text(), "r");
    if (!file)
        return false;
    char line[256] = {};
    const bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    if (!read)
        return false;
    const char* p = line;
    while (*p && !IsLegalFileNameChar(*p) && *p != '\\')
        ++p;
    zString directory;
    while (*p && (IsLegalFileNameChar(*p) || *p == '\\' || *p == ':'))
        directory += *p++;
    if (directory.IsEmpty())
        return false;
    EnsureTrailingBackslash(directory);
    if (!FilePath::CanWriteDirectory(directory.Text()) && !AgreeToCreate(directory))
        return false;
    out = directory;
    return true;
}

void InsertEntry(TableDirEntry* entry)
{
    if (State().registry.InsertSorted(entry) < 0)
        delete entry;
}

}  // namespace

TableDirEntry::~TableDirEntry() { delete table; }

int TableRegistry::InsertSorted(TableDirEntry* entry)
{
    InvalidateTableResolution();
    int position = 0;
    while (position < Count() && CompareKeys(EntryAt(position)->table->Key(), entry->table->Key()) < 0)
        ++position;
    return InsertAt(position, entry) ? position : -1;
}

void* TableRegistry::CloneItem(void* item)
{
    auto* source = static_cast<TableDirEntry*>(item);
    return new TableDirEntry(new LookupTable(*source->table), source->path);
}

void TableRegistry::DeleteItem(void* item)
{
    InvalidateTableResolution();
    delete static_cast<TableDirEntry*>(item);
}

void FindTablesDirectory(const char* programDirectory, zString& out)
{
    if (DirectoryFromFile(programDirectory, out))
        return;
    out = programDirectory;
    AppendDirectory(out, "Tables");
    if (!FilePath::CanWriteDirectory(out.Text()))
        AgreeToCreate(out);
}

void GetTablesDirectory(zString& out)
{
    TablesState& state = State();
    if (!state.directoryKnown) {
        zString program;
        RunningProgramDirectory(program);
        FindTablesDirectory(program.Text(), state.directory);
        state.directoryKnown = true;
    }
    out = state.directory;
}

void SetTablesDirectory(const char* directory)
{
    State().directory = directory;
    EnsureTrailingBackslash(State().directory);
    State().directoryKnown = true;
}

TableRegistry& Tables() { return State().registry; }

void LoadTablesDirectory()
{
    zString directory;
    GetTablesDirectory(directory);
    NameList files;
    FilePath::ListFiles(directory.Text(), "*.tbl", files);
    for (int i = 0; i < files.Count(); ++i) {
        FilePath path(directory.Text(), files.At(i)->Text());
        InsertEntry(new TableDirEntry(new LookupTable(path), path));
    }
    TheHost().TablesChanged(Host::TablesLoaded);
}

void FreeTables()
{
    State().registry.Clear();
    TheHost().TablesChanged(Host::TablesFreed);
}

TableDirEntry* FindTableEntry(const char* name, bool nameIsUpper)
{
    // Formulas look tables up by name at every evaluation: the name is compared without a copy.
    const TableRegistry& registry = State().registry;
    for (int i = 0; i < registry.Count(); ++i) {
        const zString& key = registry.EntryAt(i)->table->Key();
        if (nameIsUpper ? key == name : UpperCasedEquals(name, key))
            return registry.EntryAt(i);
    }
    return nullptr;
}

LookupTable* FindTable(const char* name, bool nameIsUpper)
{
    TableDirEntry* entry = FindTableEntry(name, nameIsUpper);
    return entry ? entry->table : nullptr;
}

LookupTable* FindTable(const zString& name, TableResolutionCache& cache)
{
    if (cache.generation != ResolutionGenerations::Tables()) {
        cache.table = FindTable(name.Text(), false);
        cache.generation = ResolutionGenerations::Tables();
    }
    return cache.table;
}

TableDirEntry* FindEntryOfTable(const LookupTable* table)
{
    const TableRegistry& registry = State().registry;
    for (int i = 0; i < registry.Count(); ++i) {
        if (registry.EntryAt(i)->table == table)
            return registry.EntryAt(i);
    }
    return nullptr;
}

LookupTable* GetTableAt(int i)
{
    TableDirEntry* entry = State().registry.EntryAt(i);
    return entry ? entry->table : nullptr;
}

bool TablePath(const char* name, FilePath& path)
{
    const TableDirEntry* entry = FindTableEntry(name, false);
    if (!entry)
        return false;
    path = entry->path;
    return true;
}

bool FileUsedByOtherTable(const LookupTable* table, const char* file)
{
    zString wanted(file);
    wanted += ".tbl";
    wanted.MakeUpper();
    const TableRegistry& registry = State().registry;
    for (int i = 0; i < registry.Count(); ++i) {
        const TableDirEntry* entry = registry.EntryAt(i);
        if (entry->table == table)
            continue;
        zString name(entry->path.Name());
        name.MakeUpper();
        if (name == wanted)
            return true;
    }
    return false;
}

LookupTable* CreateTable(const char* name, const char* file, const char* comment, int32_t method,
                         bool offEdgeIsError)
{
    auto* table = new LookupTable;
    table->SetName(name);
    table->SetComment(comment);
    table->SetMethod(method);
    table->SetOffEdgeIsError(offEdgeIsError);
    table->SetLoaded(true);
    zString directory;
    GetTablesDirectory(directory);
    zString fileName(file);
    fileName += ".tbl";
    auto* entry = new TableDirEntry(table, FilePath(directory.Text(), fileName.Text()));
    if (State().registry.InsertSorted(entry) < 0) {
        delete entry;
        return nullptr;
    }
    // A table whose file cannot be written would be gone at the next start: it is not made (Save reports it).
    if (!table->Save()) {
        State().registry.DeletePtr(entry);
        return nullptr;
    }
    TheHost().TablesChanged(Host::TablesEdited);
    return table;
}

LookupTable* NewTable()
{
    TableProperties properties;
    properties.name = "NewTable";
    properties.file = "newtable";
    properties.method = LookupTable::Interpolation;
    if (!TheHost().EditTableProperties(nullptr, properties))
        return nullptr;
    return CreateTable(properties.name.Text(), properties.file.Text(), properties.comment.Text(), properties.method,
                       properties.offEdgeIsError);
}

int EditTableProperties(LookupTable* table)
{
    TableDirEntry* entry = FindEntryOfTable(table);
    if (!entry)
        return 0;
    zString file;
    entry->path.GetBaseName(file);
    TableProperties dialog;
    dialog.name = table->Name();
    dialog.file = file;
    dialog.comment = table->Comment();
    dialog.method = table->GetMethod();
    dialog.offEdgeIsError = table->OffEdgeIsError();
    if (!TheHost().EditTableProperties(table, dialog))
        return 0;
    // The pairs in the old file replace those in memory; a file that cannot be read whole leaves memory as
    // it was.
    const FilePath oldPath = entry->path;
    if (!table->IsLoaded()) {
        table->Load();
    } else {
        LookupTable onDisk;
        if (onDisk.ReadFile(oldPath, false))
            table->ReplaceEntries(onDisk);
    }
    table->SetName(dialog.name.Text());
    table->SetComment(dialog.comment.Text());
    table->SetMethod(dialog.method);
    table->SetOffEdgeIsError(dialog.offEdgeIsError);
    table->ClearCaches();
    zString directory;
    GetTablesDirectory(directory);
    zString fileName(dialog.file.Text());
    fileName += ".tbl";
    entry->path = FilePath(directory.Text(), fileName.Text());
    // The new file first; only a written new file lets the old one go. When it cannot be written the table
    // stays in its old file.
    if (table->Save()) {
        if (!entry->path.EqualsNoCase(oldPath))
            oldPath.Delete();
    } else {
        entry->path = oldPath;
        table->Save();
    }
    TableRegistry& registry = State().registry;
    registry.RemovePtr(entry);
    InsertEntry(entry);
    TheHost().TablesChanged(Host::TablesEdited);
    return 1;
}

void DeleteTable(LookupTable* table)
{
    TableDirEntry* entry = FindEntryOfTable(table);
    if (!entry)
        return;
    entry->path.Delete();
    State().registry.DeletePtr(entry);
    TheHost().TablesChanged(Host::TablesEdited);
}

LookupTable* ProvideTable(zString& name)
{
    LookupTable* existing = FindTable(name.Text(), false);
    if (!existing) {
        zString file(name);
        if (FileUsedByOtherTable(nullptr, file.Text())) {
            const uint32_t last = file.Length() - 1;
            bool found = false;
            for (char digit = '1'; digit <= '9' && !found; ++digit) {
                file.Buffer()[last] = digit;
                found = !FileUsedByOtherTable(nullptr, file.Text());
            }
            if (!found)
                return nullptr;
        }
        return CreateTable(name.Text(), file.Text(), "", LookupTable::Interpolation, false);
    }
    switch (TheHost().ChooseTableConflict(existing->Name().Text())) {
    case Host::OverwriteOldTable:
        existing->RemoveAllEntries();
        return existing;
    case Host::RenameNewTable: {
        LookupTable* made = NewTable();
        if (made)
            name = made->Name();
        return made;
    }
    default:
        return existing;
    }
}

void ListTableNames(NameList& names)
{
    const TableRegistry& registry = State().registry;
    for (int i = 0; i < registry.Count(); ++i)
        names.AddCopy(registry.EntryAt(i)->table->Name());
}
