#pragma once
// The document links' manager: the program's DDE server under its service name, its DDE client, and the
// clipboard format "ObjectLink" that links travel in between programs: the service name, the topic and the
// item, each ended by a zero byte, then one more zero byte. The same copy puts the value as text.
//
// It also feeds the documents' DDE links: one client conversation per service and topic, one hot advise
// loop per item of it, and each value that arrives goes to every link subscribed to the item. A conversation
// whose server is absent stays unconnected with its items kept, until a later connect finds the server.

#include "foundation/zString.h"
#include "framework/window/ClipboardFormat.h"
#include "framework/window/DdeConversation.h"
#include "framework/window/DdeInstance.h"
#include "model/DocumentLink.h"

#include <memory>
#include <string>
#include <vector>

class Clipboard;
class DdeClientLink;

// One item of a conversation: its advise loop while connected, the last value and the links it feeds.
class DdeLinkItem {
public:
    DdeLinkItem(DdeClientLink& conversation, const char* name);
    DdeLinkItem(const DdeLinkItem&) = delete;
    DdeLinkItem& operator=(const DdeLinkItem&) = delete;
    ~DdeLinkItem();

    // Starts the hot advise loop (stopping one that runs) and asks for the current value without waiting.
    void StartAdvise();
    // Forgets the loop and the pending request (the conversation ended).
    void DropAdvise();
    // A value arrived: kept, and passed to every subscriber in order.
    void Receive(const char* text);

    const zString& Name() const { return name_; }
    bool HasValue() const { return hasValue_; }
    const zString& Value() const { return value_; }
    bool Advising() const { return advise_ != nullptr; }

    std::vector<DocumentLink*> subscribers;

private:
    class Advise;
    class ValueRequest;

    DdeClientLink& conversation_;
    zString name_;
    zString value_;
    bool hasValue_ = false;
    std::unique_ptr<Advise> advise_;
    ValueRequest* pending_ = nullptr;
};

// The conversation with one service on one topic. It has a client instance of its own: a partner that
// ended without saying so can leave the library holding the old conversation, refusing a new one with the
// same names on that instance, so a conversation that lost its partner starts afresh on a new instance.
// A connect that finds no server is tried again after a wait that doubles with each failure.
class DdeClientLink {
public:
    // Unconnected, its first try due at once.
    DdeClientLink(const char* service, const char* topic);
    DdeClientLink(const DdeClientLink&) = delete;
    DdeClientLink& operator=(const DdeClientLink&) = delete;
    ~DdeClientLink();

    // Connects when not connected and starts the advise of every item; a failure sets the next try.
    bool Reconnect();
    // Connected, and the partner's window still there: a server that ended without saying so is noticed.
    bool Alive();
    bool IsConnected() const { return conversation_ && conversation_->IsConnected(); }
    // Not connected, and its next try has come (at once for one never tried).
    bool Due(DWORD now) const;
    // Milliseconds from now until the next try; 0 when due.
    DWORD WaitBeforeTry(DWORD now) const;
    // The next try comes at once (the partner may have started), the wait after a failure kept.
    void TryAtOnce() { tryAt_ = GetTickCount(); }
    DdeConversation* Conversation() const { return conversation_.get(); }
    const std::string& ServiceName() const { return service_; }
    const std::string& TopicName() const { return topic_; }

    DdeLinkItem* FindItem(const char* name) const;

    std::vector<std::unique_ptr<DdeLinkItem>> items;

private:
    class Partner;
    // The loops ended with the conversation.
    void DropAdvises();

    std::string service_;
    std::string topic_;
    std::unique_ptr<DdeClient> client_;
    std::unique_ptr<DdeConversation> conversation_;
    DWORD tryAt_;
    DWORD retryWait_ = 0;
};

class DdeLinkManager : public DocumentLinkFeed {
public:
    // Becomes the documents' link feed until it is deleted.
    DdeLinkManager(Clipboard* clipboard, const char* serviceName);
    DdeLinkManager(const DdeLinkManager&) = delete;
    DdeLinkManager& operator=(const DdeLinkManager&) = delete;
    ~DdeLinkManager() override;

    DdeServer& Server() { return server_; }
    const ClipboardFormat& ObjectLinkFormat() const { return objectLink_; }
    Clipboard* LinkClipboard() const { return clipboard_; }

    // Empties the clipboard, then puts the text and a link to the item of the topic on this service; false
    // when the clipboard took neither.
    bool CopyLinkToClipboard(const char* topic, const char* item, const char* text);
    // The clipboard holds a link and its text.
    bool CanPasteLink() const;
    // The link on the clipboard; false when there is none or its three texts do not end within the block.
    bool ReadClipboardLink(zString& application, zString& topic, zString& item);

    // The conversation with the service on the topic (exact names); made when there is none, and
    // connected when free (ConnectWhenFree).
    DdeClientLink* GetConversation(const char* service, const char* topic);
    DdeClientLink* FindConversation(const char* service, const char* topic) const;
    // Connects the conversations whose try is due (after a document is opened), when free.
    void ReconnectAll() { ConnectWhenFree(); }
    // Every unconnected conversation is tried at once when free: the person came back to the program, and
    // a program that a link names may have started meanwhile.
    void RetryAll();
    // A connect asks every top-level window of every program in turn and waits for each: a program that
    // waits for this one's answer cannot answer it, and both wait. So conversations connect only while no
    // client of this program's server is in a conversation, no execute is held and no DDE message waits
    // here; otherwise, and for tries not yet due, a timer tries again.
    void ConnectWhenFree();
    // While held (a client waits for the answer of the commands that run), no conversation connects.
    void HoldConnections() { ++held_; }
    void ReleaseConnections();
    size_t ConversationCount() const { return conversations_.size(); }

    // The link joins its item (made when missing) once, and gets the item's value when it has one.
    void Subscribe(DocumentLink& link) override;
    // The link leaves its item; an item without links goes, and a conversation without items.
    void Unsubscribe(DocumentLink& link) override;
    bool IsConnected(const DocumentLink& link) const override;

private:
    Clipboard* clipboard_;
    std::string serviceName_;
    ClipboardFormat objectLink_;
    DdeServer server_;
    std::vector<std::unique_ptr<DdeClientLink>> conversations_;
    // Free to connect now (see ConnectWhenFree).
    bool FreeToConnect() const;
    // The timer fires once after the milliseconds; an earlier one wins.
    void ArmTimer(DWORD milliseconds);
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD);

    DocumentLinkFeed* previousFeed_;
    int held_ = 0;
    UINT_PTR timer_ = 0;
    DWORD timerAt_ = 0;
};
