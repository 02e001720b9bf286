#include "dialogs/NodeValueDialogs.h"

#include "analysis/EvpiCalculation.h"
#include "analysis/NodeValueRecord.h"
#include "analysis/ProbabilityVerification.h"
#include "widgets/ProgramDialog.h"
#include "foundation/NumericFormatting.h"
#include "framework/dialog/FormattedEdit.h"
#include "widgets/RangeValidator.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include "CommandIds.h"

#include <windows.h>

namespace OverUnderIds = Ctl::OverUnder;
namespace OverUnder3215Ids = Ctl::OverUnder3215;

namespace {

constexpr int kNameLength = 30;

void SetText(ProgramDialog& dialog, unsigned id, const zString& text)
{
    if (WindowCL* control = dialog.FindChild(id))
        control->SetText(text);
}

zString ShortText(const TreeNode* node)
{
    zString text;
    node->GetShortText(text, kNameLength);
    return text;
}

// The sentence before the value: by command, for one or several selected nodes.
zString Sentence(TreeDocument* document, int command, double value, const NodeChildList& selection)
{
    const bool several = selection.Count() > 1;
    const bool riskAdjusted = document->CalcPrefs.UseUtility != 0;
    zString text;
    switch (command) {
    case ExpectedValueCommand:
        if (several)
            text = riskAdjusted ? "The sum of the risk-adjusted expected values" : "The sum of the expected values";
        else
            text = riskAdjusted ? "The expected value (risk-adjusted) of" : "The expected value of";
        break;
    case PathProbabilityCommand:
        text = several ? "The sum of the path probabilities" : "The path probability of";
        break;
    case StandardDeviationCommand:
        text = "The standard deviation of";
        break;
    default:
        text = "The expected value of perfect information is: ";
        if (value < 0.0)
            text += "0; though it was calculated as ";
        return text;
    }
    if (several && command != StandardDeviationCommand) {
        text += " of the selected nodes is: ";
    } else if (selection.Count() > 0) {
        // A node without a name is told by its place.
        const zString mention = NodeMention(*selection.At(0), "");
        text += mention.Text()[0] == '"' ? " node\n" : "\n";
        text += mention;
        text += " is: ";
    }
    return text;
}

bool ChooseEquivalentNodes(const std::vector<TreeNode*>& candidates, std::vector<bool>& chosen)
{
    ProgramDialog dialog(DialogRes::EVPI);
    const HWND list = dialog.Control(Ctl::EVPI::EquivalentNodesList);
    for (TreeNode* candidate : candidates)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ShortText(candidate).Text()));
    std::vector<bool> picked(candidates.size(), false);
    dialog.OnButton(Ctl::EVPI::EquivalentNodesList, [&] {
        for (size_t i = 0; i < candidates.size(); ++i)
            picked[i] = SendMessageA(list, LB_GETSEL, i, 0) > 0;
    });
    if (dialog.Run() != IDOK)
        return false;
    chosen = picked;
    return true;
}

// The nearest decision node is proposed; "Other Node..." asks among all of them, nearest first.
int ChooseEvpiDecisionLevel(const std::vector<TreeNode*>& decisions)
{
    bool other = false;
    {
        ProgramDialog dialog(DialogRes::EVPI3420);
        SetText(dialog, Ctl::EVPI3420::TheEVPIWillBeCalculatedWithRespectToTheDecisionNodeText,
                ShortText(decisions.front()));
        dialog.OnButton(Ctl::EVPI3420::OtherNode, [&] {
            other = true;
            SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
        });
        if (dialog.Run() != IDOK)
            return -1;
    }
    if (!other)
        return 0;
    ProgramDialog dialog(DialogRes::EVPI3380);
    const HWND list = dialog.Control(Ctl::EVPI3380::AtWhichDecisionNodeDoYouWishToCalculateTheEVPIList);
    for (TreeNode* decision : decisions)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ShortText(decision).Text()));
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    int level = 0;
    dialog.OnButton(Ctl::EVPI3380::AtWhichDecisionNodeDoYouWishToCalculateTheEVPIList, [&] {
        const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
        level = selected == LB_ERR ? 0 : static_cast<int>(selected);
    });
    return dialog.Run() == IDOK ? level : -1;
}

void ShowOverUnderResult(const OverUnderResult& result)
{
    ProgramDialog dialog(DialogRes::OverUnder3215);
    SetText(dialog, OverUnderIds::EnterATargetValueEdit, result.target);
    SetText(dialog, OverUnder3215Ids::AboveValueText, result.above);
    SetText(dialog, OverUnder3215Ids::BelowValueText, result.below);
    SetText(dialog, OverUnder3215Ids::ProbabilityAboveTargetText, result.aboveLabel);
    SetText(dialog, OverUnder3215Ids::ProbabilityBelowTargetText, result.belowLabel);
    dialog.Run();
}

}  // namespace

void NodeValueDialog::Run() const
{
    ProgramDialog dialog(DialogRes::NodeValue);
    zString text = Sentence(document, command, value, nodes);
    zString number;
    const bool probability = command == PathProbabilityCommand;
    FormatNumber(document->NumberFormat(), value, number, !probability, !probability, DigitsOfFormat);
    text += number;
    SetText(dialog, Ctl::NodeValue::NodeValueText, text);
    if (command == ExpectedValueCommand && optimal != nullptr && optimal->Count() > 0) {
        zString choice("Optimal Choice: ");
        choice += optimal->Count() > 1 ? zString("(Indifferent)") : ShortText(optimal->At(0));
        SetText(dialog, Ctl::NodeValue::OptimalChoiceText, choice);
    }
    dialog.Run();
}

void OverUnderDialog::Run(TreeNode* node)
{
    if (CheckRiskPreference(node->document, nullptr) == 0)
        return;
    double target = 0.0;
    ProgramDialog dialog(DialogRes::OverUnder);
    RealEdit::FromTemplate(&dialog, OverUnderIds::EnterATargetValueEdit, new RealRangeValidator(0.0, 0.0, 0), 0,
                           &target);
    dialog.CheckItem(OverUnderIds::IncludeTargetInLowerRange, true);
    bool includeInLower = true;
    dialog.OnButton(OverUnderIds::IncludeTargetInLowerRange,
                    [&] { includeInLower = dialog.IsItemChecked(OverUnderIds::IncludeTargetInLowerRange); });
    if (dialog.Run() != IDOK)
        return;
    OverUnderRequest request;
    request.target = target;
    request.node = node;
    request.targetCountsAbove = includeInLower ? 0 : 1;
    OverUnderCompute(request, false);
}

void InstallNodeValueDialogs()
{
    SetNodeValuePresenter([](TreeDocument* document, int command, double value, const NodeChildList& nodes,
                             const NodeChildList* optimal) {
        NodeValueDialog(document, command, value, nodes, optimal).Run();
    });
    SetEvpiPresenter([](TreeDocument* document, double evpi) {
        NodeValueDialog(document, EvpiCommand, evpi, NodeChildList(1, Ownership::Borrows), nullptr).Run();
    });
    SetOverUnderPresenter(ShowOverUnderResult);
    SetEvpiChooser(EvpiChooser{ChooseEquivalentNodes, ChooseEvpiDecisionLevel});
}
