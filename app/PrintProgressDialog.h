#pragma once
// The "Printing" dialog (2050) that runs while a document window's pane prints; Cancel aborts the job.
// The print dialog that asks for the pages and copies comes with it.

#include "app/PageGrid.h"
#include "framework/dialog/PrintCancelDialog.h"

class Display;
class ZoomPane;

class PrintProgressDialog : public PrintCancelDialog {
public:
    static constexpr unsigned TemplateId = 2050;

    PrintProgressDialog(WindowCL* owner, ZoomPane* pane, Display* printer);

    // Runs modally while the job prints; returns when the job has ended.
    void Run() { RunModal(); }
};

// The system's print dialog for a document of the given number of pages on the printer; false on cancel,
// else the range and copies chosen (every page and one copy unless the user chose otherwise).
bool AskPrintRange(WindowCL* owner, const Display& printer, int pageCount, PrintRange& range);
