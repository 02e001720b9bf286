// Evaluation of a parse tree at any depth. Operands and the operators of the first levels of a tree evaluate
// themselves on the native stack (OperatorRules.h), which is fastest for the usual small trees; calls,
// lookups and whatever lies deeper are walked here, with the nodes whose operands are being evaluated
// waiting on a list of frames and their operands' values on a stack, so no depth costs more native stack. Operands are taken in the order of each node (left
// first, but right first for "/", "^", "=" and "<>"; arguments as written); "&", "|", If and Choose evaluate
// only the operands their value needs.

#include "formula/ParseNode.h"

#include "formula/BuiltinRegistry.h"
#include "formula/CallNodes.h"
#include "formula/Formula.h"
#include "formula/OperandNodes.h"
#include "formula/OperatorRules.h"
#include "formula/TableDirectory.h"
#include "formula/WorkStack.h"
#include "foundation/UniformRandom.h"

#include <cmath>

namespace {

// A node whose operands are being evaluated. `stage` counts the operands asked for so far; a call whose
// If or Choose has chosen its branch is past its argument count.
struct Frame {
    ParseNode* node;
    int code;
    int stage;
};

// Walks a subtree with the nodes whose operands are being evaluated waiting on a list of frames.
class TreeWalk {
public:
    explicit TreeWalk(Formula* f) : f(f) {}
    double Run(ParseNode& root);

private:
    // Pushes the value of a node that has no operands and returns true; false for any other node.
    bool PushLeaf(ParseNode& node, int code);
    // Moves the frame on: the operand to evaluate next, or null once the node's value has been pushed in
    // place of its operands' values.
    ParseNode* Advance(Frame& frame);
    ParseNode* AdvanceBinary(Frame& frame);
    ParseNode* AdvanceUnary(Frame& frame);
    ParseNode* AdvanceLookup(Frame& frame);
    ParseNode* AdvanceCall(Frame& frame);
    // If and Choose: the index of the argument chosen by the first argument's value, or -1 after an error.
    int ChosenArgument(int functionIndex, double first, int count);
    ParseNode* Finish(double value)
    {
        values.Push(value);
        return nullptr;
    }

    Formula* f;
    WorkStack<Frame, 24> frames;
    WorkStack<double, 24> values;
};

double TreeWalk::Run(ParseNode& root)
{
    ParseNode* next = &root;
    for (;;) {
        if (next) {
            int code = next->TypeCode();
            if (!PushLeaf(*next, code))
                frames.Push(Frame{next, code, 0});
        } else {
            frames.Pop();  // its value is on top
        }
        if (frames.Empty())
            return values.Top();
        next = Advance(frames.Top());
    }
}

bool TreeWalk::PushLeaf(ParseNode& node, int code)
{
    switch (code) {
    case NodeConstant:
    case NodeName:
    case NodeTableArgMarker:
    case NodeFunctionArgMarker:
        values.Push(node.EvaluateAt(f, 0));
        return true;
    default:
        return false;
    }
}

ParseNode* TreeWalk::Advance(Frame& frame)
{
    switch (frame.code) {
    case NodeNegate:
    case NodeUnaryPlus:
    case NodeNot:
        return AdvanceUnary(frame);
    case NodeTableLookup:
        return AdvanceLookup(frame);
    case NodeFunctionCall:
        return AdvanceCall(frame);
    default:
        return AdvanceBinary(frame);
    }
}

// A binary node without both operands (only a damaged file holds one) reports error 1.
ParseNode* TreeWalk::AdvanceBinary(Frame& frame)
{
    BinaryNode& node = static_cast<BinaryNode&>(*frame.node);
    const bool rightFirst = RightOperandFirst(frame.code);
    switch (frame.stage++) {
    case 0:
        if (!node.Left() || !node.Right())
            return Finish(ReportNodeError(f, FormulaSyntaxError));
        return rightFirst ? node.Right() : node.Left();
    case 1: {
        double decided = 0.0;
        if (DecidedByLeft(frame.code, values.Top(), decided)) {
            values.Top() = decided;
            return nullptr;
        }
        return rightFirst ? node.Left() : node.Right();
    }
    default: {
        double second = values.Pop();
        double first = values.Top();
        values.Top() = rightFirst ? ApplyBinaryOperator(frame.code, second, first, f, OperatorPass::Tree)
                                  : ApplyBinaryOperator(frame.code, first, second, f, OperatorPass::Tree);
        return nullptr;
    }
    }
}

ParseNode* TreeWalk::AdvanceUnary(Frame& frame)
{
    ParseNode* operand = static_cast<UnaryNode&>(*frame.node).Operand();
    if (frame.stage++ == 0)
        return operand ? operand : Finish(ReportNodeError(f, FormulaSyntaxError));
    values.Top() = ApplyUnaryOperator(frame.code, values.Top());
    return nullptr;
}

// Every argument in order, then the lookup in the table of that name (any case).
ParseNode* TreeWalk::AdvanceLookup(Frame& frame)
{
    TableLookupNode& node = static_cast<TableLookupNode&>(*frame.node);
    const ArgumentList& arguments = node.Arguments();
    int count = arguments.Count();
    if (frame.stage < count)
        return arguments.InOrder(frame.stage++);
    double result = 0.0;
    if (!f) {
        result = FindTable(node.Name()) ? StandInRandom() : 0.0;
    } else if (::LookupTable* table = f->FindTable(node.Name(), node.Resolution())) {
        result = f->LookupTable(table, count, values.Last(count));
    } else {
        f->SetError(FormulaUnknownTable, &node.Name());
    }
    values.Drop(count);
    return Finish(result);
}

// The first argument, then for If and Choose only the chosen one (whose value is the call's), for any other
// built-in the rest in order and the call.
ParseNode* TreeWalk::AdvanceCall(Frame& frame)
{
    FunctionCallNode& node = static_cast<FunctionCallNode&>(*frame.node);
    const ArgumentList& arguments = node.Arguments();
    int count = arguments.Count();
    int index = node.FunctionIndex();
    if (index == BuiltinIf || index == BuiltinChoose) {
        if (frame.stage == 0 && count > 0) {
            frame.stage = 1;
            return arguments.InOrder(0);
        }
        if (frame.stage > count)
            return nullptr;  // the chosen argument's value is on top
        int chosen = ChosenArgument(index, count > 0 ? values.Pop() : 0.0, count);
        if (chosen < 0)
            return Finish(0.0);
        frame.stage = count + 1;
        return arguments.InOrder(chosen);
    }
    if (frame.stage < count)
        return arguments.InOrder(frame.stage++);
    double result = f ? f->CallBuiltinFunction(index, count, values.Last(count))
                      : StandInRandom();
    values.Drop(count);
    return Finish(result);
}

// A stored If without three arguments (only a damaged file holds one) counts as a call with the wrong
// number of arguments. Choose truncates its index without testing the fraction.
int TreeWalk::ChosenArgument(int functionIndex, double first, int count)
{
    if (functionIndex == BuiltinIf) {
        if (count != 3) {
            if (f)
                f->SetErrorForFunction(FormulaWrongArgCount, BuiltinIf);
            return -1;
        }
        return std::fabs(first) >= kTruthTolerance ? 1 : 2;
    }
    double k = std::trunc(first);
    if (!(k >= 1.0) || k >= count) {
        ReportNodeError(f, FormulaBadChooseIndex);
        return -1;
    }
    return static_cast<int>(k);
}

}  // namespace

double ParseNode::EvaluateAt(Formula* f, int)
{
    TreeWalk walk(f);
    return walk.Run(*this);
}

double ConstantNode::EvaluateAt(Formula*, int)
{
    return value;
}

double NameNode::EvaluateAt(Formula* f, int)
{
    if (!f)
        return StandInRandom();
    if (keywordIndex == -1)
        return f->LookupVariable(*name, resolution);
    return f->KeywordValue(keywordIndex);
}
