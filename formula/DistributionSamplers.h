#pragma once
// The random-variate kernels of the distribution types, all drawing from UniformRandom.

// Standard normal deviates by the polar method; each accepted pair gives two deviates, the second kept as
// a spare for the next call.
class PolarNormalSource {
public:
    double Next();
    void Reset() { hasSpare = 0; }

private:
    int hasSpare = 0;
    double spare = 0.0;
};

// Gamma(a) variates divided by beta; for a > 1 the constants are kept for the last shape.
class GammaVariateSource {
public:
    double Next(double a, double beta);

private:
    double keptShape = 0.0;
    double c1 = 0.0;
    double c2 = 0.0;
    double c3 = 0.0;
    double c4 = 0.0;
    double c5 = 0.0;
};

// An exponential variate of that rate: -ln(U) / rate, U drawn again while it is 0.
double ExponentialVariate(double rate);

// The point of a triangular distribution (lo, likeliest, hi) below which the probability is u.
double TriangularPoint(double lo, double likeliest, double hi, double u);
