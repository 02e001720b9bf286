// The program's entry: makes the application object, hands it to the program's start function, which runs
// the message loop, and returns the exit code of the last quit message.

#include "framework/window/FrameworkApp.h"
#include "framework/window/ProgramEntry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand)
{
    TheApp = new FrameworkApp(instance, previousInstance, commandLine, showCommand);
    StartProgram(TheApp);
    const int exitCode = TheApp->ExitCode();
    delete TheApp;
    return exitCode;
}
