#pragma once
// Arithmetic nodes of a parsed formula (codes 2 to 8). Their operators are applied by the operator rules
// (OperatorRules.h): tree evaluation tests a divisor for exactly 0 and does not test the sign of a power's
// base (the first, parse-time evaluation is stricter).

#include "formula/ParseNode.h"

class AddNode : public BinaryNode {
public:
    int TypeCode() const override { return NodeAdd; }
    double EvaluateAt(Formula* f, int depth) override;
};

class SubtractNode : public BinaryNode {
public:
    int TypeCode() const override { return NodeSubtract; }
    double EvaluateAt(Formula* f, int depth) override;
};

class MultiplyNode : public BinaryNode {
public:
    int TypeCode() const override { return NodeMultiply; }
    double EvaluateAt(Formula* f, int depth) override;
};

class DivideNode : public BinaryNode {
public:
    int TypeCode() const override { return NodeDivide; }
    double EvaluateAt(Formula* f, int depth) override;
};

class PowerNode : public BinaryNode {
public:
    int TypeCode() const override { return NodePower; }
    double EvaluateAt(Formula* f, int depth) override;
};

class NegateNode : public UnaryNode {
public:
    int TypeCode() const override { return NodeNegate; }
    double EvaluateAt(Formula* f, int depth) override;
};

class UnaryPlusNode : public UnaryNode {
public:
    int TypeCode() const override { return NodeUnaryPlus; }
    double EvaluateAt(Formula* f, int depth) override;
};
