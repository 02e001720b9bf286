#pragma once
// The print pages dialog (2410) of Print Preview: the document's title, its pages previewed over the
// printer's page grid with their number, and the buttons "&Print...", "&Setup..." and "Hea&ders...".

#include "widgets/AppDialog.h"

#include <memory>

class DocChildWindow;
struct PreviewHelper;

class PrintPagesDialog : public AppDialog {
public:

    // Builds the preview of the window's pages; the caller runs the dialog.
    explicit PrintPagesDialog(DocChildWindow* window);
    ~PrintPagesDialog() override;

    // Discards the preview and builds it and the page count again.
    void Rebuild();
    // The user chose "&Print...": the caller prints.
    bool PrintChosen() const { return print_; }
    PreviewHelper* Preview() const { return preview_.get(); }

private:
    long OnPagesCommand(WindowEvent* event);

    DocChildWindow* window_;
    std::unique_ptr<PreviewHelper> preview_;
    bool print_ = false;
    // The document's in-place edit is put aside while the dialog lives: the preview lays the drawing out
    // for itself each time it paints.
    bool editPutAside_ = false;
};

// Print Preview of a document window: "Unable to print: No Printer drivers." without a usable printer;
// else the print pages dialog, then printing when the user chose to print there.
void ShowPrintPreview(DocChildWindow* window);
