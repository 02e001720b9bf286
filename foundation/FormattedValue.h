#pragma once
// A number as the user typed it: the value and, when the user wrote one, its own text.

#include "foundation/zString.h"

class Archive;
class VersionRecord;

struct FormattedValue {
    zString text;
    double value = 0.0;

    // Stored form: the double, then the text as a stored string. Records of version 3.5 beta 2 or older hold
    // a 32-bit float instead and no text (the text becomes empty).
    void Serialize(Archive& archive, const VersionRecord& ownerVersion);
};
