#pragma once
// The "Printing" dialog (2050) that runs while a document window's pane prints: which document goes to
// which printer, and which page is printing. Cancel aborts the job.

#include "framework/dialog/PrintCancelDialog.h"

class DocChildWindow;
class PrinterDisplay;
class ZoomPane;

class PrintProgressDialog : public PrintCancelDialog {
public:

    // Shows the window's title (the full path of a document whose file exists) and the printer's driver
    // and port; the page text stays empty until the first page starts.
    PrintProgressDialog(DocChildWindow* owner, ZoomPane* pane, PrinterDisplay* printer);

    // The range being printed (1-based, inclusive).
    void SetPageRange(int first, int last);
    // "Printing Page N" of the pane's current page, with " of <last>" when the range starts at page 1, else
    // with ", <last - N> Pages Remaining" when the range holds more than one page.
    void ShowPage(int page) override;
    // Runs modally while the job prints; returns when the job has ended.
    void Run() { RunModal(); }

private:
    int first_ = 1;
    int last_ = 1;
};
