#pragma once
// The nodes of a parsed formula. Each node class has a type code (1 to 22); a node owns its operands and
// arguments, and a tree is evaluated against a Formula (null: nothing is reported and every name, table
// lookup and built-in other than If and Choose yields a random value in [0, 1]). Evaluating, copying and
// deleting a tree keep their pending nodes on a list of their own, so a tree of any depth (a formula of a
// hundred thousand terms is a chain that deep) costs no native stack.

#include "formula/WorkStack.h"

class Archive;
class Formula;
class ParseNode;

// A copy still to be made while a tree is cloned: the source node and the field of the copy that takes it.
struct PendingCopy {
    const ParseNode* source;
    ParseNode** slot;
};
using PendingCopies = WorkStack<PendingCopy, 32>;

// Type codes of the node classes; the stored form and the node factory use them.
enum ParseNodeCode {
    NodeConstant = 1,
    NodeAdd = 2,
    NodeSubtract = 3,
    NodeMultiply = 4,
    NodeDivide = 5,
    NodePower = 6,
    NodeNegate = 7,
    NodeUnaryPlus = 8,
    NodeAnd = 9,
    NodeOr = 10,
    NodeNot = 11,
    NodeLess = 12,
    NodeLessEqual = 13,
    NodeEqual = 14,
    NodeNotEqual = 15,
    NodeGreaterEqual = 16,
    NodeGreater = 17,
    NodeName = 18,
    NodeTableArgMarker = 19,
    NodeTableLookup = 20,
    NodeFunctionArgMarker = 21,
    NodeFunctionCall = 22,
};

// Groups of node classes.
enum ParseNodeGroup {
    GroupArithmetic = 1,  // codes 2 to 8
    GroupLogical = 2,     // codes 9, 10, 11
    GroupComparison = 3,  // codes 12 to 17
    GroupOperand = 4,     // codes 1 and 18
    GroupCall = 5,        // codes 19 to 22: calls, lookups and their markers
};

class ParseNode {
public:
    ParseNode() = default;
    ParseNode(const ParseNode&) = delete;
    ParseNode& operator=(const ParseNode&) = delete;
    virtual ~ParseNode() = default;

    virtual int TypeCode() const = 0;
    virtual int Group() const;
    // The value of the tree below this node on f; errors are reported on f and evaluation goes on.
    double Evaluate(Formula* f) { return EvaluateAt(f, 0); }
    // The same for a node `depth` levels below where the evaluation started. Operands and the operators of
    // the first levels evaluate themselves; the base walks the subtree with a list of frames, at any depth.
    virtual double EvaluateAt(Formula* f, int depth);
    // Offers a node from the top of the building stack: 0 refused, 1 taken and the node is complete,
    // 2 taken and more may follow.
    virtual int AddOperand(ParseNode* node);
    virtual int OperandCount() const;
    virtual ParseNode* GetOperand(int i) const;
    // The node's own fields in the stored form (the type word is written and read by the caller).
    virtual void Write(Archive& archive) const;
    virtual void Read(Archive& archive, int version);
    // A deep copy: a node of the same type code with its fields, operands and arguments copied.
    [[nodiscard]] ParseNode* Clone() const;

protected:
    // Copies this node's own fields into a fresh node of the same class; each operand and argument is left
    // on `pending` with the field of the copy that takes its clone.
    virtual void CopyFieldsTo(ParseNode& target, PendingCopies& pending) const;
    // Deletes an owned operand or argument (null is allowed). Inside the deletion of a subtree the operand
    // waits on a list until its parent is gone, so no destructor runs inside another.
    static void DeleteOperand(ParseNode* node);

    friend class ArgumentList;
};

// Operator levels that evaluate themselves on the native stack before a subtree is walked with frames.
constexpr int kNativeEvaluationDepth = 64;

// A new empty node of the class of `code`, or null for a code outside 1 to 22.
[[nodiscard]] ParseNode* MakeParseNode(int code);

// Reports `code` on f (when there is one); evaluation then goes on with the value returned, 0.0.
double ReportNodeError(Formula* f, int code);

// A node with one operand (unary minus and plus, logical not).
class UnaryNode : public ParseNode {
public:
    ~UnaryNode() override;
    int AddOperand(ParseNode* node) override;
    int OperandCount() const override { return 1; }
    ParseNode* GetOperand(int i) const override { return operand; }
    ParseNode* Operand() const { return operand; }
    // Stored: a 16-bit flag (1 when the operand exists), then the operand.
    void Write(Archive& archive) const override;
    void Read(Archive& archive, int version) override;

protected:
    void CopyFieldsTo(ParseNode& target, PendingCopies& pending) const override;

    ParseNode* operand = nullptr;
};

// A node with a left and a right operand; the building stack fills the right one first.
class BinaryNode : public ParseNode {
public:
    ~BinaryNode() override;
    int AddOperand(ParseNode* node) override;
    int OperandCount() const override { return 2; }
    ParseNode* GetOperand(int i) const override { return i == 0 ? left : right; }
    ParseNode* Left() const { return left; }
    ParseNode* Right() const { return right; }
    // Stored: two 16-bit flags (left exists, right exists), then the left node, then the right node.
    void Write(Archive& archive) const override;
    void Read(Archive& archive, int version) override;

protected:
    void CopyFieldsTo(ParseNode& target, PendingCopies& pending) const override;

    ParseNode* left = nullptr;
    ParseNode* right = nullptr;
};

// The comparisons share the binary node's fields.
class ComparisonNode : public BinaryNode {
};
