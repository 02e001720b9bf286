#include "widgets/MessageOwnerWindow.h"

#include "widgets/AppDialog.h"
#include "framework/window/MDIframeCL.h"
#include "widgets/Shell.h"
#include "framework/dialog/DialogFrameCL.h"
#include "framework/window/MDIchildCL.h"
#include "framework/dialog/FileDialogs.h"

HWND MessageOwnerWindow()
{
    // A box shown while a dialog runs belongs to the innermost one, so that closing it gives the activation
    // back to that dialog and not to a window behind it.
    if (HWND fileDialog = RunningFileDialog())
        return fileDialog;
    const auto& running = DialogFrameCL::ModalStack();
    if (!running.empty() && IsWindowVisible(running.back()->Handle()))
        return running.back()->Handle();
    if (AppDialog* dialog = AppDialog::OpenDialogs())
        return dialog->Handle();
    MDIframeCL* frame = TheShell().Frame();
    if (!frame)
        return nullptr;
    if (MDIchildCL* child = frame->MDIframeCL::ActiveChild())
        return child->Handle();
    return frame->Handle();
}
