#pragma once
// A tree's contact with a spreadsheet program: it attaches to (or starts) the program, opens a workbook,
// lists the workbook's names and reads and writes cells by name. The program installs the maker of the real
// contact; without one (a headless run) every connection fails.

#include "foundation/zString.h"

#include <memory>
#include <vector>

class SpreadsheetAutomation {
public:
    virtual ~SpreadsheetAutomation() = default;

    // 1 when connected: a running application is attached, else one is started (and shown when asked).
    virtual int Connect(bool visible) = 0;
    // 1 when the workbook at the path is open afterwards (an open one of that full path is taken, else it is
    // opened; with flag bit 0 its external data is refreshed); 0 without an application.
    virtual int OpenWorkbook(const char* path, bool readOnly, int flags) = 0;
    // The open workbook's names in its order; 0 without a workbook.
    virtual int ListNames(std::vector<zString>& names) = 0;
    // The cell a name (or "Sheet!Ref", or a reference on the active sheet) gives: 1 with its value as a number,
    // 0 when there is no such cell, no workbook, or a value that is no number.
    virtual int GetCellValue(const char* name, double& value) = 0;
    // 1 when the number was written into the named cell.
    virtual int SetCellValue(const char* name, double value) = 0;
};

using SpreadsheetAutomationMaker = std::unique_ptr<SpreadsheetAutomation> (*)();
// The previous maker.
SpreadsheetAutomationMaker SetSpreadsheetAutomationMaker(SpreadsheetAutomationMaker maker);
// A new contact from the installed maker, else one that never connects.
std::unique_ptr<SpreadsheetAutomation> MakeSpreadsheetAutomation();
