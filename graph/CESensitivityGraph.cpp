#include "graph/CESensitivityGraph.h"

#include "analysis/CEDominance.h"
#include "analysis/CEReport.h"
#include "analysis/GridStepStrategySet.h"
#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/TextReport.h"
#include "foundation/VersionRecord.h"
#include "graph/CEGraph.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

namespace {

constexpr int kFirstMarkKind = 6;

NumericFormat AxisFormat(NumericFormat format)
{
    format.axisDigits = format.expValDigits;
    return format;
}

}  // namespace

CESensitivityGraph::CESensitivityGraph(const SensitivityResultGrid& grid, TreeNode* node, const char* subtitleText,
                                       const char* variable, int effOnXFlag)
    : variableName(variable), effOnX(static_cast<int16_t>(effOnXFlag != 0 ? 1 : 0)), grid_(grid.Clone())
{
    SetIconId(32026);
    title.text = "Sensitivity Analysis on";
    subtitle.text = subtitleText;
    hasSubtitle = 1;
    TreeDocument* document = grid.Document();
    if (document != nullptr) {
        ceFormat = document->CalcPrefs.CostEffFormat;
        ceFormat.axisDigits = ceFormat.expValDigits;
    }
    double lowCost = 0, highCost = 0, lowEff = 0, highEff = 0;
    grid.ComponentRange(ComponentCost, lowCost, highCost);
    grid.ComponentRange(ComponentEffectiveness, lowEff, highEff);
    const NumericFormat costFormat =
        document != nullptr ? document->CalcPrefs.PayoffFormat(document->CostPayoffIndex()) : NumericFormat(true);
    const NumericFormat effFormat = document != nullptr ? document->CalcPrefs.EffectivenessFormat() : NumericFormat(true);
    AutoScaleAxis(effOnX, AxisFormat(costFormat), lowCost, highCost, "Cost", 1, 0);
    AutoScaleAxis(1 - effOnX, AxisFormat(effFormat), lowEff, highEff, "Effectiveness", 1, 0);
    NumericFormat stepFormat = document != nullptr ? document->NumberFormat() : NumericFormat(true);
    const int steps = grid.Intervals();
    AutoFormatForRange(stepFormat, grid.Low(), grid.High(), steps);
    // The swept variable is not money: its value carries neither currency nor units.
    stepFormat.unitsKind = NumericFormat::UnitsNone;
    stepFormat.unitsText = "";
    stepLabel.owner = this;
    stepLabel.Initialise(stepFormat, variable, grid.Low(), grid.High(),
                         steps > 0 ? (grid.High() - grid.Low()) / steps : 0.0);
    int kind = kFirstMarkKind;
    for (int i = 0; node != nullptr && i < node->childCount; ++i) {
        zString name;
        node->GetChild(i)->GetShortText(name, 30);
        strategyNames.AddText(name.Text());
        AddLegendEntry(name.Text(), new GraphMarkElement(kind));
        kind = kind + 1 < kMarkKindCount ? kind + 1 : 1;
    }
    strip_ = new StepAnimationStrip(*this, *this);
}

CESensitivityGraph::CESensitivityGraph(const char* path) : GraphWindow(FromFile{})
{
    SetIconId(32026);
    stepLabel.owner = this;
    OpenGraphFile(path);
    stepLabel.SetStep(0, nullptr);
    strip_ = new StepAnimationStrip(*this, *this);
}

int CESensitivityGraph::MarkOfStrategy(const zString& name) const
{
    for (int j = 0; j < strategyNames.Count(); ++j)
        if (*strategyNames.At(j) == name) {
            const auto* key = dynamic_cast<const GraphMarkElement*>(legendKeys.Key(j));
            return key != nullptr ? key->markKind : 1;
        }
    return 1;
}

void CESensitivityGraph::DrawSeries(Display& display)
{
    const int step = ShownStep();
    if (!grid_ || step < 0)
        return;
    CEPointList points;
    BuildCEPoints(GridStepStrategySet(*grid_, step, &strategyNames), points, 1);
    DrawCEPoints(*this, display, points, effOnX, true,
                 [&](int i) { return MarkOfStrategy(points.Point(i)->name); });
}

bool CESensitivityGraph::WriteTextExport(TextReport& report)
{
    if (!grid_)
        return false;
    const AxisElement& costAxis = effOnX != 0 ? verticalAxis : horizontalAxis;
    const AxisElement& effAxis = effOnX != 0 ? horizontalAxis : verticalAxis;
    grid_->CEOptimalByStep(report, variableName.Text(), &strategyNames,
                           CEFormats{costAxis.numberFormat, effAxis.numberFormat, ceFormat}, -1);
    return true;
}

zString CESensitivityGraph::CoordinateText(float x, float y) const
{
    return CEStatusText(*this, effOnX, ceFormat, x, y);
}

void CESensitivityGraph::ForEachElement(const ElementVisit& visit)
{
    GraphWindow::ForEachElement(visit);
    visit(stepLabel);
}

LogicalRect CESensitivityGraph::PlotBlockSize()
{
    return StepLabelBlock(GraphWindow::PlotBlockSize(), stepLabel);
}

void CESensitivityGraph::PlacePlotBlock(const LogicalRect& block)
{
    GraphWindow::PlacePlotBlock(PlotUnderStepLabel(block, stepLabel));
    PlaceStepLabel(stepLabel, block, graphRect);
}

void CESensitivityGraph::SetGraphRect(const LogicalRect& rect)
{
    const float dx = rect.right - graphRect.right;
    const float dy = rect.top - graphRect.top;
    GraphWindow::SetGraphRect(rect);
    stepLabel.MoveBy(dx, dy);
}

// Own part, after the common part:
//   version record                                  3 bytes
//   cost/effectiveness format                       format with its version record
//   grid                                            result grid record
//   step label                                      label record
//   strategy names                                  name list
//   effectiveness across                            i16
//   variable name                                   stored string
void CESensitivityGraph::StorePart(Archive& archive)
{
    VersionRecord(VersionRecord::Current()).Serialize(archive);
    SerializeWithVersion(ceFormat, archive);
    grid_->Serialize(archive);
    stepLabel.Serialize(archive);
    strategyNames.Serialize(archive);
    archive.WriteShort(effOnX);
    StoreString(archive, variableName);
}

bool CESensitivityGraph::LoadPart(Archive& archive)
{
    VersionRecord version;
    version.Serialize(archive);
    SerializeWithVersion(ceFormat, archive);
    grid_ = std::make_unique<SensitivityResultGrid>();
    grid_->Serialize(archive);
    stepLabel.Serialize(archive);
    strategyNames.Serialize(archive);
    archive.ReadShort(effOnX);
    LoadString(archive, variableName);
    return !archive.Failed();
}
