#include "framework/window/DdeServerTopic.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

std::vector<DdeServerTopic*>& Topics()
{
    static std::vector<DdeServerTopic*> topics;
    return topics;
}

template <class T>
void Erase(std::vector<T*>& list, const T* entry)
{
    const auto found = std::find(list.begin(), list.end(), entry);
    if (found != list.end())
        list.erase(found);
}

} // namespace

DdeServerTopic::DdeServerTopic(DdeServer* server, const char* name)
    : server_(server), name_(name ? name : ""),
      handle_(DdeCreateStringHandleA(DdeServer::ServerInstance(), name_.Text(), CP_WINANSI))
{
    Topics().push_back(this);
}

DdeServerTopic::~DdeServerTopic()
{
    Erase(Topics(), this);
    while (!items_.empty())
        delete items_.back();
    if (handle_)
        DdeFreeStringHandle(DdeServer::ServerInstance(), handle_);
}

void DdeServerTopic::ConnectConfirm(const DdeTransactionInfo&) {}

HDDEDATA DdeServerTopic::Request(const DdeTransactionInfo&)
{
    return nullptr;
}

uintptr_t DdeServerTopic::AdviseStart(const DdeTransactionInfo&)
{
    return 0;
}

uintptr_t DdeServerTopic::AdviseStop(const DdeTransactionInfo& info)
{
    DdeServerItem* item = FindItem(info.ItemName().Text());
    if (!item || !item->EndLoop(info.conversation))
        return 0;
    if (item->loops_.empty())
        delete item;
    return DDE_FACK;
}

void DdeServerTopic::StartLoop(const DdeTransactionInfo& info)
{
    DdeServerItem* item = FindItem(info.ItemName().Text());
    if (item && std::find(item->loops_.begin(), item->loops_.end(), info.conversation) == item->loops_.end())
        item->loops_.push_back(info.conversation);
}

void DdeServerTopic::EndConversation(HCONV conversation)
{
    for (DdeServerTopic* topic : Topics()) {
        std::vector<DdeServerItem*> ended;
        for (DdeServerItem* item : topic->items_) {
            if (item->EndLoop(conversation) && item->loops_.empty())
                ended.push_back(item);
        }
        for (DdeServerItem* item : ended)
            delete item;
        topic->ConversationEnded(conversation);
    }
}

void DdeServerTopic::ConversationEnded(HCONV) {}

uintptr_t DdeServerTopic::Execute(const DdeTransactionInfo&)
{
    return 0;
}

uintptr_t DdeServerTopic::Poke(const DdeTransactionInfo&)
{
    return 0;
}

namespace {

// Topic names as the system compares them, in any letter case; a document's topic is its file's path, which
// may be written with "/" for "\\".
bool SameTopicName(const char* a, const char* b)
{
    const auto normal = [](char c) {
        return c == '/' ? '\\' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    };
    for (; *a != 0 && *b != 0; ++a, ++b) {
        if (normal(*a) != normal(*b))
            return false;
    }
    return *a == *b;
}

} // namespace

DdeServerTopic* DdeServerTopic::FindTopic(const char* name)
{
    if (!name)
        return nullptr;
    for (DdeServerTopic* topic : Topics()) {
        if (std::strcmp(topic->name_.Text(), name) == 0)
            return topic;
    }
    for (DdeServerTopic* topic : Topics()) {
        if (SameTopicName(topic->name_.Text(), name))
            return topic;
    }
    return nullptr;
}

DdeServerItem* DdeServerTopic::FindItem(const char* name) const
{
    if (!name)
        return nullptr;
    for (DdeServerItem* item : items_) {
        if (lstrcmpiA(item->Name().Text(), name) == 0)
            return item;
    }
    return nullptr;
}

DdeServerItem::DdeServerItem(DdeServerTopic* topic, const DdeTransactionInfo& info)
    : DdeServerItem(topic, info, info.ItemName().Text())
{
}

DdeServerItem::DdeServerItem(DdeServerTopic* topic, const DdeTransactionInfo& info, const char* name)
    : topic_(topic), name_(name),
      handle_(DdeCreateStringHandleA(DdeServer::ServerInstance(), name_.Text(), CP_WINANSI)), format_(info.Format())
{
    topic_->items_.push_back(this);
}

DdeServerItem::~DdeServerItem()
{
    Erase(topic_->items_, this);
    if (handle_)
        DdeFreeStringHandle(DdeServer::ServerInstance(), handle_);
}

bool DdeServerItem::EndLoop(HCONV conversation)
{
    const auto found = std::find(loops_.begin(), loops_.end(), conversation);
    if (found == loops_.end())
        return false;
    loops_.erase(found);
    return true;
}

HDDEDATA DdeServerItem::RenderValue(const DdeTransactionInfo&)
{
    return nullptr;
}

void DdeServerItem::PostAdvise()
{
    DdePostAdvise(DdeServer::ServerInstance(), topic_->TopicHandle(), handle_);
}
