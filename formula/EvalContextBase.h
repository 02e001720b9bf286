#pragma once
// What a formula needs from where it stands: variable values, links, distributions, tables, the
// calculation state, and the wording and reporting of its error messages. The base answers for a formula
// that stands nowhere; the tree-bound context answers at a node of a tree window.

#include "formula/RunOutcome.h"
#include "foundation/zString.h"

class CalcState;
class Formula;
class LookupTable;
struct TableResolutionCache;
struct NameResolutionCache;

class EvalContextBase {
public:
    EvalContextBase() = default;
    EvalContextBase(const EvalContextBase&) = delete;
    EvalContextBase& operator=(const EvalContextBase&) = delete;
    // Deletes the calculation state when the context made it.
    virtual ~EvalContextBase();

    // The calculation state; the base makes a zeroed one on first use and owns it.
    virtual CalcState* GetCalcState();
    // The number of document variables; 0 in the base.
    virtual int VariableCount();
    // The value of a variable that is not a keyword.
    virtual double VariableValue(const zString& upperName) = 0;
    // A shortcut for a name whose binding is remembered in `cache` (filled here when it can be): true with
    // the value when it gives exactly what the check and VariableValue would; false to take the full path.
    // The base has no shortcut. Asked only while ResolutionStart() is set, as is ResolvedVariableValue.
    virtual bool CachedVariableValue(const zString& upperName, NameResolutionCache& cache, double* value);
    // The same for a name bound to any definition, which is evaluated (or taken from the task's memo) as
    // VariableValue would, without the check and the search for the binding. False, with nothing done, when
    // the cache does not answer for the name here; the base never answers.
    virtual bool ResolvedVariableValue(const zString& upperName, NameResolutionCache& cache, double* value);
    // The value of document link number n; 0.0 in the base.
    virtual double LinkValue(int n);
    // Asked before a variable is looked up; may set error 24 or offer to create the variable.
    virtual void CheckUndefinedVariable(const zString& name, const zString& upperName);
    // Asked when a table is missing; may create it.
    virtual void OfferNewTable(const zString& name);
    // Notes the node at which an error arose, for the message and the selection.
    virtual void NoteErrorNode();
    // Appends the part of a message that names the node; nothing in the base.
    virtual void AppendNodePart(zString& message, const zString& formulaName);
    // Reports a formula's failure (an error box captioned "Parser Error", help context 30013); the
    // tree-bound context adds the node concerned.
    virtual void ReportMessage(OutcomeNotice notice);

    // The lookup table of that name regardless of case (the base asks the tables registry through the
    // cache), or null.
    virtual LookupTable* FindTable(const zString& name, TableResolutionCache& cache);
    // The document's distribution number n for DistSamp: its current sample when `resample` is set, else
    // its expected value. Returns 1 with the value, 0 when there is no such distribution, -1 (why in
    // fault) when the distribution cannot give a value.
    virtual int DistributionValue(int n, int resample, double* value, RunFault& fault);
    // The mean of the distribution that Dist describes (type, variant, parameters). Returns 1 with the
    // mean, 0 when the values describe no distribution, -1 when the mean cannot be computed; fault says
    // why.
    virtual int DistributionMean(const double* values, int count, double* mean, RunFault& fault);

    // Errors set from outside the formula (the spreadsheet links) go to the owning formula.
    void SetError(int code, const zString* arg1 = nullptr, const zString* arg2 = nullptr);
    bool HasError() const;

    // Set by Formula::Init.
    void SetFormula(Formula* owner) { formula = owner; }
    Formula* GetFormula() const { return formula; }
    // The node from which names now resolve when a name's cache filled by CachedVariableValue may answer
    // for it without asking the context; null while none may (the base, or a definition being evaluated).
    const void* ResolutionStart() const { return resolutionStart; }

protected:
    const void* resolutionStart = nullptr;
    Formula* formula = nullptr;
    CalcState* calcState = nullptr;
    int ownsCalcState = 0;
};
