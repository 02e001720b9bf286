#pragma once
// The document's links to values of other documents. Until links between documents can be made, the list
// stays empty: it is stored as an empty list, and a stored link cannot be read (the file reads as damaged
// rather than misaligned).

#include "foundation/Archive.h"
#include "foundation/PtrArray.h"

class DocumentLinkList : public PtrArray {
public:
    DocumentLinkList() : PtrArray(2, true) {}
    ~DocumentLinkList() override { Clear(); }
    void* LoadItem(Archive& archive) override
    {
        archive.SetFormatError(Archive::FormatListMarkerOrCount);
        return nullptr;
    }
};
