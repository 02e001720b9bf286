#include "framework/window/MenuLetters.h"

#include <cctype>
#include <cstring>
#include <vector>

namespace {

// The Down keys posted to move the highlight carry this (a reserved bit set), so that they can be told
// from the person's.
constexpr LPARAM kStepKey = 0x03500001;

HHOOK hook = nullptr;
int watchers = 0;

// The highlight on its way to an item: one Down key at a time, each checked before it moves it.
struct Walk {
    HMENU menu = nullptr;
    int target = -1;
    int stepsLeft = 0;
} walk;

// The upper-case letter the text underlines ("&&" is an ampersand), 0 when none.
int Underlined(const char* text)
{
    for (const char* p = text; *p != 0; ++p) {
        if (*p != '&')
            continue;
        if (p[1] == '&') {
            ++p;
            continue;
        }
        return std::toupper(static_cast<unsigned char>(p[1]));
    }
    return 0;
}

BOOL CALLBACK FindOpenMenu(HWND window, LPARAM result)
{
    char name[16] = {};
    if (IsWindowVisible(window) && GetClassNameA(window, name, sizeof name) > 0 && std::strcmp(name, "#32768") == 0) {
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}

// The menu shown on top among the thread's open menus, 0 when none is open.
HMENU OpenMenu()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindOpenMenu, reinterpret_cast<LPARAM>(&found));
    return found != nullptr ? reinterpret_cast<HMENU>(SendMessageA(found, MN_GETHMENU, 0, 0)) : nullptr;
}

bool Highlighted(HMENU menu, int position)
{
    return (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_HILITE) != 0;
}

// A letter that several items underline starts the highlight towards the next of them (true).
bool StartWalk(const MSG& message)
{
    const int letter = std::toupper(static_cast<unsigned char>(message.wParam));
    HMENU menu = OpenMenu();
    const int count = menu != nullptr ? GetMenuItemCount(menu) : 0;
    if (!std::isgraph(letter) || count <= 0)
        return false;
    std::vector<int> matches;
    int current = -1;
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        if (Underlined(text) == letter)
            matches.push_back(i);
        if (Highlighted(menu, i))
            current = i;
    }
    if (matches.size() < 2)
        return false;
    int target = matches.front();
    for (int position : matches) {
        if (position > current) {
            target = position;
            break;
        }
    }
    walk = Walk{menu, target, count};
    PostMessageA(message.hwnd, WM_KEYDOWN, VK_DOWN, kStepKey);
    return true;
}

// A step of the walk: false when the highlight has arrived (or the menu is gone) and the key is dropped.
bool TakeStep(const MSG& message)
{
    if (walk.menu == nullptr || walk.stepsLeft <= 0 || !IsMenu(walk.menu) || Highlighted(walk.menu, walk.target)) {
        walk = Walk{};
        return false;
    }
    --walk.stepsLeft;
    PostMessageA(message.hwnd, WM_KEYDOWN, VK_DOWN, kStepKey);
    return true;
}

LRESULT CALLBACK FilterMenuMessage(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_MENU) {
        const MSG& message = *reinterpret_cast<const MSG*>(lParam);
        if ((message.message == WM_CHAR || message.message == WM_SYSCHAR) && StartWalk(message))
            return 1;
        if (MenuLetters::IsStepKey(message) && !TakeStep(message))
            return 1;
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

} // namespace

void MenuLetters::Watch()
{
    if (watchers++ == 0)
        hook = SetWindowsHookExA(WH_MSGFILTER, FilterMenuMessage, nullptr, GetCurrentThreadId());
}

void MenuLetters::Unwatch()
{
    if (--watchers == 0 && hook != nullptr) {
        UnhookWindowsHookEx(hook);
        hook = nullptr;
        walk = Walk{};
    }
}

bool MenuLetters::IsStepKey(const MSG& message)
{
    return message.message == WM_KEYDOWN && message.wParam == VK_DOWN && message.lParam == kStepKey;
}
