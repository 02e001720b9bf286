#include "dialogs/MonteCarloDialogs.h"

#include "foundation/StringHelpers.h"
#include "formula/Distribution.h"
#include "framework/window/HandlerDescriptor.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include "CommandIds.h"

#include <windows.h>

#include <algorithm>

namespace MonteCarloSimulationIds = Ctl::MonteCarloSimulation;

namespace {

// Kept while the program runs for the next set-up; the key value is never changed by a run.
struct RememberedDefaults {
    int trials = 100;
    bool predictable = false;
    int key = 1000;
    bool reevaluate = false;
};
RememberedDefaults remembered;

}  // namespace

MonteCarloSetupDialog::MonteCarloSetupDialog(TreeDocument* document, TreeNode* node)
    : AppDialog(DialogRes::MonteCarloSimulation), document(document), node(node)
{
    trials = remembered.trials;
    key = remembered.key;
    AddIntegerField(MonteCarloSimulationIds::NumberOfTrialsEdit, &trials, 1, 32000);
    AddIntegerField(MonteCarloSimulationIds::KeyValueEdit, &key, 1, 20000);
    for (unsigned id :
         {MonteCarloSimulationIds::UsePredictableRandomSequence, MonteCarloSimulationIds::SampleAll,
          MonteCarloSimulationIds::SampleSome, MonteCarloSimulationIds::DoNotSample, MonteCarloSimulationIds::Which})
        AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(
            id, AsEventHandler(&MonteCarloSetupDialog::OnChoice), this, WM_COMMAND));
    const bool hasDistributions = document->Distributions.Count() > 0;
    CheckItem(MonteCarloSimulationIds::UsePredictableRandomSequence, remembered.predictable);
    CheckItem(MonteCarloSimulationIds::ReevaluateOptimalPathForEachTrial, remembered.reevaluate);
    CheckItem(hasDistributions ? MonteCarloSimulationIds::SampleAll : MonteCarloSimulationIds::DoNotSample, true);
    for (unsigned id : {MonteCarloSimulationIds::SampleAll, MonteCarloSimulationIds::SampleSome,
                        MonteCarloSimulationIds::DoNotSample})
        EnableItem(id, hasDistributions);
    UpdateControls();
}

// The key only with a predictable sequence, "&Which..." only with "Sample &some", re-evaluation only at a
// decision node that samples.
void MonteCarloSetupDialog::UpdateControls()
{
    EnableItem(MonteCarloSimulationIds::KeyValueEdit,
               IsItemChecked(MonteCarloSimulationIds::UsePredictableRandomSequence));
    EnableItem(MonteCarloSimulationIds::Which, IsItemChecked(MonteCarloSimulationIds::SampleSome));
    const bool reevaluable = node->IsDecision() && !IsItemChecked(MonteCarloSimulationIds::DoNotSample);
    if (!reevaluable)
        CheckItem(MonteCarloSimulationIds::ReevaluateOptimalPathForEachTrial, false);
    EnableItem(MonteCarloSimulationIds::ReevaluateOptimalPathForEachTrial, reevaluable);
}

long MonteCarloSetupDialog::OnChoice(WindowEvent* event)
{
    if (event->CommandId() == MonteCarloSimulationIds::Which) {
        SampleDistributionsDialog(document, chosen).Run();
        return 1;
    }
    UpdateControls();
    return 0;
}

int MonteCarloSetupDialog::OkResult()
{
    const bool predictable = IsItemChecked(MonteCarloSimulationIds::UsePredictableRandomSequence);
    const bool reevaluable = IsWindowEnabled(Control(MonteCarloSimulationIds::ReevaluateOptimalPathForEachTrial)) != 0;
    remembered.trials = trials;
    remembered.predictable = predictable;
    if (reevaluable)
        remembered.reevaluate = IsItemChecked(MonteCarloSimulationIds::ReevaluateOptimalPathForEachTrial);
    settings = MonteCarloSettings();
    settings.trials = static_cast<int16_t>(trials);
    settings.seed = static_cast<int16_t>(predictable ? key : 0);
    settings.reevaluatePath =
        reevaluable && IsItemChecked(MonteCarloSimulationIds::ReevaluateOptimalPathForEachTrial) ? 1 : 0;
    if (IsItemChecked(MonteCarloSimulationIds::SampleAll)) {
        settings.samplingMode = SampleAll;
        for (int i = 0; i < document->Distributions.Count(); ++i)
            settings.chosen.push_back(document->Distributions.RecordAt(i)->index);
    } else if (IsItemChecked(MonteCarloSimulationIds::SampleSome)) {
        settings.samplingMode = SampleChosen;
        settings.chosen = chosen;
    } else {
        settings.samplingMode = SampleNone;
    }
    return 1;
}

SampleDistributionsDialog::SampleDistributionsDialog(TreeDocument* document, std::vector<int32_t>& chosen)
    : AppDialog(DialogRes::SampleDistributions), document(document), chosen(chosen)
{
    const HWND list = Control(Ctl::SampleDistributions::DescriptionList);
    const DistributionList& all = document->Distributions;
    for (int i = 0; i < all.Count(); ++i) {
        DistributionRecord* record = all.RecordAt(i);
        zString line;
        AppendInt(line, record->index);
        line += '\t';
        if (!record->comment.IsEmpty())
            line += record->comment;
        else if (record->GetDistribution() != nullptr)
            line += record->GetDistribution()->Name();
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.Text()));
        const bool selected = std::find(chosen.begin(), chosen.end(), record->index) != chosen.end();
        SendMessageA(list, LB_SETSEL, selected ? TRUE : FALSE, i);
    }
}

int SampleDistributionsDialog::OkResult()
{
    const HWND list = Control(Ctl::SampleDistributions::DescriptionList);
    chosen.clear();
    for (int i = 0; i < document->Distributions.Count(); ++i)
        if (SendMessageA(list, LB_GETSEL, i, 0) > 0)
            chosen.push_back(document->Distributions.RecordAt(i)->index);
    return 1;
}
