#include "framework/draw/MeasuringDisplay.h"

#include "framework/draw/Display.h"
#include "framework/draw/GdiScopes.h"
#include "framework/draw/PrinterDisplay.h"

#include <cstring>
#include <memory>

namespace {

// A display over an information context, held for the display's whole life.
class InformationDisplay : public Display {
public:
    InformationDisplay(int kind, HDC context) : Display(kind), context_(context)
    {
        dc_ = context;
        Lock();
        if (dc_)
            ReadCapabilities(dc_);
    }
    ~InformationDisplay() override { Unlock(); }

    bool Usable() const { return context_.Get() != nullptr && LogPixelsX() > 0 && LogPixelsY() > 0; }

private:
    ScopedCreatedDC context_;
};

// The default printer named by the "device" entry of the [windows] section: "name,driver,port".
HDC DefaultPrinterContext()
{
    char device[256] = "";
    GetProfileStringA("windows", "device", "", device, sizeof device);
    char* comma = std::strchr(device, ',');
    if (comma != nullptr)
        *comma = '\0';
    return device[0] != '\0' ? CreateICA("WINSPOOL", device, nullptr, nullptr) : nullptr;
}

Display& ScreenInformation()
{
    static InformationDisplay screen(Display::KindPlain, CreateICA("DISPLAY", nullptr, nullptr, nullptr));
    return screen;
}

Display& PrinterInformation()
{
    static InformationDisplay printer(Display::KindPrinter, DefaultPrinterContext());
    return printer.Usable() ? static_cast<Display&>(printer) : ScreenInformation();
}

std::unique_ptr<PrinterInfoContext> measuringPrinter;
bool measuringOnScreen = true;

} // namespace

bool MeasuringOnScreen()
{
    return measuringOnScreen;
}

void SetMeasuringOnScreen(bool onScreen)
{
    measuringOnScreen = onScreen;
}

Display& CurrentPrinter(Display& display)
{
    if (measuringOnScreen && display.Kind() != Display::KindMetafile)
        return display;
    if (measuringPrinter && measuringPrinter->InfoContext() != nullptr && measuringPrinter->LogPixelsX() > 0 &&
        measuringPrinter->LogPixelsY() > 0)
        return *measuringPrinter;
    return PrinterInformation();
}

void CreatePrinterInfoContext()
{
    measuringPrinter = std::make_unique<PrinterInfoContext>();
}

void DeletePrinterInfoContext()
{
    measuringPrinter.reset();
}

void FollowPrinter(Display& printer, const DEVMODEA* deviceMode)
{
    if (measuringPrinter)
        measuringPrinter->Attach(&printer, deviceMode);
}
