#pragma once
// The DDE management library's two roles. A DdeServer registers one service name and answers the
// conversations on its topics (DdeServerTopic); a DdeClient opens conversations with other programs
// (DdeConversation) and runs transactions on them. Every library callback becomes a call of a virtual
// operation of the object concerned. Both callbacks run on the thread of the message loop, inside message
// dispatch (also while it waits in a synchronous transaction). String handles use code page CP_WINANSI.

#include "foundation/zString.h"
#include "framework/window/ClipboardFormat.h"

#include <windows.h>

#include <ddeml.h>

#include <cstdint>

// What a callback received, passed to the virtual operations. The payload bytes are accessed only for
// executes, pokes, advise data and completed transactions that want them.
struct DdeTransactionInfo {
    uint32_t byteCount = 0;
    const uint8_t* bytes = nullptr;
    uint32_t type = 0;   // XTYP_ (low 16 bits)
    uint32_t format = 0; // clipboard format number (low 16 bits)
    HCONV conversation = nullptr;
    HSZ topic = nullptr;
    HSZ item = nullptr;
    HDDEDATA data = nullptr;
    uint32_t extra1 = 0;
    uint32_t extra2 = 0;

    // The text of the item handle on the server instance; empty when there is none.
    zString ItemName() const;
    void ItemNameCopy(zString& out) const;
    ClipboardFormat Format() const { return ClipboardFormat(format); }
    // A CF_TEXT payload over the text and its terminating zero for this item, on the server instance; 0 for
    // a null text.
    HDDEDATA MakeTextHandle(const char* text) const;
};

// Writes one trace line: 0 "Null connection, unable to start Transaction", 1 "Advise for unknown transaction
// received", 2 "Callback for unknown transaction received", 3 "Unable to create DDE conversation %d", 4
// "Unable to create DDE transaction %d", others "DDE error number(%d,%d)" with the code and the detail.
void DdeReportError(int code, unsigned detail);

class DdeInstance {
public:
    DdeInstance() = default;
    DdeInstance(const DdeInstance&) = delete;
    DdeInstance& operator=(const DdeInstance&) = delete;
    // Ends every conversation of the instance and frees it.
    virtual ~DdeInstance();

    DWORD InstanceId() const { return instanceId_; }
    // 0 on success, else the DMLERR_ code of the initialisation.
    UINT InitResult() const { return initResult_; }

protected:
    void Initialise(PFNCALLBACK callback, DWORD flags);

    DWORD instanceId_ = 0;
    UINT initResult_ = 0;
};

class DdeClient : public DdeInstance {
public:
    DdeClient();
};

// One server per process: its instance is the one every server-side string and payload handle uses.
class DdeServer : public DdeInstance {
public:
    explicit DdeServer(const char* serviceName);
    ~DdeServer() override;

    // The instance of the process's server; 0 when there is none.
    static DWORD ServerInstance();
    // A conversation of the server has its partner on another thread: that client may be waiting for an
    // answer at any moment, answering no message meanwhile.
    static bool ServesOtherThreads();

private:
    HSZ service_ = nullptr;
};
