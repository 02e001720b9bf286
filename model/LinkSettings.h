#pragma once
// The tree's link settings: three texts and a number, carried in the tree file.

#include "foundation/zString.h"

#include <cstdint>

struct LinkSettings {
    // The workbook whose named cells the tree's variables are linked to.
    zString& WorkbookPath() { return texts[0]; }
    const zString& WorkbookPath() const { return texts[0]; }
    // Bit 0: the workbook's external data is refreshed when it is opened.
    enum : int16_t { RefreshOnOpen = 1 };
    int16_t& Flags() { return number; }
    int16_t Flags() const { return number; }

    zString texts[3];
    int16_t number = 0;
};
