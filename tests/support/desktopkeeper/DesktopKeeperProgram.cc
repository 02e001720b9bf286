// Keeps a test session's Wine desktop in use from the session's start to its end (tools/session.sh starts
// it). Wine's server closes a desktop one second after its last program ended and tells the desktop's own
// process to quit; a program starting at that moment lost its desktop while it came up, and the desktop's
// process was started again for every program that followed a pause. It owns no window: no broadcast (a DDE
// initiate) and no search of the screen's windows meets it.

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Asking for the desktop's window joins this thread to the desktop and brings its process up now, with
    // the session's output rather than a test's; the session's end kills this program.
    if (GetDesktopWindow() == nullptr)
        return 1;
    for (;;)
        Sleep(INFINITE);
}
