#pragma once
// The context of a formula checked without a tree window: every variable yields a random value in [0, 1].

#include "formula/EvalContextBase.h"

class ParseOnlyContext : public EvalContextBase {
public:
    double VariableValue(const zString& upperName) override;
};
