#include "analysis/CEReport.h"

#include "analysis/CEPoint.h"
#include "analysis/CEPointList.h"
#include "foundation/NumericFormat.h"
#include "foundation/TextReport.h"

#include <cmath>

namespace {

constexpr double kZero = 1e-10;

void AppendNumber(zString& out, const NumericFormat& format, double value)
{
    zString text;
    FormatNumber(format, value, text, true, true, DigitsOfFormat);
    out += text;
}

void AppendRatio(zString& out, const NumericFormat& format, double cost, double effectiveness)
{
    if (std::fabs(effectiveness) < kZero)
        out += "(Undefined)";
    else
        AppendNumber(out, format, cost / effectiveness);
}

}  // namespace

void WriteCETableHeader(TextReport& report, const char* rowLabelTitle)
{
    report.SetTitle("KIVO(tm) Cost-Effectiveness Analysis");
    if (rowLabelTitle != nullptr) {
        report.AddColumnHeader(rowLabelTitle);
        report.AddColumnWidth(100);
    }
    const char* names[] = {"Strategy", "Cost", "Marg Cost", "Eff", "Marg Eff", "C/E", "Marg C/E"};
    const int widths[] = {72, 64, 72, 64, 72, 96, 96};
    for (int i = 0; i < 7; ++i) {
        report.AddColumnHeader(names[i]);
        report.AddColumnWidth(widths[i]);
    }
}

void FormatCERow(const CEPoint& point, const CEPoint* previous, zString& out, const CEFormats& formats,
                 const char* rowLabel, bool showMarginal)
{
    out.Clear();
    if (rowLabel != nullptr) {
        out += rowLabel;
        out += "\t";
    }
    const bool marginal = showMarginal && previous != nullptr;
    out += point.name;
    out += "\t";
    AppendNumber(out, formats.cost, point.cost);
    out += "\t";
    if (marginal)
        AppendNumber(out, formats.cost, point.cost - previous->cost);
    out += "\t";
    AppendNumber(out, formats.effectiveness, point.effectiveness);
    out += "\t";
    if (marginal)
        AppendNumber(out, formats.effectiveness, point.effectiveness - previous->effectiveness);
    out += "\t";
    AppendRatio(out, formats.ratio, point.cost, point.effectiveness);
    out += "\t";
    if (point.state == CEPoint::Dominated)
        out += "(Dominated)";
    else if (point.state == CEPoint::ExtendedDominated && rowLabel != nullptr)
        out += "(Ext Dom)";
    else if (marginal)
        AppendRatio(out, formats.ratio, point.cost - previous->cost, point.effectiveness - previous->effectiveness);
}

void WriteCETableRows(const CEPointList& points, TextReport& report, const CEFormats& formats, const char* rowLabel,
                      bool excludeExtended)
{
    const CEPoint* previous = nullptr;
    zString row;
    for (int i = 0; i < points.Count(); ++i) {
        const CEPoint& point = *points.Point(i);
        const bool counted = point.state != CEPoint::Dominated &&
                             !(excludeExtended && point.state == CEPoint::ExtendedDominated);
        FormatCERow(point, previous, row, formats, i == 0 ? rowLabel : "   ", counted && previous != nullptr);
        report.AddLine(row);
        if (counted || i == 0)
            previous = &point;
    }
    report.AddLine(zString("   "));
}
