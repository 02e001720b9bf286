#include "tests/support/RealInput.h"

#include "tests/support/ProcessLock.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// Runs an xdotool command line through the shell and waits until it has ended, which it marks with a file:
// a program of the host system started from here gives no exit code to wait on.
void RunXdotool(const std::string& arguments)
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
        return;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // Only sent messages are answered meanwhile: the input itself waits in the queue for the caller's pump.
    const DWORD start = GetTickCount();
    while (GetFileAttributesA(windowsMarker.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start > 20000) {
            ADD_FAILURE() << "xdotool did not end: " << arguments;
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    DeleteFileA(windowsMarker.c_str());
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

// A synchronised move waits for the pointer to move, which it never does when it is there already (xdotool
// then waits about 15 s): it comes from a pixel beside the point.
std::string MoveTo(POINT at)
{
    const std::string y = " " + std::to_string(at.y);
    return "mousemove " + std::to_string(at.x + 1) + y + " mousemove --sync " + std::to_string(at.x) + y;
}

}  // namespace

namespace RealInput {

void Click(POINT screen)
{
    RunXdotool(MoveTo(screen) + " click 1");
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

void Drag(POINT from, POINT to)
{
    const POINT middle{(from.x + to.x) / 2, (from.y + to.y) / 2};
    RunXdotool(MoveTo(from) + " mousedown 1 sleep 0.05 " + MoveTo(middle) + " sleep 0.05 " + MoveTo(to) +
               " sleep 0.05 mouseup 1");
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

POINT OnScreen(HWND window, POINT client)
{
    ClientToScreen(window, &client);
    return client;
}

}  // namespace RealInput
