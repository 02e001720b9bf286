#pragma once
// Arithmetic nodes of a parsed formula (codes 2 to 8). Their operators are applied by the operator rules
// (OperatorRules.h): tree evaluation tests a divisor for exactly 0 and does not test the sign of a power's
// base (the first, parse-time evaluation is stricter).

#include "formula/ParseNode.h"

class AddNode : public BinaryNode {
public:
    int TypeCode() const override { return NodeAdd; }
};

class SubtractNode : public BinaryNode {
public:
    int TypeCode() const override { return NodeSubtract; }
};

class MultiplyNode : public BinaryNode {
public:
    int TypeCode() const override { return NodeMultiply; }
};

class DivideNode : public BinaryNode {
public:
    int TypeCode() const override { return NodeDivide; }
};

class PowerNode : public BinaryNode {
public:
    int TypeCode() const override { return NodePower; }
};

class NegateNode : public UnaryNode {
public:
    int TypeCode() const override { return NodeNegate; }
};

class UnaryPlusNode : public UnaryNode {
public:
    int TypeCode() const override { return NodeUnaryPlus; }
};
