#include "formula/Expression.h"

#include "formula/CallNodes.h"
#include "formula/CompiledFormula.h"
#include "formula/Formula.h"
#include "formula/FormulaRef.h"
#include "formula/OperandNodes.h"
#include "formula/OperatorRules.h"
#include "formula/ParseNodeStream.h"
#include "formula/ParseOnlyContext.h"
#include "foundation/Archive.h"
#include "foundation/NameList.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatParsing.h"
#include "foundation/PtrArray.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <new>
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
    const int count = node.OperandCount();
    for (int i = 0; i < count; ++i) {
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
    const int count = node.OperandCount();
    for (int i = 0; i < count && seen < limit; ++i)
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

// Nesting of the trees that are shared by text; the walk that evaluates them as their parse recurses.
constexpr int kMaxSharedDepth = 64;

// True when the tree has nothing but numbers, names and operators, nested at most kMaxSharedDepth deep: the
// parse of such a text evaluates it as WalkAsParse does.
bool WalkableAsParse(const ParseNode& node, int depth)
{
    const int code = node.TypeCode();
    if (code == NodeConstant || code == NodeName)
        return true;
    if (code < NodeAdd || code > NodeGreater || depth >= kMaxSharedDepth)
        return false;
    for (int i = 0; i < node.OperandCount(); ++i) {
        const ParseNode* operand = node.GetOperand(i);
        if (!operand || !WalkableAsParse(*operand, depth + 1))
            return false;
    }
    return true;
}

// The value the parse of the tree's text gives on f: operands from left to right, each operator applied by
// the rules of the first evaluation once its operands are known, names looked up as typed.
double WalkAsParse(ParseNode& node, Formula& f)
{
    const int code = node.TypeCode();
    switch (code) {
    case NodeConstant:
        return static_cast<ConstantNode&>(node).Value();
    case NodeName: {
        NameNode& name = static_cast<NameNode&>(node);
        return name.KeywordIndex() >= 0 ? f.KeywordValue(name.KeywordIndex())
                                        : f.LookupTypedVariable(name.TypedName(), name.Name(), name.Resolution());
    }
    case NodeNegate: case NodeUnaryPlus: case NodeNot:
        return ApplyUnaryOperator(code, WalkAsParse(*node.GetOperand(0), f));
    default: {
        const double left = WalkAsParse(*node.GetOperand(0), f);
        const double right = WalkAsParse(*node.GetOperand(1), f);
        return ApplyBinaryOperator(code, left, right, &f, OperatorPass::Parse);
    }
    }
}

// The forms shared by text, in an open-addressed table of a power of two slots at most half full: a text
// joining costs no allocation, and a lookup reads one slot unless hashes meet.
class SharedTextTable {
public:
    ParsedForm* Find(const char* text) const
    {
        if (slots.empty())
            return nullptr;
        const uint32_t hash = Hash(text);
        for (size_t i = Home(hash); slots[i].form != nullptr; i = Next(i)) {
            if (slots[i].hash == hash && std::strcmp(slots[i].form->Text(), text) == 0)
                return slots[i].form;
        }
        return nullptr;
    }

    // The form's text must not be in the table.
    void Insert(ParsedForm* form)
    {
        if (2 * (count + 1) > slots.size()) {
            std::vector<Slot> old(std::max<size_t>(1024, 2 * slots.size()));
            old.swap(slots);
            for (const Slot& slot : old) {
                if (slot.form != nullptr)
                    Place(slot);
            }
        }
        Place(Slot{Hash(form->Text()), form});
        ++count;
    }

    // Takes the form out; the slots after it that probed past it move back, so no lookup stops short.
    void Erase(const ParsedForm* form)
    {
        size_t i = Home(Hash(form->Text()));
        while (slots[i].form != form)
            i = Next(i);
        for (size_t j = Next(i); slots[j].form != nullptr; j = Next(j)) {
            const size_t home = Home(slots[j].hash);
            const bool reachedFromHome = i <= j ? (i < home && home <= j) : (i < home || home <= j);
            if (!reachedFromHome) {
                slots[i] = slots[j];
                i = j;
            }
        }
        slots[i] = Slot{0, nullptr};
        --count;
    }

private:
    struct Slot {
        uint32_t hash;
        ParsedForm* form;
    };

    static uint32_t Hash(const char* text)
    {
        uint32_t hash = 2166136261u;
        for (; *text; ++text)
            hash = (hash ^ static_cast<unsigned char>(*text)) * 16777619u;
        return hash;
    }
    size_t Home(uint32_t hash) const { return hash & (slots.size() - 1); }
    size_t Next(size_t i) const { return (i + 1) & (slots.size() - 1); }
    void Place(const Slot& slot)
    {
        size_t i = Home(slot.hash);
        while (slots[i].form != nullptr)
            i = Next(i);
        slots[i] = slot;
    }

    std::vector<Slot> slots;
    size_t count = 0;
};

SharedTextTable& SharedTexts()
{
    // Never destroyed: expressions of static lifetime may outlive it.
    static auto* texts = new SharedTextTable;
    return *texts;
}

// A form of one user for the tree (null: none), shared by `text` when given.
ParsedForm* NewForm(ParseNode* tree, const char* text)
{
    if (tree == nullptr)
        return nullptr;
    const size_t textBytes = text != nullptr ? std::strlen(text) + 1 : 0;
    CompiledFormula* compiled = InitialForm(tree);
    double number = 0.0;
    bool isNumber = true;
    if (compiled == Marker(&numberMarker))
        number = static_cast<const ConstantNode*>(tree)->Value();
    else
        isNumber = compiled != nullptr && compiled->IsNumber(&number);
    auto* form = new (::operator new(sizeof(ParsedForm) + textBytes))
        ParsedForm{tree, compiled, 1, text != nullptr, false, isNumber, number};
    if (text != nullptr) {
        std::memcpy(form + 1, text, textBytes);
        SharedTexts().Insert(form);
    }
    return form;
}

// The forms of plain numbers made last, one slot for each few values: expressions of a number that recurs
// (0.5, 100) share its form. Unlike the table of texts, it never grows: a new number takes the slot of its
// value, and a number seen long ago gets a form of its own, so that a million distinct numbers cost no table.
class RecentNumberForms {
public:
    ParsedForm*& Slot(double number)
    {
        uint64_t bits = 0;
        std::memcpy(&bits, &number, sizeof bits);
        uint32_t hash = static_cast<uint32_t>(bits) ^ static_cast<uint32_t>(bits >> 32);
        hash = (hash ^ (hash >> 16)) * 0x85EBCA6Bu;
        hash = (hash ^ (hash >> 13)) * 0xC2B2AE35u;
        return slots[(hash ^ (hash >> 16)) & (kSlots - 1)];
    }

private:
    static constexpr size_t kSlots = 4096;  // not a resource id: cache slots
    ParsedForm* slots[kSlots] = {};
};

RecentNumberForms& RecentNumbers()
{
    // Never destroyed, as the texts' table.
    static auto* numbers = new RecentNumberForms;
    return *numbers;
}

// The form of a plain number's constant tree: one block holds the form and the tree behind it.
ParsedForm* NumberForm(double number)
{
    ParsedForm*& recent = RecentNumbers().Slot(number);
    if (recent != nullptr && recent->number == number) {
        ++recent->users;
        return recent;
    }
    static_assert(sizeof(ParsedForm) % alignof(ConstantNode) == 0, "the tree follows the form aligned");
    void* block = ::operator new(sizeof(ParsedForm) + sizeof(ConstantNode));
    auto* tree = new (static_cast<char*>(block) + sizeof(ParsedForm)) ConstantNode(number);
    recent = new (block) ParsedForm{tree, Marker(&numberMarker), 1, false, true, true, number};
    return recent;
}

void ReleaseForm(ParsedForm* form)
{
    if (form == nullptr || --form->users > 0)
        return;
    if (form->byText)
        SharedTexts().Erase(form);
    DeleteCompiled(form->compiled);
    if (form->byNumber) {
        ParsedForm*& recent = RecentNumbers().Slot(form->number);
        if (recent == form)
            recent = nullptr;
        form->tree->~ParseNode();
    } else {
        delete form->tree;
    }
    form->~ParsedForm();
    ::operator delete(form);
}

}  // namespace

Expression::Expression(const Expression& source) : text(source.text)
{
    if (source.form)
        ++source.form->users;
    form = source.form;
}

Expression& Expression::operator=(const Expression& source)
{
    Assign(source);
    return *this;
}

Expression::~Expression()
{
    ReleaseForm(form);
}

void Expression::Assign(const Expression& source)
{
    if (&source == this)
        return;
    text = source.text;
    if (source.form)
        ++source.form->users;
    UseForm(source.form);
}

void Expression::UseForm(ParsedForm* shared)
{
    treeSerial = NewTreeSerial();
    ReleaseForm(form);
    form = shared;
}

void Expression::SetText(const char* newText)
{
    text = newText;
    DropParseTree();
}

uint32_t Expression::lastTreeSerial = 0;

ParseNode* Expression::GetParseTree() const
{
    return form ? form->tree : nullptr;
}

void Expression::SetParseTree(ParseNode* tree)
{
    if (tree == GetParseTree()) {
        // Without a tree before and after, the text may still have changed: what was worked out from it is stale.
        if (tree == nullptr)
            treeSerial = NewTreeSerial();
        return;
    }
    UseForm(NewForm(tree, nullptr));
}

void Expression::KeepParse(ParseNode* tree)
{
    const bool byText = WalkableAsParse(*tree, 0) && SharedTexts().Find(text.Text()) == nullptr;
    UseForm(NewForm(tree, byText ? text.Text() : nullptr));
}

bool Expression::KeepPlainNumber(double* value)
{
    double number = 0.0;
    if (form != nullptr || IsEmpty() || !ReadPlainNumber(text.Text(), number) || number > kOverflowLimit)
        return false;
    UseForm(NumberForm(number));
    *value = number;
    return true;
}

bool Expression::EvaluateSharedParse(Formula* f, double* value)
{
    ParsedForm* shared = SharedTexts().Find(text.Text());
    if (shared == nullptr)
        return false;
    // The form is held while it is walked: a definition evaluated on the way may change other expressions.
    ++shared->users;
    *value = WalkAsParse(*shared->tree, *f);
    if (f->HasError())
        ReleaseForm(shared);
    else
        UseForm(shared);
    return true;
}

void Expression::ChooseEvaluationForm()
{
    CompiledFormula*& compiled = form->compiled;
    ParseNode* parseTree = form->tree;
    if (compiled)
        return;
    const int nodes = CountNodesUpTo(*parseTree, kFlattenMinNodes);
    if (nodes >= kFlattenMinNodes)
        compiled = new CompiledFormula(*parseTree);
    else if (nodes > 1)
        compiled = Marker(OfNumbersAndNames(*parseTree) ? walkMarkers : taskWalkMarkers);
    else
        compiled = Marker(parseTree->TypeCode() == NodeConstant ? &numberMarker : &singleNodeMarker);
}

void Expression::VisitVariableNames(const std::function<void(const zString&, NameResolutionCache&)>& visit)
{
    std::vector<ParseNode*> pending;
    if (form)
        pending.push_back(form->tree);
    while (!pending.empty()) {
        ParseNode* node = pending.back();
        pending.pop_back();
        if (node->TypeCode() == NodeName) {
            NameNode& name = static_cast<NameNode&>(*node);
            if (name.KeywordIndex() == -1)
                visit(name.Name(), name.Resolution());
        }
        for (int i = node->OperandCount() - 1; i >= 0; --i) {
            if (ParseNode* operand = node->GetOperand(i))
                pending.push_back(operand);
        }
    }
}

double Expression::EvaluateParseTree(Formula* f)
{
    CompiledFormula*& compiled = form->compiled;
    if (compiled == nullptr)
        ChooseEvaluationForm();
    ParseNode* parseTree = form->tree;
    if (!IsMarker(compiled))
        return compiled->Evaluate(f);
    if (IsWalkMarker(compiled)) {
        char* next = reinterpret_cast<char*>(compiled) + 1;
        const bool hot = next == taskWalkMarkers || next == taskWalkMarkers + kHotEvaluations;
        compiled = hot ? new CompiledFormula(*parseTree) : Marker(next);
    }
    return parseTree->Evaluate(f);
}

bool Expression::EvaluateBoundNumbers(const void* start, double* out, bool* readsVariables) const
{
    if (form == nullptr)
        return false;
    const CompiledFormula* compiled = form->compiled;
    if (compiled == Marker(&numberMarker)) {
        *out = static_cast<const ConstantNode*>(form->tree)->Value();
        *readsVariables = false;
        return true;
    }
    if (!IsMarker(compiled)) {
        // Until its first evaluation a tree is not known to be flattened or walked.
        return compiled != nullptr && compiled->EvaluateBoundNumbers(start, out, readsVariables);
    }
    if (IsWithin(compiled, taskWalkMarkers, taskWalkMarkers + kHotEvaluations - 1))
        return false;
    bool reads = false;
    if (!WalkBoundNumbers(*form->tree, start, out, &reads))
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
    if (!form) {
        FormulaRef check(new ParseOnlyContext, 0, nullptr);
        check.Evaluate(*this);
        if (check.HasError())
            return false;
    }
    if (!form || !IsConstantTree(form->tree))
        return false;
    *out = form->tree->Evaluate(nullptr);
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
        const bool withTree = form && TreeFitsStoredForm(*form->tree);
        version.Serialize(archive);
        StoreString(archive, text, 0);
        archive.WriteShort(withTree ? kTreeFlagTree : kTreeFlagNone);
        if (withTree)
            WriteParseNode(archive, *form->tree);
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
