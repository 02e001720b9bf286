#pragma once
// One outcome of a distribution: a value triple with its probability and an optional label.

#include "foundation/ValueTriple.h"
#include "foundation/zString.h"

class Archive;

struct Outcome {
    ValueTriple triple;
    double probability = 0.0;
    zString label;

    // Stored form (nothing moves while the archive holds a format error):
    //   version record of the writer   3 bytes
    //   triple                          24 (cost, effectiveness, value); before 3.5 one 8-byte value only
    //   probability                     8
    //   label                           stored string; only from 2.6 on
    // A probability read outside 0..1 (or not a number) sets format error 7.
    void Serialize(Archive& archive);
};
