#include "formula/CompiledFormula.h"

#include "foundation/UniformRandom.h"
#include "formula/BuiltinRegistry.h"
#include "formula/CallNodes.h"
#include "formula/Formula.h"
#include "formula/OperandNodes.h"
#include "formula/OperatorRules.h"

#include <cmath>

namespace {

// Replaces the two values on top by the value of binary operator `Code`; the operand evaluated first is
// the lower one.
template <int Code>
inline void ApplyBinaryStep(double*& top, Formula* f)
{
    --top;
    double first = top[-1];
    double second = top[0];
    top[-1] = RightOperandFirst(Code) ? ApplyBinaryOperator(Code, second, first, f, OperatorPass::Tree)
                                      : ApplyBinaryOperator(Code, first, second, f, OperatorPass::Tree);
}

}  // namespace

CompiledFormula::CompiledFormula(ParseNode& root)
{
    // The steps are gathered in a buffer kept between compilations (nothing is evaluated meanwhile), so the
    // list of this formula is allocated once at its final size.
    static std::vector<Step> scratch;
    scratch.clear();
    steps.swap(scratch);
    Emit(root, 0, 0);
    steps.swap(scratch);
    steps.assign(scratch.begin(), scratch.end());
    for (const Step& step : steps) {
        if (step.op == Op::Keyword || step.op == Op::Tree || step.op == Op::Call)
            boundNumbersOnly = false;
    }
}

CompiledFormula::CompiledFormula(double number)
{
    Add(Op::Constant);
    steps.back().constant = number;
}

void CompiledFormula::Add(Op op, int32_t count)
{
    Step step;
    step.op = op;
    step.count = count;
    step.constant = 0.0;
    steps.push_back(step);
}

void CompiledFormula::AddTree(ParseNode& node)
{
    Add(Op::Tree);
    steps.back().node = &node;
}

void CompiledFormula::EmitBinary(int code, ParseNode& left, ParseNode& right, int height, int depth)
{
    bool rightFirst = RightOperandFirst(code);
    Emit(rightFirst ? right : left, height, depth + 1);
    size_t test = steps.size();
    if (code == NodeAnd || code == NodeOr)
        Add(code == NodeAnd ? Op::AndTest : Op::OrTest);
    Emit(rightFirst ? left : right, height + 1, depth + 1);
    Add(static_cast<Op>(code));
    if (code == NodeAnd || code == NodeOr)
        steps[test].count = static_cast<int32_t>(steps.size());
}

void CompiledFormula::Emit(ParseNode& node, int height, int depth)
{
    // A subtree that is too deep, needs too many values at once or lacks an operand (which the tree reports
    // itself) is evaluated by the tree.
    if (depth > kMaxDepth) {
        AddTree(node);
        return;
    }
    int code = node.TypeCode();
    switch (code) {
    case NodeConstant:
        Add(Op::Constant);
        steps.back().constant = static_cast<ConstantNode&>(node).Value();
        return;
    case NodeName: {
        NameNode& name = static_cast<NameNode&>(node);
        if (name.KeywordIndex() == -1) {
            Add(Op::Variable);
            steps.back().variable.name = &name.Name();
            steps.back().variable.cache = &name.Resolution();
        } else {
            Add(Op::Keyword);
            steps.back().index = name.KeywordIndex();
        }
        return;
    }
    case NodeNegate: case NodeUnaryPlus: case NodeNot: {
        ParseNode* operand = static_cast<UnaryNode&>(node).Operand();
        if (!operand)
            break;
        Emit(*operand, height, depth + 1);
        Add(static_cast<Op>(code));
        return;
    }
    case NodeFunctionCall:
        if (EmitCall(node, height, depth))
            return;
        break;
    case NodeAdd: case NodeSubtract: case NodeMultiply: case NodeDivide: case NodePower: case NodeAnd: case NodeOr:
    case NodeLess: case NodeLessEqual: case NodeEqual: case NodeNotEqual: case NodeGreaterEqual: case NodeGreater: {
        BinaryNode& binary = static_cast<BinaryNode&>(node);
        if (!binary.Left() || !binary.Right() || height + 2 > kStackSize)
            break;
        EmitBinary(code, *binary.Left(), *binary.Right(), height, depth);
        return;
    }
    default:
        break;
    }
    AddTree(node);
}

// If with its three arguments runs only the chosen branch; other built-ins except Choose take their
// arguments in the order written. Anything else is left to the tree.
bool CompiledFormula::EmitCall(ParseNode& node, int height, int depth)
{
    const FunctionCallNode& call = static_cast<FunctionCallNode&>(node);
    int index = call.FunctionIndex();
    int count = call.Arguments().Count();
    auto argument = [&call](int i) { return call.Arguments().InOrder(i); };
    if (index == BuiltinIf) {
        if (count != 3)
            return false;
        Emit(*argument(0), height, depth + 1);
        size_t test = steps.size();
        Add(Op::IfTest);
        Emit(*argument(1), height, depth + 1);
        size_t jump = steps.size();
        Add(Op::Jump);
        steps[test].count = static_cast<int32_t>(steps.size());
        Emit(*argument(2), height, depth + 1);
        steps[jump].count = static_cast<int32_t>(steps.size());
        return true;
    }
    if (index == BuiltinChoose || height + count > kStackSize)
        return false;
    for (int i = 0; i < count; ++i)
        Emit(*argument(i), height + i, depth + 1);
    Add(Op::Call, count);
    steps.back().index = index;
    return true;
}

double CompiledFormula::Evaluate(Formula* f) const
{
    double stack[kStackSize];
    double* top = stack;
    const Step* const first = steps.data();
    const Step* const end = first + steps.size();
    for (const Step* step = first; step != end; ++step) {
        switch (step->op) {
        case Op::Constant:
            *top++ = step->constant;
            break;
        case Op::Variable:
            *top++ = f ? f->LookupVariable(*step->variable.name, *step->variable.cache) : StandInRandom();
            break;
        case Op::Keyword:
            *top++ = f ? f->KeywordValue(step->index) : StandInRandom();
            break;
        case Op::Tree:
            *top++ = step->node->Evaluate(f);
            break;
        case Op::Add: ApplyBinaryStep<NodeAdd>(top, f); break;
        case Op::Subtract: ApplyBinaryStep<NodeSubtract>(top, f); break;
        case Op::Multiply: ApplyBinaryStep<NodeMultiply>(top, f); break;
        case Op::Divide: ApplyBinaryStep<NodeDivide>(top, f); break;
        case Op::Power: ApplyBinaryStep<NodePower>(top, f); break;
        case Op::And: ApplyBinaryStep<NodeAnd>(top, f); break;
        case Op::Or: ApplyBinaryStep<NodeOr>(top, f); break;
        case Op::Less: ApplyBinaryStep<NodeLess>(top, f); break;
        case Op::LessEqual: ApplyBinaryStep<NodeLessEqual>(top, f); break;
        case Op::Equal: ApplyBinaryStep<NodeEqual>(top, f); break;
        case Op::NotEqual: ApplyBinaryStep<NodeNotEqual>(top, f); break;
        case Op::GreaterEqual: ApplyBinaryStep<NodeGreaterEqual>(top, f); break;
        case Op::Greater: ApplyBinaryStep<NodeGreater>(top, f); break;
        case Op::Negate: top[-1] = ApplyUnaryOperator(NodeNegate, top[-1]); break;
        case Op::UnaryPlus: top[-1] = ApplyUnaryOperator(NodeUnaryPlus, top[-1]); break;
        case Op::Not: top[-1] = ApplyUnaryOperator(NodeNot, top[-1]); break;
        case Op::AndTest:
            if (DecidedByLeft(NodeAnd, top[-1], top[-1]))
                step = first + step->count - 1;
            break;
        case Op::OrTest:
            if (DecidedByLeft(NodeOr, top[-1], top[-1]))
                step = first + step->count - 1;
            break;
        case Op::IfTest:
            --top;
            if (!(std::fabs(*top) >= kTruthTolerance))
                step = first + step->count - 1;
            break;
        case Op::Jump:
            step = first + step->count - 1;
            break;
        case Op::Call: {
            double* values = top - step->count;
            double result = f ? f->CallBuiltinFunction(step->index, step->count, values)
                              : StandInRandom();
            top = values;
            *top++ = result;
            break;
        }
        }
    }
    return stack[0];
}

bool CompiledFormula::RunBoundNumbers(const void* start, double* out, bool* readsVariables) const
{
    double stack[kStackSize];
    double* top = stack;
    bool reads = false;
    const Step* const first = steps.data();
    const Step* const end = first + steps.size();
    for (const Step* step = first; step != end; ++step) {
        const int code = static_cast<int>(step->op);
        switch (step->op) {
        case Op::Constant:
            *top++ = step->constant;
            break;
        case Op::Variable:
            reads = true;
            if (!BoundNumberFromCache(*step->variable.cache, start, top++))
                return false;
            break;
        case Op::Negate: case Op::UnaryPlus: case Op::Not:
            top[-1] = ApplyUnaryOperator(code, top[-1]);
            break;
        case Op::AndTest: case Op::OrTest:
            if (DecidedByLeft(step->op == Op::AndTest ? NodeAnd : NodeOr, top[-1], top[-1]))
                step = first + step->count - 1;
            break;
        case Op::IfTest: {
            const double condition = *--top;
            step = std::fabs(condition) >= kTruthTolerance ? step : first + step->count - 1;
            break;
        }
        case Op::Jump:
            step = first + step->count - 1;
            break;
        case Op::Keyword: case Op::Tree: case Op::Call:
            return false;
        default: {
            // A binary operator: the operand evaluated first is the lower value.
            --top;
            const double lower = top[-1];
            if (!(RightOperandFirst(code) ? ApplyBinaryOperatorUnfailing(code, top[0], lower, &top[-1])
                                          : ApplyBinaryOperatorUnfailing(code, lower, top[0], &top[-1])))
                return false;
            break;
        }
        }
    }
    *out = stack[0];
    *readsVariables = reads;
    return true;
}
