#include "framework/dialog/OkCancelDialog.h"

#include "framework/window/ChildWindow.h"
#include "framework/window/HandlerDescriptor.h"

OkCancelDialog::OkCancelDialog(WindowCL* parent, const ResourceId& templateId, DWORD styleOverride)
    : DialogFrameCL(parent, templateId, styleOverride, false)
{
    if (FindChild(IDOK))
        AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(IDOK, AsEventHandler(&OkCancelDialog::OnOk), this,
                                                                 WM_COMMAND));
    if (FindChild(IDCANCEL))
        AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(
            IDCANCEL, AsEventHandler(&OkCancelDialog::OnCancel), this, WM_COMMAND));
    else
        AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(
            IDCANCEL, AsEventHandler(&OkCancelDialog::OnCancelKey), this, WM_COMMAND));
}

int OkCancelDialog::ValidateAndStore()
{
    for (WindowCL* child : children_) {
        auto* control = dynamic_cast<ChildWindow*>(child);
        if (!control || !IsWindowEnabled(child->Handle()))
            continue;
        if (!control->Validate()) {
            if (IsWindow(child->Handle()))
                SetFocus(child->Handle());
            result_ = 0;
            return 0;
        }
    }
    for (WindowCL* child : children_) {
        auto* control = dynamic_cast<ChildWindow*>(child);
        if (control && IsWindowEnabled(child->Handle()))
            control->Store();
    }
    result_ = 1;
    return 1;
}

long OkCancelDialog::OnOk(WindowEvent*)
{
    const int check = OkPreCheck();
    if (check == 1)
        return 0;
    if (check == 3) {
        EndModal();
        return 0;
    }
    if (check != 2 && ValidateAndStore() != 1)
        return 0;
    result_ = OkResult();
    if (result_)
        EndModal();
    return 0;
}

long OkCancelDialog::OnCancelKey(WindowEvent*)
{
    // Escape in a dialog without a Cancel button does what its close box does.
    SendMessageA(handle_, WM_CLOSE, 0, 0);
    return 0;
}

long OkCancelDialog::OnCancel(WindowEvent*)
{
    result_ = 0;
    EndModal();
    return 0;
}
