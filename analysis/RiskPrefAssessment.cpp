#include "analysis/RiskPrefAssessment.h"

bool RiskPrefAssessment::Check(zString& message) const
{
    message.Clear();
    return true;
}

double Utility(TreeWindow*, double value, int*)
{
    return value;
}

double InverseUtility(TreeWindow*, double utility, int*)
{
    return utility;
}
