#pragma once
// The risk preference dialogs of a tree: choosing the kind of function (dialog 2540), assessing the
// coefficient of constant risk aversion from one lottery (2550), and assessing points of the function from
// certainty equivalents of 50/50 lotteries (2570). Each returns 1 when the person completed it; the tree's
// function changes only then.

#include <windows.h>

class RiskPointAssessment;
class TreeDocument;

enum : int {
    kEnterRiskPreferenceTemplate = 2540,
    kConstantRiskRadio = 2541,
    kNonConstantRiskRadio = 2542,
    kTwoSegmentsRadio = 2544,
    kSixteenSegmentsRadio = 2547,
    kConstantAssessmentTemplate = 2550,
    kConstantLotteryArea = 2551,
    kCoefficientField = 2552,
    kPointAssessmentTemplate = 2570,
    kPointLotteryArea = 2571,
    kLotteryLowText = 2572,
    kLotteryHighText = 2573,
    kQuestionLabel = 2574,
    kCertaintyField = 2575,
    kMoreButton = 2576,
};

int EnterRiskPreference(TreeDocument* document);
int AssessConstantRiskAversion(TreeDocument* document);
int AssessRiskPreferencePoints(TreeDocument* document, int segments);

// The lottery pictures of the two assessments in a dialog area: the 50/50 lottery of X and -X/2, and the
// points assessed so far as branches with the current lottery's two in red.
void DrawLotteryPicture(HDC dc, const RECT& area, double x);
void DrawAssessmentPicture(HDC dc, const RECT& area, const RiskPointAssessment& assessment);
