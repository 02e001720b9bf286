#pragma once
// The printer of the tests: the PostScript printer to a file (tools/printer/FilePrinter.h). It is installed in
// the test prefix once and never made the default printer, so that tests of the machine without a printer still
// see none.

#include <cstdint>
#include <string>
#include <vector>

// The printer's entry as WIN.INI's "Device" would give it ("device,driver,port"); empty when the printer
// could not be installed.
std::string TestPrinterEntry();
// The same for the printer a person's prefix gets, installed here as well (never the default): its name is
// longer than a device mode holds.
std::string PersonsPrinterEntry();
// The number of pages of a PostScript file (its "%%Page:" lines); -1 when the file cannot be read.
int PostScriptPageCount(const std::string& path);
// The test printer's own device mode, turned to the orientation (DMORIENT_PORTRAIT or DMORIENT_LANDSCAPE); empty
// without the printer.
std::vector<uint8_t> TestPrinterDeviceMode(short orientation);
