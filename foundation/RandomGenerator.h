#pragma once
// The program's random numbers: a linear congruential generator (multiplier 214013, increment 2531011,
// 15-bit results 0..32767). It is our own, not the C runtime's, so one seed gives the same sequence on every
// runtime.

#include <cstdint>

class RandomGenerator {
public:
    static constexpr int MaxValue = 32767;

    constexpr explicit RandomGenerator(uint32_t seed = 1) : state_(seed) {}

    void Seed(uint32_t seed) { state_ = seed; }
    // The next value, 0..32767.
    int Next()
    {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

private:
    friend RandomGenerator& ProgramRandom();
    friend RandomGenerator& StandInGenerator();

    uint32_t state_;
    // The two generators of the process, reached only through their functions below. Constant-initialised
    // static members, so that a draw costs neither a call nor the guard of a function-local static.
    static RandomGenerator program_;
    static RandomGenerator standIn_;
};

// The one generator of the program, seeded with 1 at start-up.
inline RandomGenerator& ProgramRandom()
{
    return RandomGenerator::program_;
}
// Fixes the sequences that follow, the program's and the stand-ins'.
void SeedRandom(uint32_t seed);
// The generator of stand-in values, apart from the program's.
inline RandomGenerator& StandInGenerator()
{
    return RandomGenerator::standIn_;
}
