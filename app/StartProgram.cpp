#include "app/StartProgram.h"

#include "app/AppHost.h"
#include "framework/window/FrameworkApp.h"

void StartProgram(FrameworkApp* app)
{
    AppHost host;
    Host* previous = SetHost(&host);
    app->RunMessageLoop();
    SetHost(previous);
}
