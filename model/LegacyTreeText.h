#pragma once
// Small text helpers of the older tree text format: case-insensitive search, trimming, the node type mark
// and the "Dual(a, b)" payoff pair.

#include <string>

// Position of `key` in `text` ignoring letter case, or npos.
size_t FindIgnoringCase(const std::string& text, const char* key);
inline bool ContainsIgnoringCase(const std::string& text, const char* key)
{
    return FindIgnoringCase(text, key) != std::string::npos;
}
// Blanks and tabs removed from both ends.
std::string TrimBlanks(const std::string& text);
// Position of the first "(X)" with X one of D, C, T, M, L, B, or npos.
size_t FindNodeTypeMark(const std::string& text);
// A text containing "Dual" followed by a parenthesised list of exactly two arguments (split at top-level
// ',' or ';', nesting of () and [] respected): true with both arguments trimmed.
bool SplitDualPair(const std::string& text, std::string& first, std::string& second);
// A plain number: optional sign, digits with at most one '.', optional exponent.
bool IsPlainNumber(const std::string& text);
// The negation of a formula: a plain negative number loses its '-', another plain number gains one, anything
// else becomes "-(" formula ")".
std::string NegateFormula(const std::string& formula);
