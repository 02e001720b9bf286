#pragma once
// Operand nodes of a parsed formula: a number (code 1) and a name (code 18), the latter a keyword when its
// keyword index is 0 or more, else a variable.

#include "formula/NameResolution.h"
#include "formula/ParseNode.h"
#include "foundation/zString.h"

class ConstantNode : public ParseNode {
public:
    ConstantNode() = default;
    explicit ConstantNode(double value) : value(value) {}

    int TypeCode() const override { return NodeConstant; }
    double EvaluateAt(Formula* f, int depth) override;
    // Stored: the 8-byte double.
    void Write(Archive& archive) const override;
    void Read(Archive& archive, int version) override;
    double Value() const { return value; }

protected:
    void CopyFieldsTo(ParseNode& target, PendingCopies& pending) const override;

private:
    double value = 0.0;
};

// The name text is shared by all nodes of the same name; a variable's node also remembers where its last
// lookup found the binding. A parsed node keeps the name as it was typed too (a stored one has only the
// upper-case name).
class NameNode : public ParseNode {
public:
    NameNode();
    // `upperName` is already upper case; keywordIndex -1 marks a variable.
    NameNode(const zString& upperName, const zString& typedName, int keywordIndex,
             const NameResolutionCache& resolution)
        : name(InternName(upperName)), typedName(InternName(typedName)), keywordIndex(keywordIndex),
          resolution(resolution)
    {
    }

    int TypeCode() const override { return NodeName; }
    double EvaluateAt(Formula* f, int depth) override;
    // Stored: the name as a stored string, then the 16-bit keyword index (sign-extended on reading).
    void Write(Archive& archive) const override;
    void Read(Archive& archive, int version) override;
    const zString& Name() const { return *name; }
    const zString& TypedName() const { return *typedName; }
    int KeywordIndex() const { return keywordIndex; }
    // Where the variable's last lookup found its binding.
    NameResolutionCache& Resolution() { return resolution; }

protected:
    void CopyFieldsTo(ParseNode& target, PendingCopies& pending) const override;

private:
    const zString* name;
    const zString* typedName;
    int keywordIndex = -1;
    NameResolutionCache resolution;
};
