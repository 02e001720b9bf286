// The other program of the tree's DDE tests: a client of service "KIVO_Node".
//   kivo_ddeclient OUTPUT TOPIC COMMAND...
// connects to the topic and runs each command, writing one line per command to OUTPUT: "ITEM" requests the
// item as text ("ITEM=value" or "ITEM: no answer"); "oem:ITEM" requests it as OEM text; "advise:ITEM" starts
// an advise loop in text and waits up to 20 s for the first value ("advise ITEM=value" or "advise ITEM:
// nothing"); "start:ITEM" starts a loop and leaves it running ("start ITEM: taken" or "start ITEM: refused");
// "stop:ITEM" starts a loop and stops it ("stop ITEM: taken" or "stop ITEM: refused"); "execute:BYTES" and
// "poke:ITEM:BYTES" send a text of that many bytes without waiting for the answer ("sent BYTES"); "run:TEXT"
// executes the text and "set:ITEM=TEXT" pokes it, each waiting for the answer ("run TEXT: taken", "busy" or
// "refused", "set ITEM: taken" or "refused"); "fill:ITEM=COUNT" pokes a text of COUNT "x" the same way
// ("fill ITEM COUNT: taken" or "refused"); "hurry:TEXT" executes the text waiting only 300 ms ("hurry
// TEXT: taken", "refused" or "timed out"); "twice:TEXT" executes the text twice, the second as soon as the
// first is answered ("twice TEXT:" and each answer); "wait:ITEM" requests the item until it answers ("wait "
// and the request's line). Without a conversation the only line is "no connection".

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

// A transaction without data on the item, synchronous or (asynchronous) sent only; whether the server took
// it or the library sent it.
bool Transact(DdeClient& client, DdeConversation& conversation, const std::string& item, UINT type, bool wait)
{
    HSZ handle = DdeCreateStringHandleA(client.InstanceId(), item.c_str(), CP_WINANSI);
    DWORD number = 0;
    const bool taken = DdeClientTransaction(nullptr, 0, conversation.Handle(), handle, CF_TEXT, type,
                                            wait ? 5000 : TIMEOUT_ASYNC, &number);
    DdeFreeStringHandle(client.InstanceId(), handle);
    PumpFor(20);
    return taken;
}

// The stop goes without waiting for its answer, which some DDEML implementations give only at the time-out.
std::string StartLoop(DdeClient& client, DdeConversation& conversation, const std::string& item, bool stop)
{
    const bool taken = Transact(client, conversation, item, XTYP_ADVSTART, true) &&
                       (!stop || Transact(client, conversation, item, XTYP_ADVSTOP, false));
    return (stop ? "stop " : "start ") + item + (taken ? ": taken" : ": refused");
}

// An execute (no item) or a poke of a text of `bytes` bytes, its terminating zero included.
std::string Send(DdeClient& client, DdeConversation& conversation, const std::string& item, unsigned long bytes)
{
    std::string text(bytes > 0 ? bytes - 1 : 0, 'x');
    HSZ handle = item.empty() ? nullptr : DdeCreateStringHandleA(client.InstanceId(), item.c_str(), CP_WINANSI);
    DWORD number = 0;
    DdeClientTransaction(reinterpret_cast<LPBYTE>(&text[0]), DWORD(text.size() + 1), conversation.Handle(), handle,
                         CF_TEXT, item.empty() ? XTYP_EXECUTE : XTYP_POKE, TIMEOUT_ASYNC, &number);
    PumpFor(20);
    if (handle)
        DdeFreeStringHandle(client.InstanceId(), handle);
    return "sent " + std::to_string(bytes);
}

// Requests the item every 50 ms until it answers, for up to 20 s.
std::string WaitFor(DdeConversation& conversation, const std::string& item)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const std::string line = Request(conversation, item, ClipboardFormat::Text);
        if (line.compare(item.size(), 1, "=") == 0 || GetTickCount() - start > 20000)
            return "wait " + line;
        PumpFor(50);
    }
}

// An execute (no item) or a poke of the text, waiting up to the time-out for the answer; whether the server
// took it, refused it or let the time pass. Unless told to serve, no message is served after the answer.
std::string SendText(DdeClient& client, DdeConversation& conversation, const std::string& item,
                     const std::string& text, DWORD timeout = 5000, bool serve = true)
{
    HSZ handle = item.empty() ? nullptr : DdeCreateStringHandleA(client.InstanceId(), item.c_str(), CP_WINANSI);
    DWORD result = 0;
    const bool taken = DdeClientTransaction(reinterpret_cast<LPBYTE>(const_cast<char*>(text.c_str())),
                                            DWORD(text.size() + 1), conversation.Handle(), handle, CF_TEXT,
                                            item.empty() ? XTYP_EXECUTE : XTYP_POKE, timeout, &result) != nullptr &&
                       (result & DDE_FACK) != 0;
    const UINT error = DdeGetLastError(client.InstanceId());
    if (serve)
        PumpFor(20);
    if (handle)
        DdeFreeStringHandle(client.InstanceId(), handle);
    const std::string answer = taken                                           ? ": taken"
                               : error == DMLERR_EXECACKTIMEOUT                ? ": timed out"
                               : error == DMLERR_BUSY || (result & DDE_FBUSY) ? ": busy"
                                                                               : ": refused";
    return (item.empty() ? (timeout == 5000 ? "run " : "hurry ") + text : "set " + item) + answer;
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
        else if (command.rfind("start:", 0) == 0 || command.rfind("stop:", 0) == 0)
            line = StartLoop(client, conversation, command.substr(command.find(':') + 1), command[2] == 'o');
        else if (command.rfind("execute:", 0) == 0)
            line = Send(client, conversation, "", std::strtoul(command.c_str() + 8, nullptr, 10));
        else if (command.rfind("wait:", 0) == 0)
            line = WaitFor(conversation, command.substr(5));
        else if (command.rfind("run:", 0) == 0)
            line = SendText(client, conversation, "", command.substr(4));
        else if (command.rfind("twice:", 0) == 0) {
            const std::string text = command.substr(6);
            const std::string first = SendText(client, conversation, "", text, 5000, false);
            const std::string second = SendText(client, conversation, "", text);
            line = "twice " + text + ":" + first.substr(first.rfind(':') + 1) + second.substr(second.rfind(':') + 1);
        } else if (command.rfind("hurry:", 0) == 0)
            line = SendText(client, conversation, "", command.substr(6), 300);
        else if (command.rfind("set:", 0) == 0 && command.find('=') != std::string::npos)
            line = SendText(client, conversation, command.substr(4, command.find('=') - 4),
                            command.substr(command.find('=') + 1));
        else if (command.rfind("fill:", 0) == 0 && command.find('=') != std::string::npos) {
            const std::string item = command.substr(5, command.find('=') - 5);
            const std::string count = command.substr(command.find('=') + 1);
            const std::string answer = SendText(client, conversation, item, std::string(std::stoul(count), 'x'));
            line = "fill " + item + " " + count + answer.substr(answer.rfind(':'));
        } else if (command.rfind("poke:", 0) == 0 && command.find(':', 5) != std::string::npos)
            line = Send(client, conversation, command.substr(5, command.find(':', 5) - 5),
                        std::strtoul(command.c_str() + command.find(':', 5) + 1, nullptr, 10));
        else
            line = Request(conversation, command, ClipboardFormat::Text);
        std::fprintf(output, "%s\n", line.c_str());
    }
    std::fclose(output);
    return 0;
}
