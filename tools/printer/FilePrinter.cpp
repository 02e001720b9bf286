#include "tools/printer/FilePrinter.h"

#include <windows.h>
#include <winspool.h>

#include <string>

bool InstallFilePrinter(const char* printerName, const char* driverName, const char* ppdPath)
{
    HANDLE existing = nullptr;
    if (OpenPrinterA(const_cast<char*>(printerName), &existing, nullptr)) {
        ClosePrinter(existing);
        return true;
    }
    // The driver reads its PPD from the printer driver directory.
    char directory[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(directory), sizeof directory,
                                    &needed))
        return false;
    std::string fileName = ppdPath;
    const size_t slash = fileName.find_last_of("\\/");
    if (slash != std::string::npos)
        fileName.erase(0, slash + 1);
    const std::string ppd = std::string(directory) + "\\" + fileName;
    if (!CopyFileA(ppdPath, ppd.c_str(), FALSE))
        return false;
    DRIVER_INFO_3A driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<char*>(driverName);
    driver.pDriverPath = const_cast<char*>("wineps.drv");
    driver.pDataFile = const_cast<char*>(fileName.c_str());
    driver.pConfigFile = const_cast<char*>("wineps.drv");
    if (!AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver)) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
        return false;
    PRINTER_INFO_2A info{};
    info.pPrinterName = const_cast<char*>(printerName);
    info.pPortName = const_cast<char*>("FILE:");
    info.pDriverName = const_cast<char*>(driverName);
    info.pPrintProcessor = const_cast<char*>("WinPrint");
    info.pDatatype = const_cast<char*>("RAW");
    HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer)
        return GetLastError() == ERROR_PRINTER_ALREADY_EXISTS;
    ClosePrinter(printer);
    return true;
}
