#pragma once
// The document's record of one variable name: what belongs to the name rather than to any node's binding
// (sensitivity range, descriptions, comment, correlations and the {T} trial flag).

#include "foundation/FormattedValue.h"
#include "formula/NameResolution.h"
#include "model/VariableDefinition.h"

class CorrelationList;

class DocVariable : public VariableDefinition {
public:
    DocVariable() = default;
    explicit DocVariable(const char* newName);
    ~DocVariable() override;

    // Stored form (gates compare the record's own version key; "from K" means key >= K):
    //   version record        3 bytes
    //   name                  stored string
    //   upperName             stored string, files older than 2.6
    //   comment               stored string, files from 2.6 on (upperName is rebuilt from name)
    //   definition            Expression
    //   hasRange              1 byte
    //   low, high             FormattedValue with the record's version
    //   text4                 stored string, from 3.0
    //   text5, shortDescription  stored strings, from 3.0 beta 2
    //   tFlag, tValue1, tValue2  16 bits, 32-bit float, 32-bit float, from 3.0 beta 2
    //   flag3                 16 bits, keys above 3.0 beta 2
    //   correlation mark      1 byte (1 = a CorrelationList follows), from 3.5 beta 2
    //   CorrelationList       its own stored form, when the mark is nonzero
    // The writer writes the newest form.
    void Serialize(Archive& archive) override;

    // Back to a new record of the same name: empty definition and texts, zero numbers, flag3 1.
    void Reset();
    // Copies everything (range texts become empty); a correlation list is copied item by item.
    void Assign(const DocVariable& source);
    // shortDescription when not empty (result 1), else name (result 0).
    int GetLabel(zString& out) const;

    // Correlation entries (model/DocVariableCorrelations.cpp). The list, made (grow step 2, owning) when
    // missing.
    CorrelationList& GetCorrelations();
    // The last entry named oldUpper takes the name newUpper; an empty newUpper removes it instead.
    void RenameCorrelation(const char* oldUpper, const char* newUpper);
    // Removes the first entry named upperName.
    void RemoveCorrelation(const char* upperName);

    int16_t hasRange = 0;
    int16_t tFlag = 0;
    int16_t flag3 = 1;
    FormattedValue low;
    FormattedValue high;
    float tValue1 = 0.0f;
    float tValue2 = 0.0f;
    float tValue3 = 0.0f;
    // The spreadsheet cell (a workbook name) the variable's value is written into before a calculation, and
    // the cell read back into it after the workbook recalculated; empty when it has none.
    zString& WriteCell() { return text4; }
    const zString& WriteCell() const { return text4; }
    zString& ReadCell() { return text5; }
    const zString& ReadCell() const { return text5; }

    zString comment;
    zString text4;
    zString text5;
    zString shortDescription;
    CorrelationList* correlations = nullptr;
};

// The tree window's owned variable records, sorted like VariableDefList.
class DocVariableList : public NameScopeList {
public:
    explicit DocVariableList(int16_t growBy = 2, bool ownsItems = true) : NameScopeList(growBy, ownsItems) {}
    ~DocVariableList() override { Clear(); }

    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;

    DocVariable* At(int i) const { return static_cast<DocVariable*>(PtrArray::At(i)); }
    int InsertSorted(DocVariable* variable);
    // Takes the record out without deleting it.
    void Remove(DocVariable* variable)
    {
        InvalidateNameResolution();
        RemovePtr(variable);
    }
};

// Binary search of a document variable list by upper-case name; null when absent or the list is empty.
DocVariable* FindVariableDefinition(const DocVariableList& list, const char* upperName);
