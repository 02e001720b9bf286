#include "app/PrintProgressDialog.h"

#include "framework/draw/Display.h"

#include <commdlg.h>

PrintProgressDialog::PrintProgressDialog(WindowCL* owner, ZoomPane*, Display*)
    : PrintCancelDialog(owner, ResourceId(TemplateId, nullptr))
{
}

bool AskPrintRange(WindowCL* owner, const Display&, int pageCount, PrintRange& range)
{
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner ? owner->Handle() : nullptr;
    dialog.Flags = PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE | (pageCount < 2 ? PD_NOPAGENUMS : 0);
    dialog.nFromPage = 1;
    dialog.nToPage = static_cast<WORD>(pageCount);
    dialog.nMinPage = 1;
    dialog.nMaxPage = static_cast<WORD>(pageCount);
    dialog.nCopies = 1;
    if (!PrintDlgA(&dialog))
        return false;
    const bool ranged = (dialog.Flags & PD_PAGENUMS) != 0;
    range.first = ranged ? dialog.nFromPage : 1;
    range.last = ranged ? dialog.nToPage : pageCount;
    range.copies = dialog.nCopies > 0 ? dialog.nCopies : 1;
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    return true;
}
