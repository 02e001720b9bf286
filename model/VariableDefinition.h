#pragma once
// A variable's binding: the name as written, its upper-case key and its defining formula. Nodes hold their
// bindings in a VariableDefList; the tree's default definitions are the bindings of the root.

#include "formula/Expression.h"
#include "foundation/PtrArray.h"
#include "model/NameScopeList.h"
#include "foundation/zString.h"

class Archive;

class VariableDefinition {
public:
    VariableDefinition() = default;
    VariableDefinition(const char* name, const char* formulaText);
    VariableDefinition(const VariableDefinition&) = delete;
    VariableDefinition& operator=(const VariableDefinition&) = delete;
    virtual ~VariableDefinition() = default;

    // Stored form:
    //   version record      3 bytes   the current version when storing, the file's when loading
    //   name                stored string
    //   upperName           stored string, only in files older than 2.6 (rebuilt from name otherwise)
    //   definition          Expression
    //   byte + 2 x 32 bits  read and discarded, only in files older than 2.6
    virtual void Serialize(Archive& archive);

    // Copies both names and the expression (text and cached parse tree).
    void Assign(const VariableDefinition& source);
    // Sets name and its upper-case key together.
    void SetName(const char* newName);
    // A braced binding ("{T} name") sets a document variable's trial value instead of defining a name.
    bool IsBraced() const { return name.Text()[0] == '{'; }
    // name, then " = " (spaced) or "=", then the formula text.
    void FormatAssignment(zString& out, bool spaced) const;

    zString name;
    zString upperName;
    Expression definition;
};

// Owned bindings kept in ascending strcmp order of upperName.
class VariableDefList : public NameScopeList {
public:
    explicit VariableDefList(int16_t growBy = 4, bool ownsItems = true) : NameScopeList(growBy, ownsItems) {}
    ~VariableDefList() override { Clear(); }

    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;

    VariableDefinition* At(int i) const { return static_cast<VariableDefinition*>(PtrArray::At(i)); }
    // Inserts before the first item whose key is not below the new one's (equal keys: the new item goes
    // first); duplicates are not refused. Returns the index, -1 when the list is full.
    int InsertSorted(VariableDefinition* definition);
    // Binary search for an exact key; the argument must be upper case. Null when absent.
    VariableDefinition* Find(const char* upperName) const;
    // Index of the exact key, else -1.
    int IndexOfName(const char* upperName) const;
};

// Binary search shared by both sorted variable lists: mid = (lo + hi - 1) / 2 over items whose first field is
// a VariableDefinition. Index of the match or -1.
int FindSortedVariableIndex(const PtrArray& list, const char* upperName);
// Insertion index that keeps the list sorted, equal keys going first.
int SortedVariableInsertIndex(const PtrArray& list, const char* upperName);
