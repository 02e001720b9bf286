#pragma once
// The "ScriptMgr" topic of the program's DDE service: other programs send script lines in square brackets
// (execute), ask for the interpreter's "Status" or a script variable "SV_name" (request), set a variable
// (poke) and follow a variable's changes (advise). Item names are upper-cased; "SV_" and "Status" match
// without regard to case.

#include "framework/window/DdeServerTopic.h"

#include <string>

class ScriptManager;

class ScriptMgrTopic : public DdeServerTopic {
public:
    ScriptMgrTopic(DdeServer* server, ScriptManager* manager);

    HDDEDATA Request(const DdeTransactionInfo& info) override;
    uintptr_t AdviseStart(const DdeTransactionInfo& info) override;
    // Every bracketed command is taken: run at once, or queued while the manager is busy.
    uintptr_t Execute(const DdeTransactionInfo& info) override;
    uintptr_t Poke(const DdeTransactionInfo& info) override;

    // The variable changed: its advise item, when a client follows it, sends the value.
    void UpdateVariableItem(const std::string& name, const std::string& value);

    // The variable name of an item "SV_name" (any case of "SV_"); empty for other items.
    static std::string VariableOfItem(const std::string& item);
    // The next command of an execute text from the position: the text inside one pair of square brackets
    // (inner pairs kept), or the rest of the text; false at the end.
    static bool NextBracketedCommand(const std::string& text, size_t& position, std::string& command);

private:
    ScriptManager* manager_;
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
