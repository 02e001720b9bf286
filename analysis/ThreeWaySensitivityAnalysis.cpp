#include "analysis/ThreeWaySensitivityAnalysis.h"

#include "analysis/VariableSubstitution.h"
#include "foundation/PresenterSlot.h"
#include "foundation/VersionRecord.h"
#include "model/StoredAnalysis.h"

namespace {

using Slot = PresenterSlot<ThreeWaySensitivityResults, ThreeWaySensitivityPresenter>;

}  // namespace

ThreeWaySensitivityAnalysis::ThreeWaySensitivityAnalysis(TreeNode* node, const ThreeWaySettings& settings)
    : RegionSweepRun(node, ThreeWaySensitivityKind, {&settings.x, &settings.y, &settings.z}, settings.checkCoherence)
{
}

// Records up to 3.0 beta 9 end after the bindings, and only those from 3.5 beta 6 on hold correlated ranges.
ThreeWaySensitivityAnalysis::ThreeWaySensitivityAnalysis(TreeDocument* treeDocument, StoredAnalysis* record)
    : RegionSweepRun(treeDocument, record, ThreeWaySensitivityKind, 3, KnownVersion::k3_0_Beta9 + 1,
                     KnownVersion::k3_5_Beta6)
{
}

void ThreeWaySensitivityAnalysis::Finish()
{
    RestoreAll();
    ThreeWaySensitivityResults results;
    results.maps = maps;
    results.strategies = strategies;
    results.newRun = newRun != 0;
    results.title = "Sensitivity Analysis on ";
    results.subtitle = SweptVariables();
    // The swept axes name the variables correlated with theirs; the step label stays "Z = value".
    for (int a = 0; a < 2; ++a)
        results.labels[a] = sets[a].AxisTitle(document);
    results.labels[2] = VariableLabel(document, sets[2].RangeAt(0)->name);
    const VariableRange* z = sets[2].RangeAt(0);
    results.zLow = z->low.value;
    results.zHigh = z->high.value;
    results.zStep = (z->high.value - z->low.value) / sets[2].intervals;
    results.graphTemplate = CallerTemplate();
    if (Slot::Current())
        Slot::Current()(results);
}

ThreeWaySensitivityPresenter SetThreeWaySensitivityPresenter(ThreeWaySensitivityPresenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

void RunStoredThreeWaySensitivity(StoredAnalysis* record, TreeDocument* document)
{
    RunAnalysis(std::make_unique<ThreeWaySensitivityAnalysis>(document, record));
}

// Items: node path, X, Y and Z names, their low and high texts in pairs, their intervals.
void DescribeThreeWaySensitivity(TreeDocument* document, StoredAnalysis* record, zString& text)
{
    const StoredNameList& items = *record->parameters;
    auto item = [&items](int i) { return StoredItemText(items, i); };
    text = "Sens(3) on ";
    text += item(1);
    text += ", ";
    text += item(2);
    text += ", ";
    text += item(3);
    AppendAtNode(text, document, item(0));
    for (int a = 0; a < 3; ++a) {
        text += "\r\n";
        text += item(1 + a);
        text += ": ";
        text += item(4 + 2 * a);
        text += " to ";
        text += item(5 + 2 * a);
        text += "; ";
        text += item(10 + a);
        text += " Intervals";
    }
}
