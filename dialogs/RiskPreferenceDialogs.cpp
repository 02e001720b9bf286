#include "dialogs/RiskPreferenceDialogs.h"

#include "analysis/RiskPreference.h"
#include "app/RangeValidator.h"
#include "dialogs/ProgramDialog.h"
#include "foundation/NumericFormatting.h"
#include "framework/dialog/FormattedEdit.h"
#include "model/RiskPrefAssessment.h"
#include "model/TreeDocument.h"

#include <windows.h>

#include <string>

namespace {

void Check(ProgramDialog& dialog, unsigned id, bool on)
{
    if (WindowCL* button = dialog.FindChild(id))
        SendMessageA(button->Handle(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Enable(ProgramDialog& dialog, unsigned id, bool on)
{
    if (WindowCL* control = dialog.FindChild(id))
        EnableWindow(control->Handle(), on);
}

void ShowNumber(ProgramDialog& dialog, unsigned id, double value)
{
    zString text;
    AppendFormattedNumber(text, value, -9);
    if (WindowCL* control = dialog.FindChild(id))
        control->SetText(text);
}

}  // namespace

// Constant risk aversion is chosen first; the segment buttons count only for non-constant, and choosing one
// chooses non-constant.
int EnterRiskPreference(TreeDocument* window)
{
    ProgramDialog dialog(kEnterRiskPreferenceTemplate);
    int segments = 4;
    bool constant = true;
    auto choose = [&](bool isConstant) {
        constant = isConstant;
        Check(dialog, kConstantRiskRadio, constant);
        Check(dialog, kNonConstantRiskRadio, !constant);
        for (unsigned id = kTwoSegmentsRadio; id <= kSixteenSegmentsRadio; ++id) {
            Check(dialog, id, (2 << (id - kTwoSegmentsRadio)) == segments);
            Enable(dialog, id, !constant);
        }
    };
    choose(true);
    dialog.OnButton(kConstantRiskRadio, [&] { choose(true); });
    dialog.OnButton(kNonConstantRiskRadio, [&] { choose(false); });
    for (unsigned id = kTwoSegmentsRadio; id <= kSixteenSegmentsRadio; ++id) {
        dialog.OnButton(id, [&, id] {
            segments = 2 << (id - kTwoSegmentsRadio);
            choose(false);
        });
    }
    if (dialog.Run() != IDOK)
        return 0;
    return constant ? AssessConstantRiskAversion(window) : AssessRiskPreferencePoints(window, segments);
}

int AssessConstantRiskAversion(TreeDocument* window)
{
    ProgramDialog dialog(kConstantAssessmentTemplate);
    double coefficient = window->RiskAssessment.coefficient;
    auto* field = RealEdit::FromTemplate(&dialog, kCoefficientField, new RealRangeValidator(1e-5, 1e16, 0), 0,
                                         &coefficient);
    if (dialog.Run() != IDOK || field == nullptr)
        return 0;
    RiskPrefAssessment& function = window->RiskAssessment;
    function.coefficient = coefficient;
    function.constantAssessed = 1;
    function.type = 1;
    window->SetModified(1);
    return 1;
}

// One question at a time: "M&ore" takes the answer and asks the next; on the last question it reads "D&one"
// and its answer completes the assessment.
int AssessRiskPreferencePoints(TreeDocument* window, int segments)
{
    RiskPointAssessment assessment;
    if (!assessment.Begin(window, segments))
        return 0;
    ProgramDialog dialog(kPointAssessmentTemplate);
    double answer = assessment.Proposed();
    auto* field = RealEdit::FromTemplate(&dialog, kCertaintyField, new RealRangeValidator(-1e16, 1e16, 0), 0,
                                         &answer);
    auto ask = [&] {
        ShowNumber(dialog, kLotteryLowText, assessment.LotteryLow());
        ShowNumber(dialog, kLotteryHighText, assessment.LotteryHigh());
        if (WindowCL* label = dialog.FindChild(kQuestionLabel))
            label->SetText("CE " + std::to_string(assessment.QuestionNumber()));
        if (WindowCL* more = dialog.FindChild(kMoreButton))
            more->SetText(assessment.IsLastQuestion() ? "D&one" : "M&ore");
        answer = assessment.Proposed();
        if (field != nullptr)
            field->Load();
        dialog.SelectField(kCertaintyField);
    };
    ask();
    dialog.OnButton(kMoreButton, [&] {
        if (field == nullptr || !field->Validate())
            return;
        field->Store();
        if (!assessment.Answer(answer))
            return;
        if (assessment.Complete())
            dialog.EndModal();
        else
            ask();
    });
    dialog.Run();
    if (!assessment.Complete())
        return 0;
    assessment.Store(window);
    return 1;
}
