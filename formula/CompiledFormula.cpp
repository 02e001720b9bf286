#include "formula/CompiledFormula.h"

#include "foundation/UniformRandom.h"
#include "formula/BuiltinRegistry.h"
#include "formula/CallNodes.h"
#include "formula/Formula.h"
#include "formula/FormulaErrors.h"
#include "formula/FormulaMath.h"
#include "formula/OperandNodes.h"

#include <cmath>

namespace {

const double kTruthTolerance = 1e-10;

double Truth(bool value)
{
    return value ? 1.0 : 0.0;
}

// The name handed to the dispatcher for a call whose function index is known.
const zString& NoFunctionName()
{
    static const zString empty;
    return empty;
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

void CompiledFormula::EmitPair(ParseNode& first, ParseNode& second, Op op, int height, int depth)
{
    Emit(first, height, depth + 1);
    Emit(second, height + 1, depth + 1);
    Add(op);
}

void CompiledFormula::Emit(ParseNode& node, int height, int depth)
{
    int code = node.TypeCode();
    ParseNode* left = nullptr;
    ParseNode* right = nullptr;
    if (code >= NodeAdd && code <= NodeGreater) {
        left = node.GetOperand(0);
        right = node.GetOperand(1);
    }
    // A subtree that is too deep, needs too many values at once or lacks an operand (which the tree reports
    // itself) is evaluated by the tree.
    bool binary = left && right && height + 2 <= kStackSize;
    if (depth > kMaxDepth) {
        AddTree(node);
        return;
    }
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
    case NodeAdd: case NodeSubtract: case NodeMultiply:
    case NodeLess: case NodeLessEqual: case NodeGreaterEqual: case NodeGreater:
        if (!binary)
            break;
        EmitPair(*left, *right,
                 code == NodeAdd ? Op::Add : code == NodeSubtract ? Op::Subtract : code == NodeMultiply ? Op::Multiply
                 : code == NodeLess ? Op::Less : code == NodeLessEqual ? Op::LessEqual
                 : code == NodeGreaterEqual ? Op::GreaterEqual : Op::Greater,
                 height, depth);
        return;
    case NodeDivide: case NodePower: case NodeEqual: case NodeNotEqual:
        if (!binary)
            break;
        EmitPair(*right, *left,
                 code == NodeDivide ? Op::Divide : code == NodePower ? Op::Power
                 : code == NodeEqual ? Op::Equal : Op::NotEqual,
                 height, depth);
        return;
    case NodeAnd: case NodeOr: {
        if (!binary)
            break;
        Emit(*left, height, depth + 1);
        size_t test = steps.size();
        Add(code == NodeAnd ? Op::AndTest : Op::OrTest);
        Emit(*right, height, depth + 1);
        Add(Op::Truth);
        steps[test].count = static_cast<int32_t>(steps.size());
        return;
    }
    case NodeNegate: case NodeUnaryPlus: case NodeNot: {
        ParseNode* operand = node.GetOperand(0);
        if (!operand)
            break;
        Emit(*operand, height, depth + 1);
        if (code != NodeUnaryPlus)
            Add(code == NodeNegate ? Op::Negate : Op::Not);
        return;
    }
    case NodeFunctionCall:
        if (EmitCall(node, height, depth))
            return;
        break;
    default:
        break;
    }
    AddTree(node);
}

// If with its three arguments runs only the chosen branch; other built-ins except Choose take their
// arguments in the order written. Anything else is left to the tree.
bool CompiledFormula::EmitCall(ParseNode& node, int height, int depth)
{
    int index = static_cast<FunctionCallNode&>(node).FunctionIndex();
    int count = node.OperandCount();
    auto argument = [&node, count](int i) { return node.GetOperand(count - 1 - i); };
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
            *top++ = f ? f->LookupVariable(*step->variable.name, *step->variable.cache) : UniformRandom(0.0, 1.0);
            break;
        case Op::Keyword:
            *top++ = f ? f->KeywordValue(step->index) : UniformRandom(0.0, 1.0);
            break;
        case Op::Tree:
            *top++ = step->node->Evaluate(f);
            break;
        case Op::Add:
            --top;
            top[-1] = top[-1] + top[0];
            break;
        case Op::Subtract:
            --top;
            top[-1] = top[-1] - top[0];
            break;
        case Op::Multiply:
            --top;
            top[-1] = top[-1] * top[0];
            break;
        case Op::Less:
            --top;
            top[-1] = Truth(top[-1] < top[0]);
            break;
        case Op::LessEqual:
            --top;
            top[-1] = Truth(top[-1] <= top[0]);
            break;
        case Op::Greater:
            --top;
            top[-1] = Truth(top[-1] > top[0]);
            break;
        case Op::GreaterEqual:
            --top;
            top[-1] = Truth(top[-1] >= top[0]);
            break;
        case Op::Divide: {
            --top;
            double divisor = top[-1];
            top[-1] = divisor == 0.0 ? ReportNodeError(f, FormulaDivisionByZero) : top[0] / divisor;
            break;
        }
        case Op::Power: {
            --top;
            double result = 0.0;
            if (!CheckedPow(top[0], top[-1], result))
                ReportNodeError(f, FormulaBadPower);
            top[-1] = result;
            break;
        }
        case Op::Equal:
            --top;
            top[-1] = Truth(std::fabs(top[0] - top[-1]) < kTruthTolerance);
            break;
        case Op::NotEqual:
            --top;
            top[-1] = Truth(std::fabs(top[0] - top[-1]) >= kTruthTolerance);
            break;
        case Op::Negate:
            top[-1] = -top[-1];
            break;
        case Op::Not:
            top[-1] = Truth(std::fabs(top[-1]) < kTruthTolerance);
            break;
        case Op::Truth:
            top[-1] = Truth(top[-1] != 0.0);
            break;
        case Op::AndTest:
            if (top[-1] == 0.0) {
                top[-1] = 0.0;
                step = first + step->count - 1;
            } else {
                --top;
            }
            break;
        case Op::OrTest:
            if (top[-1] != 0.0) {
                top[-1] = 1.0;
                step = first + step->count - 1;
            } else {
                --top;
            }
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
            double result = f ? f->CallBuiltinFunction(NoFunctionName(), step->index, step->count, values)
                              : UniformRandom(0.0, 1.0);
            top = values;
            *top++ = result;
            break;
        }
        }
    }
    return stack[0];
}
