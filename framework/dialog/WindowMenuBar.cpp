#include "framework/dialog/WindowMenuBar.h"

#include "framework/window/FrameworkApp.h"
#include "framework/window/MDIchildCL.h"
#include "framework/window/MDIframeCL.h"

WindowMenuBar::WindowMenuBar(WindowCL* window, const ResourceId& id) : Menu(Load(id), window)
{
    auto* frame = TheApp ? dynamic_cast<MDIframeCL*>(TheApp->MainWindow()) : nullptr;
    if (frame && window && frame->ActiveChild() == window)
        PostMessageA(frame->Handle(), MDIframeCL::MergeMenuMessage, 1, reinterpret_cast<LPARAM>(window));
}
