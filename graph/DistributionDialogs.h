#pragma once
// The dialogs of the distribution graphs: Bar Details (3354), the outcomes that make up one bar with their
// values and probabilities, and Distribution Statistics (3360), the mean, mode, spread and percentiles of
// a list of outcomes. Each copies its table to the clipboard.

#include "analysis/OutcomeDistribution.h"
#include "foundation/NumericFormat.h"
#include "foundation/zString.h"

class DistStatsDialog {
public:

    // The statistics of the outcomes' values, each in the format.
    DistStatsDialog(const OutcomeDistribution& outcomes, const NumericFormat& format);

    // Shows the dialog until OK.
    void Run();
    // "KIVO(tm) Distribution Statistics", then a line per statistic: label, tab, value.
    zString ClipboardText() const;

    // The texts by control, in the order of the clipboard's lines.
    struct Row {
        unsigned id;
        const char* label;
        zString text;
    };
    Row rows[8];
};

class BarDetailsDialog {
public:

    // The bar from low to high and the outcomes it holds (copied).
    BarDetailsDialog(double low, double high, const OutcomeDistribution& outcomes,
                     const NumericFormat& probabilityFormat, const NumericFormat& valueFormat);

    void Run();
    // "KIVO(tm) Bar Detail", the column titles and a row per outcome (label, value, probability).
    zString ClipboardText() const;

    // Outcome i as "label<tab>value<tab>probability".
    zString Row(int index) const;

    zString lowText;
    zString highText;
    zString totalText;
    OutcomeDistribution outcomes{16, true};
    NumericFormat probabilityFormat;
    NumericFormat valueFormat;
};
