#pragma once
// The document that formulas belong to, as the formula language sees it: a distribution's parameter
// formulas are evaluated in a context that the document owning the distribution makes.

class EvalContextBase;

class FormulaDocument {
public:
    virtual ~FormulaDocument() = default;
    // A new context at the document's root for a distribution's parameter formulas, naming no node in its
    // messages; the caller hands it to a FormulaRef, which owns it.
    virtual EvalContextBase* NewParameterContext() = 0;
};
