#include "analysis/CEReport.h"

#include "analysis/CEPoint.h"
#include "analysis/CEPointList.h"
#include "foundation/NameList.h"
#include "foundation/NumericFormat.h"
#include "foundation/TextReport.h"

#include <algorithm>
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

void AppendQuoted(zString& out, const zString& name)
{
    out += "\"";
    out += name;
    out += "\"";
}

// A coefficient-of-inequity bound: 3 places, no quantity scaling.
void AppendBound(zString& out, const NumericFormat& format, double bound)
{
    zString text;
    FormatNumber(format, bound, text, false, false, 3);
    out += text;
}

// The lines that name the dominated strategies and the blends; false when nothing was dominated.
bool WriteDominanceLines(const CEPointList& points, NameList& lines, const NumericFormat& costFormat)
{
    bool any = false;
    lines.AddText("Dominance Report:");
    const CEPoint* kept = nullptr;
    for (int i = 0; i < points.Count(); ++i) {
        const CEPoint& point = *points.Point(i);
        if (point.state != CEPoint::Dominated) {
            kept = &point;
            continue;
        }
        if (kept == nullptr)
            continue;
        zString line("The strategy ");
        AppendQuoted(line, point.name);
        line += " is dominated by ";
        AppendQuoted(line, kept->name);
        line += ".";
        lines.AddText(line.Text());
        any = true;
    }
    if (!any)
        lines.AddText("No strategies were clearly dominated by any other.");
    lines.AddText("");
    lines.AddText("Extended Dominance Report:");
    bool extended = false;
    for (int i = 0; i < points.Count(); ++i) {
        const CEPoint& point = *points.Point(i);
        if (point.state != CEPoint::ExtendedDominated)
            continue;
        zString line("The strategy ");
        AppendQuoted(line, point.name);
        line += " is dominated by a blend of ";
        AppendQuoted(line, points.Point(point.lowerIndex)->name);
        line += " and ";
        AppendQuoted(line, points.Point(point.upperIndex)->name);
        line += ",";
        lines.AddText(line.Text());
        zString bounds("with a coefficient of inequity between ");
        AppendBound(bounds, costFormat, point.costBound);
        bounds += " and ";
        AppendBound(bounds, costFormat, point.effBound);
        bounds += ".";
        lines.AddText(bounds.Text());
        extended = true;
    }
    if (!extended)
        lines.AddText("No strategies were eliminated by extended dominance.");
    return any || extended;
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
    // A ratio is cost per unit of effect: it shows at least as many places as the costs it divides.
    NumericFormat ratio = formats.ratio;
    const int places = std::max(ratio.DigitsFor(true), formats.cost.DigitsFor(true));
    ratio.axisDigits = ratio.expValDigits = static_cast<uint8_t>(places);
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
    AppendRatio(out, ratio, point.cost, point.effectiveness);
    out += "\t";
    if (point.state == CEPoint::Dominated)
        out += "(Dominated)";
    else if (point.state == CEPoint::ExtendedDominated && rowLabel != nullptr)
        out += "(Ext Dom)";
    else if (marginal)
        AppendRatio(out, ratio, point.cost - previous->cost, point.effectiveness - previous->effectiveness);
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

void WriteDominanceReport(const CEPointList& points, TextReport& report, const CEFormats& formats)
{
    WriteCETableHeader(report, nullptr);
    zString row;
    const CEPoint* kept = nullptr;
    for (int i = 0; i < points.Count(); ++i) {
        const CEPoint& point = *points.Point(i);
        FormatCERow(point, kept, row, formats, nullptr, kept != nullptr);
        report.AddLine(row);
        if (point.state != CEPoint::Dominated)
            kept = &point;
    }
    NameList lines(16, true);
    const bool dominated = WriteDominanceLines(points, lines, formats.cost);
    if (dominated && points.Count() > 2) {
        report.AddLine(zString(""));
        report.AddLine(zString(""));
        const CEPoint* previous = nullptr;
        for (int i = 0; i < points.Count(); ++i) {
            const CEPoint& point = *points.Point(i);
            if (!point.IsUndominated())
                continue;
            FormatCERow(point, previous, row, formats, nullptr, previous != nullptr);
            report.AddLine(row);
            previous = &point;
        }
        report.AddNote("(The second table above excludes strategies which are");
        report.AddNote("dominated in either the standard or extended sense.)");
        report.AddNote("");
    }
    for (int i = 0; i < lines.Count(); ++i)
        report.AddNote(lines.At(i)->Text());
}
