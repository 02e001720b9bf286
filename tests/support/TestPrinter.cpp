#include "tests/support/TestPrinter.h"

#include <windows.h>
#include <winspool.h>

#include <fstream>

namespace {

const char* const kPrinterName = "KIVO Test Printer";
const char* const kDriverName = "KIVO Test PostScript";

bool PrinterExists()
{
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(kPrinterName), &printer, nullptr))
        return false;
    ClosePrinter(printer);
    return true;
}

bool Install()
{
    // The driver reads its PPD from the printer driver directory.
    char directory[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(directory), sizeof directory,
                                    &needed))
        return false;
    const std::string ppd = std::string(directory) + "\\KivoTestPrinter.ppd";
    if (!CopyFileA(KIVO_TEST_PRINTER_PPD, ppd.c_str(), FALSE))
        return false;
    DRIVER_INFO_3A driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<char*>(kDriverName);
    driver.pDriverPath = const_cast<char*>("wineps.drv");
    driver.pDataFile = const_cast<char*>("KivoTestPrinter.ppd");
    driver.pConfigFile = const_cast<char*>("wineps.drv");
    if (!AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver)) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
        return false;
    PRINTER_INFO_2A info{};
    info.pPrinterName = const_cast<char*>(kPrinterName);
    info.pPortName = const_cast<char*>("FILE:");
    info.pDriverName = const_cast<char*>(kDriverName);
    info.pPrintProcessor = const_cast<char*>("WinPrint");
    info.pDatatype = const_cast<char*>("RAW");
    HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer)
        return GetLastError() == ERROR_PRINTER_ALREADY_EXISTS;
    ClosePrinter(printer);
    return true;
}

} // namespace

std::string TestPrinterEntry()
{
    if (!PrinterExists() && !Install())
        return "";
    return std::string(kPrinterName) + ",WINEPS.DRV,FILE:";
}

int PostScriptPageCount(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return -1;
    int pages = 0;
    std::string line;
    while (std::getline(file, line))
        if (line.rfind("%%Page:", 0) == 0)
            ++pages;
    return pages;
}

std::vector<uint8_t> TestPrinterDeviceMode(short orientation)
{
    HANDLE printer = nullptr;
    if (TestPrinterEntry().empty() || !OpenPrinterA(const_cast<char*>(kPrinterName), &printer, nullptr))
        return {};
    const LONG size = DocumentPropertiesA(nullptr, printer, nullptr, nullptr, nullptr, 0);
    std::vector<uint8_t> bytes(size > 0 ? static_cast<size_t>(size) : 0);
    auto* mode = reinterpret_cast<DEVMODEA*>(bytes.data());
    const bool read = size > 0 && DocumentPropertiesA(nullptr, printer, nullptr, mode, nullptr, DM_OUT_BUFFER) >= 0;
    ClosePrinter(printer);
    if (!read)
        return {};
    mode->dmOrientation = orientation;
    mode->dmFields |= DM_ORIENTATION;
    return bytes;
}
