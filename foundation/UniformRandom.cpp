#include "foundation/UniformRandom.h"

#include "foundation/RandomGenerator.h"

double UniformRandom(double a, double b)
{
    // Product first, then the division, then the sum: the order fixes the rounding of every sample.
    double product = ProgramRandom().Next() * (b - a);
    return a + product / 32767.0;
}
