#include "graph/ProbDistributionGraph.h"

#include "analysis/BarGraphData.h"
#include "analysis/OutcomeHistogram.h"
#include "analysis/SensitivityResultGrid.h"
#include "graph/DistributionDialogs.h"
#include "foundation/Archive.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NumericFormatting.h"
#include "foundation/NumericHelpers.h"
#include "foundation/TextReport.h"

#include "CommandIds.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr unsigned kIconId = 32006;

zString AxisText(const AxisElement& axis, double value)
{
    zString text;
    FormatNumber(axis.numberFormat, value, text, false, false, DigitsOfFormat);
    return text;
}

}  // namespace

int ProbDistributionGraph::BarCountFor(int outcomeCount)
{
    if (outcomeCount > 16)
        return 16;
    if (outcomeCount < 6)
        return 6;
    return std::max(outcomeCount, 30 - 3 * outcomeCount);
}

ProbDistributionGraph::ProbDistributionGraph(ProbDistributionData& data)
    : calcFlag(data.calcFlag), outcomes_(std::make_unique<OutcomeDistribution>(16, true))
{
    outcomeCount = static_cast<int16_t>(std::min(data.outcomes.Count(), static_cast<int16_t>(INT16_MAX)));
    for (int i = 0; i < data.outcomes.Count(); ++i) {
        const Outcome* outcome = data.outcomes.OutcomeAt(i);
        outcomes_->AddTriple(outcome->triple, outcome->probability, outcome->label.Text(), false);
    }
    NumericFormat valueFormat = data.numberFormat;
    valueFormat.axisFormat = 1;
    valueFormat.axisDigits = valueFormat.expValDigits;
    ScaleForBars(valueFormat, data.minimum, data.maximum, BarCountFor(outcomeCount));
    verticalAxis.SetScale(MakeProbabilityAxisFormat(), 0.0, 1.0, 0.1, 1);
    verticalLabel.text = "Probability";
    title.text = data.title.empty() ? "Probability Distribution at" : data.title.c_str();
    subtitle.text = data.nodeText.c_str();
    hasSubtitle = 1;
    SetIconId(kIconId);
}

ProbDistributionGraph::ProbDistributionGraph(const char* path) : LineListGraph(FromFile{})
{
    SetIconId(kIconId);
    OpenGraphFile(path);
}

ProbDistributionGraph::~ProbDistributionGraph() = default;

// The smallest interval of 1, 2, 2.5 or 5 times a power of ten whose bars - 1 intervals from a bottom on
// that grid reach the highest value; the highest value then falls into the last bar.
void ProbDistributionGraph::ScaleForBars(const NumericFormat& format, double low, double high, int barCount)
{
    const int intervals = barCount - 1;
    const double raw = std::max(high - low, 1e-10) / intervals;
    double power = PowerOfTen(std::floor(std::log10(raw)));
    for (;; power *= 10.0)
        for (double step : {1.0, 2.0, 2.5, 5.0}) {
            const double interval = step * power;
            const double bottom = std::floor(low / interval + 1e-9) * interval;
            const double top = bottom + intervals * interval;
            if (top >= high - interval * 1e-9) {
                // The labels show the places these bars' edges need.
                NumericFormat fitted = format;
                AutoFormatForRange(fitted, bottom, top, intervals);
                horizontalAxis.SetScale(fitted, bottom, top, interval, 1);
                horizontalLabel.text = "Value";
                return;
            }
        }
}

bool ProbDistributionGraph::BuildHistogram(double interval)
{
    const AxisElement& h = horizontalAxis;
    if (std::fabs(interval) < 1e-10)
        interval = h.interval;
    OutcomeHistogram histogram;
    if (outcomes_ == nullptr ||
        !BuildOutcomeHistogram(*outcomes_, h.valueBottom, h.valueTop, interval, histogram)) {
        ShowErrorBox("Probability Distribution Error",
                     "The data cannot be graphed using that interval. Try a larger interval.", 0);
        return false;
    }
    belowProbability = histogram.below;
    bars.Clear();
    for (double probability : histogram.bars)
        bars.AddBar(probability, false);
    if (isCumulative)
        MakeCumulative();
    LayoutBars();
    return true;
}

// A running sum from the probability below the axis; once it reaches 1 it stays exactly 1.
void ProbDistributionGraph::MakeCumulative()
{
    double sum = belowProbability;
    for (int i = 0; i < bars.Count(); ++i) {
        sum = sum >= 1.0 ? 1.0 : std::min(1.0, sum + bars.Bar(i)->value);
        bars.Bar(i)->value = sum;
    }
}

void ProbDistributionGraph::ToggleCumulative()
{
    isCumulative = isCumulative ? 0 : 1;
    // Off rebuilds the plain bars from the outcomes, so that no rounding of the sums stays behind.
    BuildHistogram(0.0);
    SetModified(1);
    InvalidateAll();
}

int ProbDistributionGraph::AxisChanged(int vertical)
{
    if (vertical != 0) {
        LayoutBars();
        return 1;
    }
    return BuildHistogram(0.0) ? 1 : 0;
}

void ProbDistributionGraph::BarOutcomes(int index, OutcomeDistribution& listed) const
{
    const AxisElement& h = horizontalAxis;
    for (int i = 0; outcomes_ != nullptr && i < outcomes_->Count(); ++i) {
        const Outcome* outcome = outcomes_->OutcomeAt(i);
        const double bin = HistogramBin(outcome->triple.value, h.valueBottom, h.interval);
        if (bin == index || (isCumulative && bin < index))
            listed.AddTriple(outcome->triple, outcome->probability, outcome->label.Text(), false);
    }
}

bool ProbDistributionGraph::OnBarDoubleClick(int index)
{
    OutcomeDistribution listed(16, true);
    BarOutcomes(index, listed);
    if (listed.Count() > 0) {
        const double low = horizontalAxis.valueBottom + index * horizontalAxis.interval;
        BarDetailsDialog(low, low + horizontalAxis.interval, listed, verticalAxis.numberFormat,
                         horizontalAxis.numberFormat)
            .Run();
    }
    return true;
}

void ProbDistributionGraph::ShowStatistics()
{
    if (outcomes_)
        DistStatsDialog(*outcomes_, horizontalAxis.numberFormat).Run();
}

const GraphWindow::CommandRow ProbDistributionGraph::KindRows[] = {
    {Cmd::GraphCumulative, [](GraphWindow& graph) { static_cast<ProbDistributionGraph&>(graph).ToggleCumulative(); },
     [](GraphWindow&) { return true; }},
    {Cmd::GraphDistributionStatistics,
     [](GraphWindow& graph) { static_cast<ProbDistributionGraph&>(graph).ShowStatistics(); },
     [](GraphWindow&) { return true; }},
};

GraphWindow::CommandTable ProbDistributionGraph::KindCommands() const
{
    return KindRows;
}

void ProbDistributionGraph::UpdateMenus(HMENU bar)
{
    LineListGraph::UpdateMenus(bar);
    CheckMenuItem(bar, Cmd::GraphCumulative, MF_BYCOMMAND | (isCumulative ? MF_CHECKED : MF_UNCHECKED));
}

zString ProbDistributionGraph::CoordinateText(float x, float y) const
{
    const int index = BarAt(x, y);
    if (index < 0)
        return LineListGraph::CoordinateText(x, y);
    const double low = horizontalAxis.valueBottom + index * horizontalAxis.interval;
    zString text = "Bar (";
    text += horizontalAxis.ValueText(low);
    text += " - ";
    text += horizontalAxis.ValueText(low + horizontalAxis.interval);
    text += "); P = ";
    text += verticalAxis.ValueText(bars.Bar(index)->value);
    return text;
}

bool ProbDistributionGraph::WriteTextExport(TextReport& report)
{
    BeginTextExport(report, "KIVO(tm) Bar Graph");
    report.AddColumnHeader(verticalLabel.text.Text());
    for (int i = 0; outcomes_ != nullptr && i < outcomes_->Count(); ++i) {
        const Outcome* outcome = outcomes_->OutcomeAt(i);
        zString row = AxisText(horizontalAxis, outcome->triple.value);
        row += "\t";
        row += AxisText(verticalAxis, outcome->probability);
        report.AddLine(row);
    }
    report.AddNote("Bars:");
    double low = horizontalAxis.valueBottom;
    for (int i = 0; i < bars.Count(); ++i) {
        const double high = low + horizontalAxis.interval;
        zString note = "(";
        note += AxisText(horizontalAxis, low);
        note += "-";
        note += AxisText(horizontalAxis, high);
        note += "):\t";
        note += AxisText(verticalAxis, bars.Bar(i)->value);
        report.AddNote(note.Text());
        low = high;
    }
    return true;
}

// Own part, after the common part:
//   bars                                             bar list
//   outcome count                                    i16
//   isCumulative, calcFlag                           2 x u8
//   belowProbability                                 f64
//   has outcomes (1 when they follow), outcomes      i16, outcome list
// A negative outcome count or flags other than 0 and 1 set format error 16.
void ProbDistributionGraph::StorePart(Archive& archive)
{
    LayoutBars();
    bars.Serialize(archive);
    archive.WriteShort(outcomeCount).WriteByte(isCumulative).WriteByte(calcFlag);
    archive.WriteDouble(belowProbability).WriteShort(outcomes_ ? 1 : 0);
    if (outcomes_)
        outcomes_->Serialize(archive);
}

bool ProbDistributionGraph::LoadPart(Archive& archive)
{
    constexpr uint32_t kBadHistogramPart = 16;
    if (archive.Failed())
        return false;
    bars.Serialize(archive);
    int16_t hasOutcomes = 0;
    archive.ReadShort(outcomeCount).ReadByte(isCumulative).ReadByte(calcFlag);
    archive.ReadDouble(belowProbability).ReadShort(hasOutcomes);
    if (outcomeCount < 0 || isCumulative > 1 || hasOutcomes < 0 || hasOutcomes > 1)
        archive.SetFormatError(kBadHistogramPart);
    outcomes_.reset();
    if (hasOutcomes == 1 && !archive.Failed()) {
        outcomes_ = std::make_unique<OutcomeDistribution>(16, true);
        outcomes_->Serialize(archive);
    }
    return !archive.Failed();
}
