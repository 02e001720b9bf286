#include "script/ScriptMgrTopic.h"

#include "script/ScriptManager.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

// The payload as text, up to its first zero byte.
std::string PayloadText(const DdeTransactionInfo& info)
{
    if (info.bytes == nullptr)
        return std::string();
    const auto* text = reinterpret_cast<const char*>(info.bytes);
    return std::string(text, strnlen(text, info.byteCount));
}

} // namespace

ScriptMgrTopic::ScriptMgrTopic(DdeServer* server, ScriptManager* manager)
    : DdeServerTopic(server, "ScriptMgr"), manager_(manager)
{
}

std::string ScriptMgrTopic::VariableOfItem(const std::string& item)
{
    if (item.size() <= 3 || ScriptManager::Upper(item.substr(0, 3)) != "SV_")
        return std::string();
    return item.substr(3);
}

bool ScriptMgrTopic::NextBracketedCommand(const std::string& text, size_t& position, std::string& command)
{
    if (position >= text.size())
        return false;
    const bool opened = text[position] == '[';
    if (opened)
        ++position;
    command.clear();
    int depth = 0;
    bool closed = false;
    for (; position < text.size(); ++position) {
        const char c = text[position];
        if (c == ']' && depth == 0) {
            ++position;
            closed = true;
            break;
        }
        depth += c == '[' ? 1 : c == ']' ? -1 : 0;
        command += c;
    }
    // A bracket never closed is a command cut short: it is no line to run.
    if (opened && !closed)
        command.clear();
    return true;
}

HDDEDATA ScriptMgrTopic::Request(const DdeTransactionInfo& info)
{
    if (info.Format() != ClipboardFormat::Text)
        return nullptr;
    const std::string item = info.ItemName().Text();
    if (ScriptManager::Upper(item) == "STATUS")
        return info.MakeTextHandle(manager_->IsBusy() || manager_->FileRunning() ? "Busy" : "Ready");
    const std::string name = VariableOfItem(item);
    std::string value;
    if (name.empty() || !manager_->GetVariableValue(name, value))
        return nullptr;
    return info.MakeTextHandle(value.c_str());
}

uintptr_t ScriptMgrTopic::AdviseStart(const DdeTransactionInfo& info)
{
    if (info.Format() != ClipboardFormat::Text)
        return 0;
    const std::string name = VariableOfItem(info.ItemName().Text());
    if (name.empty())
        return 0;
    const std::string item = "SV_" + ScriptManager::Upper(name);
    if (FindItem(item.c_str()) == nullptr) {
        auto* made = new ScriptVariableItem(this, info, item.c_str());
        std::string value;
        if (manager_->GetVariableValue(name, value))
            made->SetValue(value, false);
    }
    return DDE_FACK;
}

uintptr_t ScriptMgrTopic::Execute(const DdeTransactionInfo& info)
{
    // The library calls again for a held execute once it is let go: the answer is ready then.
    const auto ready = std::find_if(ready_.begin(), ready_.end(),
                                    [&](const ReadyAnswer& entry) { return entry.conversation == info.conversation; });
    if (ready != ready_.end()) {
        const uintptr_t answer = ready->answer;
        ready_.erase(ready);
        return answer;
    }
    const std::string text = PayloadText(info);
    size_t position = 0;
    std::string command;
    std::vector<std::string> commands;
    while (NextBracketedCommand(text, position, command)) {
        if (ScriptManager::CommandOfLine(command) == 0)
            return DDE_FNOTPROCESSED;
        commands.push_back(command);
    }
    if (commands.empty())
        return DDE_FACK;
    // Nothing runs until the system's loop ends, and the client would wait in vain: it is told busy, and
    // nothing of the text is kept.
    if (ScriptManager::InSystemLoop())
        return DDE_FBUSY;
    if (manager_->IsBusy() || manager_->FileRunning()) {
        manager_->SubmitCommands(commands, 0);
        return DDE_FACK;
    }
    held_.push_back({info.conversation, ++lastTransaction_});
    manager_->SubmitCommands(commands, lastTransaction_);
    return reinterpret_cast<uintptr_t>(CBR_BLOCK);
}

void ScriptMgrTopic::AnswerTransaction(uint32_t transaction, bool taken)
{
    const auto held = std::find_if(held_.begin(), held_.end(),
                                   [&](const HeldExecute& entry) { return entry.transaction == transaction; });
    if (held == held_.end())
        return;
    const HCONV conversation = held->conversation;
    held_.erase(held);
    ready_.push_back({conversation, taken ? static_cast<uintptr_t>(DDE_FACK) : DDE_FNOTPROCESSED});
    // A library that holds nothing for the conversation any more never collects the answer: no later
    // execute may take it.
    if (!DdeEnableCallback(DdeServer::ServerInstance(), conversation, EC_ENABLEONE))
        ConversationEnded(conversation);
}

void ScriptMgrTopic::ConversationEnded(HCONV conversation)
{
    const auto ended = [&](const auto& entry) { return entry.conversation == conversation; };
    held_.erase(std::remove_if(held_.begin(), held_.end(), ended), held_.end());
    ready_.erase(std::remove_if(ready_.begin(), ready_.end(), ended), ready_.end());
}

uintptr_t ScriptMgrTopic::Poke(const DdeTransactionInfo& info)
{
    const std::string name = VariableOfItem(info.ItemName().Text());
    if (info.Format() != ClipboardFormat::Text || name.empty())
        return 0;
    // A value the variable cannot hold is refused, as it is in an execute: the client must not think it stored.
    return manager_->SetVariable(name, PayloadText(info)) ? DDE_FACK : DDE_FNOTPROCESSED;
}

void ScriptMgrTopic::UpdateVariableItem(const std::string& name, const std::string& value)
{
    const std::string bare = !name.empty() && name[0] == '@' ? name.substr(1) : name;
    if (auto* item = static_cast<ScriptVariableItem*>(FindItem(("SV_" + ScriptManager::Upper(bare)).c_str())))
        item->SetValue(value);
}

ScriptVariableItem::ScriptVariableItem(ScriptMgrTopic* topic, const DdeTransactionInfo& info, const char* name)
    : DdeServerItem(topic, info, name)
{
}

HDDEDATA ScriptVariableItem::RenderValue(const DdeTransactionInfo& info)
{
    if (info.Format() != ClipboardFormat::Text)
        return DdeServerItem::RenderValue(info);
    return info.MakeTextHandle(value_.c_str());
}

void ScriptVariableItem::SetValue(const std::string& value, bool advise)
{
    value_ = value;
    if (advise)
        PostAdvise();
}
