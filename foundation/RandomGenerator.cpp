#include "foundation/RandomGenerator.h"

RandomGenerator RandomGenerator::program_;
RandomGenerator RandomGenerator::standIn_;

void SeedRandom(uint32_t seed)
{
    ProgramRandom().Seed(seed);
    StandInGenerator().Seed(seed);
}
