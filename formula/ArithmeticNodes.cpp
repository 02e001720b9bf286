// Arithmetic nodes evaluate themselves through the operator rules.

#include "formula/ArithmeticNodes.h"

#include "formula/OperatorRules.h"

double AddNode::EvaluateAt(Formula* f, int depth)
{
    return EvaluateBinaryNode<NodeAdd>(*this, left, right, f, depth);
}

double SubtractNode::EvaluateAt(Formula* f, int depth)
{
    return EvaluateBinaryNode<NodeSubtract>(*this, left, right, f, depth);
}

double MultiplyNode::EvaluateAt(Formula* f, int depth)
{
    return EvaluateBinaryNode<NodeMultiply>(*this, left, right, f, depth);
}

double DivideNode::EvaluateAt(Formula* f, int depth)
{
    return EvaluateBinaryNode<NodeDivide>(*this, left, right, f, depth);
}

double PowerNode::EvaluateAt(Formula* f, int depth)
{
    return EvaluateBinaryNode<NodePower>(*this, left, right, f, depth);
}

double NegateNode::EvaluateAt(Formula* f, int depth)
{
    return EvaluateUnaryNode<NodeNegate>(*this, operand, f, depth);
}

double UnaryPlusNode::EvaluateAt(Formula* f, int depth)
{
    return EvaluateUnaryNode<NodeUnaryPlus>(*this, operand, f, depth);
}
