#pragma once
// A topic offered by the process's DDE server, and the items of it whose changes clients follow. Topics are
// found by their exact name (letter case counts); each answers the transactions on it through its virtual
// operations. An item lives from the advise start that made it while any conversation advises on it: until
// the last loop on it stops (an advise stop, or the end of the loop's conversation) or its topic ends.

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
    // 3: ends the conversation's loop on the named item, deleting the item with its last loop, and answers
    // DDE_FACK; 0 when the conversation has no loop on such an item.
    virtual uintptr_t AdviseStop(const DdeTransactionInfo& info);

    // The advise start was taken: counts the conversation's loop on the named item, when there is one.
    void StartLoop(const DdeTransactionInfo& info);
    // The conversation ended: ends its loops on the items of every topic and tells every topic.
    static void EndConversation(HCONV conversation);
    // The conversation ended: nothing may be answered on it any more.
    virtual void ConversationEnded(HCONV conversation);
    virtual uintptr_t Execute(const DdeTransactionInfo& info);            // 4
    virtual uintptr_t Poke(const DdeTransactionInfo& info);               // 5

    // The first topic with exactly this name, else with this name in any letter case and with "/" for "\"
    // (a document's topic is its file's path); 0 for a null name.
    static DdeServerTopic* FindTopic(const char* name);
    // The first item of this topic with this name, in any letter case (as the system compares item names);
    // 0 for a null name.
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
    // The same under the given name.
    DdeServerItem(DdeServerTopic* topic, const DdeTransactionInfo& info, const char* name);
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
    // The advise loops on the item, one a conversation.
    size_t Loops() const { return loops_.size(); }

private:
    friend class DdeServerTopic;

    // Ends the conversation's loop; true when it had one.
    bool EndLoop(HCONV conversation);

    DdeServerTopic* topic_;
    std::vector<HCONV> loops_;
    zString name_;
    HSZ handle_;
    ClipboardFormat format_;
};
