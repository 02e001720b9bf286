#pragma once
// Cost-effectiveness tables in text reports: the header and rows of the strategy table (cost, effectiveness
// and ratios with their increments over the previous counted strategy), as the sensitivity runs write them
// step by step, and the dominance report of one set of strategies.

#include "foundation/zString.h"

class CEPoint;
class CEPointList;
class NumericFormat;
class TextReport;

// The number formats of the three kinds of figures.
struct CEFormats {
    const NumericFormat& cost;
    const NumericFormat& effectiveness;
    const NumericFormat& ratio;
};

// Title, column names and widths; a row-label title adds a leading column.
void WriteCETableHeader(TextReport& report, const char* rowLabelTitle);
// One row, cells joined by tabs; the increments only with showMarginal.
void FormatCERow(const CEPoint& point, const CEPoint* previous, zString& out, const CEFormats& formats,
                 const char* rowLabel, bool showMarginal);
// The rows of one step: the label on the first row, three spaces on the others; increments against the
// previous counted strategy (undominated, and with excludeExtended not extended-dominated either); then a
// row of three spaces.
void WriteCETableRows(const CEPointList& points, TextReport& report, const CEFormats& formats, const char* rowLabel,
                      bool excludeExtended);
// Every strategy against the last earlier one not dominated; which strategy dominates which, and which are
// blends of their neighbours (with the coefficient-of-inequity bounds); then, when more than two strategies
// were sorted out, the table of the undominated ones alone.
void WriteDominanceReport(const CEPointList& points, TextReport& report, const CEFormats& formats);
