#include "graph/OptionBarGraph.h"

#include "analysis/BarGraphData.h"
#include "analysis/OutcomeDistribution.h"
#include "graph/GraphStylePickers.h"
#include "foundation/Archive.h"
#include "foundation/NumericFormatting.h"
#include "foundation/TextReport.h"
#include "foundation/VersionRecord.h"

namespace {

constexpr uint32_t kBadOptionPart = 17;

}  // namespace

OptionBarGraph::OptionBarGraph(const OptionBarData& data)
{
    title.text = data.texts[0].c_str();
    subtitle.text = data.texts[1].c_str();
    hasSubtitle = data.texts[1].empty() ? 0 : 1;
    horizontalLabel.text = data.texts[2].c_str();
    verticalAxis.SetScale(MakeProbabilityAxisFormat(), 0.0, 1.0, 0.1, 1);
    verticalLabel.text = data.texts[3].c_str();
    bars.AddBar(0.0, true);
    for (size_t k = 0; k < data.optionNames.size(); ++k) {
        const GraphFill fill = GraphItemStyle(static_cast<int>(k));
        const double share = k < data.shares.size() ? data.shares[k] : 0.0;
        if (GraphBar* bar = bars.AddBar(share, false))
            bar->SetFill(fill);
        bars.AddBar(0.0, true);
        AddLegendEntry(data.optionNames[k].c_str(), new GraphFillElement(fill));
    }
    optionCount = static_cast<int16_t>(data.optionNames.size());
    // Hidden, it still keeps a sound scale for the file: one slot per bar.
    horizontalAxis.SetScale(MakeProbabilityAxisFormat(), 0.0, bars.Count(), 1.0, 0);
    horizontalAxis.isHidden = 1;
}

OptionBarGraph::OptionBarGraph(const char* path) : LineListGraph(FromFile{})
{
    OpenGraphFile(path);
}

int OptionBarGraph::AxisChanged(int)
{
    LayoutBars();
    return 1;
}

zString OptionBarGraph::CoordinateText(float x, float y) const
{
    const int index = BarAt(x, y);
    const int option = index / 2;
    if (index < 0 || bars.Bar(index)->isHidden || option >= legendTexts.Count())
        return LineListGraph::CoordinateText(x, y);
    zString text = "Option (";
    text += legendTexts.Label(option)->text;
    text += "); P = ";
    text += verticalAxis.ValueText(bars.Bar(index)->value);
    return text;
}

bool OptionBarGraph::EditLegendKey(GraphElement& key)
{
    const int option = legendKeys.IndexOf(&key);
    auto* swatch = dynamic_cast<GraphFillElement*>(&key);
    if (option < 0 || swatch == nullptr || 2 * option + 1 >= bars.Count())
        return false;
    GraphFill fill = swatch->fill;
    if (!RunRegionFillDialog(fill, legendTexts.Label(option)->text.Text()))
        return false;
    swatch->fill = fill;
    bars.Bar(2 * option + 1)->SetFill(fill);
    InvalidateAll();
    return true;
}

bool OptionBarGraph::WriteTextExport(TextReport& report)
{
    BeginTextExport(report, "KIVO(tm) Bar Graph");
    report.AddColumnHeader(verticalLabel.text.Text());
    for (int i = 1; i < bars.Count(); i += 2) {
        if (i / 2 >= legendTexts.Count())
            break;
        zString row = legendTexts.Label(i / 2)->text;
        zString share;
        FormatNumber(verticalAxis.numberFormat, bars.Bar(i)->value, share, false, false, DigitsOfFormat);
        row += "\t";
        row += share;
        report.AddLine(row);
    }
    return true;
}

// Own part, after the common part:
//   version record                                   3 bytes
//   bars                                             bar list
//   option count, legacy count                       2 x i16
//   up to 3.0 beta 2: per option an outcome list, then legacy x options f64 and legacy f64, all dropped
// An option count other than the bars' (2 x options + 1), or a negative legacy count, sets format error 17.
void OptionBarGraph::StorePart(Archive& archive)
{
    LayoutBars();
    VersionRecord(VersionRecord::Current()).Serialize(archive);
    bars.Serialize(archive);
    archive.WriteShort(optionCount).WriteShort(legacyCount);
}

bool OptionBarGraph::LoadPart(Archive& archive)
{
    if (archive.Failed())
        return false;
    VersionRecord version;
    version.Serialize(archive);
    bars.Serialize(archive);
    archive.ReadShort(optionCount).ReadShort(legacyCount);
    if (optionCount < 0 || legacyCount < 0 || bars.Count() != 2 * optionCount + 1)
        archive.SetFormatError(kBadOptionPart);
    if (!archive.Failed() && !version.IsNewerThan(KnownVersion::k3_0_Beta2)) {
        for (int k = 0; k < optionCount && !archive.Failed(); ++k) {
            OutcomeDistribution scratch(16, true);
            scratch.Serialize(archive);
        }
        double dropped = 0.0;
        for (int i = 0; i < (optionCount + 1) * legacyCount && !archive.Failed(); ++i)
            archive.ReadDouble(dropped);
    }
    return !archive.Failed();
}
