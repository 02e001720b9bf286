// The program's menus: every key hint names the key that the frame's accelerator table gives to the same
// command, and the formula Functions menu offers only functions the formula language knows.

#include "formula/BuiltinRegistry.h"
#include "foundation/zString.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct Key {
    bool virtualKey;
    unsigned code;
    unsigned modifiers; // FCONTROL, FSHIFT, FALT
    bool operator<(const Key& other) const
    {
        return std::tie(virtualKey, code, modifiers) < std::tie(other.virtualKey, other.code, other.modifiers);
    }
};

// A hint such as "Ctrl+Shift+P", "F12", "Ins", "Del" or "Ctrl+]" (the bracket keys of a US keyboard) as the key
// the accelerator table holds.
bool KeyOfHint(std::string hint, Key& key)
{
    key = {true, 0, 0};
    const std::pair<const char*, unsigned> prefixes[] = {{"Ctrl+", FCONTROL}, {"Shift+", FSHIFT}, {"Alt+", FALT}};
    for (bool found = true; found;) {
        found = false;
        for (const auto& prefix : prefixes) {
            if (hint.rfind(prefix.first, 0) == 0) {
                hint.erase(0, std::strlen(prefix.first));
                key.modifiers |= prefix.second;
                found = true;
            }
        }
    }
    if (hint == "]" || hint == "[")
        key.code = hint == "]" ? VK_OEM_6 : VK_OEM_4;
    else if (hint == "Ins" || hint == "Del")
        key.code = hint == "Ins" ? VK_INSERT : VK_DELETE;
    else if (hint.size() > 1 && hint[0] == 'F')
        key.code = VK_F1 + std::stoul(hint.substr(1)) - 1;
    else if (hint.size() == 1)
        key.code = static_cast<unsigned char>(hint[0]);
    return key.code != 0;
}

std::map<Key, unsigned> AcceleratorCommands()
{
    std::map<Key, unsigned> commands;
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(103));
    std::vector<ACCEL> entries(CopyAcceleratorTableA(table, nullptr, 0));
    CopyAcceleratorTableA(table, entries.data(), static_cast<int>(entries.size()));
    for (const ACCEL& entry : entries) {
        const bool virtualKey = (entry.fVirt & FVIRTKEY) != 0;
        commands[{virtualKey, entry.key, static_cast<unsigned>(entry.fVirt & (FCONTROL | FSHIFT | FALT))}] = entry.cmd;
    }
    DestroyAcceleratorTable(table);
    return commands;
}

// Every command item of a menu and its sub-menus: id and text.
void CollectItems(HMENU menu, std::vector<std::pair<unsigned, std::string>>& items)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            CollectItems(sub, items);
            continue;
        }
        char text[128] = {};
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        if (text[0])
            items.emplace_back(GetMenuItemID(menu, i), text);
    }
}

TEST(ProgramMenus, EveryKeyHintIsTheAcceleratorOfItsCommand)
{
    const std::map<Key, unsigned> accelerators = AcceleratorCommands();
    ASSERT_EQ(accelerators.size(), 55u);
    for (unsigned menuId : {109u, 110u, 115u, 116u, 124u, 125u}) {
        HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId));
        ASSERT_NE(menu, nullptr) << menuId;
        std::vector<std::pair<unsigned, std::string>> items;
        CollectItems(menu, items);
        for (const auto& [id, text] : items) {
            const size_t tab = text.find('\t');
            if (tab == std::string::npos)
                continue;
            const std::string hint = text.substr(tab + 1);
            // The system's own keys of the frame and of document windows.
            if (hint == "Alt+F4" || hint == "Ctrl+F4")
                continue;
            SCOPED_TRACE("menu " + std::to_string(menuId) + ": " + text);
            Key key;
            ASSERT_TRUE(KeyOfHint(hint, key));
            const auto found = accelerators.find(key);
            ASSERT_NE(found, accelerators.end());
            EXPECT_EQ(found->second, id);
        }
        DestroyMenu(menu);
    }
}

TEST(ProgramMenus, TheFunctionsMenuOffersBuiltinFunctionsAndTheHelper)
{
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(122));
    HMENU functions = GetSubMenu(menu, 0);
    ASSERT_NE(functions, nullptr);
    std::vector<std::pair<unsigned, std::string>> items;
    CollectItems(functions, items);
    ASSERT_EQ(items.size(), 37u);
    for (const auto& [id, text] : items) {
        if (id == 980u) {
            EXPECT_EQ(text, "Helper...");
            continue;
        }
        EXPECT_GE(FindBuiltinFunction(zString(text.c_str())), 0) << text;
    }
    DestroyMenu(menu);
}

} // namespace
