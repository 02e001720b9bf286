// The built-in functions, their table and the dispatcher of the Formula.

#include "foundation/UniformRandom.h"
#include "formula/BuiltinRegistry.h"
#include "formula/EvalContextBase.h"
#include "formula/Formula.h"
#include "formula/FormulaErrors.h"
#include "formula/FormulaMath.h"
#include "foundation/StringHelpers.h"
#include "formula/CalcState.h"

#include <cfloat>
#include <cmath>

namespace {

const double kZeroTolerance = 1e-10;
const double kPiValue = 3.1415926535;
const double kChooseFractionLimit = 0.0001;

// Annuity factor (1 - (1 + rate)^-periods) / rate, for a rate that is not 0 and not below -1.
double AnnuityFactor(double rate, double periods)
{
    return (1.0 - std::pow(1.0 + rate, -periods)) / rate;
}

// Error `code` with a number as "$1".
double FailWithNumber(const BuiltinCall& call, int code, int number)
{
    zString text;
    AppendInt(text, number);
    call.formula.SetError(code, &text);
    return 0.0;
}

double Exp(const BuiltinCall& call)
{
    double result = 0.0;
    return CheckedExp(call.x, result) ? result : call.Fail(FormulaArgOutOfRange);
}

double Ln(const BuiltinCall& call)
{
    return call.x <= 0.0 ? call.Fail(FormulaNotPositiveArg) : std::log(call.x);
}

double Log(const BuiltinCall& call)
{
    return call.x <= 0.0 ? call.Fail(FormulaNotPositiveArg) : std::log10(call.x);
}

double Sqrt(const BuiltinCall& call)
{
    return call.x < 0.0 ? call.Fail(FormulaNegativeArg) : std::sqrt(call.x);
}

double Root(const BuiltinCall& call)
{
    if (call.x <= 0.0 || call.y <= 0.0)
        return call.Fail(FormulaNegativeArg);
    return std::pow(call.x, 1.0 / call.y);
}

double Abs(const BuiltinCall& call)
{
    return std::fabs(call.x);
}

double Min(const BuiltinCall& call)
{
    if (call.count == 0)
        return call.Fail(FormulaWrongArgCount);
    double result = call.values[0];
    for (int i = 1; i < call.count; ++i)
        result = call.values[i] < result ? call.values[i] : result;
    return result;
}

double Max(const BuiltinCall& call)
{
    if (call.count == 0)
        return call.Fail(FormulaWrongArgCount);
    double result = call.values[0];
    for (int i = 1; i < call.count; ++i)
        result = call.values[i] > result ? call.values[i] : result;
    return result;
}

double Sum(const BuiltinCall& call)
{
    double result = 0.0;
    for (int i = 0; i < call.count; ++i)
        result += call.values[i];
    return result;
}

double Prod(const BuiltinCall& call)
{
    double result = 1.0;
    for (int i = 0; i < call.count; ++i)
        result *= call.values[i];
    return result;
}

double Int(const BuiltinCall& call)
{
    return std::trunc(call.x);
}

double Average(const BuiltinCall& call)
{
    if (call.count == 0)
        return call.Fail(FormulaWrongArgCount);
    return Sum(call) / call.count;
}

double Round(const BuiltinCall& call)
{
    return std::trunc(call.x + 0.5);
}

double Floor(const BuiltinCall& call)
{
    return std::floor(call.x);
}

double Ceiling(const BuiltinCall& call)
{
    return std::ceil(call.x);
}

double Pi(const BuiltinCall&)
{
    return kPiValue;
}

double Inf(const BuiltinCall&)
{
    return DBL_MAX;
}

// The population form: divided by n, not n - 1.
double Stdev(const BuiltinCall& call)
{
    if (call.count < 2)
        return call.Fail(FormulaWrongArgCount);
    double mean = Sum(call) / call.count;
    double squares = 0.0;
    for (int i = 0; i < call.count; ++i)
        squares += (call.values[i] - mean) * (call.values[i] - mean);
    return std::sqrt(squares / call.count);
}

double If(const BuiltinCall& call)
{
    return std::fabs(call.x) >= kZeroTolerance ? call.y : call.z;
}

// (rate; periods)
double Annuity(const BuiltinCall& call)
{
    if (call.y < 0.0)
        return call.Fail(FormulaArgOutOfRange);
    if (call.x == 0.0)
        return call.y;
    if (call.x < -1.0)
        return call.Fail(FormulaArgOutOfRange);
    if (call.x == -1.0)
        return call.y == 0.0 ? -1.0 : DBL_MAX;
    return AnnuityFactor(call.x, call.y);
}

// (rate; periods)
double Compound(const BuiltinCall& call)
{
    if (call.x == 0.0 && call.y == DBL_MAX)
        return call.Fail(FormulaArgOutOfRange);
    if (call.x == -1.0) {
        if (call.y < 0.0)
            return DBL_MAX;
        return call.y == 0.0 ? call.Fail(FormulaArgOutOfRange) : 0.0;
    }
    return std::pow(1.0 + call.x, call.y);
}

// (payment; present value; rate; payments)
double FV(const BuiltinCall& call)
{
    double payments = call.values[3];
    double growth = 0.0;
    if (!CheckedPow(1.0 + call.z, payments, growth))
        return call.Fail(FormulaArgOutOfRange);
    if (call.z == 0.0)
        return call.y + call.x * payments;
    return call.y * growth + call.x * (growth - 1.0) / call.z;
}

// (rate; flows...)
double NPV(const BuiltinCall& call)
{
    if (call.count < 2)
        return call.Fail(FormulaWrongArgCount);
    double result = 0.0;
    for (int k = 1; k < call.count; ++k)
        result += call.values[k] / std::pow(1.0 + call.x, k);
    return result;
}

// (principal; rate; term)
double PMT(const BuiltinCall& call)
{
    if (call.y <= -1.0 || call.z == 0.0)
        return call.Fail(FormulaArgOutOfRange);
    if (call.y == 0.0)
        return call.x / call.z;
    return call.x * call.y / (1.0 - std::pow(1.0 + call.y, -call.z));
}

// (payment; future value; rate; payments)
double PV(const BuiltinCall& call)
{
    double payments = call.values[3];
    if (call.z <= -1.0)
        return call.Fail(FormulaArgOutOfRange);
    double growth = 0.0;
    double discount = 0.0;
    if (!CheckedPow(1.0 + call.z, payments, growth) || !CheckedPow(1.0 + call.z, -payments, discount))
        return call.Fail(FormulaArgOutOfRange);
    if (call.z == 0.0)
        return call.y + call.x * payments;
    return call.y / growth + call.x * (1.0 - discount) / call.z;
}

// The mean of a distribution made from (type; variant; parameters...).
double Dist(const BuiltinCall& call)
{
    EvalContextBase* context = call.formula.Context();
    double result = 0.0;
    RunFault fault;
    int outcome = context ? context->DistributionMean(call.values, call.count, &result, fault) : 0;
    call.formula.SetFailureCause(fault);
    if (outcome == 0)
        return call.Fail(FormulaBadDistDescription);
    if (outcome < 0) {
        call.formula.SetError(FormulaSilentError);
        return 0.0;
    }
    return result;
}

double Sub(const BuiltinCall& call)
{
    EvalContextBase* context = call.formula.Context();
    return context ? context->LinkValue(TruncateToInt32(call.x)) : 0.0;
}

double ReservedTable(const BuiltinCall&)
{
    return 0.0;
}

// (rate; time)
double DEALE(const BuiltinCall& call)
{
    if (std::fabs(call.x) < kZeroTolerance)
        return call.Fail(FormulaNotPositiveArg);
    double result = 0.0;
    if (!CheckedExp(-call.x * call.y, result))
        return call.Fail(FormulaArgOutOfRange);
    return (1.0 - result) / call.x;
}

// (rate; time)
double RateToProb(const BuiltinCall& call)
{
    double result = 0.0;
    if (!CheckedExp(-call.x * call.y, result))
        return call.Fail(FormulaArgOutOfRange);
    return 1.0 - result;
}

// (utility; rate; time)
double UtilDiscount(const BuiltinCall& call)
{
    if (std::fabs(call.y + 1.0) < kZeroTolerance) {
        if (call.z < 0.0)
            return DBL_MAX;
        if (std::fabs(call.z) < kZeroTolerance)
            return call.Fail(FormulaArgOutOfRange);
        return 0.0;
    }
    return call.x / std::pow(1.0 + call.y, call.z);
}

// (index; items...)
double Choose(const BuiltinCall& call)
{
    if (call.count < 2)
        return call.Fail(FormulaWrongArgCount);
    double k = std::trunc(call.x);
    if (!(k >= 1.0) || k >= call.count || std::fmod(call.x, 1.0) > kChooseFractionLimit) {
        call.formula.SetError(FormulaBadChooseIndex);
        return 0.0;
    }
    return call.values[static_cast<int>(k)];
}

// The document's distribution number n: its current sample during Monte Carlo trials, else its expected value.
double DistSamp(const BuiltinCall& call)
{
    int number = TruncateToInt32(call.x);
    const CalcState* state = call.formula.GetCalcState();
    int resample = state ? state->resample : 0;
    EvalContextBase* context = call.formula.Context();
    double result = 0.0;
    RunFault fault;
    int outcome = context ? context->DistributionValue(number, resample, &result, fault) : 0;
    call.formula.SetFailureCause(fault);
    if (outcome == 0)
        return FailWithNumber(call, FormulaUndefinedDistribution, number);
    if (outcome < 0)
        return FailWithNumber(call, FormulaInvalidDistribution, number);
    return result;
}

// (probability; time)
double ProbToRate(const BuiltinCall& call)
{
    if (call.x >= 1.0)
        return call.Fail(FormulaArgOutOfRange);
    if (std::fabs(call.y) < kZeroTolerance)
        return call.Fail(FormulaDivisionByZero);
    double result = -std::log(1.0 - call.x) / call.y;
    return std::isinf(result) ? call.Fail(FormulaArgOutOfRange) : result;
}

// (x; y) as 32-bit integers; the remainder takes the sign of x.
double Modulo(const BuiltinCall& call)
{
    int32_t dividend = TruncateToInt32(call.x);
    int32_t divisor = TruncateToInt32(call.y);
    if (divisor == 0)
        return call.Fail(FormulaArgOutOfRange);
    if (divisor == -1)
        return 0.0;
    return dividend % divisor;
}

double OddsToProb(const BuiltinCall& call)
{
    return call.x <= 0.0 ? call.Fail(FormulaNotPositiveArg) : call.x / (1.0 + call.x);
}

double ProbToOdds(const BuiltinCall& call)
{
    return call.x < 0.0 || call.x > 1.0 ? call.Fail(FormulaArgOutOfRange) : call.x / (1.0 - call.x);
}

// (probability; factor)
double ProbFactor(const BuiltinCall& call)
{
    if (call.x < 0.0 || call.x > 1.0)
        return call.Fail(FormulaArgOutOfRange);
    // A certain event has infinite odds, which stay infinite under any nonzero factor: the limit 1 (0 for a
    // zero factor) instead of infinity over infinity.
    if (call.x == 1.0)
        return call.y == 0.0 ? 0.0 : 1.0;
    double odds = call.y * call.x / (1.0 - call.x);
    return odds / (1.0 + odds);
}

double Logit(const BuiltinCall& call)
{
    int32_t kind = TruncateToInt32(call.x);
    return kind == 0 || kind == 1 ? 0.0 : call.Fail(FormulaArgOutOfRange);
}

}  // namespace

const BuiltinFunctionRecord kBuiltinFunctions[BuiltinFunctionCount] = {
    {"Exp", 1, Exp},
    {"Ln", 1, Ln},
    {"Log", 1, Log},
    {"Sqrt", 1, Sqrt},
    {"Root", 2, Root},
    {"Abs", 1, Abs},
    {"Min", kAnyArgCount, Min},
    {"Max", kAnyArgCount, Max},
    {"Sum", kAnyArgCount, Sum},
    {"Prod", kAnyArgCount, Prod},
    {"Int", 1, Int},
    {"Average", kAnyArgCount, Average},
    {"Round", 1, Round},
    {"Floor", 1, Floor},
    {"Ceiling", 1, Ceiling},
    {"Pi", 0, Pi},
    {"Inf", 0, Inf},
    {"Stdev", kAnyArgCount, Stdev},
    {"If", 3, If},
    {"Annuity", 2, Annuity},
    {"Compound", 2, Compound},
    {"FV", 4, FV},
    {"NPV", kAnyArgCount, NPV},
    {"PMT", 3, PMT},
    {"PV", 4, PV},
    {"Dist", kAnyArgCount, Dist},
    {"Sub", 1, Sub},
    {"zzzzzTable", kAnyArgCount, ReservedTable},
    {"DEALE", 2, DEALE},
    {"RateToProb", 2, RateToProb},
    {"UtilDiscount", 3, UtilDiscount},
    {"Choose", kAnyArgCount, Choose},
    {"DistSamp", 1, DistSamp},
    {"ProbToRate", 2, ProbToRate},
    {"Modulo", 2, Modulo},
    {"OddsToProb", 1, OddsToProb},
    {"ProbToOdds", 1, ProbToOdds},
    {"ProbFactor", 2, ProbFactor},
    {"Logit", 3, Logit},
};

double BuiltinCall::Fail(int code) const
{
    formula.SetErrorForFunction(code, index);
    return 0.0;
}

double Formula::CallBuiltinFunction(const zString& functionName, int index, int count, const double* values)
{
    if (index == -1)
        index = FindBuiltinFunction(functionName);
    if (index < 0 || index >= BuiltinFunctionCount) {
        SetError(FormulaUnknownFunction, &functionName);
        return 0.0;
    }
    const BuiltinFunctionRecord& function = kBuiltinFunctions[index];
    if (function.argCount != kAnyArgCount && function.argCount != count)
        SetErrorForFunction(FormulaWrongArgCount, index);
    if (parseOnly)
        return StandInRandom();
    if (error)
        return 0.0;
    const BuiltinCall call{*this, index, count, values, count > 0 ? values[0] : 0.0, count > 1 ? values[1] : 0.0,
                           count > 2 ? values[2] : 0.0};
    return function.compute(call);
}

double Formula::CallBuiltinFunction(int index, int count, const double* values)
{
    static const zString noName;
    return CallBuiltinFunction(noName, index, count, values);
}
