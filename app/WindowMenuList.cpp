#include "app/WindowMenuList.h"

#include "widgets/WindowPlacement.h"

#include <algorithm>
#include <string>

namespace {

HWND ActiveChild(HWND client)
{
    return client != nullptr ? reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
}

std::string TitleOf(HWND window)
{
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}

// The client whose active window the dialog now opening picks.
HWND PickingClient = nullptr;

BOOL CALLBACK FindListBox(HWND child, LPARAM found)
{
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "ListBox") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

// Picks the line of the window (its data), else the line of its title.
void PickWindow(HWND list, HWND window)
{
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT line = 0; line < count; ++line)
        if (reinterpret_cast<HWND>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(line), 0)) == window) {
            SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
            return;
        }
    const std::string title = TitleOf(window);
    const LRESULT line =
        SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(title.c_str()));
    if (line != LB_ERR)
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
}

} // namespace

namespace {

// The title an entry of the list shows (its text without the "&n ").
std::string EntryTitle(HMENU menu, UINT id)
{
    char text[256] = {};
    const int length = GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    return length > 3 ? std::string(text + 3) : std::string();
}

// An id that no child of the client carries, past the list's and More Windows...'s.
UINT UnusedChildId(HWND client, unsigned firstId)
{
    UINT id = MoreWindowsId(firstId) + 1;
    for (HWND child = GetWindow(client, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        id = std::max(id, static_cast<UINT>(GetDlgCtrlID(child)) + 1);
    return id;
}

} // namespace

void ListActiveWindow(HMENU windowMenu, HWND client, unsigned firstId)
{
    const HWND active = ActiveChild(client);
    const UINT ninth = firstId + 8;
    if (windowMenu == nullptr || active == nullptr || !IsWindowVisible(active))
        return;
    const UINT activeId = static_cast<UINT>(GetDlgCtrlID(active));
    if (activeId >= firstId && activeId <= ninth && EntryTitle(windowMenu, activeId) == TitleOf(active)) {
        for (UINT id = firstId; id <= ninth; ++id)
            CheckMenuItem(windowMenu, id, MF_BYCOMMAND | (id == activeId ? MF_CHECKED : MF_UNCHECKED));
        return;
    }
    if (GetMenuState(windowMenu, MoreWindowsId(firstId), MF_BYCOMMAND) == static_cast<UINT>(-1))
        return;
    for (UINT id = firstId; id < ninth; ++id)
        CheckMenuItem(windowMenu, id, MF_BYCOMMAND | MF_UNCHECKED);
    // The window that leaves the list takes the active window's id, unless that one is More Windows...'s or
    // another's: then an id no entry names.
    UINT freed = activeId;
    for (HWND child = GetWindow(client, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (child != active && static_cast<UINT>(GetDlgCtrlID(child)) == activeId)
            freed = 0;
    if (freed <= MoreWindowsId(firstId))
        freed = UnusedChildId(client, firstId);
    for (HWND child = GetWindow(client, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (child != active && static_cast<UINT>(GetDlgCtrlID(child)) == ninth)
            SetWindowLongPtrA(child, GWLP_ID, static_cast<LONG_PTR>(freed));
    SetWindowLongPtrA(active, GWLP_ID, static_cast<LONG_PTR>(ninth));
    const std::string text = "&9 " + TitleOf(active);
    ModifyMenuA(windowMenu, ninth, MF_BYCOMMAND | MF_STRING | MF_CHECKED, ninth, text.c_str());
}

ActiveWindowPicked::ActiveWindowPicked(HWND client) : previousClient_(PickingClient)
{
    PickingClient = client;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, &ActiveWindowPicked::PickOnInit, nullptr, GetCurrentThreadId());
}

ActiveWindowPicked::~ActiveWindowPicked()
{
    if (hook_ != nullptr)
        UnhookWindowsHookEx(hook_);
    PickingClient = previousClient_;
}

LRESULT CALLBACK ActiveWindowPicked::PickOnInit(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_INITDIALOG) {
        HWND list = nullptr;
        EnumChildWindows(message->hwnd, FindListBox, reinterpret_cast<LPARAM>(&list));
        const HWND active = ActiveChild(PickingClient);
        if (list != nullptr && active != nullptr)
            PickWindow(list, active);
        // It opens where every dialog of the program opens, not at the frame's corner.
        PlaceDialogInFrame(message->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
