#pragma once
// The operators of the formula language in one place: their tokens, precedence and node codes, and the one
// function each for applying a binary or a unary operator. The parser's first evaluation, the parse-tree
// nodes and their flattened steps all apply operators here.
//
// The first evaluation (OperatorPass::Parse) is the stricter one: "/" refuses divisors within 1e-10 of zero
// (keeping the left value), "^" refuses any negative base (made positive in check-only mode), and "&" and
// "|" count values within 1e-10 of zero as false. Later evaluations of a cached tree (OperatorPass::Tree)
// refuse only a divisor of exactly zero (giving 0.0), do not test the sign of a power's base, and test "&"
// and "|" against exactly zero, skipping the right operand when the left one decides.

#include "formula/FormulaErrors.h"
#include "formula/FormulaMath.h"
#include "formula/ParseNode.h"

#include <cmath>

enum class OperatorPass { Parse, Tree };

// Values within this distance of zero are false for "!" (always) and for "&", "|" and If at parse time;
// "=" and "<>" compare within it.
constexpr double kTruthTolerance = 1e-10;

// Binary operators by token, loosest first; every binary operator is left-associative (2^3^2 is (2^3)^2).
// The prefix operators "-", "+" and "!" bind tighter than all of them.
struct BinaryOperatorRule {
    int token;       // the character, or a FormulaTokenCode for "<=", ">=" and "<>"
    int code;        // the node type code
    int precedence;  // 1 loosest
};
constexpr int kPrefixPrecedence = 7;

// The rule of a binary operator token, or null for any other token.
const BinaryOperatorRule* FindBinaryOperator(int token);
// The node type code of a prefix operator token ("-", "+", "!"), or 0.
int PrefixOperatorCode(int token);

inline double Truth(bool value)
{
    return value ? 1.0 : 0.0;
}

// True for the binary operators whose tree evaluation takes the right operand first ("/", "^", "=", "<>").
constexpr bool RightOperandFirst(int code)
{
    return code == NodeDivide || code == NodePower || code == NodeEqual || code == NodeNotEqual;
}

// Tree evaluation of "&" and "|": true, with the operator's value, when the left operand alone decides it
// (the right one is then not evaluated).
inline bool DecidedByLeft(int code, double left, double& result)
{
    if (code == NodeAnd && left == 0.0) {
        result = 0.0;
        return true;
    }
    if (code == NodeOr && left != 0.0) {
        result = 1.0;
        return true;
    }
    return false;
}

// "^" at parse time, with its errors (error 7) reported on f when there is one.
double ApplyParsePower(double base, double exponent, Formula* f);

// "^" with its errors (error 7) reported on f when there is one. Inline, as every tree evaluation of "^"
// comes here.
inline double ApplyPower(double base, double exponent, Formula* f, OperatorPass pass)
{
    if (pass == OperatorPass::Parse)
        return ApplyParsePower(base, exponent, f);
    double result = 0.0;
    if (!CheckedPow(base, exponent, result))
        ReportNodeError(f, FormulaBadPower);
    return result;
}

// The value of prefix operator `code` (NodeNegate, NodeUnaryPlus, NodeNot).
inline double ApplyUnaryOperator(int code, double operand)
{
    switch (code) {
    case NodeNegate: return -operand;
    case NodeNot: return Truth(std::fabs(operand) < kTruthTolerance);
    default: return operand;
    }
}

// The value of binary operator `code` (a node type code 2 to 6, 9, 10 or 12 to 17) on its operands, with
// its errors reported on f when there is one. Inline, so a caller with a constant code keeps only its case.
inline double ApplyBinaryOperator(int code, double left, double right, Formula* f, OperatorPass pass)
{
    const bool tree = pass == OperatorPass::Tree;
    switch (code) {
    case NodeAdd: return left + right;
    case NodeSubtract: return left - right;
    case NodeMultiply: return left * right;
    case NodeDivide:
        if (tree ? right == 0.0 : std::fabs(right) < kTruthTolerance) {
            ReportNodeError(f, FormulaDivisionByZero);
            return tree ? 0.0 : left;
        }
        return left / right;
    case NodePower: return ApplyPower(left, right, f, pass);
    case NodeAnd:
        return tree ? Truth(left != 0.0 && right != 0.0)
                    : Truth(std::fabs(left) >= kTruthTolerance && std::fabs(right) >= kTruthTolerance);
    case NodeOr:
        return tree ? Truth(left != 0.0 || right != 0.0)
                    : Truth(std::fabs(left) >= kTruthTolerance || std::fabs(right) >= kTruthTolerance);
    case NodeLess: return Truth(left < right);
    case NodeLessEqual: return Truth(left <= right);
    case NodeEqual: return Truth(std::fabs(left - right) < kTruthTolerance);
    case NodeNotEqual: return Truth(std::fabs(left - right) >= kTruthTolerance);
    case NodeGreaterEqual: return Truth(left >= right);
    case NodeGreater: return Truth(left > right);
    default: return 0.0;
    }
}

// Tree evaluation of binary operator `code` where it reports no error: true with its value, false where
// ApplyBinaryOperator would report one (a divisor of zero, a failing "^").
inline bool ApplyBinaryOperatorUnfailing(int code, double left, double right, double* result)
{
    // The arithmetic operators, which most formulas are made of, here as ApplyBinaryOperator gives them.
    switch (code) {
    case NodeAdd: *result = left + right; return true;
    case NodeSubtract: *result = left - right; return true;
    case NodeMultiply: *result = left * right; return true;
    case NodeDivide:
        if (right == 0.0)
            return false;
        *result = left / right;
        return true;
    case NodePower:
        *result = 0.0;
        return CheckedPow(left, right, *result);
    default:
        *result = ApplyBinaryOperator(code, left, right, nullptr, OperatorPass::Tree);
        return true;
    }
}

// Evaluates binary operator `Code` of `node` on the native stack: the operand evaluated first, then (unless
// it decides "&" or "|") the other, then the operator. A missing operand is error 1; a node deeper than the
// native levels is walked with frames.
template <int Code>
inline double EvaluateBinaryNode(ParseNode& node, ParseNode* left, ParseNode* right, Formula* f, int depth)
{
    if (!left || !right)
        return ReportNodeError(f, FormulaSyntaxError);
    if (depth >= kNativeEvaluationDepth)
        return node.ParseNode::EvaluateAt(f, depth);
    constexpr bool rightFirst = RightOperandFirst(Code);
    double first = (rightFirst ? right : left)->EvaluateAt(f, depth + 1);
    double decided = 0.0;
    if (DecidedByLeft(Code, first, decided))
        return decided;
    double second = (rightFirst ? left : right)->EvaluateAt(f, depth + 1);
    return rightFirst ? ApplyBinaryOperator(Code, second, first, f, OperatorPass::Tree)
                      : ApplyBinaryOperator(Code, first, second, f, OperatorPass::Tree);
}

// The same for prefix operator `Code`.
template <int Code>
inline double EvaluateUnaryNode(ParseNode& node, ParseNode* operand, Formula* f, int depth)
{
    if (!operand)
        return ReportNodeError(f, FormulaSyntaxError);
    if (depth >= kNativeEvaluationDepth)
        return node.ParseNode::EvaluateAt(f, depth);
    return ApplyUnaryOperator(Code, operand->EvaluateAt(f, depth + 1));
}
