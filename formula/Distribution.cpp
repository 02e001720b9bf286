#include "formula/Distribution.h"

#include "foundation/UniformRandom.h"
#include "formula/RunOutcome.h"
#include "formula/BuiltinRegistry.h"
#include "formula/FormulaMath.h"
#include "foundation/NumericFormatting.h"
#include "foundation/StringHelpers.h"

#include <cmath>

namespace {

bool IsWhole(double value) { return static_cast<double>(TruncateToInt32(value)) == value; }

const char* CheckWords(int32_t code)
{
    switch (code) {
    case CheckInteger:
        return "an integer";
    case CheckNonZeroInteger:
        return "a non-zero integer";
    case CheckPositiveInteger:
        return "a positive integer";
    case CheckGreaterThanZero:
        return "greater than zero";
    case CheckGreaterThanOne:
        return "greater than one";
    case CheckZeroToOne:
        return "between zero and one";
    case CheckZeroToMaximum:
        return "between zero and ";
    default:
        return "";
    }
}

}  // namespace

Distribution::Distribution(const DistributionTypeInfo& info) : info(info)
{
    for (int i = 0; i < info.parameterCount; ++i) {
        if (!std::isnan(info.defaults[i]))
            parameters[i].SetNumber(info.defaults[i]);
    }
}

void Distribution::SetParameters(const Expression* values)
{
    constantsChecked = 0;
    for (int i = 0; i < ParameterCount(); ++i)
        parameters[i].Assign(values[i + 1]);
}

Expression* Distribution::Parameter(int i)
{
    constantsChecked = 0;
    return i >= 0 && i < ParameterCount() ? &parameters[i] : nullptr;
}

const char* Distribution::ParameterLabel(int i) const
{
    return i >= 0 && i < info.parameterCount ? info.labels[i] : "";
}

int32_t Distribution::ParameterCheck(int i) const
{
    return i >= 0 && i < info.parameterCount ? info.checks[i] : CheckNone;
}

int32_t Distribution::ParameterOrder(int i) const
{
    return i >= 0 && i < info.parameterCount ? info.orders[i] : OrderEnd;
}

void Distribution::PlainLabel(int i, zString& out) const
{
    out.Clear();
    for (const char* p = ParameterLabel(i); *p; ++p) {
        if (*p != '&' && *p != ':')
            out += *p;
    }
}

Distribution* Distribution::Clone() const
{
    Distribution* copy = MakeDistribution(TypeCode());
    if (!copy)
        return nullptr;
    copy->owner = owner;
    Expression values[kMaxParameters + 1];
    values[0].SetNumber(Variant());
    for (int i = 0; i < info.parameterCount; ++i)
        values[i + 1].Assign(parameters[i]);
    copy->SetParameters(values);
    return copy;
}

int Distribution::CheckParameterValue(int i, double value, int32_t code, RunFault* fault)
{
    bool ok = true;
    switch (code) {
    case CheckInteger:
        ok = IsWhole(value);
        break;
    case CheckNonZeroInteger:
        ok = IsWhole(value) && std::fabs(value) >= 1e-10;
        break;
    case CheckPositiveInteger:
        ok = IsWhole(value) && value > 0.0;
        break;
    case CheckGreaterThanZero:
        ok = value > 0.0;
        break;
    case CheckGreaterThanOne:
        ok = !(value < 1.0);
        break;
    case CheckZeroToOne:
        ok = !(value < 0.0 || value > 1.0);
        break;
    case CheckZeroToMaximum:
        ok = !(value < 0.0 || value > ParameterMaximum(i));
        break;
    default:
        break;
    }
    if (ok)
        return 1;
    zString label;
    PlainLabel(i, label);
    zString maximum;
    if (code == CheckZeroToMaximum)
        AppendFormattedNumber(maximum, ParameterMaximum(i), -9);
    zString message("Invalid parameter ($2) in $1 distribution: must be $3$4.");
    SubstituteArgs(message, Name(), label.Text(), CheckWords(code), maximum.Text());
    ReportFailure(OutcomeCode::DistributionParameterInvalid, nullptr, nullptr, message.Text(), -1);
    if (fault)
        fault->Set(OutcomeCode::DistributionParameterInvalid);
    return 0;
}

int Distribution::CheckParametersNow(RunFault* fault)
{
    RunFault localFault;
    RunFault* flag = fault ? fault : &localFault;
    const int count = ParameterCount();
    bool allConstant = true;
    for (int i = 0; i < count; ++i) {
        const double value = EvaluateParameter(parameters[i], i, flag);
        allConstant = allConstant && IsConstantTree(parameters[i].GetParseTree());
        if (*flag)
            return 0;
        if (!CheckParameterValue(i, value, ParameterCheck(i), flag))
            return 0;
    }
    for (int i = 0; i < count && ParameterOrder(i) != OrderEnd; ++i) {
        const int32_t order = ParameterOrder(i);
        if (i == 0 || order == OrderAny)
            continue;
        const bool smaller = order == OrderSmaller;
        const bool violated = smaller ? !(cached[i] < cached[i - 1]) : !(cached[i] > cached[i - 1]);
        if (!violated)
            continue;
        flag->Set(OutcomeCode::DistributionParameterInvalid);
        zString label;
        PlainLabel(i, label);
        zString message("Invalid parameter ($2) in $1 distribution: must be $3$4.");
        SubstituteArgs(message, Name(), label.Text(), smaller ? "smaller than the other" : "greater than the other",
                       "");
        ReportFailure(OutcomeCode::DistributionParameterInvalid, nullptr, nullptr, message.Text(), -1);
        return 0;
    }
    constantsChecked = allConstant ? 1 : 0;
    checkedVariant = Variant();
    return 1;
}

void Distribution::RangeAroundMean(double& lo, double& hi, RunFault* fault, double kLow, double kHigh)
{
    if (!CheckDistributionParameter(fault))
        return;
    CacheScope scope(*this);
    if (kHigh < 0.0)
        kHigh = kLow;
    const double mean = Mean(fault);
    const double spread = StdDev(fault);
    lo = mean - kLow * spread;
    hi = mean + kHigh * spread;
}

double Distribution::QuantileFrom(double from, double target, RunFault* fault)
{
    if (!CheckDistributionParameter(fault))
        return 0.0;
    double lo = 0.0;
    double hi = 0.0;
    Range(lo, hi, fault);
    return InverseCdf((hi - lo) / 1000.0, from, hi, target, fault);
}

double Distribution::IntervalProbability(int n, double a, double b, RunFault* fault)
{
    return Checked(fault, [&] {
        RunFault localFault;
        RunFault* flag = fault ? fault : &localFault;
        if (IsDiscrete()) {
            double sum = 0.0;
            const int32_t last = TruncateToInt32(b);
            for (int32_t k = TruncateToInt32(a); k <= last; ++k) {
                sum += Density(k, flag);
                if (*flag)
                    return 0.0;
            }
            return sum;
        }
        if (n < 1)
            n = 20;
        if (n % 2)
            ++n;
        const double h = (b - a) / n;
        double sum = Density(a, flag);
        if (*flag)
            return 0.0;
        sum += Density(b, flag);
        const int half = n / 2;
        for (int i = 1; i < half; ++i) {
            const double weight = i % 2 ? 4.0 : 2.0;
            sum += weight * (Density(a + i * h, flag) + Density(b - i * h, flag));
        }
        sum += (half % 2 ? 4.0 : 2.0) * Density(a + half * h, flag);
        return sum * h / 3.0;
    });
}

double Distribution::InverseCdf(double step, double from, double to, double target, RunFault* fault)
{
    return Checked(fault, [&] {
        if (IsDiscrete()) {
            int32_t k = TruncateToInt32(from);
            const int32_t last = TruncateToInt32(to);
            double sum = Density(k, fault);
            while (sum < target && k < last) {
                ++k;
                sum += Density(k, fault);
            }
            return static_cast<double>(k);
        }
        double x = from + step;
        double previous = Density(from, fault);
        double current = Density(x, fault);
        double area = (previous + current) * step / 2.0;
        double best = 1.1;
        while (x < to) {
            // A step too small to move x (or not forward at all) would never reach the end.
            const double next = x + step;
            if (!(next > x))
                break;
            x = next;
            previous = current;
            current = Density(x, fault);
            area += (previous + current) * step / 2.0;
            const double distance = std::fabs(area - target);
            if (distance > best)
                break;
            best = distance;
        }
        return x - step;
    });
}

double Distribution::SampleByInversion(RunFault* fault)
{
    return Checked(fault, [&] {
        RunFault localFault;
        RunFault* flag = fault ? fault : &localFault;
        const double u = UniformRandom(0.0, 1.0);
        double lo = 0.0;
        double hi = 0.0;
        Range(lo, hi, flag);
        if (*flag)
            return 0.0;
        const double x = InverseCdf((hi - lo) / 1000.0, lo, hi, u, flag);
        return *flag ? 0.0 : x;
    });
}

void Distribution::FormatText(zString& out, bool asFormula)
{
    out.Clear();
    const int count = ParameterCount();
    if (!asFormula) {
        out = Name();
        zString label;
        for (int i = 0; i < count; ++i) {
            PlainLabel(i, label);
            out += "; ";
            out += label;
            out += " = ";
            out += parameters[i].Text();
        }
        return;
    }
    zString keyword;
    GetDistributionKeyword(TypeCode(), keyword);
    out = "Dist(";
    // Types without a keyword are named by their code, so that the text reads back as the same call.
    if (keyword.IsEmpty())
        AppendFormattedNumber(out, TypeCode(), -9);
    else
        out += keyword;
    out += "; ";
    AppendFormattedNumber(out, Variant(), -9);
    for (int i = 0; i < count; ++i) {
        out += "; ";
        out += parameters[i].Text();
    }
    out += ")";
}

Distribution* MakeDistributionFromValues(int count, const double* values, RunFault* fault)
{
    Distribution* distribution = count >= 1 ? MakeDistribution(TruncateToInt32(values[0])) : nullptr;
    if (!distribution || count - 2 != distribution->ParameterCount()) {
        delete distribution;
        if (fault)
            fault->Set(OutcomeCode::DistributionDescriptionInvalid);
        return nullptr;
    }
    Expression constants[Distribution::kMaxParameters + 1];
    for (int i = 1; i < count; ++i)
        constants[i - 1].SetNumber(values[i]);
    distribution->SetParameters(constants);
    return distribution;
}
