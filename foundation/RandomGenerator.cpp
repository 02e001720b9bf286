#include "foundation/RandomGenerator.h"

RandomGenerator TheProgramRandom;
RandomGenerator TheStandInGenerator;

void SeedRandom(uint32_t seed)
{
    ProgramRandom().Seed(seed);
    StandInGenerator().Seed(seed);
}
