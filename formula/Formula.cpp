#include "formula/Formula.h"

#include "foundation/Host.h"
#include "foundation/UniformRandom.h"
#include "formula/BuiltinRegistry.h"
#include "formula/EvalContextBase.h"
#include "formula/Expression.h"
#include "formula/FormulaErrors.h"
#include "formula/FormulaParser.h"
#include "formula/LookupTable.h"
#include "formula/NameResolution.h"
#include "formula/ParseNode.h"
#include "foundation/StringHelpers.h"

#include <string>
#include <utility>

namespace {

const char* const kDefaultName = "given text";

// Values beyond the limit, and values that are no number at all, are a numeric overflow.
bool IsOverflow(double v)
{
    return !(v <= Expression::kOverflowLimit && v >= -Expression::kOverflowLimit);
}

const zString& TextOf(const std::unique_ptr<zString>& argument)
{
    static const zString none;
    return argument ? *argument : none;
}

void KeepArgument(std::unique_ptr<zString>& slot, const zString& argument)
{
    if (slot)
        *slot = argument;
    else
        slot = std::make_unique<zString>(argument);
}

}  // namespace

Formula::Formula(EvalContextBase* context, int mode, const char* name)
{
    Init(context, mode, name);
}

Formula::~Formula()
{
    argFrames.clear();
    variableMemo.clear();
    delete context;
}

void Formula::Init(EvalContextBase* newContext, int mode, const char* newName)
{
    Restart();
    parseOnly = mode == 0 ? 1 : 0;
    if (newContext != context)
        delete context;
    context = newContext;
    calcState = context ? context->GetCalcState() : nullptr;
    if (context)
        context->SetFormula(this);
    name = newName && newName[0] ? newName : kDefaultName;
}

void Formula::Restart()
{
    if (!argFrames.empty())
        argFrames.clear();
    // The message arguments are set only together with an error.
    if (error) {
        error = 0;
        cause = OutcomeCode::Done;
        if (errorArg1)
            errorArg1->Clear();
        if (errorArg2)
            errorArg2->Clear();
    }
    value = 0.0;
    usesVariables = 0;
    if (nodeStack) {
        ClearNodeStack(nodeStack);
        delete nodeStack;
        nodeStack = nullptr;
    }
    memoCount = 0;
}

void Formula::ClearNodeStack(std::vector<ParseNode*>* stack)
{
    for (ParseNode* node : *stack)
        delete node;
    stack->clear();
}

void Formula::Parse(const char* text)
{
    size_t frameDepth = argFrames.size();
    FormulaParser parser(*this, text);
    parser.Run();
    // Frames left open by a parse that ended early go with it.
    argFrames.resize(frameDepth);
}

double Formula::EvaluateText(const char* text)
{
    if (error)
        return 0.0;
    if (!text || !text[0]) {
        SetError(FormulaEmpty);
        return value;
    }
    std::vector<ParseNode*>* outerStack = nodeStack;
    nodeStack = nullptr;
    Parse(text);
    nodeStack = outerStack;
    if (IsOverflow(value))
        SetError(FormulaOverflow);
    return value;
}

double Formula::Evaluate(Expression& expression)
{
    if (expression.HasParseTree())
        return expression.EvaluateParseTree(this);
    if (expression.IsEmpty()) {
        SetError(FormulaEmpty);
        return 0.0;
    }
    // A plain number is its value; after an error the parse would keep no tree.
    if (!error && expression.KeepPlainNumber(&value))
        return value;
    double shared = 0.0;
    if (expression.EvaluateSharedParse(this, &shared)) {
        value = shared;
    } else {
        std::vector<ParseNode*>* outerStack = nodeStack;
        std::vector<ParseNode*> stack;
        nodeStack = &stack;
        Parse(expression.Text().Text());
        if (stack.size() == 1 && !error) {
            expression.KeepParse(stack.back());
            stack.pop_back();
        }
        ClearNodeStack(&stack);
        nodeStack = outerStack;
    }
    if (IsOverflow(value))
        SetError(FormulaOverflow);
    return value;
}

void Formula::SetError(int code, const zString* arg1, const zString* arg2)
{
    if (error)
        return;
    if (context)
        context->NoteErrorNode();
    error = code;
    if (arg1) {
        KeepArgument(errorArg1, *arg1);
        if (arg2)
            KeepArgument(errorArg2, *arg2);
    }
}

const zString& Formula::ErrorArg1() const
{
    return TextOf(errorArg1);
}

const zString& Formula::ErrorArg2() const
{
    return TextOf(errorArg2);
}

void Formula::SetErrorForFunction(int code, int functionIndex)
{
    zString functionName;
    GetBuiltinFunctionName(functionIndex, functionName);
    SetError(code, &functionName);
}

void Formula::PushNode(ParseNode* node)
{
    if (!nodeStack) {
        delete node;
        return;
    }
    while (!nodeStack->empty()) {
        int taken = node->AddOperand(nodeStack->back());
        if (taken == 0)
            break;
        nodeStack->pop_back();
        if (taken == 1)
            break;
    }
    nodeStack->push_back(node);
}

void Formula::PushArgFrame()
{
    argFrames.emplace_back();
}

void Formula::AppendArgValue(double argument)
{
    if (argFrames.empty()) {
        SetError(FormulaBadGrouping);
        return;
    }
    argFrames.back().push_back(argument);
}

void Formula::PopArgFrame()
{
    if (argFrames.empty()) {
        SetError(FormulaBadGrouping);
        return;
    }
    argFrames.pop_back();
}

bool Formula::TakeArgFrame(std::vector<double>& out)
{
    if (argFrames.empty()) {
        SetError(FormulaBadGrouping);
        return false;
    }
    out.swap(argFrames.back());
    argFrames.pop_back();
    return true;
}

double Formula::CallFunction(const zString& functionName)
{
    std::vector<double> arguments;
    if (!TakeArgFrame(arguments))
        return 0.0;
    return CallBuiltinFunction(functionName, -1, static_cast<int>(arguments.size()), arguments.data());
}

double Formula::LookupVariable(const zString& variableName, int alreadyUpper)
{
    if (alreadyUpper)
        return VariableLookup(variableName, variableName);
    zString upperName(variableName);
    upperName.MakeUpper();
    return VariableLookup(variableName, upperName);
}

double Formula::VariableLookup(const zString& typedName, const zString& upperName)
{
    if (context)
        context->CheckUndefinedVariable(typedName, upperName);
    usesVariables = 1;
    if (!parseOnly && !error && context)
        return context->VariableValue(upperName);
    return StandInRandom();
}

double Formula::ResolvedLookup(const zString& typedName, const zString& upperName, NameResolutionCache& cache)
{
    // A filled cache means the document knows the name, so the check would pass.
    double number = 0.0;
    if (!parseOnly && !error && context != nullptr && context->ResolutionStart() != nullptr &&
        context->ResolvedVariableValue(upperName, cache, &number)) {
        usesVariables = 1;
        return number;
    }
    return VariableLookup(typedName, upperName);
}

double Formula::LookupName(const zString& typedName, const zString& upperName, NameResolutionCache& cache,
                           int* keywordIndex)
{
    *keywordIndex = FindKeyword(upperName);
    if (*keywordIndex == -1)
        return LookupTypedVariable(typedName, upperName, cache);
    return KeywordValue(*keywordIndex);
}

double Formula::KeywordValue(int index)
{
    return ::KeywordValue(index, calcState);
}

::LookupTable* Formula::FindTable(const zString& tableName, TableResolutionCache& cache)
{
    return context ? context->FindTable(tableName, cache) : nullptr;
}

double Formula::LookupTableByName(const zString& tableName)
{
    TableResolutionCache cache;
    ::LookupTable* table = FindTable(tableName, cache);
    if (!table) {
        if (context)
            context->OfferNewTable(tableName);
        table = FindTable(tableName, cache);
        if (!table)
            SetError(FormulaUnknownTable, &tableName);
    }
    std::vector<double> arguments;
    if (!TakeArgFrame(arguments) || error)
        return 0.0;
    usesVariables = 1;
    return LookupTable(table, static_cast<int>(arguments.size()), arguments.data());
}

double Formula::LookupTable(::LookupTable* table, int count, const double* values)
{
    if (count != 1 && count != 2) {
        SetError(FormulaTableArgCount, &table->Name());
        return 0.0;
    }
    if (parseOnly)
        return StandInRandom();
    if (count == 2)
        return table->SumRange(values[0], values[1]);
    RunFault failed;
    double result = table->Lookup(values[0], &failed);
    if (failed) {
        SetError(FormulaTableLookupFailed, &table->Name());
        return 0.0;
    }
    return result;
}

void Formula::BuildErrorMessage(zString& message)
{
    const char* text = FormulaErrorText(error);
    if (text) {
        message = text;
    } else {
        message = "Unknown parser error number (";
        AppendInt(message, error);
        message += "). Please report this number to Morlund Software.";
    }
    SubstituteArgs(message, ErrorArg1().Text(), ErrorArg2().Text());
    message += " Unable to evaluate ";
    message += name;
    if (context)
        context->AppendNodePart(message, name);
    message += ".";
}

int Formula::ReportError(TextField* edit, int selectNode)
{
    if (!error)
        return 0;
    if (error == FormulaSilentError || Host::Silenced(Silence::FormulaMessages))
        return 1;
    OutcomeNotice notice;
    notice.code = OutcomeCode::FormulaFailed;
    notice.formulaError = error;
    notice.variable = name;
    notice.selectNode = selectNode != 0;
    BuildErrorMessage(notice.text);
    if (context)
        context->ReportMessage(notice);
    if (edit)
        SelectErrorInEdit(edit, 0);
    return 1;
}

VariableMemo* Formula::MemoLookup(const zString& memoName, TreeNode* node, int* found, double* memoValue)
{
    *found = 0;
    for (size_t i = 0; i < memoCount; ++i) {
        VariableMemo* record = variableMemo[i].get();
        if (record->node == node && record->name == memoName) {
            if (!record->hasValue)
                return record;
            *found = 1;
            *memoValue = record->value;
            return nullptr;
        }
    }
    if (memoCount == variableMemo.size())
        variableMemo.push_back(std::make_unique<VariableMemo>());
    VariableMemo* record = variableMemo[memoCount++].get();
    record->name = memoName;
    record->node = node;
    record->hasValue = 0;
    record->value = 0.0;
    return record;
}

void Formula::MemoStore(VariableMemo* record, double memoValue, int keep)
{
    if (!record)
        return;
    if (keep) {
        record->value = memoValue;
        record->hasValue = 1;
        return;
    }
    for (size_t i = 0; i < memoCount; ++i) {
        if (variableMemo[i].get() == record) {
            std::swap(variableMemo[i], variableMemo[memoCount - 1]);
            --memoCount;
            return;
        }
    }
}

void SelectErrorInEdit(TextField* edit, int position)
{
    if (!edit)
        return;
    if (position > 0) {
        const zString text = edit->FieldText();
        if (position < static_cast<int>(text.Length())) {
            const char* start = text.Text() + position;
            const char* end = FindWordEnd(start, true, text.Text());
            edit->SelectRange(position, static_cast<int>(end - text.Text()));
        }
    }
    edit->TakeFocus();
}
