#pragma once
// One strategy in the cost-effectiveness plane: its cost and effectiveness, its dominance state and, for an
// extended-dominated strategy, the two undominated neighbours that bracket it with the coefficient-of-inequity
// bounds of the blend that matches it.

#include "foundation/zString.h"

#include <cstdint>

class Archive;

class CEPoint {
public:
    enum State : int32_t { Undominated = 0, Dominated = 1, ExtendedDominated = 2 };

    CEPoint() = default;
    CEPoint(double cost, double effectiveness, const zString& name, int16_t strategyIndex);

    bool IsUndominated() const { return state == Undominated; }

    // Stored form (nothing is written or read while the archive is in error):
    //   version record of the writer   3 bytes
    //   cost                           8
    //   effectiveness                  8
    //   state                          2 (widened to 32 bits when read)
    //   costBound                      8
    //   effBound                       8
    //   lowerIndex                     2
    //   upperIndex                     2
    //   name                           stored string
    //   strategyIndex                  2 (always written; read only when the point's version is 3.5 or later)
    void Serialize(Archive& archive);

    double cost = 0.0;
    double effectiveness = 0.0;
    int32_t state = Undominated;
    zString name;
    double costBound = 0.0;
    double effBound = 0.0;
    int16_t lowerIndex = -1;
    int16_t upperIndex = -1;
    int16_t strategyIndex = -1;
};
