#pragma once
// Uniform samples on [a, b] from the program's random generator: 32768 distinct results, b itself included.

#include "foundation/RandomGenerator.h"

inline double UniformRandom(double a, double b)
{
    // Product first, then the division, then the sum: the order fixes the rounding of every sample.
    const double product = ProgramRandom().Next() * (b - a);
    return a + product / 32767.0;
}
