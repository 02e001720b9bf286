#include "tests/support/SampleTornado.h"

#include "analysis/VariableRange.h"

TornadoResults MakeTornadoResults(std::initializer_list<SampleTornadoBar> bars, double tie, double axisLow,
                                  double axisHigh, const char* label)
{
    TornadoResults results;
    results.bars = std::make_shared<TornadoVariableList>();
    for (const SampleTornadoBar& made : bars) {
        auto* bar = new TornadoSetup;
        bar->barName = made.name;
        bar->ranges.Add(new VariableRange(zString(made.name), FormattedValue{"0", 0.0}, FormattedValue{"1", 1.0}));
        bar->lowResult = made.low;
        bar->highResult = made.high;
        bar->values = {made.low, (made.low + made.high) / 2, made.high};
        results.bars->Add(bar);
    }
    auto* point = new ThresholdPoint;
    point->x = 0.5;
    point->value = tie;
    results.bars->At(0)->points.Add(point);
    results.low = axisLow;
    results.high = axisHigh;
    results.intervals = 2;
    results.label = label;
    return results;
}
