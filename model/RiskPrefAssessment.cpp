#include "model/RiskPrefAssessment.h"

bool RiskPrefAssessment::Check(zString& message) const
{
    message.Clear();
    return true;
}

void RiskPrefAssessment::Clear()
{
    type = 0;
    constantAssessed = 0;
    pointsAssessed = 0;
    coefficient = 0.0;
    points.reset();
}

void RiskPrefAssessment::ResetTable()
{
    points.reset(new Point[kPointCount]());
}

double Utility(TreeDocument*, double value, int*)
{
    return value;
}

double InverseUtility(TreeDocument*, double utility, int*)
{
    return utility;
}
