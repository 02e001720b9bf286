#include "framework/dialog/PrintCancelDialog.h"

#include "framework/dialog/PrintJob.h"

PrintCancelDialog::PrintCancelDialog(WindowCL* parent, const ResourceId& templateId)
    : DialogFrameCL(parent, templateId)
{
    AddHandler(this, &PrintCancelDialog::OnCancel, WM_COMMAND);
}

long PrintCancelDialog::OnCancel(WindowEvent* event)
{
    if (LOWORD(event->wParam) != IDCANCEL)
        return 0;
    if (job_)
        job_->Cancel();
    else
        EndModal();
    return 1;
}
