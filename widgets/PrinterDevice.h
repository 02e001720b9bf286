#pragma once
// A document window's printer: a scaled printer display opened with the window's printer settings, and the
// system's print set-up and print dialogs started from them. What the user confirms there becomes the
// window's settings (the device mode) and the printer it prints on.

#include "widgets/ScaledWindow.h"

class PrinterSetupRecord;
struct tagPDA;

class PrinterDevice : public ScaledWindow {
public:
    // The system's print dialog; tests put a dialog of their own in its place.
    using PrintDialogCall = BOOL(WINAPI*)(tagPDA* dialog);
    static void SetPrintDialogCall(PrintDialogCall call);

    // On the default printer, unscaled, with no settings yet.
    PrinterDevice() = default;
    // On the described printer.
    explicit PrinterDevice(const DefaultPrinter* printer) : ScaledWindow(printer) {}

    // Keeps the settings (not owned) and reopens the printer with their device mode; a printer that cannot
    // be opened so keeps the context it had.
    void Open(PrinterSetupRecord* settings);
    const PrinterSetupRecord* Settings() const { return settings_; }
    // A new context (owned) replaces the old and is measured; the scale applies again, and the program's
    // measuring printer follows this printer. Null keeps the old.
    void AttachDC(HDC context);

    // The print set-up dialog; a confirmed choice becomes the settings and the printer.
    void PrintSetup();
    // The print dialog for a document of `pageCount` pages; 1 when confirmed (first page, last page and
    // copies then hold the choice), else 0.
    int PrintDialog(int pageCount);
    // 1 when the printer's driver makes the copies itself.
    int SupportsCopies();
    int FirstPage() const { return firstPage_; }
    int LastPage() const { return lastPage_; }
    int Copies() const { return copies_; }
    // Whether what is printed goes to a file: the printer's port is a file port, or Print to File was ticked
    // in the last print dialog confirmed. The system writes no such file where the person would look for it,
    // so the program asks for its name and hands it to the job.
    bool PrintsToFile() const;

    // A movable block with a copy of the settings' device mode, at least 600 bytes long; null without one.
    HGLOBAL MakeDevModeHandle();
    // A movable DEVNAMES block of the printer's driver, device and port; null without a printer context.
    HGLOBAL MakeDevNamesHandle();
    // The device mode or names of a dialog become the settings or the printer's names; null: nothing.
    void TakeDevMode(HGLOBAL deviceMode);
    void TakeDevNames(HGLOBAL names);

private:
    // Runs the dialog from the current settings and takes what the user confirmed; false on cancel.
    bool RunDialog(tagPDA& dialog);

    int firstPage_ = 0;
    int lastPage_ = 0;
    int copies_ = 0;
    bool toFile_ = false;
    PrinterSetupRecord* settings_ = nullptr;
};

// Whether a device-mode block may go to the print dialogs: the printer (by its whole name; null or empty:
// the one the block names) exists, and its driver's device mode has the block's size and device name. A
// null handle is usable; nothing is with option x.
bool IsDevModeUsable(HGLOBAL deviceMode, const char* printerName = nullptr);
