#pragma once
// A list whose items decide what names resolve to (a node's bindings, the document's variables): every
// change of its membership makes cached name lookups stale, whichever list operation makes it.

#include "formula/NameResolution.h"
#include "foundation/PtrArray.h"

class NameScopeList : public PtrArray {
public:
    using PtrArray::PtrArray;

    bool InsertAt(int i, void* item)
    {
        InvalidateNameResolution();
        return PtrArray::InsertAt(i, item);
    }
    bool InsertItemAt(void* item, int i) { return InsertAt(i, item); }
    bool Add(void* item) { return InsertAt(Count(), item); }
    void RemoveAt(int i)
    {
        InvalidateNameResolution();
        PtrArray::RemoveAt(i);
    }
    void RemovePtr(const void* p)
    {
        InvalidateNameResolution();
        PtrArray::RemovePtr(p);
    }
    void RemoveAll()
    {
        InvalidateNameResolution();
        PtrArray::RemoveAll();
    }
    void Clear()
    {
        InvalidateNameResolution();
        PtrArray::Clear();
    }
    void Copy(const PtrArray& source, bool clone)
    {
        InvalidateNameResolution();
        PtrArray::Copy(source, clone);
    }
    void AssignShallow(const PtrArray& source) { Copy(source, false); }
};
