#pragma once
// The scanner of formula texts: numbers with the locale's decorations, names, the two-character comparison
// operators and single characters. Longest match wins; of two equally long matches the earlier rule.

#include "formula/FormulaToken.h"

#include <cstddef>

class FormulaScanner {
public:
    explicit FormulaScanner(const char* text);

    // Scans the next token into `token` and returns its code (0 at the end of the text).
    int Next(FormulaToken& token);
    // Where the token last scanned starts in the text (0-based).
    size_t TokenStart() const { return start; }

private:
    // Length of the NUMBER that starts at `at`, 0 when none does.
    size_t MatchNumber(size_t at) const;
    // Length of a mantissa (digits or commas, optional point and digits; or a point and digits) at `at`.
    size_t MatchMantissa(size_t at) const;

    const char* text;
    size_t position = 0;
    size_t start = 0;
};
