#include "app/ControlColours.h"

#include "app/StartProgram.h"
#include "framework/draw/DeviceInfo.h"
#include "framework/draw/Display.h"
#include "framework/draw/WindowDisplay.h"
#include "framework/draw/zBrush.h"
#include "framework/draw/zPen.h"
#include "framework/window/WindowCL.h"

void ApplyButtonFaceColour(WindowCL* window)
{
    window->SetBackgroundColour(TheProgram()->ButtonFace());
    for (WindowCL* child : window->Children()) {
        if (GetWindowTextLengthA(child->Handle()) > 0)
            child->SetBackgroundColour(TheProgram()->ButtonFace());
    }
}

bool IsColourDevice(WindowCL* window)
{
    WindowDisplay display(window);
    DeviceInfo info(display);
    info.Lock();
    const int colours = info.Caps();
    info.Unlock();
    return colours < 0 || colours >= 8;
}

void FillFramedRect(Display& display, const RECT& rect, WindowCL* colourSource, const Colour* colour)
{
    DisplayLock lock(display);
    Colour fill = display.BackgroundColour();
    if (colour)
        fill = *colour;
    else if (colourSource)
        fill = SplitColour(colourSource->BackgroundColour());
    display.PushBrush(new zBrush(fill));
    display.PushPen(new zPen(fill, PS_SOLID, 0));
    Rectangle(display.DeviceContext(), rect.left, rect.top, rect.right, rect.bottom);
    display.PopPen();
    display.PopBrush();
}
