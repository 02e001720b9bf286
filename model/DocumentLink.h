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
class DocumentLink;

// Told when a link of its list takes a new value (the document refreshes what shows it).
class DocumentLinkListener {
public:
    virtual ~DocumentLinkListener() = default;
    virtual void LinkValueArrived(DocumentLink& link) = 0;
};

// Where DDE links get their values: the program's DDE client, installed at start-up. A subscribed link is
// fed each new value of its item through SetValue until it unsubscribes.
class DocumentLinkFeed {
public:
    virtual ~DocumentLinkFeed() = default;
    // Joins the link to its item (once), connecting the conversation when it is not connected.
    virtual void Subscribe(DocumentLink& link) = 0;
    virtual void Unsubscribe(DocumentLink& link) = 0;
    // The link's conversation is connected.
    virtual bool IsConnected(const DocumentLink& link) const = 0;
};
void SetDocumentLinkFeed(DocumentLinkFeed* feed);
DocumentLinkFeed* TheDocumentLinkFeed();

class DocumentLink {
public:
    enum Kind : int32_t { DdeKind = 1, SideFileKind = 2, BlockKind = 3 };
    // Format error of a stored record whose index is negative.
    static constexpr uint32_t FormatBadIndex = 24;

    DocumentLink() = default;
    explicit DocumentLink(int16_t index) : index(index) {}
    DocumentLink(const DocumentLink&) = delete;
    DocumentLink& operator=(const DocumentLink&) = delete;
    // Unsubscribes; a side file never stored with its document is deleted.
    ~DocumentLink();

    // The value's new text, kept without CR and LF; the listener is told.
    void SetValue(const char* text);
    // The text a formula reads: a side file's stored value (empty when the file does not open), else the
    // value.
    void GetItemText(zString& text) const;
    // Points the link at another DDE item, with the value it has now, and subscribes to it.
    void SetSource(const char* newApplication, const char* newTopic, const char* newItem, const char* newValue);
    // A DDE link joins its item again, connecting its conversation when that is not connected.
    void Reconnect();
    void Subscribe();
    void Unsubscribe();
    bool Subscribed() const { return subscribed_; }
    // The feed has gone: the link is no longer subscribed.
    void FeedEnded() { subscribed_ = false; }
    // A side-file link writes the value into its side file (the value, then the document's path).
    bool WriteSideFile(const char* text, const FilePath& documentPath);
    // Copies the side file's value and source path into a new side file at the path.
    bool CopySideFile(const FilePath& path) const;

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
    // Set once the record was stored or loaded (a side file then belongs to the document's file).
    bool loaded = false;
    DocumentLinkListener* listener = nullptr;

private:
    bool subscribed_ = false;
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
    // The link gets the list's listener.
    bool InsertSorted(DocumentLink* link);
    // DocumentLink::Reconnect on every link (after the document is opened).
    void ReconnectAll();
    // The document the links publish moved (Save As): each side file is written again with its value and the
    // new path.
    void DocumentMoved(const FilePath& documentPath);

    // Told of the new values of the list's links.
    DocumentLinkListener* listener = nullptr;
};

// Adds a copy of each link of the source whose index the target does not hold, in source order (the
// copies' descriptions start empty). The number of links added.
int BuildLinkItemList(const DocumentLinkList& source, DocumentLinkList& target);
