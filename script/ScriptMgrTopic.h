#pragma once
// The "ScriptMgr" topic of the program's DDE service: other programs send script lines in square brackets
// (execute), ask for the interpreter's "Status" or a script variable "SV_name" (request), set a variable
// (poke) and follow a variable's changes (advise). Item names are upper-cased; "SV_" and "Status" match
// without regard to case.

#include "framework/window/DdeServerTopic.h"

#include <cstdint>
#include <string>
#include <vector>

class ScriptManager;

class ScriptMgrTopic : public DdeServerTopic {
public:
    ScriptMgrTopic(DdeServer* server, ScriptManager* manager);

    HDDEDATA Request(const DdeTransactionInfo& info) override;
    uintptr_t AdviseStart(const DdeTransactionInfo& info) override;
    // The bracketed commands of an execute run from the idle loop, never inside the DDE callback (a box or
    // a long command there would answer a conversation that may have ended meanwhile). A text with a line
    // that is not "!" and a known command is refused at once, and nothing of it runs. While the manager is
    // busy the commands are queued and taken at once; otherwise the execute is held (CBR_BLOCK) and
    // answered once they ran: taken, or refused when one failed.
    uintptr_t Execute(const DdeTransactionInfo& info) override;
    // Sets the variable of an item "SV_name" to the text; refused when the variable cannot hold it.
    uintptr_t Poke(const DdeTransactionInfo& info) override;
    void ConversationEnded(HCONV conversation) override;

    // The held execute of the transaction is answered now, unless its conversation has ended.
    void AnswerTransaction(uint32_t transaction, bool taken);

    // The variable changed: its advise item, when a client follows it, sends the value.
    void UpdateVariableItem(const std::string& name, const std::string& value);

    // The variable name of an item "SV_name" (any case of "SV_"); empty for other items.
    static std::string VariableOfItem(const std::string& item);
    // The next command of an execute text from the position: the text inside one pair of square brackets
    // (inner pairs kept), or the rest of the text; empty for a bracket that is never closed; false at the end.
    static bool NextBracketedCommand(const std::string& text, size_t& position, std::string& command);

private:
    struct HeldExecute {
        HCONV conversation;
        uint32_t transaction;
    };
    struct ReadyAnswer {
        HCONV conversation;
        uintptr_t answer;
    };

    ScriptManager* manager_;
    uint32_t lastTransaction_ = 0;
    std::vector<HeldExecute> held_;
    // Answers the library has yet to collect: it calls Execute again for the held transaction.
    std::vector<ReadyAnswer> ready_;
};

// An advised script variable: its upper-case item name and the value last set.
class ScriptVariableItem : public DdeServerItem {
public:
    ScriptVariableItem(ScriptMgrTopic* topic, const DdeTransactionInfo& info, const char* name);
    HDDEDATA RenderValue(const DdeTransactionInfo& info) override;
    // With advise, every loop on the item is sent the value.
    void SetValue(const std::string& value, bool advise = true);

private:
    std::string value_;
};
