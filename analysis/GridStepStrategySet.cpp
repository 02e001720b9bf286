#include "analysis/GridStepStrategySet.h"

#include "analysis/SensitivityResultGrid.h"
#include "foundation/NameList.h"

int32_t GridStepStrategySet::Count() const
{
    return grid.Series();
}

double GridStepStrategySet::Cost(int32_t i) const
{
    return grid.Cell(i, step).cost;
}

double GridStepStrategySet::Effectiveness(int32_t i) const
{
    return grid.Cell(i, step).effectiveness;
}

void GridStepStrategySet::Name(int32_t i, zString& name) const
{
    const zString* item = names ? names->At(i) : nullptr;
    name = item ? item->Text() : "";
}
