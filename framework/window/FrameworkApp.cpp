#include "framework/window/FrameworkApp.h"

#include "framework/window/HandlerList.h"
#include "framework/window/IdleList.h"
#include "framework/window/MenuLetters.h"
#include "framework/window/ResourceLibrary.h"
#include "framework/window/ResourceModule.h"
#include "framework/window/ScreenMetrics.h"
#include "framework/window/TimerManager.h"
#include "framework/window/TopWindow.h"
#include "framework/window/TraceMessage.h"
#include "framework/window/WindowMap.h"

#include <algorithm>

FrameworkApp* TheApp = nullptr;

namespace {

const unsigned WindowMapBuckets = 97;

bool IsEditControl(HWND window)
{
    char name[16] = {};
    return window != nullptr && GetClassNameA(window, name, sizeof name) > 0 && lstrcmpiA(name, "Edit") == 0;
}

bool KeyHeld(int key)
{
    return GetKeyState(key) < 0;
}

// The keys an edit control acts on itself: Ctrl with C, X, V or Z (Undo), Shift or not, as it takes them, and
// Ctrl+Insert, Shift+Insert and Shift+Delete.
bool IsEditKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN || KeyHeld(VK_MENU))
        return false;
    const bool control = KeyHeld(VK_CONTROL);
    const bool shift = KeyHeld(VK_SHIFT);
    switch (message.wParam) {
    case 'C':
    case 'X':
    case 'V':
    case 'Z':
        return control;
    case VK_INSERT:
        return control != shift;
    case VK_DELETE:
        return shift && !control;
    default:
        return false;
    }
}

} // namespace

FrameworkApp::FrameworkApp(HINSTANCE instance, HINSTANCE previousInstance, const char* commandLine,
                           int showCommand)
    : instance_(instance), previousInstance_(previousInstance), showCommand_(showCommand),
      commandLine_(commandLine)
{
    windowMap_ = std::make_unique<WindowMap>(WindowMapHash, WindowMapBuckets);
    TraceMessage("WinMap is %p", static_cast<void*>(windowMap_.get()));
    idleList_ = std::make_unique<IdleList>();
    Screen();
    MenuLetters::Watch();
}

void FrameworkApp::UnregisterWindowClass(const std::string& name)
{
    if (!::UnregisterClassA(name.c_str(), instance_))
        return;
    const auto found = std::find(registeredClasses_.begin(), registeredClasses_.end(), name);
    if (found != registeredClasses_.end())
        registeredClasses_.erase(found);
}

FrameworkApp::~FrameworkApp()
{
    MenuLetters::Unwatch();
    timerManager_.reset();
    for (const std::string& name : registeredClasses_)
        UnregisterClassA(name.c_str(), instance_);
    registeredClasses_.clear();
    controlBrush_.Reset();
    ResourceLibrary::FreeAll();
    windowMap_.reset();
    if (TheApp == this)
        TheApp = nullptr;
}

HBRUSH FrameworkApp::ControlBrush(COLORREF colour)
{
    controlBrush_.Reset(CreateSolidBrush(colour));
    return controlBrush_.Get();
}

void FrameworkApp::OfferMainWindow(TopWindow* window)
{
    if (mainWindowAssigned_)
        return;
    mainWindowAssigned_ = true;
    mainWindow_ = window;
}

void FrameworkApp::ForgetMainWindow(const TopWindow* window)
{
    if (mainWindow_ == window)
        mainWindow_ = nullptr;
}

TimerManager* FrameworkApp::TimersMadeOnDemand()
{
    if (!timerManager_)
        timerManager_ = std::make_unique<TimerManager>();
    return timerManager_.get();
}

void FrameworkApp::RunMessageLoop()
{
    ++loopDepth_;
    MSG message;
    for (;;) {
        if (idleList_ && idleList_->Count() >= 1 && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            idleList_->Run();
            continue;
        }
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            TakeQuit(message.wParam);
            break;
        }
        if (got == -1) {
            // A message the system could not hand over (a DDE payload too large to pass between processes):
            // it is lost, the program goes on.
            TraceMessage("Message retrieval failed (error %lu)", GetLastError());
            continue;
        }
        ProcessMessage(message);
    }
    --loopDepth_;
}

void FrameworkApp::TakeQuit(WPARAM code)
{
    exitCode_ = static_cast<int>(code);
    if (!appQuitPending_)
        return;
    // WM_QUIT is one flag of the queue, so the application's quit and a modal dialog's end can merge into
    // one message: a nested or modal loop passes the application's quit on to the loop around it.
    if (loopDepth_ > 1 || modalFlag_)
        PostQuitMessage(0);
    else
        appQuitPending_ = false;
}

void FrameworkApp::Quit()
{
    appQuitPending_ = true;
    PostQuitMessage(0);
}

void FrameworkApp::ProcessMessage(MSG& message)
{
    // A step of a menu's highlight that comes after its menu closed moves nothing else.
    if (MenuLetters::IsStepKey(message))
        return;
    // The frame's keys act where the person edits nothing else: an edit control with the focus selects all
    // its text on Ctrl+A (unless it carries kFrameKeysFirst) and deletes a character on Delete, and Delete in
    // a window outside the frame (help, a tool window) stays there, as do an edit control's own edit keys.
    bool frameKeys = true;
    if (message.message == WM_KEYDOWN && (message.wParam == 'A' || message.wParam == VK_DELETE)) {
        const bool edit = IsEditControl(message.hwnd);
        if (edit && message.wParam == 'A' && KeyHeld(VK_CONTROL) && !KeyHeld(VK_SHIFT) && !KeyHeld(VK_MENU) &&
            GetPropA(message.hwnd, kFrameKeysFirst) == nullptr) {
            SendMessageA(message.hwnd, EM_SETSEL, 0, -1);
            return;
        }
        if (message.wParam == VK_DELETE && mainWindow_)
            frameKeys = !edit && (message.hwnd == mainWindow_->Handle() || IsChild(mainWindow_->Handle(), message.hwnd));
    }
    // An edit key in an edit control outside the frame (the help window's text and Find field) acts on that
    // control, as its context menu does, never as the frame's key of the same name (Undo, Redo, Paste Link).
    if (mainWindow_ && IsEditKey(message) && IsEditControl(message.hwnd) &&
        message.hwnd != mainWindow_->Handle() && !IsChild(mainWindow_->Handle(), message.hwnd))
        frameKeys = false;
    if (accelerators_ && mainWindow_ && frameKeys) {
        HWND frame = mainWindow_->Handle();
        if (frame && IsWindowEnabled(frame) && TranslateAcceleratorA(frame, accelerators_, &message))
            return;
    }
    if (!modalFlag_ && mdiClient_ && TranslateMDISysAccel(mdiClient_, &message))
        return;
    if (modelessDialog_ && IsWindow(modelessDialog_) && IsDialogMessageA(modelessDialog_, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

int FrameworkApp::LoadAccelerators(const ResourceId& id)
{
    ResourceModule module(id);
    if (!module.IsValid())
        return 0;
    HACCEL table = ::LoadAcceleratorsA(module.Handle(), id.NameOrId());
    if (!table)
        return 0;
    accelerators_ = table;
    return 1;
}

void FrameworkApp::AddHandler(EventTarget* target, EventHandler function, UINT message)
{
    if (!handlers_)
        handlers_ = std::make_unique<HandlerList>();
    handlers_->Add(std::make_unique<HandlerDescriptor>(function, target, message, nullptr));
}

void FrameworkApp::RemoveHandler(EventTarget* target, EventHandler function, UINT message)
{
    if (handlers_)
        handlers_->Remove(message, nullptr, target, function);
}
