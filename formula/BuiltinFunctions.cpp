// The built-in function dispatcher of the Formula and the functions themselves.

#include "foundation/UniformRandom.h"
#include "formula/BuiltinRegistry.h"
#include "formula/EvalContextBase.h"
#include "formula/Formula.h"
#include "formula/FormulaErrors.h"
#include "formula/FormulaMath.h"
#include "foundation/StringHelpers.h"
#include "model/CalcState.h"

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

}  // namespace

double Formula::CallBuiltinFunction(const zString& functionName, int index, int count, const double* values)
{
    if (index == -1)
        index = FindBuiltinFunction(functionName);
    if (index < 0 || index >= BuiltinFunctionCount) {
        SetError(FormulaUnknownFunction, &functionName);
        return 0.0;
    }
    int expected = GetBuiltinArgCount(index);
    if (expected != kAnyArgCount && expected != count)
        SetErrorForFunction(FormulaWrongArgCount, index);
    if (parseOnly)
        return UniformRandom(0.0, 1.0);
    if (error)
        return 0.0;
    return ComputeBuiltin(index, count, values);
}

double Formula::ComputeBuiltin(int index, int count, const double* values)
{
    auto fail = [this, index](int code) {
        SetErrorForFunction(code, index);
        return 0.0;
    };
    auto failWithNumber = [this](int code, int number) {
        zString text;
        AppendInt(text, number);
        SetError(code, &text);
        return 0.0;
    };
    const double x = count > 0 ? values[0] : 0.0;
    const double y = count > 1 ? values[1] : 0.0;
    const double z = count > 2 ? values[2] : 0.0;
    double result = 0.0;

    switch (index) {
    case BuiltinExp:
        return CheckedExp(x, result) ? result : fail(FormulaArgOutOfRange);
    case BuiltinLn:
        return x <= 0.0 ? fail(FormulaNotPositiveArg) : std::log(x);
    case BuiltinLog:
        return x <= 0.0 ? fail(FormulaNotPositiveArg) : std::log10(x);
    case BuiltinSqrt:
        return x < 0.0 ? fail(FormulaNegativeArg) : std::sqrt(x);
    case BuiltinRoot:
        if (x <= 0.0 || y <= 0.0)
            return fail(FormulaNegativeArg);
        return std::pow(x, 1.0 / y);
    case BuiltinAbs:
        return std::fabs(x);
    case BuiltinMin:
    case BuiltinMax: {
        if (count == 0)
            return fail(FormulaWrongArgCount);
        result = values[0];
        for (int i = 1; i < count; ++i) {
            if (index == BuiltinMin ? values[i] < result : values[i] > result)
                result = values[i];
        }
        return result;
    }
    case BuiltinSum:
    case BuiltinAverage: {
        if (index == BuiltinAverage && count == 0)
            return fail(FormulaWrongArgCount);
        for (int i = 0; i < count; ++i)
            result += values[i];
        return index == BuiltinAverage ? result / count : result;
    }
    case BuiltinProd:
        result = 1.0;
        for (int i = 0; i < count; ++i)
            result *= values[i];
        return result;
    case BuiltinInt:
        return std::trunc(x);
    case BuiltinRound:
        return std::trunc(x + 0.5);
    case BuiltinFloor:
        return std::floor(x);
    case BuiltinCeiling:
        return std::ceil(x);
    case BuiltinPi:
        return kPiValue;
    case BuiltinInf:
        return DBL_MAX;
    case BuiltinStdev: {
        if (count < 2)
            return fail(FormulaWrongArgCount);
        double mean = 0.0;
        for (int i = 0; i < count; ++i)
            mean += values[i];
        mean /= count;
        double squares = 0.0;
        for (int i = 0; i < count; ++i)
            squares += (values[i] - mean) * (values[i] - mean);
        return std::sqrt(squares / count);
    }
    case BuiltinIf:
        return std::fabs(x) >= kZeroTolerance ? y : z;
    case BuiltinAnnuity:  // (rate; periods)
        if (y < 0.0)
            return fail(FormulaArgOutOfRange);
        if (x == 0.0)
            return y;
        if (x < -1.0)
            return fail(FormulaArgOutOfRange);
        if (x == -1.0)
            return y == 0.0 ? -1.0 : DBL_MAX;
        return AnnuityFactor(x, y);
    case BuiltinCompound:  // (rate; periods)
        if (x == 0.0 && y == DBL_MAX)
            return fail(FormulaArgOutOfRange);
        if (x == -1.0) {
            if (y < 0.0)
                return DBL_MAX;
            return y == 0.0 ? fail(FormulaArgOutOfRange) : 0.0;
        }
        return std::pow(1.0 + x, y);
    case BuiltinFV: {  // (payment; present value; rate; payments)
        double w = values[3];
        double growth = 0.0;
        if (!CheckedPow(1.0 + z, w, growth))
            return fail(FormulaArgOutOfRange);
        if (z == 0.0)
            return y + x * w;
        return y * growth + x * (growth - 1.0) / z;
    }
    case BuiltinNPV:  // (rate; flows...)
        if (count < 2)
            return fail(FormulaWrongArgCount);
        for (int k = 1; k < count; ++k)
            result += values[k] / std::pow(1.0 + x, k);
        return result;
    case BuiltinPMT:  // (principal; rate; term)
        if (y <= -1.0 || z == 0.0)
            return fail(FormulaArgOutOfRange);
        if (y == 0.0)
            return x / z;
        return x * y / (1.0 - std::pow(1.0 + y, -z));
    case BuiltinPV: {  // (payment; future value; rate; payments)
        double w = values[3];
        if (z <= -1.0)
            return fail(FormulaArgOutOfRange);
        double growth = 0.0;
        double discount = 0.0;
        if (!CheckedPow(1.0 + z, w, growth) || !CheckedPow(1.0 + z, -w, discount))
            return fail(FormulaArgOutOfRange);
        if (z == 0.0)
            return y + x * w;
        return y / growth + x * (1.0 - discount) / z;
    }
    case BuiltinDist: {
        int outcome = context ? context->DistributionMean(values, count, &result) : 0;
        if (outcome == 0)
            return fail(FormulaBadDistDescription);
        if (outcome < 0) {
            SetError(FormulaSilentError);
            return 0.0;
        }
        return result;
    }
    case BuiltinSub:
        return context ? context->LinkValue(TruncateToInt32(x)) : 0.0;
    case BuiltinReservedTable:
        return 0.0;
    case BuiltinDEALE:  // (rate; time)
        if (std::fabs(x) < kZeroTolerance)
            return fail(FormulaNotPositiveArg);
        if (!CheckedExp(-x * y, result))
            return fail(FormulaArgOutOfRange);
        return (1.0 - result) / x;
    case BuiltinRateToProb:  // (rate; time)
        if (!CheckedExp(-x * y, result))
            return fail(FormulaArgOutOfRange);
        return 1.0 - result;
    case BuiltinUtilDiscount:  // (utility; rate; time)
        if (std::fabs(y + 1.0) < kZeroTolerance) {
            if (z < 0.0)
                return DBL_MAX;
            if (std::fabs(z) < kZeroTolerance)
                return fail(FormulaArgOutOfRange);
            return 0.0;
        }
        return x / std::pow(1.0 + y, z);
    case BuiltinChoose: {  // (index; items...)
        if (count < 2)
            return fail(FormulaWrongArgCount);
        double k = std::trunc(x);
        if (!(k >= 1.0) || k >= count || std::fmod(x, 1.0) > kChooseFractionLimit) {
            SetError(FormulaBadChooseIndex);
            return 0.0;
        }
        return values[static_cast<int>(k)];
    }
    case BuiltinDistSamp: {
        int number = TruncateToInt32(x);
        int resample = calcState ? calcState->resample : 0;
        int outcome = context ? context->DistributionValue(number, resample, &result) : 0;
        if (outcome == 0)
            return failWithNumber(FormulaUndefinedDistribution, number);
        if (outcome < 0)
            return failWithNumber(FormulaInvalidDistribution, number);
        return result;
    }
    case BuiltinProbToRate:  // (probability; time)
        if (x >= 1.0)
            return fail(FormulaArgOutOfRange);
        if (std::fabs(y) < kZeroTolerance)
            return fail(FormulaDivisionByZero);
        result = -std::log(1.0 - x) / y;
        return std::isinf(result) ? fail(FormulaArgOutOfRange) : result;
    case BuiltinModulo: {  // (x; y) as 32-bit integers; the remainder takes the sign of x
        int32_t dividend = TruncateToInt32(x);
        int32_t divisor = TruncateToInt32(y);
        if (divisor == 0)
            return fail(FormulaArgOutOfRange);
        if (divisor == -1)
            return 0.0;
        return dividend % divisor;
    }
    case BuiltinOddsToProb:
        return x <= 0.0 ? fail(FormulaNotPositiveArg) : x / (1.0 + x);
    case BuiltinProbToOdds:
        return x < 0.0 || x > 1.0 ? fail(FormulaArgOutOfRange) : x / (1.0 - x);
    case BuiltinProbFactor: {  // (probability; factor)
        if (x < 0.0 || x > 1.0)
            return fail(FormulaArgOutOfRange);
        // A certain event has infinite odds, which stay infinite under any nonzero factor: the limit 1
        // (0 for a zero factor) instead of infinity over infinity.
        if (x == 1.0)
            return y == 0.0 ? 0.0 : 1.0;
        double odds = y * x / (1.0 - x);
        return odds / (1.0 + odds);
    }
    case BuiltinLogit: {
        int32_t kind = TruncateToInt32(x);
        return kind == 0 || kind == 1 ? 0.0 : fail(FormulaArgOutOfRange);
    }
    default:
        return 0.0;
    }
}
