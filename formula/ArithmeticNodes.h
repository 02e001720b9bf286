#pragma once
// Arithmetic nodes of a parsed formula (codes 2 to 8). Tree evaluation tests a divisor for exactly 0 and
// does not test the sign of a power's base (the first, parse-time evaluation is stricter).

#include "formula/ParseNode.h"

class AddNode : public BinaryNode {
public:
    int TypeCode() const override { return NodeAdd; }
    double Evaluate(Formula* f) override;
};

class SubtractNode : public BinaryNode {
public:
    int TypeCode() const override { return NodeSubtract; }
    double Evaluate(Formula* f) override;
};

class MultiplyNode : public BinaryNode {
public:
    int TypeCode() const override { return NodeMultiply; }
    double Evaluate(Formula* f) override;
};

class DivideNode : public BinaryNode {
public:
    int TypeCode() const override { return NodeDivide; }
    double Evaluate(Formula* f) override;
};

class PowerNode : public BinaryNode {
public:
    int TypeCode() const override { return NodePower; }
    double Evaluate(Formula* f) override;
};

class NegateNode : public UnaryNode {
public:
    int TypeCode() const override { return NodeNegate; }
    double Evaluate(Formula* f) override;
};

class UnaryPlusNode : public UnaryNode {
public:
    int TypeCode() const override { return NodeUnaryPlus; }
    double Evaluate(Formula* f) override;
};
