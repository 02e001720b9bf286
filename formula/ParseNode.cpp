#include "formula/ParseNode.h"

#include "formula/ArithmeticNodes.h"
#include "formula/CallNodes.h"
#include "formula/Formula.h"
#include "formula/LogicalNodes.h"
#include "formula/OperandNodes.h"
#include "formula/ParseNodeStream.h"
#include "foundation/Archive.h"

#include <cstdint>

int ParseNode::Group() const
{
    int code = TypeCode();
    if (code >= NodeAdd && code <= NodeUnaryPlus)
        return GroupArithmetic;
    if (code >= NodeAnd && code <= NodeNot)
        return GroupLogical;
    if (code >= NodeLess && code <= NodeGreater)
        return GroupComparison;
    if (code == NodeConstant || code == NodeName)
        return GroupOperand;
    return GroupCall;
}

int ParseNode::AddOperand(ParseNode*)
{
    return 0;
}

int ParseNode::OperandCount() const
{
    return 0;
}

ParseNode* ParseNode::GetOperand(int) const
{
    return nullptr;
}

void ParseNode::Write(Archive&) const
{
}

void ParseNode::Read(Archive&, int)
{
}

ParseNode* ParseNode::Clone() const
{
    ParseNode* root = nullptr;
    PendingCopies pending;
    pending.Push(PendingCopy{this, &root});
    while (!pending.Empty()) {
        PendingCopy next = pending.Pop();
        *next.slot = MakeParseNode(next.source->TypeCode());
        if (*next.slot)
            next.source->CopyFieldsTo(**next.slot, pending);
    }
    return root;
}

void ParseNode::CopyFieldsTo(ParseNode&, PendingCopies&) const
{
}

namespace {

// While a subtree is being deleted, the operands its nodes give up wait here instead of being deleted inside
// their parents' destructors, so a tree of any depth takes one destructor frame at a time. Parse trees live
// on the one thread that evaluates formulas.
WorkStack<ParseNode*, 32>* pendingDeletion = nullptr;

}  // namespace

void ParseNode::DeleteOperand(ParseNode* node)
{
    if (!node)
        return;
    if (pendingDeletion) {
        pendingDeletion->Push(node);
        return;
    }
    WorkStack<ParseNode*, 32> pending;
    pendingDeletion = &pending;
    delete node;
    while (!pending.Empty())
        delete pending.Pop();
    pendingDeletion = nullptr;
}

double ReportNodeError(Formula* f, int code)
{
    if (f)
        f->SetError(code);
    return 0.0;
}

ParseNode* MakeParseNode(int code)
{
    switch (code) {
    case NodeConstant: return new ConstantNode;
    case NodeAdd: return new AddNode;
    case NodeSubtract: return new SubtractNode;
    case NodeMultiply: return new MultiplyNode;
    case NodeDivide: return new DivideNode;
    case NodePower: return new PowerNode;
    case NodeNegate: return new NegateNode;
    case NodeUnaryPlus: return new UnaryPlusNode;
    case NodeAnd: return new AndNode;
    case NodeOr: return new OrNode;
    case NodeNot: return new NotNode;
    case NodeLess: return new LessNode;
    case NodeLessEqual: return new LessEqualNode;
    case NodeEqual: return new EqualNode;
    case NodeNotEqual: return new NotEqualNode;
    case NodeGreaterEqual: return new GreaterEqualNode;
    case NodeGreater: return new GreaterNode;
    case NodeName: return new NameNode;
    case NodeTableArgMarker: return new TableArgMarker;
    case NodeTableLookup: return new TableLookupNode;
    case NodeFunctionArgMarker: return new FunctionArgMarker;
    case NodeFunctionCall: return new FunctionCallNode;
    default: return nullptr;
    }
}

UnaryNode::~UnaryNode()
{
    DeleteOperand(operand);
}

int UnaryNode::AddOperand(ParseNode* node)
{
    if (operand)
        return 0;
    operand = node;
    return 1;
}

void UnaryNode::Write(Archive& archive) const
{
    WriteOptionalNode(archive, operand);
}

void UnaryNode::Read(Archive& archive, int)
{
    delete operand;
    operand = ReadOptionalNode(archive);
}

void UnaryNode::CopyFieldsTo(ParseNode& target, PendingCopies& pending) const
{
    if (operand)
        pending.Push(PendingCopy{operand, &static_cast<UnaryNode&>(target).operand});
}

BinaryNode::~BinaryNode()
{
    DeleteOperand(left);
    DeleteOperand(right);
}

int BinaryNode::AddOperand(ParseNode* node)
{
    if (!right) {
        right = node;
        return 2;
    }
    if (!left) {
        left = node;
        return 1;
    }
    return 0;
}

void BinaryNode::Write(Archive& archive) const
{
    archive.WriteShort(left ? 1 : 0).WriteShort(right ? 1 : 0);
    if (left)
        WriteParseNode(archive, *left);
    if (right)
        WriteParseNode(archive, *right);
}

void BinaryNode::Read(Archive& archive, int)
{
    delete left;
    delete right;
    left = right = nullptr;
    int16_t hasLeft = 0;
    int16_t hasRight = 0;
    archive.ReadShort(hasLeft).ReadShort(hasRight);
    if (archive.Failed())
        return;
    if (hasLeft)
        left = ReadParseNode(archive);
    if (hasRight && !archive.Failed())
        right = ReadParseNode(archive);
}

void BinaryNode::CopyFieldsTo(ParseNode& target, PendingCopies& pending) const
{
    BinaryNode& copy = static_cast<BinaryNode&>(target);
    if (right)
        pending.Push(PendingCopy{right, &copy.right});
    if (left)
        pending.Push(PendingCopy{left, &copy.left});
}
