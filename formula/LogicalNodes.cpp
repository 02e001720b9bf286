// Logical and comparison nodes evaluate themselves through the operator rules.

#include "formula/LogicalNodes.h"

#include "formula/OperatorRules.h"

double AndNode::EvaluateAt(Formula* f, int depth)
{
    return EvaluateBinaryNode<NodeAnd>(*this, left, right, f, depth);
}

double OrNode::EvaluateAt(Formula* f, int depth)
{
    return EvaluateBinaryNode<NodeOr>(*this, left, right, f, depth);
}

double LessNode::EvaluateAt(Formula* f, int depth)
{
    return EvaluateBinaryNode<NodeLess>(*this, left, right, f, depth);
}

double LessEqualNode::EvaluateAt(Formula* f, int depth)
{
    return EvaluateBinaryNode<NodeLessEqual>(*this, left, right, f, depth);
}

double EqualNode::EvaluateAt(Formula* f, int depth)
{
    return EvaluateBinaryNode<NodeEqual>(*this, left, right, f, depth);
}

double NotEqualNode::EvaluateAt(Formula* f, int depth)
{
    return EvaluateBinaryNode<NodeNotEqual>(*this, left, right, f, depth);
}

double GreaterEqualNode::EvaluateAt(Formula* f, int depth)
{
    return EvaluateBinaryNode<NodeGreaterEqual>(*this, left, right, f, depth);
}

double GreaterNode::EvaluateAt(Formula* f, int depth)
{
    return EvaluateBinaryNode<NodeGreater>(*this, left, right, f, depth);
}

double NotNode::EvaluateAt(Formula* f, int depth)
{
    return EvaluateUnaryNode<NodeNot>(*this, operand, f, depth);
}
