#pragma once
// The client side of DDE: a conversation with another program's service and topic, and the transactions run
// on it. A request with a time-out waits for its answer; one without is asynchronous and deletes itself after
// its completion. An advise starts a loop that delivers the item's new values until its owner deletes it.

#include "framework/window/DdeInstance.h"

class DdeConversation {
public:
    // Connects at once; on failure the conversation stays unconnected and the failure is reported.
    DdeConversation(DdeClient* client, const char* serviceName, const char* topicName);
    DdeConversation(const DdeConversation&) = delete;
    DdeConversation& operator=(const DdeConversation&) = delete;
    // Disconnects when connected and frees both handles.
    virtual ~DdeConversation();

    // 0: the partner ended the conversation; marks it unconnected and answers DDE_FACK.
    virtual uintptr_t OnDisconnect(const DdeTransactionInfo& info);
    // Connects again when not connected; true when connected afterwards. A failure is reported.
    bool Connect();
    // Ends the conversation on this side (its partner may have gone without saying so).
    void Disconnect();

    bool IsConnected() const { return connected_ != 0; }
    const zString& ServiceName() const { return serviceName_; }
    const zString& TopicName() const { return topicName_; }
    HCONV Handle() const { return handle_; }
    DdeClient* Client() const { return client_; }
    DWORD ClientInstance() const { return client_ ? client_->InstanceId() : 0; }
    HSZ TopicHandle() const { return topicHandle_; }

private:
    DdeClient* client_;
    uint32_t connected_ = 0;
    HCONV handle_ = nullptr;
    zString topicName_;
    zString serviceName_;
    HSZ topicHandle_;
    HSZ serviceHandle_;
};

class DdeTransaction {
public:
    static constexpr size_t ItemNameCapacity = 100; // the terminating zero included

    DdeTransaction(const DdeTransaction&) = delete;
    DdeTransaction& operator=(const DdeTransaction&) = delete;
    // Abandons a transaction still pending and frees the item handle.
    virtual ~DdeTransaction();

    // 0: the asynchronous transaction completed; answers the library.
    virtual uintptr_t OnComplete(const DdeTransactionInfo& info);

    // A transaction that deletes itself once completed.
    bool AutoDelete() const { return autoDelete_ != 0; }
    // The transaction number of an asynchronous transaction, the result word of a synchronous one.
    DWORD TransactionWord() const { return transactionWord_; }
    const char* ItemName() const { return itemName_; }

    // The client callback's handling of XTYP_XACT_COMPLETE.
    static uintptr_t Complete(DdeTransactionInfo& info);

protected:
    // No conversation is reported and leaves the item handle 0.
    DdeTransaction(DdeConversation* conversation, const char* itemName, const ClipboardFormat& format);
    // Starts the transaction asynchronously and makes this object its user value; false (nothing pending)
    // when either step fails.
    bool StartAsync(UINT type);

    DdeConversation* conversation_;
    DWORD transactionWord_ = 0;
    uint32_t format_;
    HSZ itemHandle_ = nullptr;
    char itemName_[ItemNameCapacity];
    uint32_t autoDelete_ = 1;
    bool completed_ = false; // the completion of the asynchronous transaction arrived
};

class DdeRequest : public DdeTransaction {
public:
    // XTYP_REQUEST: a time-out of 0 seconds runs it asynchronously, n seconds wait n x 1000 ms.
    DdeRequest(DdeConversation* conversation, const char* itemName, const ClipboardFormat& format,
               unsigned timeoutSeconds);

    // The answer of a synchronous request; 0 until one arrived. The caller reads and frees it.
    HDDEDATA Payload() const { return payload_; }

private:
    HDDEDATA payload_ = nullptr;
};

class DdeAdvise : public DdeTransaction {
public:
    // XTYP_ADVSTART, always asynchronous; the advise joins the process-wide advise list first.
    DdeAdvise(DdeConversation* conversation, const char* itemName, const ClipboardFormat& format);
    // Leaves the list; abandons the start while it is pending, or stops the running loop (a synchronous
    // XTYP_ADVSTOP waiting 5000 ms).
    ~DdeAdvise() override;

    // 2: a new value arrived; answers DDE_FACK.
    virtual uintptr_t OnAdvise(const DdeTransactionInfo& info);

    // The first advise on the info's topic and item; 0 when none.
    static DdeAdvise* Find(const DdeTransactionInfo& info);
};
