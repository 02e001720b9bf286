#pragma once
// A topic offered by the process's DDE server, and the items of it whose changes clients follow. Topics are
// found by their exact name (letter case counts); each answers the transactions on it through its virtual
// operations. An item lives from the advise start that made it until its advise stop or its topic's end.

#include "framework/window/DdeInstance.h"

#include <vector>

class DdeServerItem;

class DdeServerTopic {
public:
    // Joins the process-wide topic list.
    DdeServerTopic(DdeServer* server, const char* name);
    DdeServerTopic(const DdeServerTopic&) = delete;
    DdeServerTopic& operator=(const DdeServerTopic&) = delete;
    // Leaves the list, deletes every item and frees the topic handle.
    virtual ~DdeServerTopic();

    virtual void ConnectConfirm(const DdeTransactionInfo& info);          // 0
    virtual HDDEDATA Request(const DdeTransactionInfo& info);             // 1: payload, 0 for nothing
    virtual uintptr_t AdviseStart(const DdeTransactionInfo& info);        // 2: 0 refuses the loop
    // 3: deletes the named item and answers DDE_FACK; 0 when the topic has no such item.
    virtual uintptr_t AdviseStop(const DdeTransactionInfo& info);
    virtual uintptr_t Execute(const DdeTransactionInfo& info);            // 4
    virtual uintptr_t Poke(const DdeTransactionInfo& info);               // 5

    // The first topic with exactly this name; 0 for a null name.
    static DdeServerTopic* FindTopic(const char* name);
    // The first item of this topic with exactly this name; 0 for a null name.
    DdeServerItem* FindItem(const char* name) const;

    const zString& Name() const { return name_; }
    HSZ TopicHandle() const { return handle_; }
    DdeServer* Server() const { return server_; }

private:
    friend class DdeServerItem;

    DdeServer* server_;
    zString name_;
    HSZ handle_;
    std::vector<DdeServerItem*> items_;
};

class DdeServerItem {
public:
    // Named and formatted after the transaction that made it; joins the topic's items.
    DdeServerItem(DdeServerTopic* topic, const DdeTransactionInfo& info);
    DdeServerItem(const DdeServerItem&) = delete;
    DdeServerItem& operator=(const DdeServerItem&) = delete;
    // Leaves the topic's items and frees the item handle.
    virtual ~DdeServerItem();

    // 0: the payload of the item's current value; 0 for none.
    virtual HDDEDATA RenderValue(const DdeTransactionInfo& info);

    // Tells the library that the value changed; it then asks RenderValue for every advise loop on the item.
    void PostAdvise();

    const zString& Name() const { return name_; }
    const ClipboardFormat& Format() const { return format_; }
    DdeServerTopic* Topic() const { return topic_; }

private:
    DdeServerTopic* topic_;
    zString name_;
    HSZ handle_;
    ClipboardFormat format_;
};
