#pragma once
// The working object of one evaluation task: it owns the evaluation context, keeps the first error met
// with its message arguments, the value of the last parse, the parser's argument frames and node stack,
// and the variable values worked out so far. Callers reach it through FormulaRef.

#include "formula/EvalContextBase.h"
#include "formula/Expression.h"
#include "formula/NameResolution.h"
#include "foundation/TextField.h"
#include "foundation/zString.h"

#include <windows.h>

#include <memory>
#include <vector>

class CalcState;
class EvalContextBase;
class Expression;
class LookupTable;
class ParseNode;
class TreeNode;
struct NameResolutionCache;
struct TableResolutionCache;

// A variable value worked out during the task, per name and the node at which its lookup started.
struct VariableMemo {
    zString name;
    int hasValue = 0;
    TreeNode* node = nullptr;
    double value = 0.0;
};

class Formula {
public:
    // mode 1 evaluates; mode 0 only checks (names and functions yield random values). A null or empty
    // name gives "given text".
    Formula(EvalContextBase* context, int mode, const char* name);
    Formula(const Formula&) = delete;
    Formula& operator=(const Formula&) = delete;
    ~Formula();

    // Starts a new task with a new context (the old one is deleted): no error, value 0.0, empty memo.
    void Init(EvalContextBase* newContext, int mode, const char* newName);
    // Starts a new task as Init does, keeping the context, mode and name of the last one.
    void Restart();

    // The value of an expression: its cached tree when it has one, else the text parsed (and the tree
    // cached when the parse ends without error and leaves one node), or a plain number read as such.
    // Beyond +-1e21 the parse reports error 4.
    double Evaluate(Expression& expression);
    // Parses and evaluates a text once, keeping no tree; 0.0 at once when an error is already set.
    double EvaluateText(const char* text);

    // Keeps the first error only; the second argument is taken only with the first.
    void SetError(int code, const zString* arg1 = nullptr, const zString* arg2 = nullptr);
    // The error with the built-in's registered name as "$1".
    void SetErrorForFunction(int code, int functionIndex);
    bool HasError() const { return error != 0; }
    int Error() const { return error; }
    // A distribution that a call of the formula asked failed: its code becomes the formula's failure code
    // when the error set next is the formula's first (nothing for a fault that is Done).
    void SetFailureCause(const RunFault& fault)
    {
        if (!error)
            cause = fault.Code();
    }
    // Done without an error; else the code of the distribution failure behind it, or FormulaFailed.
    OutcomeCode FailureCode() const
    {
        if (!error)
            return OutcomeCode::Done;
        return cause != OutcomeCode::Done ? cause : OutcomeCode::FormulaFailed;
    }
    const zString& ErrorArg1() const;
    const zString& ErrorArg2() const;
    const zString& Name() const { return name; }
    double Value() const { return value; }
    void SetValue(double newValue) { value = newValue; }
    bool IsParseOnly() const { return parseOnly != 0; }
    bool UsesVariables() const { return usesVariables != 0; }
    EvalContextBase* Context() const { return context; }
    CalcState* GetCalcState() const { return calcState; }

    // The message of the error (none for error 5 or while the host's formula messages are silenced) reported
    // through the context, with the failing node for the program to select when selectNode is set, and the
    // focus given to `edit` when one is given. Returns 1 when there was an error (shown or not), 0 when there was none.
    int ReportError(TextField* edit, int selectNode);
    // The whole message of the current error: the table text with its arguments, " Unable to evaluate ",
    // the name, the node part and ".".
    void BuildErrorMessage(zString& message);

    // The parser's services.
    // The building stack: the new node takes its operands from the top; without a stack it is deleted.
    void PushNode(ParseNode* node);
    void PushArgFrame();
    void AppendArgValue(double argument);
    void PopArgFrame();
    // Calls the built-in of that name with the current frame's values and pops the frame.
    double CallFunction(const zString& name);
    // The value of a variable; a random value in check-only mode or after an error.
    double LookupVariable(const zString& name, int alreadyUpper);
    // The same for an upper-case name of a parse node, which keeps where the name last resolved: a name
    // bound to a plain number, found again from the same scope with nothing changed since, is read directly.
    double LookupVariable(const zString& upperName, NameResolutionCache& cache)
    {
        double number = 0.0;
        return BoundNumber(upperName, cache, &number) ? number : ResolvedLookup(upperName, upperName, cache);
    }
    // The same for a variable named as typed, as the parse looks it up.
    double LookupTypedVariable(const zString& typedName, const zString& upperName, NameResolutionCache& cache)
    {
        double number = 0.0;
        return BoundNumber(upperName, cache, &number) ? number : ResolvedLookup(typedName, upperName, cache);
    }
    // A keyword's value, or a variable's (as LookupTypedVariable), for a name as typed and upper-cased;
    // keywordIndex receives the keyword index or -1.
    double LookupName(const zString& typedName, const zString& upperName, NameResolutionCache& cache,
                      int* keywordIndex);
    double KeywordValue(int index);
    // Looks up the current frame's values in the named table and pops the frame.
    double LookupTableByName(const zString& name);
    // The table of that name (regardless of case) through the context, or null; a parse node keeps where
    // its name last resolved in the cache.
    ::LookupTable* FindTable(const zString& name, TableResolutionCache& cache);
    // One value: the table's lookup; two: the range sum; other counts: error 16. A failed lookup: error 15.
    double LookupTable(::LookupTable* table, int count, const double* values);
    // The built-in function dispatcher (index -1: found by name).
    double CallBuiltinFunction(const zString& functionName, int index, int count, const double* values);
    // The same for the known function index of a parse tree's call.
    double CallBuiltinFunction(int index, int count, const double* values);

    // The variable memo. MemoLookup: a record to fill (new or still without value), or null with found set
    // and the value when one is memorised. MemoStore: keeps the value in the record, or removes the record.
    VariableMemo* MemoLookup(const zString& memoName, TreeNode* node, int* found, double* memoValue);
    void MemoStore(VariableMemo* record, double memoValue, int keep);

private:
    // Parses the text with the current node stack (null: no tree is built).
    void Parse(const char* text);
    double VariableLookup(const zString& typedName, const zString& upperName);
    // VariableLookup for a name of a parse node: through the context's shortcut when the name's cache knows
    // its binding.
    double ResolvedLookup(const zString& typedName, const zString& upperName, NameResolutionCache& cache);
    // True, with the number, when the name's cache or the context's shortcut gives exactly what the check and
    // the context's lookup would. Neither answers while the context has no resolution start (the base, a
    // definition being evaluated), so then nothing is asked.
    bool BoundNumber(const zString& upperName, NameResolutionCache& cache, double* number)
    {
        if (parseOnly || error || context == nullptr)
            return false;
        const void* start = context->ResolutionStart();
        if (start == nullptr)
            return false;
        if (!(cache.generation == ResolutionGenerations::Names() && cache.scope == start &&
              cache.definition->CachedNumber(number)) &&
            !context->CachedVariableValue(upperName, cache, number))
            return false;
        usesVariables = 1;
        return true;
    }
    void ClearNodeStack(std::vector<ParseNode*>* stack);
    // Takes the innermost argument frame off into out; false (a grouping error) when there is none.
    bool TakeArgFrame(std::vector<double>& out);

    int error = 0;
    OutcomeCode cause = OutcomeCode::Done;
    // Made with the first error that has arguments (most tasks have none), then kept for reuse.
    std::unique_ptr<zString> errorArg1;
    std::unique_ptr<zString> errorArg2;
    zString name;
    double value = 0.0;
    int parseOnly = 0;
    int usesVariables = 0;
    std::vector<std::vector<double>> argFrames;
    std::vector<ParseNode*>* nodeStack = nullptr;
    std::vector<std::unique_ptr<VariableMemo>> variableMemo;
    // Records of the memo in use by this task; the records after them are kept for reuse.
    size_t memoCount = 0;
    EvalContextBase* context = nullptr;
    CalcState* calcState = nullptr;
};

// Selects the word that starts at `position` (when above 0) in the edit control and gives it the focus
// when its window still exists.
void SelectErrorInEdit(TextField* edit, int position);
