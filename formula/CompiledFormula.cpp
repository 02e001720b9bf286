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

// Steps evaluated for a formula task (or, without one, with names and keywords drawn at random); it refuses
// nothing.
struct TaskReader {
    Formula* f;

    bool Variable(const zString& name, NameResolutionCache& cache, double* value)
    {
        *value = f ? f->LookupVariable(name, cache) : UniformRandom(0.0, 1.0);
        return true;
    }
    bool Keyword(int index, double* value)
    {
        *value = f ? f->KeywordValue(index) : UniformRandom(0.0, 1.0);
        return true;
    }
    bool Tree(ParseNode& node, double* value)
    {
        *value = node.Evaluate(f);
        return true;
    }
    bool Call(int index, int count, const double* values, double* value)
    {
        *value = f ? f->CallBuiltinFunction(index, count, values) : UniformRandom(0.0, 1.0);
        return true;
    }
    template <int Code>
    bool Apply(double*& top)
    {
        ApplyBinaryStep<Code>(top, f);
        return true;
    }
};

// Steps evaluated without a task: only names bound to plain numbers known to their caches from `start`, and
// only operators that report no error.
struct BoundNumberReader {
    const void* start;
    bool readsVariables = false;

    bool Variable(const zString&, NameResolutionCache& cache, double* value)
    {
        readsVariables = true;
        return BoundNumberFromCache(cache, start, value);
    }
    bool Keyword(int, double*) { return false; }
    bool Tree(ParseNode&, double*) { return false; }
    bool Call(int, int, const double*, double*) { return false; }
    template <int Code>
    bool Apply(double*& top)
    {
        --top;
        const double first = top[-1];
        const double second = top[0];
        return RightOperandFirst(Code) ? ApplyBinaryOperatorUnfailing(Code, second, first, &top[-1])
                                       : ApplyBinaryOperatorUnfailing(Code, first, second, &top[-1]);
    }
};

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
    TaskReader reader{f};
    double value = 0.0;
    Run(reader, &value);
    return value;
}

bool CompiledFormula::EvaluateBoundNumbers(const void* start, double* out, bool* readsVariables) const
{
    BoundNumberReader reader{start};
    if (!Run(reader, out))
        return false;
    *readsVariables = reader.readsVariables;
    return true;
}

template <class Reader>
bool CompiledFormula::Run(Reader& reader, double* out) const
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
            if (!reader.Variable(*step->variable.name, *step->variable.cache, top++))
                return false;
            break;
        case Op::Keyword:
            if (!reader.Keyword(step->index, top++))
                return false;
            break;
        case Op::Tree:
            if (!reader.Tree(*step->node, top++))
                return false;
            break;
        case Op::Add: ApplyBinaryStep<NodeAdd>(top, nullptr); break;
        case Op::Subtract: ApplyBinaryStep<NodeSubtract>(top, nullptr); break;
        case Op::Multiply: ApplyBinaryStep<NodeMultiply>(top, nullptr); break;
        case Op::Divide:
            if (!reader.template Apply<NodeDivide>(top))
                return false;
            break;
        case Op::Power:
            if (!reader.template Apply<NodePower>(top))
                return false;
            break;
        case Op::And: ApplyBinaryStep<NodeAnd>(top, nullptr); break;
        case Op::Or: ApplyBinaryStep<NodeOr>(top, nullptr); break;
        case Op::Less: ApplyBinaryStep<NodeLess>(top, nullptr); break;
        case Op::LessEqual: ApplyBinaryStep<NodeLessEqual>(top, nullptr); break;
        case Op::Equal: ApplyBinaryStep<NodeEqual>(top, nullptr); break;
        case Op::NotEqual: ApplyBinaryStep<NodeNotEqual>(top, nullptr); break;
        case Op::GreaterEqual: ApplyBinaryStep<NodeGreaterEqual>(top, nullptr); break;
        case Op::Greater: ApplyBinaryStep<NodeGreater>(top, nullptr); break;
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
            if (!reader.Call(step->index, step->count, values, values))
                return false;
            top = values + 1;
            break;
        }
        }
    }
    *out = stack[0];
    return true;
}
