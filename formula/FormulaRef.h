#pragma once
// The handle through which all code evaluates expressions and formula texts and reports their errors.
// It owns its Formula, which owns the context given to it. Usual order: make a context, a FormulaRef on
// it with the formula's role ("probability", "payoff"...), evaluate, test HasError, ShowError if wanted.

#include <windows.h>

class EvalContextBase;
class TextField;
class Expression;
class Formula;
enum class OutcomeCode : int;

class FormulaRef {
public:
    // mode 1 evaluates, mode 0 only checks; a null or empty name gives "given text". Takes the context.
    FormulaRef(EvalContextBase* context, int mode, const char* name);
    FormulaRef(const FormulaRef&) = delete;
    FormulaRef& operator=(const FormulaRef&) = delete;
    ~FormulaRef();

    // A new task with a new context (the old one is deleted), mode and name; the error is cleared.
    void Reset(EvalContextBase* context, int mode, const char* name);

    // Evaluates the expression, caching its parse tree when parsing succeeds. The value comes back even
    // after an error; callers test HasError.
    double Evaluate(Expression& expression);
    // Parses and evaluates the text once, keeping no tree.
    double EvaluateText(const char* text);

    bool HasError() const;
    int ErrorCode() const;
    // Done, or why the formula failed: FormulaFailed, or the code of a distribution it asked for.
    OutcomeCode FailureCode() const;
    // The last evaluation referred to a variable or table.
    bool UsesVariables() const;
    // Positions of errors in the text are not tracked: always 0.
    int ErrorPosition() const { return 0; }
    // Reports the error message, if any (with the failing node for the program to select when selectNode is
    // set), and gives the focus to `edit` when one is given. 1 when there was an error (shown or not), 0 when there was none.
    int ShowError(TextField* edit, int selectNode);

    Formula& GetFormula() const { return *formula; }

private:
    Formula* formula;
};
