#include "app/FrameCommands.h"

#include "app/MainFrame.h"

void RefreshFrameCommands()
{
    if (MainFrame* frame = MainFrame::Program())
        frame->RefreshCommands();
}
