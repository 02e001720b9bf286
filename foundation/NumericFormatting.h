#pragma once
// Turning numbers into displayed text through a NumericFormat and the application's number characters.

#include "foundation/zString.h"

#include <cstdint>

class NumericFormat;

// Digit requests of FormatNumber beside 0..9 places.
constexpr int16_t DigitsOfFormat = -100;        // the format's places for the kind of number
constexpr int16_t DigitsOfFormatTrimmed = -90;  // the same, trailing zeros dropped

// Replaces out by the text of the value. digits: DigitsOfFormat, DigitsOfFormatTrimmed, -9..-1 (at most that
// many places, trailing zeros dropped), 0..9 places (more count as 9; below -9 as 9 with trimming).
// Without display the text is a plain number; with display the format's chop-off, grouping and units apply.
void FormatNumber(const NumericFormat& format, double value, zString& out, bool isExpectedValue, bool display,
                  int16_t digits);
// Appends the value formatted with the default format (not an expected value, display off).
void AppendFormattedNumber(zString& out, double value, int16_t digits);
