#include "app/FrameCommands.h"

#include "framework/window/FrameworkApp.h"
#include "framework/window/TopWindow.h"

#include <windows.h>

namespace {

long refreshCount = 0;

}  // namespace

void RefreshFrameCommands()
{
    ++refreshCount;
    if (TheApp == nullptr || TheApp->MainWindow() == nullptr)
        return;
    HWND frame = TheApp->MainWindow()->Handle();
    if (frame != nullptr && GetMenu(frame) != nullptr)
        DrawMenuBar(frame);
}

long FrameCommandRefreshCount()
{
    return refreshCount;
}
