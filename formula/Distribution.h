#pragma once
// A probability distribution of one of nineteen types whose parameters are formulas. The base evaluates and
// checks the parameters, caches their values for one numerical operation, and gives every type the
// numerical defaults: interval probability by Simpson's rule, inversion of the distribution function and
// sampling by inversion. The types (DistributionTypes*.cpp) describe themselves by a DistributionTypeInfo
// and override what they compute.

#include "formula/Expression.h"
#include "foundation/zString.h"

#include <cstdint>

class Archive;
class FormulaDocument;
class RunFault;

// Check codes of a parameter's value.
enum ParameterCheckCode : int32_t {
    CheckNone = 0,
    CheckNothing = 1,
    CheckInteger = 2,
    CheckNonZeroInteger = 3,
    CheckPositiveInteger = 4,
    CheckGreaterThanZero = 5,
    CheckGreaterThanOne = 6,
    CheckZeroToOne = 7,
    CheckZeroToMaximum = 8,
};

// Order codes: how a parameter's value compares with the previous parameter's.
enum ParameterOrderCode : int32_t { OrderEnd = 0, OrderAny = 1, OrderSmaller = 2, OrderGreater = 3 };

// What a type says about itself.
struct DistributionTypeInfo {
    int32_t typeCode;
    const char* name;
    int parameterCount;
    const char* labels[3];
    double defaults[3];
    int32_t checks[3];
    int32_t orders[3];
    double scaleHint;
};

class Distribution {
public:
    static constexpr int kMaxParameters = 3;
    static constexpr int kCachedSlots = 4;

    Distribution(const Distribution&) = delete;
    Distribution& operator=(const Distribution&) = delete;
    virtual ~Distribution() = default;

    // The operations every type answers (fault: where a failure's code goes, may be null).
    virtual double ScaleHint() const { return info.scaleHint; }
    virtual void ResetSampler() {}
    virtual double Density(double x, RunFault* fault) = 0;
    virtual double Mean(RunFault* fault) = 0;
    virtual double StdDev(RunFault* fault) = 0;
    virtual void Range(double& lo, double& hi, RunFault* fault) = 0;
    virtual double Sample(RunFault* fault) { return SampleByInversion(fault); }
    virtual int ParameterCount() const { return info.parameterCount; }
    // Element 0 carries the variant, elements 1 to ParameterCount() the parameters, which are copied.
    virtual void SetParameters(const Expression* values);
    // The formula of parameter i for reading or changing; the parameters are checked afresh afterwards.
    virtual Expression* Parameter(int i);
    virtual const char* Name() const { return info.name; }
    virtual const char* ParameterLabel(int i) const;
    virtual int32_t ParameterCheck(int i) const;
    virtual double ParameterMaximum(int i) const { return 0.0; }
    virtual int32_t ParameterOrder(int i) const;
    virtual int32_t TypeCode() const { return info.typeCode; }
    virtual int32_t Variant() const { return 1; }
    virtual void SetVariant(int32_t v) {}
    virtual int32_t HasVariants() const { return 0; }
    virtual const char* VariantName(int32_t v) const { return ""; }
    virtual int32_t IsDiscrete() const { return 0; }
    virtual double IntervalProbability(int n, double a, double b, RunFault* fault);
    virtual double InverseCdf(double step, double from, double to, double target, RunFault* fault);

    // A new distribution of the same type and owner with copies of the parameters.
    [[nodiscard]] Distribution* Clone() const;

    FormulaDocument* Owner() const { return owner; }
    void SetOwner(FormulaDocument* document) { owner = document; }

    // The value of parameter i (the cached value while useCached is set); stores it as cached value i.
    // With a fault to set, a failing formula's message names the parameter; with a fault already set, a
    // formula is not evaluated.
    double EvaluateParameter(Expression& expr, int i, RunFault* fault);
    // Evaluates every parameter and checks it by its check code, then the order of the values. 0 after
    // the first failure (its message shown, its code set in *fault), else 1. When every parameter is a
    // constant, a passed check is kept until a parameter or the variant changes (answered inline: every
    // draw asks).
    int CheckDistributionParameter(RunFault* fault)
    {
        if (useCached || (constantsChecked && checkedVariant == Variant()))
            return 1;
        return CheckParametersNow(fault);
    }
    // One value against one check code; shows the message and returns 0 on failure, else 1.
    int CheckParameterValue(int i, double value, int32_t code, RunFault* fault);
    // lo = Mean - kLow * StdDev, hi = Mean + kHigh * StdDev (a negative kHigh means kLow).
    void RangeAroundMean(double& lo, double& hi, RunFault* fault, double kLow, double kHigh);
    // Where the probability accumulated from `from` reaches target; 0.0 when the check fails.
    double QuantileFrom(double from, double target, RunFault* fault);
    double SampleByInversion(RunFault* fault);
    // "Normal; Mean = 0; Std Dev = 1", or as a formula "Dist(dNormal; 1; 0; 1)" (the type code stands for
    // the keyword of a type that has none: "Dist(17; 1; 0; 0.5; 1)").
    void FormatText(zString& out, bool asFormula);

    // The label without "&" and ":".
    void PlainLabel(int i, zString& out) const;
    double CachedValue(int i) const { return i >= 0 && i < kCachedSlots ? cached[i] : 0.0; }
    bool UsesCache() const { return useCached != 0; }

protected:
    explicit Distribution(const DistributionTypeInfo& info);

    // Sets useCached for one numerical operation and restores the previous value.
    class CacheScope {
    public:
        explicit CacheScope(Distribution& d) : d(d), saved(d.useCached) { d.useCached = 1; }
        ~CacheScope() { d.useCached = saved; }
        CacheScope(const CacheScope&) = delete;
        CacheScope& operator=(const CacheScope&) = delete;

    private:
        Distribution& d;
        int32_t saved;
    };

    // Parameter i evaluated directly (the cached value while useCached is set).
    double P(int i, RunFault* fault) { return EvaluateParameter(parameters[i], i, fault); }
    // Parameter i from the cache; for use inside a checked operation.
    double C(int i) const { return cached[i]; }

    // Runs compute with the parameters checked and cached; 0.0 when the check fails.
    template <typename Compute> double Checked(RunFault* fault, Compute compute)
    {
        if (!CheckDistributionParameter(fault))
            return 0.0;
        CacheScope scope(*this);
        return compute();
    }

    const DistributionTypeInfo& info;
    Expression parameters[kMaxParameters];

private:
    int CheckParametersNow(RunFault* fault);

    double cached[kCachedSlots] = {};
    int32_t useCached = 0;
    // The constant parameters passed their check with this variant; cached[] holds their values.
    int32_t constantsChecked = 0;
    int32_t checkedVariant = 0;
    FormulaDocument* owner = nullptr;
};

// A new distribution of type 1 to 19 with its defaults; null for any other number.
[[nodiscard]] Distribution* MakeDistribution(int type);
// Dist(type; variant; parameters...): null (DistributionDescriptionInvalid in *fault) when the type is
// unknown or the number of parameters does not fit it; otherwise a new distribution of constant
// parameters (the caller owns it).
[[nodiscard]] Distribution* MakeDistributionFromValues(int count, const double* values, RunFault* fault);

// Stored form:
//   version record        3 bytes
//   type code             2 bytes
//   variant               2 bytes
//   parameter count       2 bytes
//   parameters            each an Expression's stored form; streams older than 3.5.b2 hold 8-byte floats
//                         instead (the Uniform's first stored float is a dropped leftover)
void StoreDistribution(const Distribution* distribution, Archive& archive);
// The archive's format error when a stored distribution names no known type.
constexpr uint32_t kDistributionFormatError = 33;
// Null for a type code outside 1 to 19, which sets kDistributionFormatError (nothing further is read).
Distribution* LoadDistribution(Archive& archive);
