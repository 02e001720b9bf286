#include "dialogs/PrintPagesDialog.h"

#include "widgets/DocChildWindow.h"
#include "widgets/PrintPreview.h"
#include "foundation/MessageBoxes.h"

#include <string>

namespace Ids = Ctl::Print;

PrintPagesDialog::PrintPagesDialog(DocChildWindow* window) : AppDialog(DialogRes::Print), window_(window)
{
    AddHandler(this, &PrintPagesDialog::OnPagesCommand, WM_COMMAND);
    if (!handle_)
        return;
    editPutAside_ = window_->SuspendInPlaceEdit();
    // The preview lies over the white area: the area must not paint over it.
    const HWND area = Control(Ids::PreviewArea);
    SetWindowLongA(area, GWL_STYLE, GetWindowLongA(area, GWL_STYLE) | WS_CLIPSIBLINGS);
    SetItemText(Ids::TitleText, window_->Text());
    SetItemText(Ids::PagesText, "");
    ShowItem(Ids::Headers, window_->HasPageHeader());
    Rebuild();
}

PrintPagesDialog::~PrintPagesDialog()
{
    if (preview_)
        preview_->Free();
    if (editPutAside_)
        window_->ResumeInPlaceEdit();
}

void PrintPagesDialog::Rebuild()
{
    if (preview_) {
        preview_->Free();
        preview_.reset();
    }
    RECT area{};
    HWND areaControl = Control(Ids::PreviewArea);
    GetWindowRect(areaControl, &area);
    MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&area), 2);
    preview_ = MakePrintPreview(this, window_->Pane(), area);
    const int pages = PreviewPageCount();
    SetItemText(Ids::PagesText, std::to_string(pages).c_str());
    ShowItem(Ids::PagesArePrintedInColumnsText, pages >= 2);
}

long PrintPagesDialog::OnPagesCommand(WindowEvent* event)
{
    switch (event->CommandId()) {
    case Ids::Print:
        print_ = true;
        EndModal();
        return 1;
    case Ids::Setup:
        if (preview_) {
            preview_->Free();
            preview_.reset();
        }
        window_->PrintSetup();
        Rebuild();
        return 1;
    case Ids::Headers:
        // The pages show the header and footer: a change is drawn at once.
        if (window_->EditPageHeader())
            Rebuild();
        return 1;
    case Cmd::PrintPreviewRebuild:
        Rebuild();
        return 1;
    default:
        return 0;
    }
}

void ShowPrintPreview(DocChildWindow* window)
{
    if (!window || !window->HasPrinter()) {
        ShowErrorBox(nullptr, "Unable to print: No Printer drivers.", 0);
        return;
    }
    bool print = false;
    {
        PrintPagesDialog dialog(window);
        dialog.RunModal();
        print = dialog.PrintChosen();
    }
    if (print)
        window->Print(0);
}
