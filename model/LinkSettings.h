#pragma once
// The tree's link settings: three texts and a number, carried in the tree file.

#include "foundation/zString.h"

#include <cstdint>

struct LinkSettings {
    // The workbook whose named cells the tree's variables are linked to.
    zString& WorkbookPath() { return texts[0]; }
    const zString& WorkbookPath() const { return texts[0]; }

    zString texts[3];
    int16_t number = 0;
};
