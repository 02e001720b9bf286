#pragma once
// The strategies of one step of a sensitivity result grid: series i's cost and effectiveness at the step,
// named by item i of a name list (empty names without a list).

#include "analysis/StrategySet.h"

class NameList;
class SensitivityResultGrid;

class GridStepStrategySet : public StrategySet {
public:
    GridStepStrategySet(const SensitivityResultGrid& grid, int step, const NameList* names)
        : grid(grid), step(step), names(names) {}

    int32_t Count() const override;
    double Cost(int32_t i) const override;
    double Effectiveness(int32_t i) const override;
    void Name(int32_t i, zString& name) const override;

private:
    const SensitivityResultGrid& grid;
    int step;
    const NameList* names;
};
