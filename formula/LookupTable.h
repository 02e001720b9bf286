#pragma once
// A named table of (index, value) pairs in ascending index order, read by formulas as name[x] (one lookup
// by the table's method) or name[a; b] (the sum of the values whose index lies from a to b). A table is
// also a discrete distribution whose values are the probabilities of its indexes. Its pairs live in a
// ".tbl" file of its own and are read on first use (TableFile.cpp).

#include "formula/TableEntryList.h"
#include "foundation/zString.h"

#include <cstdint>

class Archive;
class FilePath;
class RunFault;

class LookupTable {
public:
    enum Method : int32_t { Truncation = 1, Interpolation = 2, IndexSpecific = 3 };
    // Indexes closer than this are the same index.
    static constexpr double kIndexTolerance = 1e-10;

    // Empty, interpolating, not loaded.
    LookupTable();
    // Empty, then the header (name, comment, method, off-edge flag) of the file is read; the pairs are
    // read on first use.
    explicit LookupTable(const FilePath& path);
    // An independent copy: its own pairs and texts.
    LookupTable(const LookupTable& source);
    LookupTable& operator=(const LookupTable&) = delete;
    virtual ~LookupTable() = default;

    const zString& Name() const { return name; }
    const zString& Key() const { return key; }
    // Sets the name and its upper-case key.
    void SetName(const char* text);
    const zString& Comment() const { return comment; }
    void SetComment(const char* text) { comment = text; }
    int32_t GetMethod() const { return method; }
    void SetMethod(int32_t value);
    bool OffEdgeIsError() const { return offEdgeIsError != 0; }
    void SetOffEdgeIsError(bool on);
    bool IsLoaded() const { return loaded != 0; }
    void SetLoaded(bool on) { loaded = on ? 1 : 0; }
    void ClearCaches();

    // Entry access; those that say so read the file first when the pairs are not loaded yet.
    int EntryCount();
    bool GetEntry(int i, double& index, double& value);
    // Replaces the value of an entry within 1e-10 of the index, else inserts a new entry in order; the
    // entry's position (-1 when the list is full).
    int SetEntry(double index, double value);
    void RemoveEntryAt(int i);
    void RemoveAllEntries();
    // The pairs become copies of the source's pairs.
    void ReplaceEntries(const LookupTable& source);
    // Do not load; leave the outputs untouched when the table is empty.
    void GetIndexRange(double& first, double& last) const;
    void GetValueRange(double& minimum, double& maximum) const;
    // Position of the last entry whose index is not above x; -1 when empty or when x is below the first.
    int FindPosition(double x) const;
    // FindPosition when that entry's index is within 1e-10 of x, else -1.
    int FindExact(double x) const;
    const TableEntryList& Entries() const { return entries; }

    // name[x]: the lookup by method; 0 (TableLookupFailed in *fault) for an empty table, an index off the
    // edge when that is an error, an index missing under Index-Specific or an unknown method.
    double Lookup(double x, RunFault* fault);
    // name[a; b].
    double SumRange(double a, double b);

    // The table as a distribution of its indexes: the first index whose accumulated value reaches p; 0
    // (DistributionTableIncomplete in *fault) when the values add up to less.
    double InverseCumulative(double p, RunFault* fault);
    double Median(RunFault* fault);
    double SampleIndex(RunFault* fault);

    // One line per entry: index, TAB, value (default number format), CR LF.
    void ToText(zString& out);
    // Takes lines of index, TAB, value; stops at the first line that is not such a pair. Duplicate indexes
    // are settled by one question, asked at the first duplicate; Cancel there leaves the table as it was and
    // answers false. With replace the old pairs go first and the table counts as loaded; without it the
    // pasted pairs join those of the file.
    bool PasteText(const char* text, bool replace);

    // File form, in TableFile.cpp. Load and Save work on the file of the table's registry entry and do
    // nothing for a table without one. Load marks the table loaded only when the whole file was read; Save
    // writes only a loaded table, so an unreadable file is never replaced by an empty or partial table, and
    // reports a table it could not save.
    bool Load();
    bool Save();
    bool ReadFile(const FilePath& path, bool headerOnly);
    bool WriteFile(const FilePath& path);
    // Stored layout, see TableFile.cpp.
    void Serialize(Archive& archive, bool headerOnly);

private:
    void LoadIfNeeded();

    zString name;
    zString key;
    zString comment;
    TableEntryList entries;
    int32_t method = Interpolation;
    int16_t loaded = 0;
    int16_t offEdgeIsError = 0;
    int16_t lookupCached = 0;
    int16_t medianCached = 0;
    double cachedIndex = 0.0;
    double cachedValue = 0.0;
    double median = 0.0;
};
