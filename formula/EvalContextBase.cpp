#include "formula/EvalContextBase.h"

#include "foundation/UniformRandom.h"
#include "formula/Distribution.h"
#include "formula/Formula.h"
#include "formula/ParseOnlyContext.h"
#include "formula/TableDirectory.h"
#include "formula/CalcState.h"

#include <memory>

namespace {

const char* const kMessageCaption = "Parser Error";
const int kMessageHelpContext = 30013;

}  // namespace

EvalContextBase::~EvalContextBase()
{
    if (ownsCalcState)
        delete calcState;
}

CalcState* EvalContextBase::GetCalcState()
{
    if (!calcState) {
        calcState = new CalcState;
        ownsCalcState = 1;
    }
    return calcState;
}

int EvalContextBase::VariableCount()
{
    return 0;
}

double EvalContextBase::LinkValue(int)
{
    return 0.0;
}

bool EvalContextBase::CachedVariableValue(const zString&, NameResolutionCache&, double*)
{
    return false;
}

bool EvalContextBase::ResolvedVariableValue(const zString&, NameResolutionCache&, double*)
{
    return false;
}

void EvalContextBase::CheckUndefinedVariable(const zString&, const zString&)
{
}

void EvalContextBase::OfferNewTable(const zString&)
{
}

void EvalContextBase::NoteErrorNode()
{
}

void EvalContextBase::AppendNodePart(zString&, const zString&)
{
}

void EvalContextBase::ReportMessage(OutcomeNotice notice)
{
    notice.caption = kMessageCaption;
    notice.help = kMessageHelpContext;
    ReportOutcome(notice);
}

LookupTable* EvalContextBase::FindTable(const zString& name, TableResolutionCache& cache)
{
    return ::FindTable(name, cache);
}

int EvalContextBase::DistributionValue(int, int, double*, RunFault&)
{
    return 0;
}

int EvalContextBase::DistributionMean(const double* values, int count, double* mean, RunFault& fault)
{
    std::unique_ptr<Distribution> distribution(MakeDistributionFromValues(count, values, &fault));
    if (!distribution)
        return 0;
    *mean = distribution->Mean(&fault);
    return fault ? -1 : 1;
}

void EvalContextBase::SetError(int code, const zString* arg1, const zString* arg2)
{
    if (formula)
        formula->SetError(code, arg1, arg2);
}

bool EvalContextBase::HasError() const
{
    return formula && formula->HasError();
}

double ParseOnlyContext::VariableValue(const zString&)
{
    return StandInRandom();
}
