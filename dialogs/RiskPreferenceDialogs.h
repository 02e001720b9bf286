#pragma once
// The risk preference dialogs of a tree: choosing the kind of function (dialog 2540), assessing the
// coefficient of constant risk aversion from one lottery (2550), and assessing points of the function from
// certainty equivalents of 50/50 lotteries (2570). Each returns 1 when the person completed it; the tree's
// function changes only then.

#include <windows.h>

class RiskPointAssessment;
class TreeDocument;


int EnterRiskPreference(TreeDocument* document);
int AssessConstantRiskAversion(TreeDocument* document);
int AssessRiskPreferencePoints(TreeDocument* document, int segments);

// The lottery pictures of the two assessments in a dialog area: the 50/50 lottery of X and -X/2 (with
// their amounts when X is given), and the points assessed so far as branches with the current lottery's
// two in red.
void DrawLotteryPicture(HDC dc, const RECT& area, const double* x);
void DrawAssessmentPicture(HDC dc, const RECT& area, const RiskPointAssessment& assessment);
