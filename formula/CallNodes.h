#pragma once
// Function calls and table lookups of a parsed formula (codes 19 to 22) with their argument lists. While
// the parser builds, each call or lookup is preceded on the building stack by its marker; the call node
// takes its argument nodes, last argument first, down to the marker.

#include "formula/NameResolution.h"
#include "formula/ParseNode.h"
#include "foundation/zString.h"

#include <vector>

// The owned argument nodes of a call or lookup, held from the last argument written to the first.
class ArgumentList {
public:
    ArgumentList() = default;
    ArgumentList(const ArgumentList&) = delete;
    ArgumentList& operator=(const ArgumentList&) = delete;
    ~ArgumentList();

    int Count() const { return static_cast<int>(nodes.size()); }
    // The i-th argument in the order written.
    ParseNode* InOrder(int i) const { return nodes[nodes.size() - 1 - i]; }
    // The i-th entry counted from the last argument written (0 is the last), or null past the end.
    ParseNode* FromLast(int i) const;
    // Takes a node that comes before every argument held so far (the building stack yields the last
    // argument first).
    void TakeFront(ParseNode* node);
    // Sizes the target's list like this one and leaves each argument on `pending` for its clone.
    void CopyTo(ArgumentList& target, PendingCopies& pending) const;
    // Stored: a 16-bit count, then per argument from the last written to the first a 16-bit flag (1 when
    // the node exists) and the node. Reading stops at the first argument that cannot be read.
    void Write(Archive& archive) const;
    void Read(Archive& archive);

private:
    void Clear();

    std::vector<ParseNode*> nodes;  // the last argument written first
};

// The markers evaluate to 0.0.
class TableArgMarker : public ParseNode {
public:
    int TypeCode() const override { return NodeTableArgMarker; }
    double EvaluateAt(Formula*, int) override { return 0.0; }
};

class FunctionArgMarker : public ParseNode {
public:
    int TypeCode() const override { return NodeFunctionArgMarker; }
    double EvaluateAt(Formula*, int) override { return 0.0; }
};

class TableLookupNode : public ParseNode {
public:
    TableLookupNode() = default;
    explicit TableLookupNode(const zString& name) : name(name) {}

    int TypeCode() const override { return NodeTableLookup; }
    int AddOperand(ParseNode* node) override;
    int OperandCount() const override { return arguments.Count(); }
    ParseNode* GetOperand(int i) const override { return arguments.FromLast(i); }
    // Stored: the table name as a stored string, then the argument list.
    void Write(Archive& archive) const override;
    void Read(Archive& archive, int version) override;
    const zString& Name() const { return name; }
    const ArgumentList& Arguments() const { return arguments; }
    TableResolutionCache& Resolution() { return resolution; }

protected:
    void CopyFieldsTo(ParseNode& target, PendingCopies& pending) const override;

private:
    zString name;  // as typed
    ArgumentList arguments;
    TableResolutionCache resolution;
};

class FunctionCallNode : public ParseNode {
public:
    FunctionCallNode() = default;
    explicit FunctionCallNode(int functionIndex) : functionIndex(functionIndex) {}

    int TypeCode() const override { return NodeFunctionCall; }
    int AddOperand(ParseNode* node) override;
    int OperandCount() const override { return arguments.Count(); }
    ParseNode* GetOperand(int i) const override { return arguments.FromLast(i); }
    // Stored: the 16-bit built-in function index (sign-extended on reading), then the argument list.
    void Write(Archive& archive) const override;
    void Read(Archive& archive, int version) override;
    int FunctionIndex() const { return functionIndex; }
    const ArgumentList& Arguments() const { return arguments; }

protected:
    void CopyFieldsTo(ParseNode& target, PendingCopies& pending) const override;

private:
    int functionIndex = -1;
    ArgumentList arguments;
};
