#include "framework/window/MDIframeCL.h"

#include <algorithm>
#include <optional>

#include "framework/dialog/Menu.h"
#include "framework/window/ChildLayout.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/IdleList.h"
#include "framework/window/MDIchildCL.h"
#include "framework/window/PercentLayout.h"

#include <string>
#include <vector>

namespace {

// The object that stands for the system's MDI client window: its rule fills the frame's client area.
class ClientWindow : public TopWindow {
public:
    explicit ClientWindow(ChildLayout* frameRule)
        : TopWindow(new PercentLayout(LayoutManager::FillTopLeft, 100.0f, 100.0f, frameRule), 0, nullptr)
    {
    }
    void Adopt(HWND handle) { SetHandle(handle); }
};

HINSTANCE ProgramInstance()
{
    return TheApp ? TheApp->Instance() : GetModuleHandleA(nullptr);
}

int TrailingBarItems = 1;

// Item texts are read into buffers of 100 bytes.
std::string ItemText(HMENU menu, int position)
{
    char text[100] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

// The buttons a maximised child puts at the end of the bar (minimise, restore, close) carry system commands.
int TrailingSystemButtons(HMENU bar)
{
    int count = 0;
    for (int i = GetMenuItemCount(bar) - 1; i >= 0 && !GetSubMenu(bar, i) && GetMenuItemID(bar, i) >= SC_SIZE; --i)
        ++count;
    return count;
}

void InsertChildItems(HMENU bar, HMENU childMenu, int trailing)
{
    const int count = GetMenuItemCount(childMenu);
    for (int i = 0; i < count; ++i) {
        const std::string text = ItemText(childMenu, i);
        const UINT position = static_cast<UINT>(GetMenuItemCount(bar) - trailing);
        if (HMENU popup = GetSubMenu(childMenu, i)) {
            InsertMenuA(bar, position, MF_BYPOSITION | MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                        text.c_str());
        } else {
            const UINT state = GetMenuState(childMenu, static_cast<UINT>(i), MF_BYPOSITION) &
                               (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR);
            InsertMenuA(bar, position, MF_BYPOSITION | MF_STRING | state, GetMenuItemID(childMenu, i),
                        text.c_str());
        }
    }
}

void RemoveChildItems(HMENU bar, HMENU childMenu)
{
    const int count = GetMenuItemCount(childMenu);
    for (int i = 0; i < count; ++i) {
        if (!GetSubMenu(childMenu, i)) {
            DeleteMenu(bar, GetMenuItemID(childMenu, i), MF_BYCOMMAND);
            continue;
        }
        // The pop-up is found by its text and only taken off the bar: it still belongs to the child.
        const std::string text = ItemText(childMenu, i);
        const int barCount = GetMenuItemCount(bar);
        for (int j = 0; j < barCount; ++j) {
            if (ItemText(bar, j) == text) {
                RemoveMenu(bar, static_cast<UINT>(j), MF_BYPOSITION);
                break;
            }
        }
    }
}

// The client's scroll bars span its children and its area together, the view where the area stands in that
// span; none while a child is maximised. The client's own fitting cannot serve: once it has hidden both bars
// it fits them never again (it reads their styles as leave to), it sets no page, and it follows no move of a
// child.
void FitClientScrollBars(HWND client)
{
    if (client == nullptr || !IsWindow(client))
        return;
    RECT area{};
    GetClientRect(client, &area);
    RECT extent = area;
    for (HWND child = GetWindow(client, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        if (IsZoomed(child)) {
            ShowScrollBar(client, SB_BOTH, FALSE);
            return;
        }
        RECT place{};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&place), 2);
        UnionRect(&extent, &extent, &place);
    }
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, extent.right - extent.left - 1,
                    static_cast<UINT>(area.right - area.left), -extent.left, 0};
    SetScrollInfo(client, SB_HORZ, &info, TRUE);
    info.nMax = extent.bottom - extent.top - 1;
    info.nPage = static_cast<UINT>(area.bottom - area.top);
    info.nPos = -extent.top;
    SetScrollInfo(client, SB_VERT, &info, TRUE);
}

// Scrolls the client's children by a scroll bar's code, within the span the bar was fitted to.
void ScrollClient(HWND client, int bar, WORD code)
{
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(client, bar, &info))
        return;
    const int line = GetSystemMetrics(bar == SB_HORZ ? SM_CXHSCROLL : SM_CYVSCROLL);
    const int last = info.nMax - static_cast<int>(info.nPage) + 1;
    int position = info.nPos;
    switch (code) {
    case SB_LINEUP: position -= line; break;
    case SB_LINEDOWN: position += line; break;
    case SB_PAGEUP: position -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: position += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = info.nMin; break;
    case SB_BOTTOM: position = last; break;
    default: return;
    }
    position = std::max(info.nMin, std::min(position, last));
    if (position == info.nPos)
        return;
    const int shift = info.nPos - position;
    ScrollWindowEx(client, bar == SB_HORZ ? shift : 0, bar == SB_VERT ? shift : 0, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    FitClientScrollBars(client);
}

WNDPROC SystemClientProc = nullptr;
// The message the client posts itself to fit its bars after a child was sized or shown, or it was sized.
constexpr UINT CalcChildScrollMessage = 0x003F;

LRESULT CALLBACK ClientProc(HWND client, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case CalcChildScrollMessage:
        FitClientScrollBars(client);
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        ScrollClient(client, message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
        return 0;
    default:
        return CallWindowProcA(SystemClientProc, client, message, wParam, lParam);
    }
}

} // namespace

MDIframeCL::MDIframeCL(ChildLayout* layout, DWORD style, const char* title, Menu* windowMenu,
                       unsigned firstChildId)
    : TopWindow(layout ? layout : new ChildLayout(nullptr), style, title),
      windowMenu_(windowMenu ? windowMenu : new Menu()), firstChildId_(firstChildId)
{
    className_ = "MDIframeCL";
    client_ = std::make_unique<ClientWindow>(static_cast<ChildLayout*>(layout_));
    Create();
}

MDIframeCL::~MDIframeCL()
{
    // The active child goes last, so that no other child becomes active on the way.
    const MDIchildCL* active = ActiveChild();
    std::vector<WindowCL*> others;
    for (WindowCL* child : children_) {
        if (child != active)
            others.push_back(child);
    }
    // A child may take others with it (a document its sub-windows): only those still there go.
    for (WindowCL* child : others)
        if (std::find(children_.begin(), children_.end(), child) != children_.end())
            delete child;
    while (!children_.empty())
        delete children_.front();
    if (TheApp && TheApp->MdiClient() && TheApp->MdiClient() == ClientHandle())
        TheApp->SetMdiClient(nullptr);
    windowMenu_.reset();
    client_.reset();
}

LRESULT MDIframeCL::DefaultProcessing(WindowEvent* event)
{
    if (event == nullptr)
        return 0;
    // A pick of the Window menu's list activates the child of that id (More Windows... the child picked there).
    std::optional<MaximisedStateKeeper> keeper;
    const bool picked = event->message == WM_COMMAND && firstChildId_ != 0 &&
                        LOWORD(event->wParam) >= firstChildId_ &&
                        LOWORD(event->wParam) <= firstChildId_ + ListedWindows && ClientHandle() != nullptr;
    HWND chosen = nullptr;
    if (picked && LOWORD(event->wParam) < firstChildId_ + ListedWindows) {
        for (HWND child = GetWindow(ClientHandle(), GW_CHILD); child != nullptr && !keeper;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (static_cast<unsigned>(GetDlgCtrlID(child)) == LOWORD(event->wParam)) {
                keeper.emplace(ClientHandle(), child);
                chosen = child;
            }
        }
    }
    const HWND before = picked ? reinterpret_cast<HWND>(SendMessageA(ClientHandle(), WM_MDIGETACTIVE, 0, 0)) : nullptr;
    const LRESULT result = DefFrameProcA(event->window, ClientHandle(), event->message, event->wParam, event->lParam);
    // A minimised window chosen there comes back restored, as in every program of the system.
    if (picked) {
        const HWND active = reinterpret_cast<HWND>(SendMessageA(ClientHandle(), WM_MDIGETACTIVE, 0, 0));
        if (active != nullptr && (active == chosen || active != before) && IsIconic(active))
            SendMessageA(ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(active), 0);
    }
    return result;
}

std::unique_ptr<WNDCLASSA> MDIframeCL::ClassRecord()
{
    std::unique_ptr<WNDCLASSA> record = ClassRecordTemplate();
    record->lpszClassName = "MDIframeCL";
    return record;
}

void MDIframeCL::Create()
{
    style_ |= WS_OVERLAPPEDWINDOW;
    CreateTopLevel(true);
    CLIENTCREATESTRUCT request{windowMenu_->Handle(), firstChildId_};
    HWND client = CreateWindowExA(0, "MDICLIENT", nullptr,
                                  WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | MDIS_ALLCHILDSTYLES, 0, 0, 0,
                                  0, handle_, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ClientId)),
                                  ProgramInstance(), &request);
    if (client != nullptr) {
        const auto previous =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrA(client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ClientProc)));
        if (previous != &ClientProc)
            SystemClientProc = previous;
    }
    if (TheApp)
        TheApp->SetMdiClient(client);
    static_cast<ClientWindow*>(client_.get())->Adopt(client);
}

void MDIframeCL::Show(int showCommand)
{
    if (state_ & StateShown) {
        ShowWindow(showCommand);
        return;
    }
    SetStateBits(StateShown);
    SetWindowTextA(handle_, title_.c_str());
    ::ShowWindow(handle_, showCommand);
    ::ShowWindow(ClientHandle(), SW_SHOW);
    UpdateWindow(handle_);
    if (showCommand)
        style_ |= WS_VISIBLE;
}

HWND MDIframeCL::ClientHandle() const
{
    return client_ ? client_->Handle() : nullptr;
}

void MDIframeCL::RewriteWindowList()
{
    const HWND client = ClientHandle();
    if (client == nullptr || firstChildId_ == 0)
        return;
    const UINT pastList = firstChildId_ + ListedWindows + 1;
    UINT id = pastList;
    for (HWND child = GetWindow(client, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_MDICHILD)
            SetWindowLongPtrA(child, GWLP_ID, static_cast<LONG_PTR>(id++));
    SendMessageA(client, WM_MDIREFRESHMENU, 0, 0);
    // The windows left out take the ids after More Windows...'s without a gap: the client takes a command of
    // any id below the first plus the number of windows for a pick of the window that holds it.
    id = pastList;
    for (HWND child = GetWindow(client, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const bool leftOut = static_cast<UINT>(GetDlgCtrlID(child)) >= pastList;
        if ((GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_MDICHILD) && leftOut)
            SetWindowLongPtrA(child, GWLP_ID, static_cast<LONG_PTR>(id++));
    }
}

void MDIframeCL::NoteActivated(HWND child)
{
    turns_.erase(std::remove(turns_.begin(), turns_.end(), child), turns_.end());
    turns_.insert(turns_.begin(), child);
}

void MDIframeCL::SendToEndOfTurn(HWND child)
{
    turns_.erase(std::remove(turns_.begin(), turns_.end(), child), turns_.end());
    turns_.push_back(child);
}

HWND MDIframeCL::ChildInTurn(HWND window, bool next)
{
    const HWND client = ClientHandle();
    turns_.erase(std::remove_if(turns_.begin(), turns_.end(),
                                [client](HWND child) { return !IsWindow(child) || GetParent(child) != client; }),
                 turns_.end());
    // Children never active yet follow in their stacking order.
    for (HWND child = GetWindow(client, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (std::find(turns_.begin(), turns_.end(), child) == turns_.end())
            turns_.push_back(child);
    std::vector<HWND> turns;
    for (HWND child : turns_)
        if (child == window || (IsWindowVisible(child) && IsWindowEnabled(child) && !GetWindow(child, GW_OWNER)))
            turns.push_back(child);
    const size_t at = static_cast<size_t>(std::find(turns.begin(), turns.end(), window) - turns.begin());
    if (turns.size() < 2 || at == turns.size())
        return nullptr;
    return turns[next ? (at + 1) % turns.size() : (at + turns.size() - 1) % turns.size()];
}

void MDIframeCL::QueueScrollBarFit()
{
    if (!scrollFitQueued_ && handle_ != nullptr)
        scrollFitQueued_ = PostMessageA(handle_, FitScrollBarsMessage, 0, 0) != FALSE;
}

void MDIframeCL::FitScrollBars()
{
    scrollFitQueued_ = false;
    FitClientScrollBars(ClientHandle());
}

void MDIframeCL::Tile()
{
    SendMessageA(ClientHandle(), WM_MDITILE, 0, 0);
}

void MDIframeCL::Cascade()
{
    SendMessageA(ClientHandle(), WM_MDICASCADE, 0, 0);
}

void MDIframeCL::ArrangeIcons()
{
    SendMessageA(ClientHandle(), WM_MDIICONARRANGE, 0, 0);
}

void MDIframeCL::SetWindowMenuPosition(int count)
{
    TrailingBarItems = count;
}

bool MDIframeCL::MergeChildItems(WindowEvent* event)
{
    auto* child = reinterpret_cast<MDIchildCL*>(event->lParam);
    if (!TheApp || !TheApp->MainWindow() || !child || !child->MenuObject())
        return false;
    HMENU bar = GetMenu(handle_);
    HMENU childMenu = child->MenuObject()->Handle();
    if (!bar || !childMenu)
        return false;
    const HWND activated = reinterpret_cast<HWND>(event->wParam);
    if (activated == child->Handle() || event->wParam == 1) {
        // The system may tell of one activation twice: a child's items are on the bar once. A child whose
        // deactivation has not arrived yet gives its place up first.
        if (mergedChild_ == child && event->wParam != 1)
            return false;
        if (mergedChild_ && mergedChild_ != child && mergedChild_->MenuObject())
            RemoveChildItems(bar, mergedChild_->MenuObject()->Handle());
        mergedChild_ = child;
        // A maximised child puts its system-menu item at the start of the bar and its buttons at the end.
        InsertChildItems(bar, childMenu, TrailingBarItems + TrailingSystemButtons(bar));
    } else {
        // Only the merged child's items are on the bar.
        if (mergedChild_ != child)
            return false;
        RemoveChildItems(bar, childMenu);
        mergedChild_ = nullptr;
    }
    return true;
}

long MDIframeCL::MergeChildMenu(WindowEvent* event)
{
    menuBarStale_ = MergeChildItems(event) || menuBarStale_;
    // An activation change posts two merges (the one deactivated, the one activated): the bar is drawn
    // once, after the last.
    MSG queued;
    if (menuBarStale_ && !menuBarHeld_ &&
        !PeekMessageA(&queued, handle_, MergeMenuMessage, MergeMenuMessage, PM_NOREMOVE)) {
        menuBarStale_ = false;
        DrawMenuBar(handle_);
    }
    return 0;
}

void MDIframeCL::HoldMenuBar(bool held)
{
    menuBarHeld_ = held;
    if (!held && menuBarStale_ && handle_ != nullptr) {
        menuBarStale_ = false;
        DrawMenuBar(handle_);
    }
}

MDIchildCL* MDIframeCL::ActiveChild() const
{
    HWND client = ClientHandle();
    if (!client || !IsWindow(client))
        return nullptr;
    HWND active = reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
    if (!active || !IsWindow(active))
        return nullptr;
    return dynamic_cast<MDIchildCL*>(FromHandle(active));
}

long MDIframeCL::CloseChildrenFirst(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    const AnswerNow answerNow{answeredAtOnce, answer};
    if (ListsFirst(WM_CLOSE) && DispatchToLists(&event))
        return answerNow(1);
    // A child that refuses to close stops the close of the frame.
    const std::vector<WindowCL*> children(children_.begin(), children_.end());
    for (WindowCL* child : children) {
        if (long refused = child->OnClose(&event))
            return answerNow(refused);
    }
    return OnClose(&event);
}

long MDIframeCL::HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    const AnswerNow answerNow{answeredAtOnce, answer};
    const std::shared_ptr<const bool> alive = LifeToken();
    switch (event.message) {
    case WM_DESTROY:
        // The program ends with its frame: no idle task runs any more, and every loop passes the quit on.
        if (TheApp) {
            if (TheApp->Idle())
                TheApp->Idle()->SetEnabled(false);
            TheApp->Quit();
        }
        return answerNow(0);
    case WM_SIZE:
    case WM_MOVE: {
        // The frame places its MDI client itself: the frame's default procedure gets neither.
        const long result = WindowCL::HandleMessage(event, answeredAtOnce, answer);
        if (!*alive)
            return 1;
        if (event.message == WM_SIZE)
            QueueScrollBarFit();
        return answerNow(event.message == WM_MOVE ? result : 0);
    }
    case WM_CLOSE:
        return CloseChildrenFirst(event, answeredAtOnce, answer);
    case WM_COMMAND: {
        const long result = RouteCommand(event, answeredAtOnce, answer);
        if (result || answeredAtOnce || !*alive)
            return result;
        // What the frame leaves goes to the active document.
        MDIchildCL* child = ActiveChild();
        if (!child)
            return 0;
        if ((child->RoutingMask() & RouteMenu) && child->MenuObject() && child->MenuObject()->Dispatch(&event))
            return 1;
        return child->OnCommand(&event);
    }
    case WM_SYSCOMMAND: {
        if ((routingMask_ & RouteMenu) && menu_ && (menu_->Dispatch(&event) || !*alive))
            return 1;
        if (long taken = DispatchEvent(&event))
            return taken;
        if (long taken = OnCommand(&event))
            return taken;
        MDIchildCL* child = *alive ? ActiveChild() : nullptr;
        return child && (child->RoutingMask() & RouteMenu) && child->MenuObject() &&
               child->MenuObject()->Dispatch(&event);
    }
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
    case WM_MENUSELECT:
        // The Window menu's list names each window by an id of its own while the menu is up.
        if (event.message == WM_INITMENU)
            RewriteWindowList();
        // The frame's menu object, then the active child's, then the lists.
        if ((routingMask_ & RouteMenu) && menu_) {
            if (long taken = menu_->Dispatch(&event))
                return answerNow(taken);
            if (!*alive)
                return 1;
        }
        if (MDIchildCL* child = ActiveChild()) {
            if ((child->RoutingMask() & RouteMenu) && child->MenuObject()) {
                if (long taken = child->MenuObject()->Dispatch(&event))
                    return answerNow(taken);
                if (!*alive)
                    return 1;
            }
        }
        return DispatchToLists(&event);
    case WM_ERASEBKGND:
        return DispatchToLists(&event);
    case WM_NCDESTROY:
        if (TheApp && TheApp->MainWindow() == this)
            TheApp->ClearMainWindow();
        return WindowCL::HandleMessage(event, answeredAtOnce, answer);
    case FitScrollBarsMessage:
        FitScrollBars();
        return answerNow(0);
    case MergeMenuMessage:
        MergeChildMenu(&event);
        return 0;
    case DeleteLaterMessage:
        delete reinterpret_cast<EventTarget*>(event.lParam);
        return 0;
    default:
        return WindowCL::HandleMessage(event, answeredAtOnce, answer);
    }
}
