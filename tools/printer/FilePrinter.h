#pragma once
// A printer of Wine's PostScript driver, with a PPD of ours (a Letter page whose printable area is 7.5 x 10
// inches at 300 dots per inch), on the FILE: port: what is printed lands in a file the person names. The tests
// print to it, and the setup of a person's prefix makes it the default printer, so a machine without a printer
// of its own can still print and preview.

// Installs the driver (the PPD copied from ppdPath, a Windows path) and the printer under the given names;
// true when the printer is there afterwards (an earlier install counts).
bool InstallFilePrinter(const char* printerName, const char* driverName, const char* ppdPath);

// The printer and driver a person's prefix gets (kivo_printer.exe).
constexpr const char* kPersonsPrinterName = "KIVO PostScript Printer (to a file)";
constexpr const char* kPersonsPrinterDriver = "KIVO PostScript";
