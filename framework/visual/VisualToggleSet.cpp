#include "framework/visual/VisualToggleSet.h"

#include "framework/dialog/CtrlWindowCL.h"
#include "framework/visual/VisualListPane.h"
#include "framework/window/HandlerDescriptor.h"

WindowCL* VisualCtrlKit::FindChildById(WindowCL* window, unsigned id)
{
    if (!window)
        return nullptr;
    for (WindowCL* child : window->Children())
        if (child->Id() == id)
            return child;
    return nullptr;
}

void VisualCtrlKit::SetItemEnabled(WindowCL* window, unsigned id, bool enable)
{
    if (auto* control = dynamic_cast<CtrlWindowCL*>(FindChildById(window, id)))
        enable ? control->Enable() : control->Disable();
}

bool VisualCtrlKit::IsItemEnabled(WindowCL* window, unsigned id)
{
    WindowCL* child = FindChildById(window, id);
    return child && IsWindowEnabled(child->Handle());
}

LRESULT VisualCtrlKit::GetCheck(WindowCL* child)
{
    return child ? SendMessageA(child->Handle(), BM_GETCHECK, 0, 0) : 0;
}

LRESULT VisualCtrlKit::SetCheck(WindowCL* child, int state)
{
    if (!child || !child->Handle())
        return 0;
    if (state == 1 && GetCheck(child) == 1)
        return 0;
    auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(child->Handle(), GWLP_WNDPROC));
    return CallWindowProcA(procedure, child->Handle(), BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

LRESULT VisualCtrlKit::SetItemChecked(WindowCL* window, unsigned id, bool checked)
{
    auto* pane = dynamic_cast<VisualListPane*>(window);
    if (pane && pane->ToggleSets()) {
        for (const auto& set : *pane->ToggleSets()) {
            if (!set->Holds(id))
                continue;
            set->Select(checked ? id : (id + 1 > set->Last() ? set->First() : id + 1));
            return 1;
        }
    }
    return SetCheck(FindChildById(window, id), checked ? 1 : 0);
}

VisualToggleSet::VisualToggleSet(WindowCL* host, unsigned first, unsigned last)
{
    Initialise(host, first, last);
}

VisualToggleSet::VisualToggleSet(VisualListPane* host, unsigned first, unsigned last)
{
    if (host)
        host->RegisterToggleSet(this);
    Initialise(host, first, last);
}

VisualToggleSet::~VisualToggleSet()
{
    if (host_)
        host_->RemoveHandler(this, &VisualToggleSet::OnCommand, WM_COMMAND);
}

void VisualToggleSet::Initialise(WindowCL* host, unsigned first, unsigned last)
{
    owner_ = host;
    host_ = host;
    first_ = first;
    last_ = last;
    current_ = first;
    bool found = false;
    for (unsigned id = first; id <= last && !found; ++id) {
        if (VisualCtrlKit::GetCheck(VisualCtrlKit::FindChildById(host, id))) {
            current_ = id;
            found = true;
        }
    }
    if (!found)
        VisualCtrlKit::SetCheck(VisualCtrlKit::FindChildById(host, first), 1);
    if (host)
        host->AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(
            first, last, AsEventHandler(&VisualToggleSet::OnCommand), this, WM_COMMAND));
}

void VisualToggleSet::SetTabStop(unsigned id, bool on)
{
    WindowCL* child = VisualCtrlKit::FindChildById(host_, id);
    if (!child || !child->Handle())
        return;
    const DWORD style = child->Style();
    if (on == ((style & WS_TABSTOP) != 0))
        return;
    child->SetStyle(on ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    SetWindowLongA(child->Handle(), GWL_STYLE, static_cast<LONG>(child->Style()));
}

void VisualToggleSet::Select(unsigned id)
{
    VisualCtrlKit::SetCheck(VisualCtrlKit::FindChildById(host_, current_), 0);
    SetTabStop(current_, false);
    current_ = id;
    VisualCtrlKit::SetCheck(VisualCtrlKit::FindChildById(host_, id), 1);
    SetTabStop(id, true);
}

long VisualToggleSet::OnCommand(WindowEvent* event)
{
    if (HIWORD(event->wParam) != 0)
        return 0;
    Select(LOWORD(event->wParam));
    if (listener_ && listenerMethod_)
        (listener_->*listenerMethod_)(event);
    return 0;
}

void VisualToggleSet::EnableAll(bool enable)
{
    for (unsigned id = first_; id <= last_; ++id)
        VisualCtrlKit::SetItemEnabled(host_, id, enable);
}
