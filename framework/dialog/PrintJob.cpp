#include "framework/dialog/PrintJob.h"

#include "foundation/MessageBoxes.h"
#include "framework/dialog/PrintCancelDialog.h"
#include "framework/draw/PrinterDisplay.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/IdleList.h"

#include <cstdio>

namespace {

PrintJob* currentJob = nullptr;

HDC PrinterContextOf(PrinterDisplay* printer)
{
    return printer ? printer->PrinterContext() : nullptr;
}

} // namespace

BOOL CALLBACK PrintAbortProc(HDC, int error)
{
    return error == 0 || currentJob == nullptr;
}

PrintJob::PrintJob(PrintSource* source, PrinterDisplay* printer, PrintCancelDialog* dialog)
    : printer_(printer), source_(source), dialog_(dialog)
{
    if (dialog_)
        dialog_->SetJob(this);
    currentJob = this;
}

PrintJob::~PrintJob()
{
    Finish(true);
}

PrintJob* PrintJob::Current()
{
    return currentJob;
}

bool PrintJob::Start(const char* output)
{
    HDC dc = PrinterContextOf(printer_.get());
    if (!dc)
        return false;
    SetAbortProc(dc, PrintAbortProc);
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = title_.Text();
    document.lpszOutput = output;
    if (printer_->StartDocument(document) <= 0) {
        ShowErrorBox(nullptr, "Unable to print: the printer did not accept the document.", 0);
        return false;
    }
    started_ = true;
    if (dialog_)
        dialog_->ShowPage(pageNumber_);
    if (TheApp && TheApp->Idle())
        TheApp->Idle()->Add(this, &PrintJob::Step);
    return true;
}

int PrintJob::Run()
{
    HDC dc = PrinterContextOf(printer_.get());
    if (!source_ || !dc) {
        delete this;
        return 1;
    }
    if (banding_) {
        RECT band{};
        Escape(dc, NEXTBAND, 0, nullptr, &band);
        if (band.left || band.top || band.right || band.bottom) {
            ++bandCount_;
            if (dialog_)
                dialog_->ShowBand(bandCount_);
            source_->PrintOnDisplay(printer_.get());
            return 0;
        }
    } else {
        const bool pageStarted = printer_->StartPrinterPage() > 0;
        if (pageStarted)
            source_->PrintOnDisplay(printer_.get());
        if (!pageStarted || printer_->EndPrinterPage() <= 0) {
            char text[80];
            std::snprintf(text, sizeof text, "Printing stopped: the printer did not accept page %d.", pageNumber_);
            Cancel();
            ShowErrorBox(nullptr, text, 0);
            return 1;
        }
    }
    if (source_->NextPrintPage()) {
        bandCount_ = 0;
        ++pageNumber_;
        if (dialog_)
            dialog_->ShowPage(pageNumber_);
        return 0;
    }
    printer_->EndDocument();
    started_ = false;
    delete this;
    return 1;
}

void PrintJob::Cancel()
{
    if (started_ && PrinterContextOf(printer_.get()))
        printer_->AbortDocument();
    started_ = false;
    delete this;
}

void PrintJob::Finish(bool deleteDialog)
{
    if (TheApp && TheApp->Idle())
        TheApp->Idle()->Remove(this, &PrintJob::Step);
    printer_.reset();
    if (dialog_) {
        dialog_->SetJob(nullptr);
        if (deleteDialog) {
            if (dialog_->IsModal()) {
                // The dialog is still running: it ends its run and deletes itself afterwards.
                dialog_->SetStateBits(WindowCL::StateDeleteWithWindow);
                dialog_->EndModal();
            } else {
                delete dialog_;
            }
        }
    }
    dialog_ = nullptr;
    source_ = nullptr;
    if (currentJob == this)
        currentJob = nullptr;
}
