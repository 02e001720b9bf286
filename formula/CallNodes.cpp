#include "formula/CallNodes.h"

#include "foundation/UniformRandom.h"
#include "formula/BuiltinRegistry.h"
#include "formula/Formula.h"
#include "formula/FormulaErrors.h"
#include "formula/TableDirectory.h"
#include "formula/ParseNodeStream.h"
#include "foundation/Archive.h"
#include "foundation/StoredString.h"

#include <cmath>
#include <cstdint>

namespace {

const double kTruthTolerance = 1e-10;
const int kInlineArguments = 16;

// Argument values in the order written, on the stack for the usual short lists.
class ArgumentValues {
public:
    explicit ArgumentValues(int count) : values(count <= kInlineArguments ? inlineValues : new double[count]) {}
    ~ArgumentValues()
    {
        if (values != inlineValues)
            delete[] values;
    }
    ArgumentValues(const ArgumentValues&) = delete;
    ArgumentValues& operator=(const ArgumentValues&) = delete;
    double& operator[](int i) { return values[i]; }
    const double* Data() const { return values; }

private:
    double inlineValues[kInlineArguments];
    double* values;
};

}  // namespace

ArgumentList::~ArgumentList()
{
    Clear();
}

void ArgumentList::Clear()
{
    for (ParseNode* node : nodes)
        delete node;
    nodes.clear();
}

ParseNode* ArgumentList::FromLast(int i) const
{
    if (i < 0 || i >= Count())
        return nullptr;
    return nodes[nodes.size() - 1 - i];
}

void ArgumentList::TakeFront(ParseNode* node)
{
    nodes.insert(nodes.begin(), node);
}

void ArgumentList::CopyTo(ArgumentList& target) const
{
    target.Clear();
    for (ParseNode* node : nodes) {
        ParseNode* copy = node ? node->Clone() : nullptr;
        if (copy)
            target.nodes.push_back(copy);
    }
}

void ArgumentList::Write(Archive& archive) const
{
    archive.WriteShort(static_cast<int16_t>(nodes.size()));
    for (size_t i = nodes.size(); i-- > 0;)
        WriteOptionalNode(archive, nodes[i]);
}

void ArgumentList::Read(Archive& archive)
{
    Clear();
    int16_t count = 0;
    archive.ReadShort(count);
    for (int i = 0; i < count && !archive.Failed(); ++i) {
        ParseNode* node = ReadOptionalNode(archive);
        if (!node)
            break;
        TakeFront(node);
    }
}

double TableArgMarker::Evaluate(Formula*)
{
    return 0.0;
}

double FunctionArgMarker::Evaluate(Formula*)
{
    return 0.0;
}

int TableLookupNode::AddOperand(ParseNode* node)
{
    if (node->TypeCode() == NodeTableArgMarker) {
        delete node;
        return 1;
    }
    arguments.TakeFront(node);
    return 2;
}

double TableLookupNode::Evaluate(Formula* f)
{
    int count = arguments.Count();
    ArgumentValues values(count);
    for (int i = 0; i < count; ++i)
        values[i] = arguments.InOrder(i)->Evaluate(f);
    if (!f)
        return FindTable(name) ? UniformRandom(0.0, 1.0) : 0.0;
    LookupTable* table = f->FindTable(name);
    if (!table) {
        f->SetError(FormulaUnknownTable, &name);
        return 0.0;
    }
    return f->LookupTable(table, count, values.Data());
}

void TableLookupNode::Write(Archive& archive) const
{
    StoreString(archive, name, 0);
    arguments.Write(archive);
}

void TableLookupNode::Read(Archive& archive, int)
{
    LoadString(archive, name);
    arguments.Read(archive);
}

void TableLookupNode::CopyFieldsTo(ParseNode& target) const
{
    TableLookupNode& copy = static_cast<TableLookupNode&>(target);
    copy.name = name;
    arguments.CopyTo(copy.arguments);
}

int FunctionCallNode::AddOperand(ParseNode* node)
{
    if (node->TypeCode() == NodeFunctionArgMarker) {
        delete node;
        return 1;
    }
    arguments.TakeFront(node);
    return 2;
}

double FunctionCallNode::Evaluate(Formula* f)
{
    int count = arguments.Count();
    double first = count > 0 ? arguments.InOrder(0)->Evaluate(f) : 0.0;
    if (functionIndex == BuiltinIf)
        return EvaluateIf(f, first);
    if (functionIndex == BuiltinChoose)
        return EvaluateChoose(f, first);
    ArgumentValues values(count);
    if (count > 0)
        values[0] = first;
    for (int i = 1; i < count; ++i)
        values[i] = arguments.InOrder(i)->Evaluate(f);
    if (!f)
        return UniformRandom(0.0, 1.0);
    return f->CallBuiltinFunction(zString(), functionIndex, count, values.Data());
}

// A stored If with fewer than three arguments (only a damaged file holds one) counts as a call with the
// wrong number of arguments.
double FunctionCallNode::EvaluateIf(Formula* f, double condition)
{
    if (arguments.Count() != 3) {
        if (f)
            f->SetErrorForFunction(FormulaWrongArgCount, BuiltinIf);
        return 0.0;
    }
    return arguments.InOrder(std::fabs(condition) >= kTruthTolerance ? 1 : 2)->Evaluate(f);
}

double FunctionCallNode::EvaluateChoose(Formula* f, double index)
{
    double k = std::trunc(index);
    if (!(k >= 1.0) || k >= arguments.Count())
        return ReportNodeError(f, FormulaBadChooseIndex);
    return arguments.InOrder(static_cast<int>(k))->Evaluate(f);
}

void FunctionCallNode::Write(Archive& archive) const
{
    archive.WriteShort(static_cast<int16_t>(functionIndex));
    arguments.Write(archive);
}

void FunctionCallNode::Read(Archive& archive, int)
{
    int16_t index = -1;
    archive.ReadShort(index);
    functionIndex = index;
    arguments.Read(archive);
}

void FunctionCallNode::CopyFieldsTo(ParseNode& target) const
{
    FunctionCallNode& copy = static_cast<FunctionCallNode&>(target);
    copy.functionIndex = functionIndex;
    arguments.CopyTo(copy.arguments);
}
