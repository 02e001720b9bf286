#pragma once
// Growable array of pairs of 32-bit values with 16-bit capacity and count; slots above the count hold the
// default pair.

#include "foundation/ValueArray.h"

struct IntPair {
    int32_t first;
    int32_t second;
};

class PairArray : public ValueArray<IntPair> {
public:
    explicit PairArray(int16_t growBy = 4, IntPair defaultPair = {0, 0}) : ValueArray(growBy, defaultPair) {}

    // Appends; false when the array is full (32767 pairs) or memory runs out.
    bool Add(int32_t a, int32_t b)
    {
        if (!MakeRoom())
            return false;
        items[count++] = IntPair{a, b};
        return true;
    }
};
