// Gives a person's Wine prefix a printer: the PostScript printer that prints to a file, made the default
// printer when the prefix has none, so Print, Print Preview and Page Setup work from the first start.
//   kivo_printer.exe PPD-PATH
#include "tools/printer/FilePrinter.h"

#include <windows.h>
#include <winspool.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kivo_printer.exe PPD-PATH\n");
        return 2;
    }
    const char* const name = kPersonsPrinterName;
    if (!InstallFilePrinter(name, kPersonsPrinterDriver, argv[1])) {
        std::fprintf(stderr, "kivo_printer: the printer could not be installed (error %lu)\n", GetLastError());
        return 1;
    }
    char current[512] = {};
    DWORD size = sizeof current;
    if (!GetDefaultPrinterA(current, &size) && !SetDefaultPrinterA(name)) {
        std::fprintf(stderr, "kivo_printer: the printer could not be made the default (error %lu)\n", GetLastError());
        return 1;
    }
    return 0;
}
