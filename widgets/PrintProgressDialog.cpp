#include "widgets/PrintProgressDialog.h"

#include "widgets/DocumentWindow.h"
#include "widgets/PageGrid.h"
#include "widgets/ZoomPane.h"
#include "framework/draw/PrinterDisplay.h"

#include "CommandIds.h"

#include <cstdio>

namespace Ids = Ctl::Printing;

PrintProgressDialog::PrintProgressDialog(DocChildWindow* owner, ZoomPane*, PrinterDisplay* printer)
    : PrintCancelDialog(owner, ResourceId(DialogRes::Printing, nullptr))
{
    if (!handle_)
        return;
    zString document = owner ? owner->Text() : zString();
    if (auto* file = dynamic_cast<DocumentWindow*>(owner); file && owner->IsDocument()) {
        const zString path = file->FullPath();
        if (!path.IsEmpty() && GetFileAttributesA(path.Text()) != INVALID_FILE_ATTRIBUTES)
            document = path;
    }
    SetItemText(Ids::DocumentControl, document.Text());
    zString target("To \"");
    if (printer) {
        target += printer->DriverName();
        target += "\" on ";
        target += printer->PortName();
    }
    SetItemText(Ids::PrinterControl, target.Text());
}

void PrintProgressDialog::SetPageRange(int first, int last)
{
    first_ = first;
    last_ = last;
}

void PrintProgressDialog::ShowPage(int)
{
    const int page = ZoomPane::Pages().PageNumber();
    char text[80];
    if (first_ == 1)
        std::snprintf(text, sizeof text, "Printing Page %d of %d", page, last_);
    else if (last_ > first_)
        std::snprintf(text, sizeof text, "Printing Page %d, %d Pages Remaining", page, last_ - page);
    else
        std::snprintf(text, sizeof text, "Printing Page %d", page);
    if (handle_)
        SetItemText(Ids::PageControl, text);
}
