#pragma once
// A print job drives the printing of a document page by page while its cancel dialog runs: it is stepped
// from the application's idle time, either band by band (the printer names the bands) or a whole page at a
// time, until it reports that it has finished; then it deletes itself, its printer display and its dialog.
// A document or page the printer refuses ends the job at once, and the user is told.
// While a job exists it is the program's current print job.

#include "foundation/zString.h"
#include "framework/window/EventTarget.h"

#include <windows.h>

#include <memory>

class Display;
class PrintCancelDialog;
class PrinterDisplay;

// What a job prints: the current page drawn on the printer, and the step to the next page (0: none left).
class PrintSource {
public:
    virtual ~PrintSource() = default;
    virtual void PrintOnDisplay(Display* printer) = 0; // 26
    virtual long NextPrintPage() = 0;                  // 27
};

// The abort procedure a started document is given. The printer calls it while it spools a page: an error it
// reports (nonzero) stops the document, so the page call fails and the job ends; otherwise printing goes on.
// It dispatches no messages, so Cancel is handled between two pages, never while the job is inside one.
BOOL CALLBACK PrintAbortProc(HDC printer, int error);

class PrintJob : public EventTarget {
public:
    // The job owns the printer display and the dialog; the dialog learns of its job.
    PrintJob(PrintSource* source, PrinterDisplay* printer, PrintCancelDialog* dialog);
    ~PrintJob() override;
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    static PrintJob* Current();

    void SetTitle(const char* title) { title_ = title; }
    const zString& Title() const { return title_; }
    // 1: the printer names the bands of each page (NEXTBAND); 0: a page at a time (StartPage, EndPage).
    void SetBanding(int banding) { banding_ = banding; }
    int PageNumber() const { return pageNumber_; }
    PrintSource* Source() const { return source_; }
    PrintCancelDialog* Dialog() const { return dialog_; }

    // Starts the document on the printer (StartDoc with PrintAbortProc) and has the job stepped in idle time;
    // the dialog shows the first page. A null output prints to the printer's port. False when the printer
    // refused the document (the user is told); nothing is started then.
    bool Start(const char* output = nullptr);
    // One step: 0 while more is to come; 1 when the job has finished and deleted itself.
    virtual int Run(); // 2
    // Ends the job: the printer display deleted, the dialog ended and deleted when asked, no current job.
    void Finish(bool deleteDialog);
    // Aborts the document on the printer, then finishes and deletes the job.
    void Cancel();

private:
    long Step() { return Run(); }

    std::unique_ptr<PrinterDisplay> printer_;
    PrintSource* source_;
    PrintCancelDialog* dialog_;
    int banding_ = 0;
    int bandCount_ = 0;
    int pageNumber_ = 1;
    zString title_;
    bool started_ = false;
};
