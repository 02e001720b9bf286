#include "tests/support/ScopedApplication.h"

#include "framework/window/FrameworkApp.h"
#include "tests/support/PumpMessages.h"

ScopedApplication::ScopedApplication() : previous_(TheApp)
{
    DrainQuitMessage();
    app_ = new FrameworkApp(GetModuleHandleA(nullptr), nullptr, "", SW_HIDE);
    TheApp = app_;
}

ScopedApplication::~ScopedApplication()
{
    DrainQuitMessage();
    delete app_;
    TheApp = previous_;
}
