#include "formula/SpreadsheetAutomation.h"

namespace {

class NoSpreadsheet : public SpreadsheetAutomation {
public:
    int Connect(bool) override { return 0; }
    int OpenWorkbook(const char*, bool, int) override { return 0; }
    int ListNames(std::vector<zString>&) override { return 0; }
    int GetCellValue(const char*, double&) override { return 0; }
    int SetCellValue(const char*, double) override { return 0; }
};

SpreadsheetAutomationMaker InstalledMaker = nullptr;

} // namespace

SpreadsheetAutomationMaker SetSpreadsheetAutomationMaker(SpreadsheetAutomationMaker maker)
{
    SpreadsheetAutomationMaker previous = InstalledMaker;
    InstalledMaker = maker;
    return previous;
}

std::unique_ptr<SpreadsheetAutomation> MakeSpreadsheetAutomation()
{
    if (InstalledMaker != nullptr)
        return InstalledMaker();
    return std::make_unique<NoSpreadsheet>();
}
