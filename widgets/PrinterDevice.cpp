#include "widgets/PrinterDevice.h"

#include "widgets/MessageOwnerWindow.h"
#include "widgets/CommandLine.h"
#include "widgets/WindowPlacement.h"
#include "foundation/PrinterSetupRecord.h"
#include "framework/draw/MeasuringDisplay.h"

#include <commdlg.h>

#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

PrinterDevice::PrintDialogCall printDialogCall = PrintDlgA;

// The dialogs are handed device modes in blocks of at least this size, for drivers that write past dmSize.
constexpr SIZE_T kMinimumDevModeBlock = 600;

constexpr DWORD kSetupFlags = PD_RETURNDC | PD_PRINTSETUP | PD_NOPAGENUMS | PD_NOSELECTION;
constexpr DWORD kPrintFlags = PD_RETURNDC | PD_NOSELECTION;

// A locked global block for the length of a scope.
class LockedBlock {
public:
    explicit LockedBlock(HGLOBAL block) : block_(block), bytes_(block ? GlobalLock(block) : nullptr) {}
    ~LockedBlock()
    {
        if (bytes_)
            GlobalUnlock(block_);
    }
    LockedBlock(const LockedBlock&) = delete;
    LockedBlock& operator=(const LockedBlock&) = delete;
    void* Bytes() const { return bytes_; }

private:
    HGLOBAL block_;
    void* bytes_;
};

const char* OrNull(const zString& text)
{
    return text.IsEmpty() ? nullptr : text.Text();
}

// Option x: a document's stored printer settings are kept and written back but never handed to a printer.
bool IgnoringPrinterSettings()
{
    return CommandLineFlag(NoPrinterSettingsBit);
}

// The settings' device mode when it may be handed to the printer driver, else null.
const uint8_t* UsableDevMode(const PrinterSetupRecord* settings)
{
    return settings != nullptr && !IgnoringPrinterSettings() ? settings->DevMode() : nullptr;
}

} // namespace

void PrinterDevice::SetPrintDialogCall(PrintDialogCall call)
{
    printDialogCall = call ? call : PrintDlgA;
}

void PrinterDevice::Open(PrinterSetupRecord* settings)
{
    settings_ = settings;
    const auto* deviceMode = reinterpret_cast<const DEVMODEA*>(UsableDevMode(settings));
    if (OrNull(DriverName()))
        AttachDC(CreateDCA(DriverName().Text(), OrNull(DeviceName()), OrNull(PortName()), deviceMode));
}

void PrinterDevice::AttachDC(HDC context)
{
    ReplaceContext(context);
    UpdateScaleState();
    if (PrinterContext())
        FollowPrinter(*this, reinterpret_cast<const DEVMODEA*>(UsableDevMode(settings_)));
}

HGLOBAL PrinterDevice::MakeDevModeHandle()
{
    const uint8_t* deviceMode = UsableDevMode(settings_);
    if (!deviceMode)
        return nullptr;
    const SIZE_T length = static_cast<SIZE_T>(settings_->devModeLength);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, std::max(length, kMinimumDevModeBlock));
    LockedBlock locked(block);
    if (!locked.Bytes()) {
        if (block)
            GlobalFree(block);
        return nullptr;
    }
    std::memcpy(locked.Bytes(), deviceMode, length);
    return block;
}

// DEVNAMES: four words (driver offset 8, device offset, output offset, default flag 0), then the driver,
// device and port names, each ending in NUL, from byte 8 on.
HGLOBAL PrinterDevice::MakeDevNamesHandle()
{
    if (!PrinterContext())
        return nullptr;
    const size_t driver = DriverName().Length();
    const size_t device = DeviceName().Length();
    const size_t port = PortName().Length();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, driver + device + port + 18);
    LockedBlock locked(block);
    if (!locked.Bytes()) {
        if (block)
            GlobalFree(block);
        return nullptr;
    }
    auto* names = static_cast<DEVNAMES*>(locked.Bytes());
    names->wDriverOffset = 8;
    names->wDeviceOffset = static_cast<WORD>(8 + driver + 1);
    names->wOutputOffset = static_cast<WORD>(names->wDeviceOffset + device + 1);
    names->wDefault = 0;
    char* bytes = static_cast<char*>(locked.Bytes());
    std::memcpy(bytes + names->wDriverOffset, DriverName().Text(), driver + 1);
    std::memcpy(bytes + names->wDeviceOffset, DeviceName().Text(), device + 1);
    std::memcpy(bytes + names->wOutputOffset, PortName().Text(), port + 1);
    return block;
}

void PrinterDevice::TakeDevMode(HGLOBAL deviceMode)
{
    LockedBlock locked(deviceMode);
    if (locked.Bytes() && settings_ && !IgnoringPrinterSettings())
        settings_->SetDevMode(locked.Bytes());
}

void PrinterDevice::TakeDevNames(HGLOBAL names)
{
    LockedBlock locked(names);
    if (!locked.Bytes())
        return;
    const auto* header = static_cast<const DEVNAMES*>(locked.Bytes());
    const char* bytes = static_cast<const char*>(locked.Bytes());
    SetNames(bytes + header->wDriverOffset, bytes + header->wDeviceOffset, bytes + header->wOutputOffset);
}

namespace {

// The system's dialog opens where it likes: it is centred over the window that opened it (the frame, the Print
// window).
UINT_PTR CALLBACK CentredOverOwner(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        CentreWindowOver(dialog, GetWindow(dialog, GW_OWNER));
        return TRUE;
    }
    return FALSE;
}

} // namespace

bool PrinterDevice::RunDialog(PRINTDLGA& dialog)
{
    // Print and Print Setup alike stand centred over their owner; Wine's setup dialog calls the print hook, the
    // system's the setup hook.
    dialog.Flags |= PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;
    dialog.lpfnPrintHook = &CentredOverOwner;
    dialog.lpfnSetupHook = &CentredOverOwner;
    // Owned by the innermost dialog running, as a message box: the system enables its owner again when it
    // closes, which must not free the frame behind a running dialog (the print preview) nor activate it.
    const HWND owner = MessageOwnerWindow();
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    dialog.hDevNames = MakeDevNamesHandle();
    dialog.hDevMode = MakeDevModeHandle();
    if (!IsDevModeUsable(dialog.hDevMode, DeviceName().Text())) {
        GlobalFree(dialog.hDevMode);
        dialog.hDevMode = nullptr;
    }
    const bool confirmed = printDialogCall(&dialog) != 0;
    if (confirmed) {
        TakeDevMode(dialog.hDevMode);
        TakeDevNames(dialog.hDevNames);
        AttachDC(dialog.hDC);
    }
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    return confirmed;
}

void PrinterDevice::PrintSetup()
{
    PRINTDLGA dialog{};
    dialog.Flags = kSetupFlags;
    RunDialog(dialog);
}

int PrinterDevice::PrintDialog(int pageCount)
{
    PRINTDLGA dialog{};
    dialog.Flags = kPrintFlags | (SupportsCopies() ? PD_USEDEVMODECOPIESANDCOLLATE : 0) |
                   (pageCount < 2 ? PD_NOPAGENUMS : 0);
    dialog.nFromPage = 1;
    dialog.nToPage = static_cast<WORD>(pageCount);
    dialog.nMinPage = 1;
    dialog.nMaxPage = static_cast<WORD>(pageCount);
    dialog.nCopies = 1;
    if (!RunDialog(dialog))
        return 0;
    const bool ranged = (dialog.Flags & PD_PAGENUMS) != 0;
    firstPage_ = ranged ? dialog.nFromPage : 1;
    lastPage_ = ranged ? dialog.nToPage : pageCount;
    copies_ = dialog.nCopies;
    toFile_ = (dialog.Flags & PD_PRINTTOFILE) != 0;
    return 1;
}

bool PrinterDevice::PrintsToFile() const
{
    return toFile_ || _stricmp(PortName().Text(), "FILE:") == 0;
}

int PrinterDevice::SupportsCopies()
{
    if (!PrinterContext())
        return 0;
    const auto* deviceMode = reinterpret_cast<const DEVMODEA*>(UsableDevMode(settings_));
    return DeviceCapabilitiesA(DeviceName().Text(), PortName().Text(), DC_COPIES, nullptr, deviceMode) > 1 ? 1 : 0;
}

bool IsDevModeUsable(HGLOBAL deviceMode, const char* printerName)
{
    if (!deviceMode)
        return true;
    if (IgnoringPrinterSettings())
        return false;
    LockedBlock locked(deviceMode);
    if (!locked.Bytes())
        return false;
    DEVMODEA block;
    std::memcpy(&block, locked.Bytes(), sizeof block);
    // A device mode holds no more than the first 31 characters of its printer's name: a longer name is only
    // whole in the printer's names.
    char name[CCHDEVICENAME + 1] = {};
    std::memcpy(name, block.dmDeviceName, CCHDEVICENAME);
    std::string printer = printerName != nullptr && *printerName != 0 ? printerName : name;
    HANDLE handle = nullptr;
    if (!OpenPrinterA(&printer[0], &handle, nullptr))
        return false;
    bool usable = false;
    const LONG size = DocumentPropertiesA(nullptr, handle, &printer[0], nullptr, nullptr, 0);
    if (size > 0) {
        std::vector<uint8_t> current(static_cast<size_t>(size) + 1);
        auto* driverMode = reinterpret_cast<DEVMODEA*>(current.data());
        usable = DocumentPropertiesA(nullptr, handle, &printer[0], driverMode, nullptr, DM_OUT_BUFFER) >= 0 &&
                 size == block.dmSize + block.dmDriverExtra &&
                 std::strncmp(reinterpret_cast<const char*>(driverMode->dmDeviceName), name, CCHDEVICENAME) == 0;
    }
    ClosePrinter(handle);
    return usable;
}
