#include "widgets/FrameCommands.h"

#include "framework/window/MDIframeCL.h"
#include "widgets/Shell.h"

void RefreshFrameCommands()
{
    TheShell().RefreshCommands();
}
