#include "widgets/CursorStack.h"

#include "framework/window/FrameworkApp.h"

#include <windows.h>

namespace {
CursorStack* instance = nullptr;
}

CursorStack::CursorStack()
{
    if (TheApp)
        TheApp->AddHandler(this, &CursorStack::OnMouseMove, WM_MOUSEMOVE);
}

CursorStack::~CursorStack()
{
    if (TheApp)
        TheApp->RemoveHandler(this, &CursorStack::OnMouseMove, WM_MOUSEMOVE);
}

long CursorStack::OnMouseMove(WindowEvent*)
{
    Apply(false);
    return 0;
}

void CursorStack::Create()
{
    if (!instance)
        instance = new CursorStack;
}

void CursorStack::Destroy()
{
    delete instance;
    instance = nullptr;
}

CursorStack* CursorStack::Instance()
{
    return instance;
}

void CursorStack::Push(uint32_t id)
{
    if (count >= kCapacity)
        return;
    ids[count++] = id;
    Apply(true);
}

void CursorStack::Pop()
{
    if (count > 0)
        --count;
    Apply(true);
}

bool CursorStack::Apply(bool force)
{
    const uint32_t id = Top();
    if (!force && id == kArrow)
        return false;
    HCURSOR cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(id));
    if (!cursor)
        return false;
    SetCursor(cursor);
    return true;
}

void PushCursor(uint32_t id)
{
    if (instance)
        instance->Push(id);
}

void PushWaitCursor()
{
    PushCursor(CursorStack::kWait);
}

void PopCursor()
{
    if (instance)
        instance->Pop();
}
