#pragma once
// The one application object: instance and start-up parameters, main window, window map, idle tasks,
// accelerators, timers, application-wide handlers and the exit code; and the message loop, which modal
// dialogs run again nested.

#include "framework/draw/GdiScopes.h"
#include "framework/window/EventTarget.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class CommandTarget;
class HandlerList;
class IdleList;
class ResourceId;
class TimerManager;
class TopWindow;
class WindowMap;

// The window property by which an edit control leaves Ctrl+A to the frame's keys rather than selecting its
// text (the tree's name editor, which is open whenever one node is selected: Ctrl+A adds its branches).
inline constexpr const char* kFrameKeysFirst = "FrameKeysFirst";

class FrameworkApp {
public:
    FrameworkApp(HINSTANCE instance, HINSTANCE previousInstance, const char* commandLine, int showCommand);
    FrameworkApp(const FrameworkApp&) = delete;
    FrameworkApp& operator=(const FrameworkApp&) = delete;
    // Unregisters every window class registered through the framework, frees the resource libraries and
    // the window map. Clears the application pointer when it names this object.
    ~FrameworkApp();

    // Reads and dispatches messages, running the idle tasks while none waits, until WM_QUIT.
    void RunMessageLoop();
    // One message read by the loop: frame accelerators, MDI keys, the modeless dialog, then dispatch.
    void ProcessMessage(MSG& message);
    // Ends the application: posts WM_QUIT 0 and marks it as the application's own, so that a modal loop
    // that takes it passes it on and the outer loop ends as well.
    void Quit();

    // Loads the accelerator table of the frame; nonzero when a table was loaded.
    int LoadAccelerators(const ResourceId& id);
    void SetAcceleratorTable(HACCEL table) { accelerators_ = table; }
    HACCEL AcceleratorTable() const { return accelerators_; }

    // Application-wide handlers, consulted for every window's messages after the window's own lists.
    void AddHandler(EventTarget* target, EventHandler function, UINT message);
    // Removes the newest handler of this target and function for the message.
    void RemoveHandler(EventTarget* target, EventHandler function, UINT message);
    template <class T>
    void AddHandler(T* target, long (T::*function)(WindowEvent*), UINT message)
    {
        AddHandler(static_cast<EventTarget*>(target), AsEventHandler(function), message);
    }
    template <class T>
    void RemoveHandler(T* target, long (T::*function)(WindowEvent*), UINT message)
    {
        RemoveHandler(static_cast<EventTarget*>(target), AsEventHandler(function), message);
    }
    HandlerList* Handlers() const { return handlers_.get(); }

    // Window classes registered through the framework; each is unregistered at destruction.
    void AddRegisteredClass(const std::string& name) { registeredClasses_.push_back(name); }
    // Unregisters the class now and, when no window of it is left (the system agrees), forgets its name.
    void UnregisterWindowClass(const std::string& name);
    const std::vector<std::string>& RegisteredClasses() const { return registeredClasses_; }

    // The first TopWindow constructed; later ones do not replace it.
    TopWindow* MainWindow() const { return mainWindow_; }
    void OfferMainWindow(TopWindow* window);
    void ClearMainWindow() { mainWindow_ = nullptr; }
    void ForgetMainWindow(const TopWindow* window);

    HINSTANCE Instance() const { return instance_; }
    HINSTANCE PreviousInstance() const { return previousInstance_; }
    int ShowCommand() const { return showCommand_; }
    const char* CommandLine() const { return commandLine_; }
    IdleList* Idle() const { return idleList_.get(); }
    WindowMap* Map() const { return windowMap_.get(); }
    TimerManager* Timers() const { return timerManager_.get(); }
    // The application's timer manager, made on first use.
    TimerManager* TimersMadeOnDemand();
    int ModalFlag() const { return modalFlag_; }
    void SetModalFlag(int flag) { modalFlag_ = flag; }
    const char* DefaultResourceLibrary() const { return defaultResourceLibrary_; }
    int ExitCode() const { return exitCode_; }
    // How many message loops are running now (nested modal loops count one each).
    int LoopDepth() const { return loopDepth_; }

    // The pop-up menu being tracked, which gets WM_COMMAND before anything else; null when none.
    CommandTarget* TrackedPopupMenu() const { return trackedPopupMenu_; }
    void SetTrackedPopupMenu(CommandTarget* menu) { trackedPopupMenu_ = menu; }
    // The current modeless dialog's window, offered every message by the loop; 0 when none.
    HWND ModelessDialog() const { return modelessDialog_; }
    void SetModelessDialog(HWND dialog) { modelessDialog_ = dialog; }
    // Clears the modeless dialog when it is this one.
    void ForgetModelessDialog(HWND dialog)
    {
        if (modelessDialog_ == dialog)
            modelessDialog_ = nullptr;
    }
    // The MDI client window, whose system keys the loop translates; 0 when none.
    HWND MdiClient() const { return mdiClient_; }
    void SetMdiClient(HWND client) { mdiClient_ = client; }
    // The one brush that controls answer their parent's colour requests with, made anew in this colour; the
    // previous one is deleted, the last one with the application.
    HBRUSH ControlBrush(COLORREF colour);

private:
    void TakeQuit(WPARAM code);

    HINSTANCE instance_;
    HINSTANCE previousInstance_;
    std::vector<std::string> registeredClasses_;
    int showCommand_;
    const char* commandLine_;
    TopWindow* mainWindow_ = nullptr;
    bool mainWindowAssigned_ = false;
    std::unique_ptr<IdleList> idleList_;
    std::unique_ptr<WindowMap> windowMap_;
    HACCEL accelerators_ = nullptr;
    std::unique_ptr<TimerManager> timerManager_;
    std::unique_ptr<HandlerList> handlers_;
    int modalFlag_ = 0;
    const char* defaultResourceLibrary_ = nullptr;
    int exitCode_ = 0;
    int loopDepth_ = 0;
    bool appQuitPending_ = false;
    CommandTarget* trackedPopupMenu_ = nullptr;
    HWND modelessDialog_ = nullptr;
    HWND mdiClient_ = nullptr;
    ScopedGdiObject<HBRUSH> controlBrush_;
};

// The one application object, set by WinMain.
extern FrameworkApp* TheApp;
