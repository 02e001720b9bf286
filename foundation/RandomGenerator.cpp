#include "foundation/RandomGenerator.h"

namespace {

// Constant-initialised, so that a draw costs no guard of a function-local static.
RandomGenerator programRandom;
RandomGenerator standInGenerator;

} // namespace

RandomGenerator& ProgramRandom()
{
    return programRandom;
}

RandomGenerator& StandInGenerator()
{
    return standInGenerator;
}

void SeedRandom(uint32_t seed)
{
    ProgramRandom().Seed(seed);
    StandInGenerator().Seed(seed);
}
