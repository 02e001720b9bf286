#include "framework/window/MDIchildCL.h"

#include "framework/window/FrameworkApp.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/MDIframeCL.h"
#include "framework/window/WindowMap.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

HINSTANCE ProgramInstance()
{
    return TheApp ? TheApp->Instance() : GetModuleHandleA(nullptr);
}

} // namespace

MDIchildCL::MDIchildCL(WindowCL* parent, LayoutManager* layout, DWORD style, const char* title)
    : TopWindow(parent, layout, style, title)
{
    className_ = "MDIchildCL";
    if (parent_)
        parent_->AppendChild(this);
}

MDIchildCL::MDIchildCL(WindowCL* parent) : TopWindow(parent)
{
    className_ = "MDIchildCL";
    if (parent_)
        parent_->AppendChild(this);
}

MDIchildCL::~MDIchildCL()
{
    // Children first: closing them may activate this child, which queues a merge request naming it.
    while (!children_.empty())
        delete children_.front();
    // No merge request queued for the frame may name this child after it is gone, and its items leave the
    // frame's bar while its window still exists.
    if (auto* frame = TheApp ? dynamic_cast<MDIframeCL*>(TheApp->MainWindow()) : nullptr) {
        MSG message;
        while (PeekMessageA(&message, frame->Handle(), MDIframeCL::MergeMenuMessage, MDIframeCL::MergeMenuMessage,
                            PM_REMOVE)) {
            WindowEvent queued{message.lParam, message.wParam, message.message, message.hwnd};
            frame->MergeChildMenu(&queued);
        }
        if (frame->MergedChild() == this) {
            WindowEvent removal{reinterpret_cast<LPARAM>(this), 0, MDIframeCL::MergeMenuMessage, frame->Handle()};
            frame->MergeChildMenu(&removal);
        }
    }
    // The window's destruction must not delete the object a second time.
    ClearStateBits(StateDeleteWithWindow);
    if (!(state_ & StateWindowGone) && handle_ && IsWindow(handle_)) {
        SetStateBits(StateWindowGone);
        if (TheApp && TheApp->Map())
            TheApp->Map()->Remove(handle_);
        SendMessageA(GetParent(handle_), WM_MDIDESTROY, reinterpret_cast<WPARAM>(handle_), 0);
    }
    // A class of this window's own goes with it, and so does its name from the application's list.
    if (TheApp)
        TheApp->UnregisterWindowClass(className_);
    else
        UnregisterClassA(className_.c_str(), ProgramInstance());
}

namespace {

// The client's maximised child other than the window, or null.
HWND MaximisedChildBesides(HWND client, HWND window)
{
    for (HWND child = GetWindow(client, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (child != window && IsZoomed(child))
            return child;
    return nullptr;
}

// The program's frame when the window is a child of its client, else null.
MDIframeCL* FrameOf(HWND child)
{
    auto* frame = TheApp ? dynamic_cast<MDIframeCL*>(TheApp->MainWindow()) : nullptr;
    return frame != nullptr && frame->ClientHandle() == GetParent(child) ? frame : nullptr;
}

} // namespace

MaximisedStateKeeper::MaximisedStateKeeper(HWND client, HWND target) : target_(target)
{
    if (client == nullptr || target == nullptr || GetParent(target) != client)
        return;
    const HWND active = reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
    if (active == target)
        return;
    const HWND maximised = MaximisedChildBesides(client, target);
    if (maximised == nullptr)
        return;
    if (!(GetWindowLongA(target, GWL_STYLE) & WS_MAXIMIZEBOX)) {
        // The client restores the active child only when it finds it maximised.
        kept_ = maximised;
        SetWindowLongA(kept_, GWL_STYLE, GetWindowLongA(kept_, GWL_STYLE) & ~WS_MAXIMIZE);
    } else if (maximised != active && !IsZoomed(target)) {
        maximise_ = true;
    }
}

MaximisedStateKeeper::~MaximisedStateKeeper()
{
    if (kept_ != nullptr && IsWindow(kept_)) {
        SetWindowLongA(kept_, GWL_STYLE, GetWindowLongA(kept_, GWL_STYLE) | WS_MAXIMIZE);
        // Directly under the tool window, over every restored child: the switch to the next child sends the
        // one it leaves to the bottom.
        if (IsWindow(target_))
            SetWindowPos(kept_, target_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (maximise_ && IsWindow(target_))
        ShowWindow(target_, SW_SHOWMAXIMIZED);
}

LRESULT MDIchildCL::DefaultProcessing(WindowEvent* event)
{
    if (event == nullptr)
        return 0;
    std::optional<MaximisedStateKeeper> keeper;
    if (event->message == WM_CHILDACTIVATE)
        keeper.emplace(GetParent(event->window), event->window);
    // Ctrl+F6, Ctrl+Shift+F6 (and Ctrl+Tab) turn through the frame's order of activation, the one turn the
    // mirror of the other; the window reached is activated as a click on it activates it, which keeps the
    // maximised child as it is.
    const WPARAM systemCommand = event->wParam & 0xFFF0;
    MDIframeCL* frame = nullptr;
    if (event->message == WM_SYSCOMMAND && (systemCommand == SC_NEXTWINDOW || systemCommand == SC_PREVWINDOW) &&
        (frame = FrameOf(event->window)) != nullptr) {
        const bool next = systemCommand == SC_NEXTWINDOW;
        if (HWND target = frame->ChildInTurn(event->window, next)) {
            if (next)
                frame->SendToEndOfTurn(event->window);
            MaximisedStateKeeper kept(GetParent(event->window), target);
            SendMessageA(GetParent(event->window), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(target), 0);
        }
        return 0;
    }
    return DefMDIChildProcA(event->window, event->message, event->wParam, event->lParam);
}

std::unique_ptr<WNDCLASSA> MDIchildCL::ClassRecord()
{
    std::unique_ptr<WNDCLASSA> record = ClassRecordTemplate();
    record->lpszClassName = "MDIchildCL";
    return record;
}

void MDIchildCL::Create()
{
    if (handle_ && IsWindow(handle_))
        return; // one window per object, as for dialogs
    RegisterClassOf(ClassRecord(), true);
    CreateInClient(nullptr, layout_ ? layout_->X() : CW_USEDEFAULT, layout_ ? layout_->Y() : CW_USEDEFAULT,
                   layout_ ? layout_->Width() : CW_USEDEFAULT, layout_ ? layout_->Height() : CW_USEDEFAULT);
    ReadBackGeometry(false);
}

void MDIchildCL::CreateInClient(const char* mdiTitle, int x, int y, int width, int height)
{
    HWND client = TheApp ? TheApp->MdiClient() : nullptr;
    // Made hidden, so that it neither flickers nor disturbs the others: the client keeps the styles it is
    // given (MDIS_ALLCHILDSTYLES), and a hidden child activates, restores and repaints none of the others.
    MDICREATESTRUCTA request{className_.c_str(), mdiTitle, ProgramInstance(), x, y, width, height,
                             style_ & ~WS_VISIBLE, reinterpret_cast<LPARAM>(this)};
    HWND handle = reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&request)));
    handle_ = handle;
    if (handle) {
        if (TheApp && TheApp->Map())
            TheApp->Map()->Insert(handle, this);
        SetWindowTextA(handle, title_.c_str());
    }
}

bool MDIchildCL::BeginFirstShow(int showCommand)
{
    if (state_ & StateShown) {
        ShowWindow(showCommand);
        return false;
    }
    SetStateBits(StateShown);
    SetWindowTextA(handle_, title_.c_str());
    // Children made after the window had its size (a document's pane) get their places before it shows: a
    // restored window is shown at the size it has and is told of no size change.
    RECT client{};
    GetClientRect(handle_, &client);
    WindowEvent size{MAKELPARAM(client.right, client.bottom), SIZE_RESTORED, WM_SIZE, handle_};
    LayoutChildren(&size);
    ::ShowWindow(handle_, showCommand);
    if (showCommand != SW_SHOWMINNOACTIVE && showCommand != SW_SHOWNOACTIVATE)
        Activate();
    // The client's Window menu lists only the children shown when it was written.
    SendMessageA(GetParent(handle_), WM_MDIREFRESHMENU, 0, 0);
    return true;
}

void MDIchildCL::EndFirstShow(int showCommand)
{
    UpdateWindow(handle_);
    if (showCommand)
        style_ |= WS_VISIBLE;
}

void MDIchildCL::Show(int showCommand)
{
    if (!BeginFirstShow(showCommand))
        return;
    auto* frame = dynamic_cast<TopWindow*>(parent_);
    if (frame && frame->MenuObject())
        DrawMenuBar(frame->Handle());
    EndFirstShow(showCommand);
}

long MDIchildCL::OnMDIActivate(WindowEvent* event) { return OnMDIActivation(event->ActivatedChild() == handle_); }
long MDIchildCL::OnMDIActivation(bool) { return 0; }

void MDIchildCL::Activate()
{
    MaximisedStateKeeper keeper(GetParent(handle_), handle_);
    SendMessageA(GetParent(handle_), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(handle_), 0);
}

long MDIchildCL::HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    const AnswerNow answerNow{answeredAtOnce, answer};
    const std::shared_ptr<const bool> alive = LifeToken();
    switch (event.message) {
    case WM_SIZE:
    case WM_MOVE: {
        // The MDI default procedure sees sizes and moves as well (it keeps the maximised state).
        WindowCL::HandleMessage(event, answeredAtOnce, answer);
        if (!*alive)
            return 1;
        if (MDIframeCL* frame = FrameOf(handle_))
            frame->QueueScrollBarFit();
        const LRESULT result = DefaultProcessing(&event);
        // A tool window (no maximise box) is never maximised: the client maximises the child it activates
        // when the maximised one above it closes. It is restored once the client is done.
        if (event.message == WM_SIZE && event.wParam == SIZE_MAXIMIZED &&
            !(GetWindowLongA(handle_, GWL_STYLE) & WS_MAXIMIZEBOX))
            PostMessageA(handle_, RestoreToolMessage, 0, 0);
        return answerNow(result);
    }
    case RestoreToolMessage:
        // Its controls were laid out at the whole client area meanwhile: all of it is drawn afresh.
        if (IsZoomed(handle_)) {
            ::ShowWindow(handle_, SW_RESTORE);
            RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
        }
        return answerNow(0);
    case WM_SHOWWINDOW:
        if (MDIframeCL* frame = FrameOf(handle_))
            frame->QueueScrollBarFit();
        return WindowCL::HandleMessage(event, answeredAtOnce, answer);
    case WM_NCDESTROY:
        if (MDIframeCL* frame = FrameOf(handle_))
            frame->QueueScrollBarFit();
        SetStateBits(StateWindowGone);
        if (TheApp && TheApp->Map())
            TheApp->Map()->Remove(event.window);
        // Its own code may still be running: the frame deletes it when the message arrives.
        if ((state_ & StateDeleteWithWindow) && TheApp && TheApp->MainWindow())
            PostMessageA(TheApp->MainWindow()->Handle(), MDIframeCL::DeleteLaterMessage, 0,
                         reinterpret_cast<LPARAM>(this));
        return answerNow(0);
    case WM_SETTEXT: {
        // The frame's Window menu lists the children by their titles; the system does not follow a change.
        const long result = WindowCL::HandleMessage(event, answeredAtOnce, answer);
        if (result || answeredAtOnce || !*alive)
            return result;
        const LRESULT set = DefaultProcessing(&event);
        SendMessageA(GetParent(handle_), WM_MDIREFRESHMENU, 0, 0);
        return answerNow(set);
    }
    case WM_MDIACTIVATE:
        if (MDIframeCL* frame = FrameOf(handle_); frame != nullptr && event.ActivatedChild() == handle_)
            frame->NoteActivated(handle_);
        if (TheApp && TheApp->MainWindow())
            PostMessageA(TheApp->MainWindow()->Handle(), MDIframeCL::MergeMenuMessage,
                         reinterpret_cast<WPARAM>(event.ActivatedChild()), reinterpret_cast<LPARAM>(this));
        return OnMDIActivate(&event);
    default:
        return WindowCL::HandleMessage(event, answeredAtOnce, answer);
    }
}
