#include "tests/support/TestPrinter.h"

#include "tools/printer/FilePrinter.h"

#include <windows.h>
#include <winspool.h>

#include <fstream>

namespace {

const char* const kPrinterName = "KIVO Test Printer";
const char* const kDriverName = "KIVO Test PostScript";

bool PrinterExists(const char* name = kPrinterName)
{
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(name), &printer, nullptr))
        return false;
    ClosePrinter(printer);
    return true;
}

} // namespace

std::string TestPrinterEntry()
{
    if (!PrinterExists() && !InstallFilePrinter(kPrinterName, kDriverName, KIVO_TEST_PRINTER_PPD))
        return "";
    return std::string(kPrinterName) + ",WINEPS.DRV,FILE:";
}

std::string PersonsPrinterEntry()
{
    if (!PrinterExists(kPersonsPrinterName) &&
        !InstallFilePrinter(kPersonsPrinterName, kPersonsPrinterDriver, KIVO_TEST_PRINTER_PPD))
        return "";
    return std::string(kPersonsPrinterName) + ",WINEPS.DRV,FILE:";
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
