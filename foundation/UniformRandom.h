#pragma once
// Uniform samples on [a, b] from the program's random generator: 32768 distinct results, b itself included.

#include "foundation/RandomGenerator.h"

inline double UniformRandom(double a, double b)
{
    // Product first, then the division, then the sum: the order fixes the rounding of every sample.
    const double product = ProgramRandom().Next() * (b - a);
    return a + product / 32767.0;
}

// A stand-in value on [0, 1] for a formula checked rather than evaluated (a variable, table or call whose value
// is not looked up). It comes from a generator of its own: checking a formula for the first time must leave
// the program's sequence, and so a seeded simulation's draws, as they were.
inline double StandInRandom()
{
    return StandInGenerator().Next() / 32767.0;
}
