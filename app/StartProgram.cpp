#include "app/StartProgram.h"

#include "framework/window/FrameworkApp.h"

void StartProgram(FrameworkApp* app)
{
    app->RunMessageLoop();
}
