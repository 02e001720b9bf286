#include "formula/Expression.h"

#include "formula/CallNodes.h"
#include "formula/CompiledFormula.h"
#include "formula/FormulaRef.h"
#include "formula/OperandNodes.h"
#include "formula/OperatorRules.h"
#include "formula/ParseNodeStream.h"
#include "formula/ParseOnlyContext.h"
#include "foundation/Archive.h"
#include "foundation/NameList.h"
#include "foundation/NumericFormat.h"
#include "foundation/PtrArray.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace {

const int16_t kTreeFlagNone = 0;
const int16_t kTreeFlagNodeList = 1;
const int16_t kTreeFlagTree = 2;
const uint32_t kFormatTextTooLong = 25;
const uint32_t kFormatUnknownItem = 26;

// One item of the older node-list form: kept only long enough to be read and thrown away.
struct OldParseItem {
    int16_t kind = 0;
};

// The older stored form of a parse tree: a pointer array of items, each
//   version record   3 bytes
//   kind             16 bits
//   second field     16 bits
//   kind 1           8-byte double
//   kinds 2, 5, 6, 7 one byte
//   kind 3           16-bit value
//   kind 4           16-bit function index (raised by 20 in items older than 2.6 when 3 or more)
// Any other kind sets format error 26.
class ParseNodeList : public PtrArray {
public:
    ParseNodeList() : PtrArray(4, true) {}
    ~ParseNodeList() override { Clear(); }

    void* LoadItem(Archive& archive) override
    {
        VersionRecord version;
        version.Serialize(archive);
        OldParseItem item;
        int16_t second = 0;
        archive.ReadShort(item.kind).ReadShort(second);
        if (archive.Failed())
            return nullptr;
        uint8_t byteValue = 0;
        int16_t shortValue = 0;
        double doubleValue = 0.0;
        switch (item.kind) {
        case 1:
            archive.ReadDouble(doubleValue);
            break;
        case 2: case 5: case 6: case 7:
            archive.ReadByte(byteValue);
            break;
        case 3: case 4:
            archive.ReadShort(shortValue);
            break;
        default:
            archive.SetFormatError(kFormatUnknownItem);
            return nullptr;
        }
        return new OldParseItem(item);
    }

    void DeleteItem(void* item) override { delete static_cast<OldParseItem*>(item); }
};

// Cached trees of fewer nodes are walked until they prove hot: flattening them saves little on one evaluation
// and would give every small probability and payoff a step list of its own, but a formula evaluated again
// and again (a Markov reward, once per cycle) is worth its steps. Single nodes are always walked.
constexpr int kFlattenMinNodes = 8;
constexpr int kHotEvaluations = 24;

// Stand in the compiled field, never dereferenced or deleted: a constant tree, any other single node, and a
// small tree walked 1 to kHotEvaluations times so far (the first kHotEvaluations markers for a tree of numbers,
// names and operators alone, the others for one that needs a formula task).
char numberMarker;
char singleNodeMarker;
char walkMarkers[2 * kHotEvaluations];
char* const taskWalkMarkers = walkMarkers + kHotEvaluations;

CompiledFormula* Marker(char* marker)
{
    return reinterpret_cast<CompiledFormula*>(marker);
}

bool IsWithin(const CompiledFormula* compiled, const char* first, const char* last)
{
    const auto* marker = reinterpret_cast<const char*>(compiled);
    const std::less_equal<const char*> atMost;
    return atMost(first, marker) && atMost(marker, last);
}

bool IsWalkMarker(const CompiledFormula* compiled)
{
    return IsWithin(compiled, walkMarkers, walkMarkers + 2 * kHotEvaluations - 1);
}

// True when the tree has nothing but numbers, names of variables and operators.
bool OfNumbersAndNames(ParseNode& node)
{
    const int code = node.TypeCode();
    if (code == NodeName)
        return static_cast<NameNode&>(node).KeywordIndex() == -1;
    if (code != NodeConstant && (code < NodeAdd || code > NodeGreater))
        return false;
    for (int i = 0; i < node.OperandCount(); ++i) {
        ParseNode* operand = node.GetOperand(i);
        if (!operand || !OfNumbersAndNames(*operand))
            return false;
    }
    return true;
}

bool IsMarker(const CompiledFormula* compiled)
{
    return compiled == Marker(&numberMarker) || compiled == Marker(&singleNodeMarker) || IsWalkMarker(compiled);
}

// The nodes of the tree below `node`, counted up to `limit` (at least 1). Each level down counts one node
// more, so the recursion is at most `limit` deep.
int CountNodesUpTo(ParseNode& node, int limit)
{
    int seen = 1;
    for (int i = 0; i < node.OperandCount() && seen < limit; ++i)
        if (ParseNode* operand = node.GetOperand(i))
            seen += CountNodesUpTo(*operand, limit - seen);
    return seen;
}

// The tree walk of EvaluateBoundNumbers for a tree kept unflattened (fewer than kFlattenMinNodes nodes, so
// the recursion is shallow): the operands in the tree's order, "&" and "|" decided by the left one alone.
bool WalkBoundNumbers(ParseNode& node, const void* start, double* out, bool* readsVariables)
{
    const int code = node.TypeCode();
    switch (code) {
    case NodeConstant:
        *out = static_cast<ConstantNode&>(node).Value();
        return true;
    case NodeName: {
        NameNode& name = static_cast<NameNode&>(node);
        *readsVariables = true;
        return name.KeywordIndex() == -1 && BoundNumberFromCache(name.Resolution(), start, out);
    }
    case NodeNegate: case NodeUnaryPlus: case NodeNot: {
        ParseNode* operand = static_cast<UnaryNode&>(node).Operand();
        if (!operand || !WalkBoundNumbers(*operand, start, out, readsVariables))
            return false;
        *out = ApplyUnaryOperator(code, *out);
        return true;
    }
    case NodeAdd: case NodeSubtract: case NodeMultiply: case NodeDivide: case NodePower: case NodeAnd: case NodeOr:
    case NodeLess: case NodeLessEqual: case NodeEqual: case NodeNotEqual: case NodeGreaterEqual: case NodeGreater: {
        BinaryNode& binary = static_cast<BinaryNode&>(node);
        if (!binary.Left() || !binary.Right())
            return false;
        const bool rightFirst = RightOperandFirst(code);
        double first = 0.0;
        double second = 0.0;
        if (!WalkBoundNumbers(rightFirst ? *binary.Right() : *binary.Left(), start, &first, readsVariables))
            return false;
        if (DecidedByLeft(code, first, *out))
            return true;
        if (!WalkBoundNumbers(rightFirst ? *binary.Left() : *binary.Right(), start, &second, readsVariables))
            return false;
        return rightFirst ? ApplyBinaryOperatorUnfailing(code, second, first, out)
                          : ApplyBinaryOperatorUnfailing(code, first, second, out);
    }
    default:
        return false;
    }
}

// Trees of up to this many nodes that hold nothing but numbers and operators are worked out when cached.
constexpr int kFoldMaxNodes = 256;

// The flattened form of a new cached tree: a plain number is known as one from the start, and so is the
// value of a small tree of numbers and operators that cannot fail ("1701+1055"), so that either can be read
// without an evaluation. Other trees are flattened or walked on their first evaluation.
CompiledFormula* InitialForm(ParseNode* tree)
{
    if (tree == nullptr)
        return nullptr;
    if (tree->TypeCode() == NodeConstant)
        return Marker(&numberMarker);
    if (CountNodesUpTo(*tree, kFoldMaxNodes) >= kFoldMaxNodes)
        return nullptr;
    double value = 0.0;
    bool readsVariables = false;
    if (!WalkBoundNumbers(*tree, nullptr, &value, &readsVariables) || readsVariables)
        return nullptr;
    return new CompiledFormula(value);
}

void DeleteCompiled(CompiledFormula* compiled)
{
    if (!IsMarker(compiled))
        delete compiled;
}

}  // namespace

Expression::Expression(const Expression& source) : text(source.text)
{
    if (source.parseTree)
        SetParseTree(source.parseTree->Clone());
}

Expression& Expression::operator=(const Expression& source)
{
    Assign(source);
    return *this;
}

Expression::~Expression()
{
    DeleteCompiled(compiled);
    delete parseTree;
}

void Expression::Assign(const Expression& source)
{
    if (&source == this)
        return;
    text = source.text;
    SetParseTree(source.parseTree ? source.parseTree->Clone() : nullptr);
}

void Expression::SetText(const char* newText)
{
    text = newText;
    DropParseTree();
}

uint32_t Expression::lastTreeSerial = 0;

void Expression::SetParseTree(ParseNode* tree)
{
    if (tree == parseTree) {
        // Without a tree before and after, the text may still have changed: what was worked out from it is stale.
        if (tree == nullptr)
            treeSerial = NewTreeSerial();
        return;
    }
    treeSerial = NewTreeSerial();
    DeleteCompiled(compiled);
    compiled = InitialForm(tree);
    delete parseTree;
    parseTree = tree;
}

double Expression::EvaluateParseTree(Formula* f)
{
    if (!compiled) {
        const int nodes = CountNodesUpTo(*parseTree, kFlattenMinNodes);
        if (nodes >= kFlattenMinNodes)
            compiled = new CompiledFormula(*parseTree);
        else if (nodes > 1)
            compiled = Marker(OfNumbersAndNames(*parseTree) ? walkMarkers : taskWalkMarkers);
        else
            compiled = Marker(parseTree->TypeCode() == NodeConstant ? &numberMarker : &singleNodeMarker);
    }
    if (!IsMarker(compiled))
        return compiled->Evaluate(f);
    if (IsWalkMarker(compiled)) {
        char* next = reinterpret_cast<char*>(compiled) + 1;
        const bool hot = next == taskWalkMarkers || next == taskWalkMarkers + kHotEvaluations;
        compiled = hot ? new CompiledFormula(*parseTree) : Marker(next);
    }
    return parseTree->Evaluate(f);
}

bool Expression::CachedNumber(double* out) const
{
    if (compiled == Marker(&numberMarker)) {
        *out = static_cast<const ConstantNode*>(parseTree)->Value();
        return true;
    }
    return compiled != nullptr && !IsMarker(compiled) && compiled->IsNumber(out);
}

bool Expression::EvaluateBoundNumbers(const void* start, double* out, bool* readsVariables) const
{
    if (!IsMarker(compiled)) {
        // Until its first evaluation a tree is not known to be flattened or walked.
        return compiled != nullptr && compiled->EvaluateBoundNumbers(start, out, readsVariables);
    }
    if (CachedNumber(out)) {
        *readsVariables = false;
        return true;
    }
    if (IsWithin(compiled, taskWalkMarkers, taskWalkMarkers + kHotEvaluations - 1))
        return false;
    bool reads = false;
    if (!WalkBoundNumbers(*parseTree, start, out, &reads))
        return false;
    *readsVariables = reads;
    return true;
}

void Expression::DropParseTree()
{
    SetParseTree(nullptr);
}

void Expression::SetNumber(double value, const char* newText)
{
    if (newText)
        text = newText;
    else
        FormatNumber(DefaultNumericFormat, value, text, false, false, -9);
    SetParseTree(new ConstantNode(value));
}

bool Expression::GetConstant(double* out)
{
    if (IsEmpty())
        return false;
    if (!parseTree) {
        FormulaRef check(new ParseOnlyContext, 0, nullptr);
        check.Evaluate(*this);
        if (check.HasError())
            return false;
    }
    if (!parseTree || !IsConstantTree(parseTree))
        return false;
    *out = parseTree->Evaluate(nullptr);
    return true;
}

bool IsConstantTree(const ParseNode* tree)
{
    while (tree) {
        int code = tree->TypeCode();
        if (code == NodeConstant)
            return true;
        if (code != NodeNegate && code != NodeUnaryPlus)
            return false;
        tree = tree->GetOperand(0);
    }
    return false;
}

void Expression::Serialize(Archive& archive)
{
    if (archive.HasFormatError())
        return;
    VersionRecord version;
    if (archive.IsStoring()) {
        if (!FitsStoredForm()) {
            archive.SetFormatError(kFormatTextTooLong);
            return;
        }
        const bool withTree = parseTree && TreeFitsStoredForm(*parseTree);
        version.Serialize(archive);
        StoreString(archive, text, 0);
        archive.WriteShort(withTree ? kTreeFlagTree : kTreeFlagNone);
        if (withTree)
            WriteParseNode(archive, *parseTree);
        return;
    }

    version.Serialize(archive);
    LoadString(archive, text);
    DropParseTree();
    int16_t flag = kTreeFlagNodeList;
    if (version.IsNewerThan(KnownVersion::k2_6_Beta5))
        archive.ReadShort(flag);
    if (!archive.Failed()) {
        if (flag == kTreeFlagTree) {
            ParseNode* tree = ReadParseNode(archive);
            if (archive.Failed())
                delete tree;
            else
                SetParseTree(tree);
        } else if (flag == kTreeFlagNodeList) {
            ParseNodeList oldList;
            oldList.Serialize(archive);
        } else if (flag != kTreeFlagNone) {
            archive.SetFormatError(kFormatUnknownItem);
        }
    }
    if (!FitsStoredForm())
        archive.SetFormatError(kFormatTextTooLong);
}

void CollectTableNames(const Expression& expression, NameList& names)
{
    std::vector<const ParseNode*> pending;
    if (expression.GetParseTree())
        pending.push_back(expression.GetParseTree());
    while (!pending.empty()) {
        const ParseNode* node = pending.back();
        pending.pop_back();
        if (node->TypeCode() == NodeTableLookup) {
            zString* upperName = new zString(static_cast<const TableLookupNode*>(node)->Name());
            upperName->MakeUpper();
            if (names.Contains(*upperName) || names.InsertSorted(upperName) < 0)
                delete upperName;
        }
        for (int i = node->OperandCount() - 1; i >= 0; --i) {
            if (const ParseNode* operand = node->GetOperand(i))
                pending.push_back(operand);
        }
    }
}
