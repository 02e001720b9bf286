#pragma once
// The nineteen distribution types. Each describes itself by a DistributionTypeInfo (name, parameter labels,
// defaults, check and order codes) and computes its density, moments, range and, where it has one, its own
// sampler; the rest comes from Distribution. Type codes are those of MakeDistribution and the "dNormal" to
// "dWeibull" keywords.

#include "formula/Distribution.h"
#include "formula/DistributionSamplers.h"

enum DistributionType : int {
    DistNormal = 1, DistUniform, DistBeta, DistChi, DistChiSquare, DistErlang, DistExponential, DistGamma,
    DistHyperExponential, DistLaplace, DistLogistic, DistLogNormal, DistMaxwell, DistRayleigh, DistWeibull,
    DistTable, DistTriangular, DistPoisson, DistBinomial,
    DistTypeCount = DistBinomial
};

class NormalDistribution : public Distribution {
public:
    NormalDistribution();
    void ResetSampler() override { normal.Reset(); }
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
    double Sample(RunFault* fault) override;
    void SetParameters(const Expression* values) override;
    int32_t Variant() const override { return variant; }

private:
    int32_t variant = 1;
    PolarNormalSource normal;
};

class UniformDistribution : public Distribution {
public:
    UniformDistribution();
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
    double Sample(RunFault* fault) override;
    double IntervalProbability(int n, double a, double b, RunFault* fault) override;
};

class BetaDistribution : public Distribution {
public:
    BetaDistribution();
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
    double Sample(RunFault* fault) override;
    void SetParameters(const Expression* values) override;
    const char* ParameterLabel(int i) const override;
    int32_t ParameterCheck(int i) const override;
    int32_t ParameterOrder(int i) const override;
    int32_t Variant() const override { return variant; }
    void SetVariant(int32_t v) override { variant = v; }
    int32_t HasVariants() const override { return 1; }
    const char* VariantName(int32_t v) const override;

private:
    int32_t variant = 1;
    // One source per shape, so each keeps its constants.
    GammaVariateSource gammaA;
    GammaVariateSource gammaB;
};

class ChiDistribution : public Distribution {
public:
    ChiDistribution();
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
    double Sample(RunFault* fault) override;

private:
    GammaVariateSource gamma;
};

class ChiSquareDistribution : public Distribution {
public:
    ChiSquareDistribution();
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
    double Sample(RunFault* fault) override;

private:
    GammaVariateSource gamma;
};

class ErlangDistribution : public Distribution {
public:
    ErlangDistribution();
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
    double Sample(RunFault* fault) override;
};

class ExponentialDistribution : public Distribution {
public:
    ExponentialDistribution();
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
    double Sample(RunFault* fault) override;
};

class GammaDistribution : public Distribution {
public:
    GammaDistribution();
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
    double Sample(RunFault* fault) override;

private:
    GammaVariateSource gamma;
};

class HyperExponentialDistribution : public Distribution {
public:
    HyperExponentialDistribution();
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
    double Sample(RunFault* fault) override;
};

class LaplaceDistribution : public Distribution {
public:
    LaplaceDistribution();
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
    double Sample(RunFault* fault) override;
};

class LogisticDistribution : public Distribution {
public:
    LogisticDistribution();
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
};

class LogNormalDistribution : public Distribution {
public:
    LogNormalDistribution();
    void ResetSampler() override { normal.Reset(); }
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
    double Sample(RunFault* fault) override;

private:
    PolarNormalSource normal;
};

class MaxwellDistribution : public Distribution {
public:
    MaxwellDistribution();
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
};

class RayleighDistribution : public Distribution {
public:
    RayleighDistribution();
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
};

class WeibullDistribution : public Distribution {
public:
    WeibullDistribution();
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
    double Sample(RunFault* fault) override;
};

// Carries the name of a lookup table; the record that holds it draws from the table.
class TableDistribution : public Distribution {
public:
    TableDistribution();
    double Density(double, RunFault*) override { return 0.0; }
    double Mean(RunFault*) override { return 0.0; }
    double StdDev(RunFault*) override { return 0.0; }
    void Range(double& lo, double& hi, RunFault*) override { lo = hi = 0.0; }
    double Sample(RunFault*) override { return 0.0; }
};

class TriangularDistribution : public Distribution {
public:
    TriangularDistribution();
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
    double Sample(RunFault* fault) override;
    double IntervalProbability(int n, double a, double b, RunFault* fault) override;
};

class PoissonDistribution : public Distribution {
public:
    PoissonDistribution();
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
    double Sample(RunFault* fault) override;
    int32_t IsDiscrete() const override { return 1; }
};

class BinomialDistribution : public Distribution {
public:
    BinomialDistribution();
    double Density(double x, RunFault* fault) override;
    double Mean(RunFault* fault) override;
    double StdDev(RunFault* fault) override;
    void Range(double& lo, double& hi, RunFault* fault) override;
    double Sample(RunFault* fault) override;
    int32_t IsDiscrete() const override { return 1; }
};
