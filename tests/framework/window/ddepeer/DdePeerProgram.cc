// The other program of the DDE tests: a server of service "KivoPeer" with topic "Values". A request for an
// item answers "value of " and the item's name; an advise start in CF_TEXT makes the item; a poke of an item
// stores the poked text as its value and posts the advise; the execute "quit" ends the program (so does an
// hour without it).

#include "framework/window/DdeServerTopic.h"

#include <windows.h>

#include <string>

namespace {

class ValueItem : public DdeServerItem {
public:
    using DdeServerItem::DdeServerItem;
    HDDEDATA RenderValue(const DdeTransactionInfo& info) override { return info.MakeTextHandle(value.c_str()); }
    std::string value;
};

class ValuesTopic : public DdeServerTopic {
public:
    using DdeServerTopic::DdeServerTopic;

    HDDEDATA Request(const DdeTransactionInfo& info) override
    {
        return info.MakeTextHandle(("value of " + std::string(info.ItemName().Text())).c_str());
    }
    uintptr_t AdviseStart(const DdeTransactionInfo& info) override
    {
        if (info.format != CF_TEXT)
            return DdeServerTopic::AdviseStart(info);
        if (!FindItem(info.ItemName().Text()))
            new ValueItem(this, info);
        return DDE_FACK;
    }
    uintptr_t Poke(const DdeTransactionInfo& info) override
    {
        auto* item = static_cast<ValueItem*>(FindItem(info.ItemName().Text()));
        if (!item)
            return 0;
        item->value.assign(reinterpret_cast<const char*>(info.bytes), info.byteCount);
        item->value = item->value.c_str();
        item->PostAdvise();
        return DDE_FACK;
    }
    uintptr_t Execute(const DdeTransactionInfo& info) override
    {
        if (std::string(reinterpret_cast<const char*>(info.bytes), info.byteCount).find("quit") != std::string::npos)
            PostQuitMessage(0);
        return DDE_FACK;
    }
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    DdeServer server("KivoPeer");
    ValuesTopic topic(&server, "Values");
    SetTimer(nullptr, 0, 3600 * 1000, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && !message.hwnd)
            break;
        DispatchMessageA(&message);
    }
    return 0;
}
