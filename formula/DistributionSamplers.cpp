#include "formula/DistributionSamplers.h"

#include "foundation/UniformRandom.h"

#include <cmath>

namespace {
double U() { return UniformRandom(0.0, 1.0); }
}  // namespace

double PolarNormalSource::Next()
{
    if (hasSpare) {
        hasSpare = 0;
        return spare;
    }
    double a1;
    double a2;
    double s;
    do {
        a1 = 2.0 * U() - 1.0;
        a2 = 2.0 * U() - 1.0;
        s = a1 * a1 + a2 * a2;
    } while (s > 1.0 || s == 0.0);
    const double f = std::sqrt(-2.0 * std::log(s) / s);
    spare = a2 * f;
    hasSpare = 1;
    return a1 * f;
}

double GammaVariateSource::Next(double a, double beta)
{
    double x;
    if (a < 1.0) {
        const double e = 2.718281828459;
        const double b = (a + e) / e;
        for (;;) {
            const double p = b * U();
            if (p <= 1.0) {
                x = std::pow(p, 1.0 / a);
                if (x > 2.2250738585072014e-308 && x <= -std::log(U()))
                    break;
            } else {
                x = -std::log((b - p) / a);
                if (U() <= std::pow(x, a - 1.0))
                    break;
            }
        }
    } else if (a == 1.0) {
        double u;
        do {
            u = U();
        } while (u == 0.0 || u == 1.0);
        x = -std::log(u);
    } else {
        if (a != keptShape) {
            keptShape = a;
            c1 = a - 1.0;
            c2 = (a - 1.0 / (6.0 * a)) / c1;
            c3 = 2.0 / c1;
            c4 = c3 + 2.0;
            if (a > 2.5)
                c5 = 1.0 / std::sqrt(a);
        }
        for (;;) {
            double u1;
            double u2;
            do {
                u1 = U();
                u2 = U();
                if (a > 2.5)
                    u1 = u2 + c5 * (1.0 - 1.86 * u1);
            } while (!(u1 > 0.0 && u1 < 1.0));
            const double w = c2 * u2 / u1;
            if (c3 * u1 + w + 1.0 / w <= c4 || c3 * std::log(u1) - std::log(w) + w < 1.0) {
                x = c1 * w;
                break;
            }
        }
    }
    return x / beta;
}

double ExponentialVariate(double rate)
{
    double u;
    do {
        u = U();
    } while (u == 0.0);
    return -std::log(u) / rate;
}

double TriangularPoint(double lo, double likeliest, double hi, double u)
{
    const double h = 2.0 / (hi - lo);
    const double area = (likeliest - lo) * h / 2.0;
    if (std::fabs(area - u) < 1e-10)
        return likeliest;
    if (area < u)
        return hi - std::sqrt((hi - likeliest) * (hi - likeliest) - 2.0 * (u - area) / (h / (hi - likeliest)));
    return lo + std::sqrt(2.0 * u / (h / (likeliest - lo)));
}
