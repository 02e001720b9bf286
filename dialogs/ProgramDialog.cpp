#include "dialogs/ProgramDialog.h"

#include "framework/window/FrameworkApp.h"
#include "framework/window/HandlerDescriptor.h"
#include "framework/window/TopWindow.h"

ProgramDialog::ProgramDialog(unsigned templateId)
    : OkCancelDialog(TheApp ? TheApp->MainWindow() : nullptr, ResourceId(templateId, nullptr))
{
}

void ProgramDialog::OnButton(unsigned id, std::function<void()> handler)
{
    handlers_[id] = std::move(handler);
    AddHandlerDescriptor(
        std::make_unique<HandlerDescriptor>(id, AsEventHandler(&ProgramDialog::OnAnyButton), this, WM_COMMAND));
}

void ProgramDialog::OnNotification(unsigned id, unsigned code, std::function<void()> handler)
{
    codes_[id] = code;
    OnButton(id, std::move(handler));
}

long ProgramDialog::OnAnyButton(WindowEvent* event)
{
    auto found = handlers_.find(LOWORD(event->wParam));
    if (found == handlers_.end())
        return 0;
    auto code = codes_.find(LOWORD(event->wParam));
    if (code != codes_.end() && code->second != HIWORD(event->wParam))
        return 0;
    found->second();
    return 1;
}

int ProgramDialog::Run()
{
    if (!TheApp || !Handle())
        return IDCANCEL;
    RunModal();
    return Result() ? IDOK : IDCANCEL;
}

void ProgramDialog::SelectField(unsigned id)
{
    if (WindowCL* field = FindChild(id)) {
        SetFocus(field->Handle());
        SendMessageA(field->Handle(), EM_SETSEL, 0, -1);
    }
}
