#include "dialogs/RiskPreferenceDialogs.h"

#include "analysis/RiskPreference.h"
#include "widgets/RangeValidator.h"
#include "widgets/ProgramDialog.h"
#include "foundation/NumericFormatParsing.h"
#include "foundation/NumericFormatting.h"
#include "framework/dialog/FormattedEdit.h"
#include "model/RiskPrefAssessment.h"
#include "model/TreeDocument.h"

#include "CommandIds.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace EnterRiskPreferenceFunctionIds = Ctl::EnterRiskPreferenceFunction;
namespace RiskPreferenceAssessment2570Ids = Ctl::RiskPreferenceAssessment2570;

namespace {

void ShowNumber(ProgramDialog& dialog, unsigned id, double value)
{
    zString text;
    AppendFormattedNumber(text, value, -9);
    if (WindowCL* control = dialog.FindChild(id))
        control->SetText(text);
}

void DrawPicture(HDC dc, unsigned bitmapId, int x, int y)
{
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId));
    if (bitmap == nullptr)
        return;
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(dc, x, y - info.bmHeight / 2, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

void DrawBranch(HDC dc, int fromX, int fromY, int toX, int y, int endX, COLORREF colour, int width)
{
    HPEN pen = CreatePen(PS_SOLID, width, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, fromX, fromY, nullptr);
    LineTo(dc, toX, y);
    LineTo(dc, endX, y);
    SelectObject(dc, old);
    DeleteObject(pen);
}

}  // namespace

void DrawLotteryPicture(HDC dc, const RECT& area, const double* x)
{
    const int middle = (area.top + area.bottom) / 2;
    DrawPicture(dc, 32216, area.left + 8, middle);
    SetBkMode(dc, TRANSPARENT);
    const int textX = area.left + 64;
    const int quarter = (area.bottom - area.top) / 4;
    const struct {
        const char* name;
        double factor;
        int y;
    } outcomes[] = {{"X", 1.0, area.top + quarter - 8}, {"-X/2", -0.5, area.bottom - quarter - 8}};
    for (const auto& outcome : outcomes) {
        zString text("0.5:  ");
        text += outcome.name;
        if (x != nullptr) {
            text += " = ";
            AppendFormattedNumber(text, *x * outcome.factor, -9);
        }
        TextOutA(dc, textX, outcome.y, text.Text(), static_cast<int>(text.Length()));
    }
}

void DrawAssessmentPicture(HDC dc, const RECT& area, const RiskPointAssessment& assessment)
{
    const int middle = (area.top + area.bottom) / 2;
    DrawPicture(dc, 32217, area.left + 8, middle);
    const int count = static_cast<int>(assessment.values.size());
    if (count == 0)
        return;
    const int nodeX = area.left + 72;
    const int bendX = nodeX + 24;
    const int endX = area.right - 150;
    const int rowHeight = (area.bottom - area.top - 8) / std::max(count, 2);
    SetBkMode(dc, TRANSPARENT);
    // Highest value on top; the current lottery's two branches stand out in red.
    for (int i = 0; i < count; ++i) {
        const int index = count - 1 - i;
        const double value = assessment.values[index];
        const bool inLottery = value == assessment.LotteryLow() || value == assessment.LotteryHigh();
        const int y = area.top + 4 + rowHeight * i + rowHeight / 2;
        DrawBranch(dc, nodeX, middle, bendX, y, endX, inLottery ? RGB(255, 0, 0) : RGB(128, 128, 128), inLottery ? 2 : 1);
        if (inLottery || index == 0 || index == count - 1) {
            zString label;
            AppendFormattedNumber(label, value, -9);
            label += "  (U = ";
            AppendFormattedNumber(label, assessment.utilities[index], -4);
            label += ")";
            TextOutA(dc, endX + 6, y - 7, label.Text(), static_cast<int>(label.Length()));
        }
    }
}

// Constant risk aversion is chosen first; the segment buttons count only for non-constant, and choosing one
// chooses non-constant.
int EnterRiskPreference(TreeDocument* document)
{
    ProgramDialog dialog(DialogRes::EnterRiskPreferenceFunction);
    int segments = 4;
    bool constant = true;
    auto choose = [&](bool isConstant) {
        constant = isConstant;
        dialog.CheckItem(EnterRiskPreferenceFunctionIds::ConstantRiskAversion, constant);
        dialog.CheckItem(EnterRiskPreferenceFunctionIds::NonConstantRiskAversion, !constant);
        for (unsigned id = EnterRiskPreferenceFunctionIds::Two; id <= EnterRiskPreferenceFunctionIds::Sixteen; ++id) {
            dialog.CheckItem(id, (2 << (id - EnterRiskPreferenceFunctionIds::Two)) == segments);
            dialog.EnableItem(id, !constant);
        }
    };
    choose(true);
    dialog.OnButton(EnterRiskPreferenceFunctionIds::ConstantRiskAversion, [&] { choose(true); });
    dialog.OnButton(EnterRiskPreferenceFunctionIds::NonConstantRiskAversion, [&] { choose(false); });
    for (unsigned id = EnterRiskPreferenceFunctionIds::Two; id <= EnterRiskPreferenceFunctionIds::Sixteen; ++id) {
        dialog.OnButton(id, [&, id] {
            segments = 2 << (id - EnterRiskPreferenceFunctionIds::Two);
            choose(false);
        });
    }
    if (dialog.Run() != IDOK)
        return 0;
    return constant ? AssessConstantRiskAversion(document) : AssessRiskPreferencePoints(document, segments);
}

int AssessConstantRiskAversion(TreeDocument* document)
{
    namespace Ids = Ctl::RiskPreferenceAssessment;
    constexpr unsigned kField = Ids::EnterTheMAXIMUMValueOfXForWhichYouWouldPreferToPlayTheAboveLotteryEdit;
    ProgramDialog dialog(DialogRes::RiskPreferenceAssessment);
    double coefficient = document->RiskAssessment.coefficient;
    // The picture follows the field: the amounts of X as typed, none while the field holds no number.
    double typed = 0.0;
    bool typedValid = false;
    dialog.PaintArea(Ids::ConstantLotteryArea, [&](HDC dc, const RECT& area) {
        DrawLotteryPicture(dc, area, typedValid ? &typed : nullptr);
    });
    auto* field = RealEdit::FromTemplate(&dialog, kField, new RealRangeValidator(1e-5, 1e16, 0), 0, &coefficient);
    dialog.OnNotification(kField, EN_CHANGE, [&] {
        const zString text = dialog.ItemText(kField);
        int error = 0;
        ParseNumber(text.Text(), typed, error);
        typedValid = !text.IsEmpty() && error == 0;
        if (WindowCL* area = dialog.FindChild(Ids::ConstantLotteryArea))
            InvalidateRect(area->Handle(), nullptr, TRUE);
    });
    if (dialog.Run() != IDOK || field == nullptr)
        return 0;
    RiskPrefAssessment& function = document->RiskAssessment;
    function.coefficient = coefficient;
    function.constantAssessed = 1;
    function.type = 1;
    document->SetModified(1);
    return 1;
}

// One question at a time: "M&ore" takes the answer and asks the next; on the last question it reads "D&one"
// and its answer completes the assessment.
int AssessRiskPreferencePoints(TreeDocument* document, int segments)
{
    RiskPointAssessment assessment;
    if (!assessment.Begin(document, segments))
        return 0;
    ProgramDialog dialog(DialogRes::RiskPreferenceAssessment2570);
    dialog.PaintArea(RiskPreferenceAssessment2570Ids::PointLotteryArea,
                     [&assessment](HDC dc, const RECT& area) { DrawAssessmentPicture(dc, area, assessment); });
    double answer = assessment.Proposed();
    auto* field = RealEdit::FromTemplate(&dialog, RiskPreferenceAssessment2570Ids::CE1Edit,
                                         new RealRangeValidator(-1e16, 1e16, 0), 0, &answer);
    auto ask = [&] {
        ShowNumber(dialog, RiskPreferenceAssessment2570Ids::LowValueText, assessment.LotteryLow());
        ShowNumber(dialog, RiskPreferenceAssessment2570Ids::HighValueText, assessment.LotteryHigh());
        if (WindowCL* label = dialog.FindChild(RiskPreferenceAssessment2570Ids::CE1Text))
            label->SetText("CE " + std::to_string(assessment.QuestionNumber()));
        if (WindowCL* more = dialog.FindChild(RiskPreferenceAssessment2570Ids::More))
            more->SetText(assessment.IsLastQuestion() ? "D&one" : "M&ore");
        answer = assessment.Proposed();
        if (field != nullptr)
            field->Load();
        dialog.SelectField(RiskPreferenceAssessment2570Ids::CE1Edit);
        if (WindowCL* area = dialog.FindChild(RiskPreferenceAssessment2570Ids::PointLotteryArea))
            InvalidateRect(area->Handle(), nullptr, TRUE);
    };
    ask();
    dialog.OnButton(RiskPreferenceAssessment2570Ids::More, [&] {
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
    assessment.Store(document);
    return 1;
}
