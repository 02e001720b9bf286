#pragma once
// The tree's risk preference (utility) function. Until risk preference functions can be assessed the
// function is the identity: every value is its own utility and certainty equivalent.

#include "foundation/zString.h"

class TreeWindow;

class RiskPrefAssessment {
public:
    // True when the function can be used with the tree as it is; otherwise the message says why.
    bool Check(zString& message) const;
};

// The utility of a value and the certainty equivalent of a utility; each sets *error on overflow.
double Utility(TreeWindow* window, double value, int* error);
double InverseUtility(TreeWindow* window, double utility, int* error);
