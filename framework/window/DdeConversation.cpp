#include "framework/window/DdeConversation.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

std::vector<DdeAdvise*>& Advises()
{
    static std::vector<DdeAdvise*> advises;
    return advises;
}

HSZ MakeHandle(DWORD instance, const char* text)
{
    return instance ? DdeCreateStringHandleA(instance, text, CP_WINANSI) : nullptr;
}

} // namespace

DdeConversation::DdeConversation(DdeClient* client, const char* serviceName, const char* topicName)
    : client_(client), topicName_(topicName ? topicName : ""), serviceName_(serviceName ? serviceName : ""),
      topicHandle_(MakeHandle(ClientInstance(), topicName_.Text())),
      serviceHandle_(MakeHandle(ClientInstance(), serviceName_.Text()))
{
    Connect();
}

bool DdeConversation::Connect()
{
    if (connected_)
        return true;
    handle_ = DdeConnect(ClientInstance(), serviceHandle_, topicHandle_, nullptr);
    if (!handle_) {
        DdeReportError(3, DdeGetLastError(ClientInstance()));
        return false;
    }
    connected_ = 1;
    DdeSetUserHandle(handle_, QID_SYNC, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

DdeConversation::~DdeConversation()
{
    if (connected_)
        DdeDisconnect(handle_);
    if (topicHandle_)
        DdeFreeStringHandle(ClientInstance(), topicHandle_);
    if (serviceHandle_)
        DdeFreeStringHandle(ClientInstance(), serviceHandle_);
}

void DdeConversation::Disconnect()
{
    if (connected_ && handle_)
        DdeDisconnect(handle_);
    connected_ = 0;
    handle_ = nullptr;
}

uintptr_t DdeConversation::OnDisconnect(const DdeTransactionInfo&)
{
    connected_ = 0;
    return DDE_FACK;
}

DdeTransaction::DdeTransaction(DdeConversation* conversation, const char* itemName, const ClipboardFormat& format)
    : conversation_(conversation), format_(format.Number())
{
    // A longer name is cut to the copy's capacity.
    std::strncpy(itemName_, itemName ? itemName : "", ItemNameCapacity - 1);
    itemName_[ItemNameCapacity - 1] = '\0';
    if (!conversation_) {
        DdeReportError(0, 0);
        return;
    }
    itemHandle_ = MakeHandle(conversation_->ClientInstance(), itemName_);
}

DdeTransaction::~DdeTransaction()
{
    if (transactionWord_ && !completed_ && conversation_)
        DdeAbandonTransaction(conversation_->ClientInstance(), conversation_->Handle(), transactionWord_);
    if (itemHandle_ && conversation_)
        DdeFreeStringHandle(conversation_->ClientInstance(), itemHandle_);
}

uintptr_t DdeTransaction::OnComplete(const DdeTransactionInfo&)
{
    return 0;
}

bool DdeTransaction::StartAsync(UINT type)
{
    DWORD number = 0;
    if (!DdeClientTransaction(nullptr, 0, conversation_->Handle(), itemHandle_, format_, type, TIMEOUT_ASYNC,
                              &number))
        return false;
    transactionWord_ = number;
    return DdeSetUserHandle(conversation_->Handle(), number, reinterpret_cast<DWORD_PTR>(this)) != 0;
}

uintptr_t DdeTransaction::Complete(DdeTransactionInfo& info)
{
    CONVINFO convInfo{};
    convInfo.cb = sizeof convInfo;
    if (!DdeQueryConvInfo(info.conversation, info.extra1, &convInfo))
        return 0;
    auto* transaction = reinterpret_cast<DdeTransaction*>(convInfo.hUser);
    if (!transaction) {
        DdeReportError(2, 0);
        return 0;
    }
    transaction->completed_ = true;
    const bool autoDelete = transaction->AutoDelete();
    const bool access = info.data && autoDelete;
    if (access) {
        DWORD size = 0;
        info.bytes = DdeAccessData(info.data, &size);
        info.byteCount = info.bytes ? size : 0;
    }
    const uintptr_t answer = transaction->OnComplete(info);
    if (access)
        DdeUnaccessData(info.data);
    if (autoDelete) {
        // The number names nothing any more: a late second completion finds no object.
        DdeSetUserHandle(info.conversation, info.extra1, 0);
        delete transaction;
    }
    return answer;
}

DdeRequest::DdeRequest(DdeConversation* conversation, const char* itemName, const ClipboardFormat& format,
                       unsigned timeoutSeconds)
    : DdeTransaction(conversation, itemName, format)
{
    if (!conversation_) {
        DdeReportError(0, 0);
        return;
    }
    bool started = false;
    if (timeoutSeconds == 0) {
        started = StartAsync(XTYP_REQUEST);
    } else {
        DWORD result = 0;
        payload_ = DdeClientTransaction(nullptr, 0, conversation_->Handle(), itemHandle_, format_, XTYP_REQUEST,
                                        timeoutSeconds * 1000, &result);
        transactionWord_ = result;
        completed_ = true;
        started = payload_ != nullptr;
    }
    if (!started)
        DdeReportError(5, DdeGetLastError(conversation_->ClientInstance()));
}

DdeAdvise::DdeAdvise(DdeConversation* conversation, const char* itemName, const ClipboardFormat& format)
    : DdeTransaction(conversation, itemName, format)
{
    autoDelete_ = 0;
    Advises().push_back(this);
    if (!conversation_) {
        DdeReportError(0, 0);
        return;
    }
    if (!StartAsync(XTYP_ADVSTART))
        DdeReportError(4, DdeGetLastError(conversation_->ClientInstance()));
}

DdeAdvise::~DdeAdvise()
{
    if (transactionWord_ && conversation_)
        DdeSetUserHandle(conversation_->Handle(), transactionWord_, 0);
    auto& advises = Advises();
    const auto own = std::find(advises.begin(), advises.end(), this);
    if (own != advises.end())
        advises.erase(own);
    // Once its start has completed the loop runs in the server: stop it there. The stop is not waited for
    // (some libraries answer it only when the wait runs out) and its answer is not wanted.
    if (completed_ && conversation_ && conversation_->IsConnected()) {
        DWORD number = 0;
        if (DdeClientTransaction(nullptr, 0, conversation_->Handle(), itemHandle_, format_, XTYP_ADVSTOP,
                                 TIMEOUT_ASYNC, &number))
            DdeAbandonTransaction(conversation_->ClientInstance(), conversation_->Handle(), number);
    }
}

uintptr_t DdeAdvise::OnAdvise(const DdeTransactionInfo&)
{
    return DDE_FACK;
}

DdeAdvise* DdeAdvise::Find(const DdeTransactionInfo& info)
{
    for (DdeAdvise* advise : Advises()) {
        if (!advise->conversation_)
            continue;
        if (DdeCmpStringHandles(advise->itemHandle_, info.item) == 0 &&
            DdeCmpStringHandles(advise->conversation_->TopicHandle(), info.topic) == 0)
            return advise;
    }
    return nullptr;
}
