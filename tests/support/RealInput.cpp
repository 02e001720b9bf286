#include "tests/support/RealInput.h"

#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// Starts an xdotool command line through the shell, which leaves a file once it has ended: a program of the
// host system started from here gives no exit code to wait on. The file's path, empty when nothing started.
std::string StartXdotool(const std::string& arguments)
{
    static int serial = 0;
    char marker[80];
    std::snprintf(marker, sizeof marker, "/tmp/kivo-input-%lu-%d", GetCurrentProcessId(), ++serial);
    std::string windowsMarker = std::string("Z:") + marker;
    for (char& c : windowsMarker)
        if (c == '/')
            c = '\\';
    DeleteFileA(windowsMarker.c_str());
    std::string commandLine = "/bin/sh -c \"xdotool " + arguments + "; touch " + marker + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        ADD_FAILURE() << "xdotool did not start: " << arguments;
        return "";
    }
    // A program of the host system gets no process or thread handle: the two fields hold whatever the
    // system left there, and closing them would close some other handle of this process (its output, a lock).
    return windowsMarker;
}

// Waits until the started xdotool has ended.
void WaitForXdotool(const std::string& marker, const std::string& arguments)
{
    if (marker.empty())
        return;
    // Only sent messages are answered meanwhile: the input itself waits in the queue for the caller's pump.
    const DWORD start = GetTickCount();
    while (GetFileAttributesA(marker.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start > 20000) {
            ADD_FAILURE() << "xdotool did not end: " << arguments;
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    DeleteFileA(marker.c_str());
}

void RunXdotool(const std::string& arguments)
{
    WaitForXdotool(StartXdotool(arguments), arguments);
}

// With no window manager on the virtual screen the server's keyboard focus follows nothing the system does:
// keys go first to the X window of the system's foreground window.
std::string FocusForeground()
{
    const auto xWindow = reinterpret_cast<UINT_PTR>(GetPropA(GetForegroundWindow(), "__wine_x11_whole_window"));
    if (xWindow == 0)
        return "";
    return "windowfocus --sync " + std::to_string(xWindow) + " ";
}

// A synchronous move waits until the pointer has left where it was, for 15 s when it is at the point already:
// a step beside the point first, unwaited, so that the waited move always moves.
std::string MoveTo(POINT at)
{
    const std::string beside = std::to_string(at.x > 0 ? at.x - 1 : at.x + 1) + " " + std::to_string(at.y);
    return "mousemove " + beside + " mousemove --sync " + std::to_string(at.x) + " " + std::to_string(at.y);
}

// The innermost ClickAndDispatch's flag, set when the left button's release is taken off this thread's queue.
bool* releaseTaken = nullptr;

LRESULT CALLBACK NoteRelease(int code, WPARAM removal, LPARAM message)
{
    if (code == HC_ACTION && removal == PM_REMOVE && releaseTaken != nullptr &&
        reinterpret_cast<const MSG*>(message)->message == WM_LBUTTONUP)
        *releaseTaken = true;
    return CallNextHookEx(nullptr, code, removal, message);
}

}  // namespace

namespace RealInput {

void Click(POINT screen)
{
    RunXdotool(MoveTo(screen) + " click 1");
}

void ClickAndDispatch(POINT screen)
{
    // A click that opens a modal dialog comes back here only when it has closed, after the clicks made in it.
    bool taken = false;
    bool* outer = releaseTaken;
    releaseTaken = &taken;
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, NoteRelease, nullptr, GetCurrentThreadId());
    Click(screen);
    EXPECT_TRUE(PumpMessagesUntil([&taken] { return taken; })) << "the click was not taken";
    UnhookWindowsHookEx(hook);
    releaseTaken = outer;
}

void DoubleClick(POINT screen)
{
    // Well inside the system's double-click time (500 ms).
    RunXdotool(MoveTo(screen) + " click --repeat 2 --delay 80 1");
}

void RightClick(POINT screen)
{
    RunXdotool(MoveTo(screen) + " click 3");
}

void Move(POINT screen)
{
    RunXdotool(MoveTo(screen));
}

void Drag(POINT from, POINT to)
{
    const POINT middle{(from.x + to.x) / 2, (from.y + to.y) / 2};
    RunXdotool(MoveTo(from) + " mousedown 1 sleep 0.05 " + MoveTo(middle) + " sleep 0.05 " + MoveTo(to) +
               " sleep 0.05 mouseup 1");
}

void Press(POINT screen)
{
    RunXdotool(MoveTo(screen) + " mousedown 1");
}

void Release()
{
    RunXdotool("mouseup 1");
}

void Keys(const std::string& keys)
{
    RunXdotool(FocusForeground() + "key --delay 30 " + keys);
}

void Type(const std::string& text)
{
    std::string quoted;
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    RunXdotool(FocusForeground() + "type --delay 30 '" + quoted + "'");
}

KeysLater::KeysLater(const std::string& keys, unsigned milliseconds)
    : arguments_(FocusForeground() + "sleep " + std::to_string(milliseconds / 1000.0) + " key --delay 30 " + keys),
      marker_(StartXdotool(arguments_))
{
}

KeysLater::~KeysLater()
{
    WaitForXdotool(marker_, arguments_);
}

bool KeysLater::Sent() const
{
    return marker_.empty() || GetFileAttributesA(marker_.c_str()) != INVALID_FILE_ATTRIBUTES;
}

POINT OnScreen(HWND window, POINT client)
{
    ClientToScreen(window, &client);
    return client;
}

POINT Middle(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return OnScreen(window, POINT{client.right / 2, client.bottom / 2});
}

}  // namespace RealInput
