#include "foundation/RandomGenerator.h"

RandomGenerator TheProgramRandom;

void SeedRandom(uint32_t seed)
{
    ProgramRandom().Seed(seed);
}
