// The other program of the tree's DDE tests: a client of service "KIVO_Node".
//   kivo_ddeclient OUTPUT TOPIC COMMAND...
// connects to the topic and runs each command, writing one line per command to OUTPUT: "ITEM" requests the
// item as text ("ITEM=value" or "ITEM: no answer"); "oem:ITEM" requests it as OEM text; "advise:ITEM" starts
// an advise loop in text and waits up to 20 s for the first value ("advise ITEM=value" or "advise ITEM:
// nothing"). Without a conversation the only line is "no connection".

#include "framework/window/DdeConversation.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void PumpFor(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < milliseconds) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(1);
    }
}

std::string TextOf(HDDEDATA data)
{
    DWORD size = 0;
    const BYTE* bytes = DdeAccessData(data, &size);
    std::string text(reinterpret_cast<const char*>(bytes), size);
    DdeUnaccessData(data);
    return text.c_str();
}

class FirstValue : public DdeAdvise {
public:
    FirstValue(DdeConversation* conversation, const char* item) : DdeAdvise(conversation, item, ClipboardFormat::Text)
    {
    }
    uintptr_t OnAdvise(const DdeTransactionInfo& info) override
    {
        value.assign(reinterpret_cast<const char*>(info.bytes), info.byteCount);
        value = value.c_str();
        arrived = true;
        return DDE_FACK;
    }
    std::string value;
    bool arrived = false;
};

std::string Request(DdeConversation& conversation, const std::string& item, const ClipboardFormat& format)
{
    DdeRequest request(&conversation, item.c_str(), format, 5);
    PumpFor(20);
    if (request.Payload() == nullptr)
        return item + ": no answer";
    const std::string line = item + "=" + TextOf(request.Payload());
    DdeFreeDataHandle(request.Payload());
    return line;
}

std::string Advise(DdeConversation& conversation, const std::string& item)
{
    FirstValue advise(&conversation, item.c_str());
    const DWORD start = GetTickCount();
    while (!advise.arrived && GetTickCount() - start < 20000)
        PumpFor(20);
    return "advise " + item + (advise.arrived ? "=" + advise.value : ": nothing");
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (__argc < 3)
        return 1;
    std::FILE* output = std::fopen(__argv[1], "w");
    if (output == nullptr)
        return 1;
    DdeClient client;
    DdeConversation conversation(&client, "KIVO_Node", __argv[2]);
    PumpFor(20);
    if (!conversation.IsConnected())
        std::fputs("no connection\n", output);
    for (int i = 3; i < __argc && conversation.IsConnected(); ++i) {
        const std::string command = __argv[i];
        std::string line;
        if (command.rfind("oem:", 0) == 0)
            line = Request(conversation, command.substr(4), ClipboardFormat::OemText);
        else if (command.rfind("advise:", 0) == 0)
            line = Advise(conversation, command.substr(7));
        else
            line = Request(conversation, command, ClipboardFormat::Text);
        std::fprintf(output, "%s\n", line.c_str());
    }
    std::fclose(output);
    return 0;
}
