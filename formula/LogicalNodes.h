#pragma once
// Logical and comparison nodes of a parsed formula (codes 9 to 17). Truth values are 1.0 and 0.0; "&" and
// the vertical bar test their operands for exactly 0 and skip the right one when the left decides (the
// operator rules of OperatorRules.h).

#include "formula/ParseNode.h"

class AndNode : public BinaryNode {
public:
    int TypeCode() const override { return NodeAnd; }
    double EvaluateAt(Formula* f, int depth) override;
};

class OrNode : public BinaryNode {
public:
    int TypeCode() const override { return NodeOr; }
    double EvaluateAt(Formula* f, int depth) override;
};

class NotNode : public UnaryNode {
public:
    int TypeCode() const override { return NodeNot; }
    double EvaluateAt(Formula* f, int depth) override;
};

class LessNode : public ComparisonNode {
public:
    int TypeCode() const override { return NodeLess; }
    double EvaluateAt(Formula* f, int depth) override;
};

class LessEqualNode : public ComparisonNode {
public:
    int TypeCode() const override { return NodeLessEqual; }
    double EvaluateAt(Formula* f, int depth) override;
};

// Equal within 1e-10.
class EqualNode : public ComparisonNode {
public:
    int TypeCode() const override { return NodeEqual; }
    double EvaluateAt(Formula* f, int depth) override;
};

class NotEqualNode : public ComparisonNode {
public:
    int TypeCode() const override { return NodeNotEqual; }
    double EvaluateAt(Formula* f, int depth) override;
};

class GreaterEqualNode : public ComparisonNode {
public:
    int TypeCode() const override { return NodeGreaterEqual; }
    double EvaluateAt(Formula* f, int depth) override;
};

class GreaterNode : public ComparisonNode {
public:
    int TypeCode() const override { return NodeGreater; }
    double EvaluateAt(Formula* f, int depth) override;
};
