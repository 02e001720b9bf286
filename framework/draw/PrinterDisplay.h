#pragma once
// The printer as a display: the same drawing code draws on the screen and on paper. A printer display holds
// its printer device context for its whole life; without a usable printer it has none, and its users test
// for that. The printer information context measures text on the current printer without printing.

#include "foundation/zString.h"
#include "framework/draw/Display.h"

// A printer named as in the "Device" entry of WIN.INI's [windows] section: "device,driver,port", with the
// spaces after each comma skipped. A missing part is null.
class DefaultPrinter {
public:
    // Splits the text; with none, the "Device" entry of the system's default printer.
    explicit DefaultPrinter(const char* text = nullptr);
    DefaultPrinter(const DefaultPrinter&) = delete;
    DefaultPrinter& operator=(const DefaultPrinter&) = delete;

    const char* Device() const { return device_; }
    const char* Driver() const { return driver_; }
    const char* Port() const { return port_; }

private:
    void Split();

    char buffer_[80] = {};
    const char* driver_ = nullptr;
    const char* device_ = nullptr;
    const char* port_ = nullptr;
};

class PrinterDisplay : public Display {
public:
    // On the described printer, or on the default printer when there is no description.
    explicit PrinterDisplay(const DefaultPrinter* printer = nullptr);
    // The device context is made with the driver's device mode (null: the printer's own settings).
    PrinterDisplay(const char* driver, const char* device, const char* port, const DEVMODEA* deviceMode);
    ~PrinterDisplay() override;

    // The printer device context, held for life; null when the printer could not be opened.
    HDC PrinterContext() const { return printerDC_; }
    const zString& DriverName() const { return driver_; }
    const zString& DeviceName() const { return device_; }
    const zString& PortName() const { return port_; }

    // GetClipBox of the printer context.
    void Bounds(RECT& rect) override;
    // The whole printable page in device pixels (0, 0, HORZRES, VERTRES), whatever the clip box.
    void ClientRect(RECT& rect) override;
    // Through a device-independent copy of the bitmap, which every printer driver takes.
    BOOL DrawBitmap(Bitmap* bitmap, int x, int y, DWORD rop) override;

    // The document and page calls of a print, on the printer context; answers as the system gives them
    // (above 0: done). A printer that cannot be reached answers 0 (-1 for StartDocument).
    virtual int StartDocument(const DOCINFOA& document);
    virtual int StartPrinterPage();
    virtual int EndPrinterPage();
    virtual int EndDocument();
    virtual int AbortDocument();

protected:
    // The context (owned) replaces the old one, which is deleted, and is measured; null keeps the old one.
    void ReplaceContext(HDC context);
    void SetNames(const char* driver, const char* device, const char* port);

private:
    void Open(const char* driver, const char* device, const char* port, const DEVMODEA* deviceMode);

    HDC printerDC_ = nullptr;
    zString driver_;
    zString device_;
    zString port_;
};

// An information context of a printer, for measuring text as it will print. It is the display's context
// from the first Lock on and is never given back before the display goes.
class PrinterInfoContext : public Display {
public:
    // Attached to the current printer.
    PrinterInfoContext();
    ~PrinterInfoContext() override;

    // Takes the capabilities and names of the printer display; anything else (null included) means the
    // default printer, opened for the time of the call. The context opens on the device mode (null: the
    // printer's own settings).
    void Attach(Display* printer, const DEVMODEA* deviceMode = nullptr);
    HDC InfoContext() const { return infoContext_; }

protected:
    void AcquireDC() override { dc_ = infoContext_; }

private:
    HDC infoContext_ = nullptr;
    zString driver_;
    zString device_;
    zString port_;
};
