#include "app/MessageOwnerWindow.h"

#include "app/AppDialog.h"
#include "app/MainFrame.h"
#include "framework/window/MDIchildCL.h"

HWND MessageOwnerWindow()
{
    if (AppDialog* dialog = AppDialog::OpenDialogs())
        return dialog->Handle();
    MainFrame* frame = MainFrame::Program();
    if (!frame)
        return nullptr;
    if (MDIchildCL* child = frame->MDIframeCL::ActiveChild())
        return child->Handle();
    return frame->Handle();
}
