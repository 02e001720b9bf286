#pragma once
// A document's link to an outside value: a number (its index, by which formulas reach the value) and where
// the value comes from (kind 1: another program's DDE item; 2: a side file; 3: two stored byte blocks).
// Lists of links keep ascending order of index. Only the records and their stored form live here; the
// conversations that feed them belong to the link manager.

#include "foundation/FilePath.h"
#include "foundation/PtrArray.h"
#include "foundation/zString.h"

#include <cstdint>
#include <memory>

class Archive;

class DocumentLink {
public:
    enum Kind : int32_t { DdeKind = 1, SideFileKind = 2, BlockKind = 3 };
    // Format error of a stored record whose index is negative.
    static constexpr uint32_t FormatBadIndex = 24;

    DocumentLink() = default;
    explicit DocumentLink(int16_t index) : index(index) {}
    DocumentLink(const DocumentLink&) = delete;
    DocumentLink& operator=(const DocumentLink&) = delete;

    // The value's new text, kept without CR and LF.
    void SetValue(const char* text);

    // Stored form (strings with the link flag 42; nothing while the archive has a format error):
    //   version record                      3 bytes
    //   index                               i16 (a negative one is format error 24)
    //   kind                                i16
    //   side file                           FilePath's stored form
    //   application, topic, item            3 strings
    //   kind 3: block sizes                 2 x i16, then the bytes of each block
    //   version record W                    3 bytes
    //   value                               string
    //   W >= 3.0: description               string
    //   W >= 3.0: bi-directional flag       i16
    void Serialize(Archive& archive);

    int16_t index = 0;
    int32_t kind = DdeKind;
    int16_t blockSizes[2] = {0, 0};
    std::unique_ptr<uint8_t[]> blocks[2];
    zString application;
    zString topic;
    zString item;
    FilePath sideFile;
    zString value;
    zString description;
    // Each evaluation of the link first refreshes it from its spreadsheet.
    int16_t biDirectional = 0;
};

class DocumentLinkList : public PtrArray {
public:
    DocumentLinkList() : PtrArray(2, true) {}
    ~DocumentLinkList() override { Clear(); }
    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void DeleteItem(void* item) override { delete static_cast<DocumentLink*>(item); }

    DocumentLink* At(int i) const { return static_cast<DocumentLink*>(PtrArray::At(i)); }
    // The first link of that index; indexes below 1 give null.
    DocumentLink* Find(int index) const;
    // The first free index above a gap of the indexes in order (running value starting at 1), else the last
    // index plus 1: 1 and 3 give 2, 2 and 3 give 4, only 5 gives 2, none gives 1.
    int16_t NextIndex() const;
    // Inserts before the first link whose index is at least the new one's; false when the list is full.
    bool InsertSorted(DocumentLink* link);
};
