#pragma once
// The tree's link settings: three texts and a number, carried in the tree file.

#include "foundation/zString.h"

#include <cstdint>

struct LinkSettings {
    zString texts[3];
    int16_t number = 0;
};
