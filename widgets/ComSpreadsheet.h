#pragma once
// The spreadsheet contact of the program: the application of program id "Excel.Application" reached through
// COM automation (attached when running, else started), driven only through its dispatch interfaces.

#include "formula/SpreadsheetAutomation.h"

#include <memory>

std::unique_ptr<SpreadsheetAutomation> MakeComSpreadsheet();
