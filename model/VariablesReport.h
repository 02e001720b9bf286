#pragma once
// The Variables Report: which columns it includes and how one row is written.

#include "foundation/zString.h"

#include <cstdint>

struct VariablesReportSettings {
    int32_t includeName = 1;
    int32_t includeShortDescription = 0;
    int32_t includeFormula = 0;
    int32_t includeValue = 0;
    int32_t includeLow = 0;
    int32_t includeHigh = 0;
    int32_t includeComment = 0;
    // Take the formula and value from the root's definition when the variable is defined more than once.
    int32_t rootDefinitionWhenSeveral = 0;
};

// The columns of a row, in report order.
enum VariablesReportColumn : int {
    ReportName,
    ReportShortDescription,
    ReportFormula,
    ReportValue,
    ReportLow,
    ReportHigh,
    ReportComment,
    ReportColumnCount
};

// out becomes the included columns' texts, TAB-separated, an empty text written as one blank.
void FormatVariablesReportLine(const zString columns[ReportColumnCount], zString& out,
                               const VariablesReportSettings& settings);
