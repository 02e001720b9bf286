#include "app/AppDialog.h"

#include "framework/window/FrameworkApp.h"
#include "framework/window/TopWindow.h"

AppDialog* AppDialog::chainHead_ = nullptr;

AppDialog::AppDialog(unsigned dialogId)
    : OkCancelDialog(TheApp ? TheApp->MainWindow() : nullptr, ResourceId(dialogId, nullptr)),
      previousOpen_(chainHead_)
{
    chainHead_ = this;
}

AppDialog::~AppDialog()
{
    chainHead_ = previousOpen_;
}
