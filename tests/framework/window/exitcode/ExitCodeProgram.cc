// A program made of the framework's entry point and a start function that posts WM_QUIT with code 7 and
// runs the message loop: its process must end with exit code 7. A start function that is not handed the
// one application object, or one that has already taken a quit, ends the process with 3 instead.

#include "framework/window/ProgramEntry.h"
#include "framework/window/FrameworkApp.h"

#include <windows.h>

// The C runtime calls WinMain from the framework library; referring to it here pulls it into the link.
extern int (WINAPI* const EntryPoint)(HINSTANCE, HINSTANCE, LPSTR, int);
int (WINAPI* const EntryPoint)(HINSTANCE, HINSTANCE, LPSTR, int) = WinMain;

void StartProgram(FrameworkApp* app)
{
    const bool wellFormed = app && app == TheApp && app->ExitCode() == 0 && app->Instance() != nullptr;
    PostQuitMessage(wellFormed ? 7 : 3);
    app->RunMessageLoop();
}
