#include "widgets/DdeLinkManager.h"

#include "framework/window/Clipboard.h"

#include <dde.h>

#include <algorithm>
#include <cstring>

namespace {

// The text of a CF_TEXT payload, up to its zero byte or its end.
bool PayloadText(const DdeTransactionInfo& info, std::string& text)
{
    if (info.bytes == nullptr || info.format != CF_TEXT)
        return false;
    const void* zero = std::memchr(info.bytes, '\0', info.byteCount);
    const size_t length = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - info.bytes) : info.byteCount;
    text.assign(reinterpret_cast<const char*>(info.bytes), length);
    return true;
}

// The wait before the second try of a conversation whose server was absent, doubled for each later try up
// to the longest.
// not a resource id
constexpr DWORD kFirstRetryWait = 2000;
constexpr DWORD kLongestRetryWait = 60000;
// While not free to connect, the next look.
constexpr DWORD kBusyLookWait = 1000;

// The tick has come.
bool Reached(DWORD now, DWORD tick)
{
    return static_cast<int32_t>(now - tick) >= 0;
}

// The managers with a timer set, found again by the timer's number.
std::vector<DdeLinkManager*>& TimedManagers()
{
    static std::vector<DdeLinkManager*> managers;
    return managers;
}

} // namespace

// The hot advise loop of an item: every new value of the item arrives here.
class DdeLinkItem::Advise : public DdeAdvise {
public:
    Advise(DdeLinkItem& item, DdeConversation* conversation)
        : DdeAdvise(conversation, item.Name().Text(), ClipboardFormat::Text), item_(item)
    {
    }
    uintptr_t OnAdvise(const DdeTransactionInfo& info) override
    {
        std::string text;
        if (PayloadText(info, text))
            item_.Receive(text.c_str());
        return DDE_FACK;
    }

private:
    DdeLinkItem& item_;
};

// The item's current value, asked for without waiting when its loop starts (a loop sends only changes).
class DdeLinkItem::ValueRequest : public DdeRequest {
public:
    ValueRequest(DdeLinkItem& item, DdeConversation* conversation)
        : DdeRequest(conversation, item.Name().Text(), ClipboardFormat::Text, 0), item_(&item)
    {
    }
    ~ValueRequest() override
    {
        if (item_ != nullptr)
            item_->pending_ = nullptr;
    }
    uintptr_t OnComplete(const DdeTransactionInfo& info) override
    {
        std::string text;
        if (item_ != nullptr && PayloadText(info, text))
            item_->Receive(text.c_str());
        return DDE_FACK;
    }
    void Forget() { item_ = nullptr; }

private:
    DdeLinkItem* item_;
};

DdeLinkItem::DdeLinkItem(DdeClientLink& conversation, const char* name) : conversation_(conversation), name_(name)
{
}

DdeLinkItem::~DdeLinkItem()
{
    DropAdvise();
}

void DdeLinkItem::StartAdvise()
{
    advise_.reset();
    if (!conversation_.IsConnected())
        return;
    advise_ = std::make_unique<Advise>(*this, conversation_.Conversation());
    if (advise_->TransactionWord() == 0)
        advise_.reset();
    if (pending_ == nullptr) {
        pending_ = new ValueRequest(*this, conversation_.Conversation());
        if (pending_->TransactionWord() == 0)
            delete pending_;
    }
}

void DdeLinkItem::DropAdvise()
{
    advise_.reset();
    if (pending_ != nullptr) {
        pending_->Forget();
        delete pending_;
        pending_ = nullptr;
    }
}

void DdeLinkItem::Receive(const char* text)
{
    // An unchanged value changes nothing: two documents linked both ways would otherwise echo for ever.
    if (hasValue_ && value_ == text)
        return;
    value_ = text;
    hasValue_ = true;
    // A subscriber's refresh may change the list.
    const std::vector<DocumentLink*> fed = subscribers;
    for (DocumentLink* link : fed)
        link->SetValue(text);
}

// The conversation itself: told by the library when the partner ends it.
class DdeClientLink::Partner : public DdeConversation {
public:
    Partner(DdeClientLink& link, DdeClient* client)
        : DdeConversation(client, link.service_.c_str(), link.topic_.c_str()), link_(link)
    {
    }
    uintptr_t OnDisconnect(const DdeTransactionInfo& info) override
    {
        const uintptr_t answer = DdeConversation::OnDisconnect(info);
        link_.DropAdvises();
        return answer;
    }

private:
    DdeClientLink& link_;
};

DdeClientLink::DdeClientLink(const char* service, const char* topic)
    : service_(service), topic_(topic), client_(std::make_unique<DdeClient>()), tryAt_(GetTickCount())
{
}

DdeClientLink::~DdeClientLink()
{
    // Ending the conversation ends its loops in the server; each stop asked for would only wait. The
    // conversation ends before its instance.
    if (conversation_)
        conversation_->Disconnect();
    items.clear();
    conversation_.reset();
}

void DdeClientLink::DropAdvises()
{
    for (const auto& item : items)
        item->DropAdvise();
}

bool DdeClientLink::Alive()
{
    if (!IsConnected())
        return false;
    CONVINFO info{};
    info.cb = sizeof info;
    if (DdeQueryConvInfo(conversation_->Handle(), QID_SYNC, &info) && (info.wStatus & ST_CONNECTED) != 0 &&
        IsWindow(info.hwndPartner))
        return true;
    DropAdvises();
    conversation_->Disconnect();
    return false;
}

bool DdeClientLink::Reconnect()
{
    if (Alive())
        return true;
    DropAdvises();
    conversation_.reset();
    client_ = std::make_unique<DdeClient>();
    conversation_ = std::make_unique<Partner>(*this, client_.get());
    if (!conversation_->IsConnected()) {
        retryWait_ = retryWait_ == 0 ? kFirstRetryWait : std::min(retryWait_ * 2, kLongestRetryWait);
        tryAt_ = GetTickCount() + retryWait_;
        return false;
    }
    retryWait_ = 0;
    for (const auto& item : items)
        item->StartAdvise();
    return true;
}

bool DdeClientLink::Due(DWORD now) const
{
    return !IsConnected() && Reached(now, tryAt_);
}

DWORD DdeClientLink::WaitBeforeTry(DWORD now) const
{
    return Reached(now, tryAt_) ? 0 : tryAt_ - now;
}

DdeLinkItem* DdeClientLink::FindItem(const char* name) const
{
    for (const auto& item : items) {
        if (std::strcmp(item->Name().Text(), name) == 0)
            return item.get();
    }
    return nullptr;
}

DdeLinkManager::DdeLinkManager(Clipboard* clipboard, const char* serviceName)
    : clipboard_(clipboard), serviceName_(serviceName), objectLink_(ClipboardFormat::Register("ObjectLink")),
      server_(serviceName), previousFeed_(TheDocumentLinkFeed())
{
    SetDocumentLinkFeed(this);
}

DdeLinkManager::~DdeLinkManager()
{
    ArmTimer(0);
    for (const auto& conversation : conversations_)
        for (const auto& item : conversation->items)
            for (DocumentLink* link : item->subscribers)
                link->FeedEnded();
    conversations_.clear();
    if (TheDocumentLinkFeed() == this)
        SetDocumentLinkFeed(previousFeed_);
}

DdeClientLink* DdeLinkManager::FindConversation(const char* service, const char* topic) const
{
    for (const auto& conversation : conversations_) {
        if (conversation->ServiceName() == service && conversation->TopicName() == topic)
            return conversation.get();
    }
    return nullptr;
}

DdeClientLink* DdeLinkManager::GetConversation(const char* service, const char* topic)
{
    DdeClientLink* conversation = FindConversation(service, topic);
    if (conversation == nullptr) {
        conversations_.push_back(std::make_unique<DdeClientLink>(service, topic));
        conversation = conversations_.back().get();
    }
    ConnectWhenFree();
    return conversation;
}

void DdeLinkManager::RetryAll()
{
    for (const auto& conversation : conversations_)
        conversation->TryAtOnce();
    ConnectWhenFree();
}

bool DdeLinkManager::FreeToConnect() const
{
    MSG waiting;
    return held_ == 0 && !DdeServer::ServesOtherThreads() &&
           !PeekMessageA(&waiting, nullptr, WM_DDE_FIRST, WM_DDE_LAST, PM_NOREMOVE);
}

void DdeLinkManager::ConnectWhenFree()
{
    const bool free = FreeToConnect();
    DWORD now = GetTickCount();
    DWORD nextTry = 0;
    bool waiting = false;
    // By index: a connect serves other programs' messages while it waits.
    for (size_t i = 0; i < conversations_.size(); ++i) {
        DdeClientLink* conversation = conversations_[i].get();
        if (conversation->IsConnected())
            continue;
        if (free && conversation->Due(now)) {
            conversation->Reconnect();
            now = GetTickCount();
        }
        if (conversation->IsConnected())
            continue;
        const DWORD wait = std::max(conversation->WaitBeforeTry(now), free ? 0 : kBusyLookWait);
        nextTry = waiting ? std::min(nextTry, wait) : wait;
        waiting = true;
    }
    if (waiting)
        ArmTimer(std::max<DWORD>(nextTry, 1));
}

void DdeLinkManager::ArmTimer(DWORD milliseconds)
{
    auto& timed = TimedManagers();
    const DWORD now = GetTickCount();
    if (timer_ != 0 && milliseconds != 0 && !Reached(timerAt_, now + milliseconds))
        return;
    if (timer_ != 0) {
        KillTimer(nullptr, timer_);
        timed.erase(std::remove(timed.begin(), timed.end(), this), timed.end());
        timer_ = 0;
    }
    if (milliseconds == 0)
        return;
    timer_ = SetTimer(nullptr, 0, milliseconds, &DdeLinkManager::OnTimer);
    timerAt_ = now + milliseconds;
    if (timer_ != 0)
        timed.push_back(this);
}

void CALLBACK DdeLinkManager::OnTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    auto& timed = TimedManagers();
    const auto found = std::find_if(timed.begin(), timed.end(),
                                    [timer](const DdeLinkManager* manager) { return manager->timer_ == timer; });
    if (found == timed.end()) {
        KillTimer(nullptr, timer);
        return;
    }
    DdeLinkManager* manager = *found;
    manager->ArmTimer(0);
    manager->ConnectWhenFree();
}

void DdeLinkManager::ReleaseConnections()
{
    if (held_ > 0 && --held_ == 0)
        ConnectWhenFree();
}

void DdeLinkManager::Subscribe(DocumentLink& link)
{
    if (link.kind != DocumentLink::DdeKind)
        return;
    DdeClientLink* conversation = FindConversation(link.application.Text(), link.topic.Text());
    DdeLinkItem* item = conversation ? conversation->FindItem(link.item.Text()) : nullptr;
    if (item != nullptr && std::count(item->subscribers.begin(), item->subscribers.end(), &link) != 0)
        return;
    // A link moved to another source leaves its old item first.
    Unsubscribe(link);
    conversation = GetConversation(link.application.Text(), link.topic.Text());
    item = conversation->FindItem(link.item.Text());
    if (item == nullptr) {
        conversation->items.push_back(std::make_unique<DdeLinkItem>(*conversation, link.item.Text()));
        item = conversation->items.back().get();
        item->StartAdvise();
    }
    item->subscribers.push_back(&link);
    if (item->HasValue())
        link.SetValue(item->Value().Text());
}

void DdeLinkManager::Unsubscribe(DocumentLink& link)
{
    for (auto conversation = conversations_.begin(); conversation != conversations_.end(); ++conversation) {
        auto& items = (*conversation)->items;
        for (auto item = items.begin(); item != items.end(); ++item) {
            auto& subscribers = (*item)->subscribers;
            const auto found = std::find(subscribers.begin(), subscribers.end(), &link);
            if (found == subscribers.end())
                continue;
            subscribers.erase(found);
            if (subscribers.empty())
                items.erase(item);
            if (items.empty())
                conversations_.erase(conversation);
            return;
        }
    }
}

bool DdeLinkManager::IsConnected(const DocumentLink& link) const
{
    for (const auto& conversation : conversations_)
        for (const auto& item : conversation->items)
            if (std::count(item->subscribers.begin(), item->subscribers.end(), &link) != 0)
                return conversation->Alive();
    return false;
}

bool DdeLinkManager::CopyLinkToClipboard(const char* topic, const char* item, const char* text)
{
    if (clipboard_ == nullptr)
        return false;
    clipboard_->Empty();
    // The block's last zero byte is the clipboard's own.
    std::string link = serviceName_;
    link.push_back('\0');
    link += topic;
    link.push_back('\0');
    link += item;
    link.push_back('\0');
    const int putText = clipboard_->PutText(text);
    const int putLink = clipboard_->PutBlock(link.data(), static_cast<uint32_t>(link.size()), objectLink_);
    return putText != 0 || putLink != 0;
}

bool DdeLinkManager::CanPasteLink() const
{
    return clipboard_ != nullptr && clipboard_->HasFormat(objectLink_) && clipboard_->HasText();
}

bool DdeLinkManager::ReadClipboardLink(zString& application, zString& topic, zString& item)
{
    if (clipboard_ == nullptr)
        return false;
    uint32_t size = 0;
    const std::unique_ptr<uint8_t[]> block(clipboard_->GetBlock(objectLink_, size));
    if (!block)
        return false;
    const char* at = reinterpret_cast<const char*>(block.get());
    const char* end = at + size;
    zString* texts[] = {&application, &topic, &item};
    for (zString* text : texts) {
        const void* zero = std::memchr(at, '\0', static_cast<size_t>(end - at));
        if (zero == nullptr)
            return false;
        *text = at;
        at = static_cast<const char*>(zero) + 1;
    }
    return true;
}
