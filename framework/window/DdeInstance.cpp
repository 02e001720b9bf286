#include "framework/window/DdeInstance.h"

#include "framework/window/DdeConversation.h"
#include "framework/window/DdeServerTopic.h"
#include "framework/window/TraceMessage.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

DWORD TheServerInstance = 0;
// The server's conversations, from their confirmation to their end.
std::vector<HCONV> ServerConversations;

// The text of a string handle on an instance; empty for no handle or no text.
zString QueryString(DWORD instance, HSZ handle)
{
    if (!handle)
        return zString();
    const DWORD length = DdeQueryStringA(instance, handle, nullptr, 0, CP_WINANSI);
    if (static_cast<int>(length) <= 0)
        return zString();
    std::vector<char> text(length + 1, '\0');
    DdeQueryStringA(instance, handle, text.data(), length + 1, CP_WINANSI);
    return zString(text.data());
}

DdeTransactionInfo MakeInfo(UINT type, UINT format, HCONV conversation, HSZ topic, HSZ item, HDDEDATA data,
                            ULONG_PTR extra1, ULONG_PTR extra2)
{
    DdeTransactionInfo info;
    info.type = type & 0xFFFF;
    info.format = format & 0xFFFF;
    info.conversation = conversation;
    info.topic = topic;
    info.item = item;
    info.data = data;
    info.extra1 = static_cast<uint32_t>(extra1);
    info.extra2 = static_cast<uint32_t>(extra2);
    return info;
}

// The payload's bytes while the scope lives, when there is a payload.
class AccessedData {
public:
    AccessedData(DdeTransactionInfo& info, bool wanted) : data_(wanted ? info.data : nullptr)
    {
        if (data_) {
            DWORD size = 0;
            info.bytes = DdeAccessData(data_, &size);
            info.byteCount = info.bytes ? size : 0;
        }
    }
    ~AccessedData()
    {
        if (data_)
            DdeUnaccessData(data_);
    }
    AccessedData(const AccessedData&) = delete;
    AccessedData& operator=(const AccessedData&) = delete;

private:
    HDDEDATA data_;
};

HDDEDATA Answer(uintptr_t value)
{
    return reinterpret_cast<HDDEDATA>(value);
}

HDDEDATA CALLBACK DdeServerCallback(UINT type, UINT format, HCONV conversation, HSZ topicHandle, HSZ itemHandle,
                                    HDDEDATA data, ULONG_PTR extra1, ULONG_PTR extra2)
{
    DdeTransactionInfo info = MakeInfo(type, format, conversation, topicHandle, itemHandle, data, extra1, extra2);
    if (info.type == XTYP_DISCONNECT) {
        ServerConversations.erase(std::remove(ServerConversations.begin(), ServerConversations.end(), conversation),
                                  ServerConversations.end());
        DdeServerTopic::EndConversation(conversation);
        return nullptr;
    }
    DdeServerTopic* topic = nullptr;
    if (topicHandle)
        topic = DdeServerTopic::FindTopic(QueryString(TheServerInstance, topicHandle).Text());
    if (!topic)
        return nullptr; // unknown topics and wildcard connections are refused
    switch (info.type) {
    case XTYP_CONNECT:
        return Answer(TRUE);
    case XTYP_CONNECT_CONFIRM:
        ServerConversations.push_back(conversation);
        topic->ConnectConfirm(info);
        return nullptr;
    case XTYP_REQUEST:
        return topic->Request(info);
    case XTYP_ADVSTART: {
        const uintptr_t taken = topic->AdviseStart(info);
        if (taken)
            topic->StartLoop(info);
        return Answer(taken);
    }
    case XTYP_ADVSTOP:
        return Answer(topic->AdviseStop(info));
    case XTYP_EXECUTE: {
        AccessedData access(info, true);
        return Answer(topic->Execute(info));
    }
    case XTYP_POKE: {
        AccessedData access(info, true);
        return Answer(topic->Poke(info));
    }
    case XTYP_ADVREQ: {
        DdeServerItem* item = topic->FindItem(info.ItemName().Text());
        return item ? item->RenderValue(info) : nullptr;
    }
    default:
        return nullptr;
    }
}

HDDEDATA CALLBACK DdeClientCallback(UINT type, UINT format, HCONV conversation, HSZ topicHandle, HSZ itemHandle,
                                    HDDEDATA data, ULONG_PTR extra1, ULONG_PTR extra2)
{
    DdeTransactionInfo info = MakeInfo(type, format, conversation, topicHandle, itemHandle, data, extra1, extra2);
    switch (info.type) {
    case XTYP_ADVDATA: {
        DdeAdvise* advise = DdeAdvise::Find(info);
        if (!advise) {
            DdeReportError(1, 0);
            return nullptr;
        }
        AccessedData access(info, true);
        return Answer(advise->OnAdvise(info));
    }
    case XTYP_XACT_COMPLETE:
        return Answer(DdeTransaction::Complete(info));
    case XTYP_DISCONNECT: {
        CONVINFO convInfo{};
        convInfo.cb = sizeof convInfo;
        if (!DdeQueryConvInfo(conversation, QID_SYNC, &convInfo) || !convInfo.hUser)
            return nullptr;
        return Answer(reinterpret_cast<DdeConversation*>(convInfo.hUser)->OnDisconnect(info));
    }
    default:
        return nullptr;
    }
}

} // namespace

zString DdeTransactionInfo::ItemName() const
{
    return QueryString(TheServerInstance, item);
}

void DdeTransactionInfo::ItemNameCopy(zString& out) const
{
    out = ItemName();
}

HDDEDATA DdeTransactionInfo::MakeTextHandle(const char* text) const
{
    if (!text)
        return nullptr;
    const DWORD length = static_cast<DWORD>(std::strlen(text)) + 1;
    return DdeCreateDataHandle(TheServerInstance, reinterpret_cast<LPBYTE>(const_cast<char*>(text)), length, 0, item,
                               CF_TEXT, 0);
}

void DdeReportError(int code, unsigned detail)
{
    switch (code) {
    case 0:
        TraceMessage("Null connection, unable to start Transaction");
        break;
    case 1:
        TraceMessage("Advise for unknown transaction received");
        break;
    case 2:
        TraceMessage("Callback for unknown transaction received");
        break;
    case 3:
        TraceMessage("Unable to create DDE conversation %d", static_cast<int>(detail));
        break;
    case 4:
        TraceMessage("Unable to create DDE transaction %d", static_cast<int>(detail));
        break;
    default:
        TraceMessage("DDE error number(%d,%d)", code, static_cast<int>(detail));
        break;
    }
}

DdeInstance::~DdeInstance()
{
    if (instanceId_)
        DdeUninitialize(instanceId_);
}

void DdeInstance::Initialise(PFNCALLBACK callback, DWORD flags)
{
    initResult_ = DdeInitializeA(&instanceId_, callback, flags, 0);
    if (initResult_ != DMLERR_NO_ERROR) {
        DdeReportError(5, initResult_);
        instanceId_ = 0;
    }
}

DdeClient::DdeClient()
{
    Initialise(DdeClientCallback, APPCMD_CLIENTONLY);
}

DdeServer::DdeServer(const char* serviceName)
{
    Initialise(DdeServerCallback, 0);
    TheServerInstance = instanceId_;
    if (initResult_ != DMLERR_NO_ERROR)
        return;
    service_ = DdeCreateStringHandleA(instanceId_, serviceName, CP_WINANSI);
    DdeNameService(instanceId_, service_, nullptr, DNS_REGISTER);
}

DdeServer::~DdeServer()
{
    if (service_) {
        DdeNameService(instanceId_, service_, nullptr, DNS_UNREGISTER);
        DdeFreeStringHandle(instanceId_, service_);
    }
    if (TheServerInstance == instanceId_)
        TheServerInstance = 0;
}

DWORD DdeServer::ServerInstance()
{
    return TheServerInstance;
}

bool DdeServer::ServesOtherThreads()
{
    for (const HCONV conversation : ServerConversations) {
        CONVINFO info{};
        info.cb = sizeof info;
        if (DdeQueryConvInfo(conversation, QID_SYNC, &info) && IsWindow(info.hwndPartner) &&
            GetWindowThreadProcessId(info.hwndPartner, nullptr) != GetCurrentThreadId())
            return true;
    }
    return false;
}
