#include "foundation/RandomGenerator.h"

RandomGenerator& ProgramRandom()
{
    static RandomGenerator generator;
    return generator;
}

void SeedRandom(uint32_t seed)
{
    ProgramRandom().Seed(seed);
}
