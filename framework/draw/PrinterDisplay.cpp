#include "framework/draw/PrinterDisplay.h"

#include "framework/draw/Bitmap.h"
#include "framework/draw/DibExport.h"

#include <cstring>
#include <memory>

namespace {

// Cuts the text at the comma and skips the spaces after it; null when there is no comma.
char* CutAtComma(char* text)
{
    char* comma = std::strchr(text, ',');
    if (!comma)
        return nullptr;
    *comma++ = '\0';
    while (*comma == ' ')
        ++comma;
    return comma;
}

const char* OrNull(const zString& text)
{
    return text.IsEmpty() ? nullptr : text.Text();
}

} // namespace

DefaultPrinter::DefaultPrinter(const char* text)
{
    if (text)
        std::strncpy(buffer_, text, sizeof buffer_ - 1);
    else
        GetProfileStringA("windows", "Device", "", buffer_, sizeof buffer_);
    if (buffer_[0])
        Split();
}

void DefaultPrinter::Split()
{
    device_ = buffer_;
    char* driver = CutAtComma(buffer_);
    if (!driver)
        return;
    driver_ = driver;
    port_ = CutAtComma(driver);
}

PrinterDisplay::PrinterDisplay(const DefaultPrinter* printer) : Display(KindPrinter)
{
    if (printer) {
        Open(printer->Driver(), printer->Device(), printer->Port(), nullptr);
        return;
    }
    const DefaultPrinter current;
    Open(current.Driver(), current.Device(), current.Port(), nullptr);
}

PrinterDisplay::PrinterDisplay(const char* driver, const char* device, const char* port, const DEVMODEA* deviceMode)
    : Display(KindPrinter)
{
    Open(driver, device, port, deviceMode);
}

void PrinterDisplay::Open(const char* driver, const char* device, const char* port, const DEVMODEA* deviceMode)
{
    if (!driver || !*driver)
        return;
    printerDC_ = CreateDCA(driver, device, port, deviceMode);
    if (!printerDC_)
        return;
    driver_ = driver;
    device_ = device ? device : "";
    port_ = port ? port : "";
    dc_ = printerDC_;
    Lock();
    ReadCapabilities(printerDC_);
}

void PrinterDisplay::ReplaceContext(HDC context)
{
    if (!context)
        return;
    if (printerDC_) {
        Unlock();
        DeleteDC(printerDC_);
    }
    printerDC_ = context;
    dc_ = printerDC_;
    Lock();
    ReadCapabilities(printerDC_);
}

void PrinterDisplay::SetNames(const char* driver, const char* device, const char* port)
{
    driver_ = driver ? driver : "";
    device_ = device ? device : "";
    port_ = port ? port : "";
}

int PrinterDisplay::StartDocument(const DOCINFOA& document)
{
    return printerDC_ ? StartDocA(printerDC_, &document) : -1;
}

int PrinterDisplay::StartPrinterPage()
{
    return printerDC_ ? StartPage(printerDC_) : 0;
}

int PrinterDisplay::EndPrinterPage()
{
    return printerDC_ ? EndPage(printerDC_) : 0;
}

int PrinterDisplay::EndDocument()
{
    return printerDC_ ? EndDoc(printerDC_) : 0;
}

int PrinterDisplay::AbortDocument()
{
    return printerDC_ ? AbortDoc(printerDC_) : 0;
}

PrinterDisplay::~PrinterDisplay()
{
    if (!printerDC_)
        return;
    Unlock();
    DeleteDC(printerDC_);
}

void PrinterDisplay::Bounds(RECT& rect)
{
    rect = RECT{};
    if (printerDC_)
        GetClipBox(printerDC_, &rect);
}

void PrinterDisplay::ClientRect(RECT& rect)
{
    rect = RECT{0, 0, HorzRes(), VertRes()};
}

BOOL PrinterDisplay::DrawBitmap(Bitmap* bitmap, int x, int y, DWORD rop)
{
    if (!dc_ || !bitmap || !bitmap->Handle())
        return 0;
    HGLOBAL dib = ExportDib(bitmap->Handle(), BI_RGB, 0, nullptr);
    if (!dib)
        return 0;
    const SIZE size = bitmap->Size();
    const BOOL drawn = DrawDib(dc_, x, y, size.cx, size.cy, dib, 0, 0, size.cx, size.cy, rop);
    GlobalFree(dib);
    return drawn;
}

PrinterInfoContext::PrinterInfoContext() : Display(KindPrinter)
{
    Attach(nullptr);
}

PrinterInfoContext::~PrinterInfoContext()
{
    while (LockCount() > 0)
        Unlock();
    if (infoContext_)
        DeleteDC(infoContext_);
}

void PrinterInfoContext::Attach(Display* printer, const DEVMODEA* deviceMode)
{
    std::unique_ptr<PrinterDisplay> temporary;
    auto* source = dynamic_cast<PrinterDisplay*>(printer);
    if (!source || printer->Kind() != KindPrinter) {
        temporary = std::make_unique<PrinterDisplay>();
        source = temporary.get();
    }
    DisplayLock lock(*source);
    CopyCapabilities(*source);
    driver_ = source->DriverName();
    device_ = source->DeviceName();
    port_ = source->PortName();
    const bool held = LockCount() > 0;
    if (infoContext_) {
        if (dc_ == infoContext_)
            dc_ = nullptr;
        DeleteDC(infoContext_);
        infoContext_ = nullptr;
    }
    if (OrNull(driver_))
        infoContext_ = CreateICA(driver_.Text(), OrNull(device_), OrNull(port_), deviceMode);
    if (held)
        dc_ = infoContext_;
}
