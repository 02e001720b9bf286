#pragma once
// Rewrites a formula of the older text format into the current formula language: renamed variables,
// identifiers cut to 8 characters, renamed functions, keywords and operators. Pure text in, text out.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using NamePairs = std::vector<std::pair<std::string, std::string>>;

// One row of a conversion table: the older text and its replacement.
struct LegacyConversion {
    const char* from;
    const char* to;
};

// Function names, replaced only before "(" (bit i of the function mask marks row i as applied). A
// converted "NOT" is the logical not "!" of the result, never the or that an older "!" becomes.
extern const LegacyConversion kLegacyFunctionTable[13];
// The operators whose change is reported (bit i of the syntax mask): "!" to "|", "'" to "!".
extern const LegacyConversion kLegacyOperatorTable[2];

struct LegacyConversionMasks {
    uint32_t functions = 0;
    uint32_t syntax = 0;
};

// In order: each changed-name pair as whole words ignoring case; with truncate, identifiers longer than 8
// characters cut to 8; function names; keywords ("m.CYCLE", "m.CYCSUM", "m.CUMSUM", "TRUE", "FALSE");
// operators "!" to "|", "'" to "!", "," to ";"; leading blanks trimmed.
std::string ConvertLegacyFormula(const std::string& text, const NamePairs& changedNames, bool truncate,
                                 LegacyConversionMasks& masks);

// Replaces every whole-word occurrence of `from` (ignoring case; '.' counts as part of a word) by `to`.
// Returns whether anything was replaced.
bool ReplaceWholeWords(std::string& text, const std::string& from, const std::string& to, bool onlyBeforeParen);
