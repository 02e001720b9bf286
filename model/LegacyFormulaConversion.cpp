#include "model/LegacyFormulaConversion.h"

#include "model/NameRules.h"

#include <cctype>

const LegacyConversion kLegacyFunctionTable[13] = {
    {"PASSBIND", ""},         {"DEALE2", "DEALE"},     {"PICK", "Choose"},        {"Multiway", "Choose"},
    {"NOT", "!"},             {"TENX", "10^"},         {"PROB", "RateToProb"},    {"RATE", "ProbToRate"},
    {"ProbFac", "ProbFactor"}, {"OddProb", "OddsToProb"}, {"ProbOdd", "ProbToOdds"}, {"CLCLogit", "Logit"},
    {"MOD", "Modulo"},
};

const LegacyConversion kLegacyOperatorTable[2] = {{"!", "|"}, {"'", "!"}};

namespace {

// Stands for a converted NOT until the operators are done.
const char kNotMarker[] = "\x01";

const LegacyConversion kKeywordTable[] = {
    {"m.CYCLE", "_stage"}, {"m.CYCSUM", "_stage_reward"}, {"m.CUMSUM", "_total_reward"},
    {"TRUE", "1"},         {"FALSE", "0"},
};

bool IsWordChar(char c)
{
    return IsNameChar(c) || c == '.';
}

bool EqualsIgnoringCase(const std::string& text, size_t at, const std::string& word)
{
    if (at + word.size() > text.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(text[at + i])) != std::toupper(static_cast<unsigned char>(word[i])))
            return false;
    }
    return true;
}

bool NextNonBlankIsParen(const std::string& text, size_t from)
{
    while (from < text.size() && (text[from] == ' ' || text[from] == '\t'))
        ++from;
    return from < text.size() && text[from] == '(';
}

// Cuts identifiers (a name-start character followed by name characters, not inside a number) to 8.
void TruncateIdentifiers(std::string& text)
{
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') {
            // A number (with any exponent letters) is copied whole.
            while (i < text.size() && (IsNameChar(text[i]) || text[i] == '.'))
                out += text[i++];
            continue;
        }
        if (IsNameStartChar(c)) {
            const size_t start = i;
            while (i < text.size() && IsNameChar(text[i]))
                ++i;
            out.append(text, start, i - start > 8 ? 8 : i - start);
            continue;
        }
        out += c;
        ++i;
    }
    text.swap(out);
}

void ReplaceAll(std::string& text, char from, char to, bool& changed)
{
    for (char& c : text) {
        if (c == from) {
            c = to;
            changed = true;
        }
    }
}

}  // namespace

bool ReplaceWholeWords(std::string& text, const std::string& from, const std::string& to, bool onlyBeforeParen)
{
    if (from.empty())
        return false;
    bool replaced = false;
    size_t i = 0;
    while (i + from.size() <= text.size()) {
        const bool startsWord = i == 0 || !IsWordChar(text[i - 1]);
        const size_t end = i + from.size();
        if (startsWord && EqualsIgnoringCase(text, i, from) && (end == text.size() || !IsWordChar(text[end])) &&
            (!onlyBeforeParen || NextNonBlankIsParen(text, end))) {
            text.replace(i, from.size(), to);
            i += to.size();
            replaced = true;
            continue;
        }
        ++i;
    }
    return replaced;
}

std::string ConvertLegacyFormula(const std::string& text, const NamePairs& changedNames, bool truncate,
                                 LegacyConversionMasks& masks)
{
    std::string out = text;
    for (const auto& pair : changedNames)
        ReplaceWholeWords(out, pair.first, pair.second, false);
    if (truncate)
        TruncateIdentifiers(out);
    for (unsigned i = 0; i < sizeof kLegacyFunctionTable / sizeof kLegacyFunctionTable[0]; ++i) {
        // NOT becomes a marker that turns into "!" after the operators below, so it is never read as an or.
        const char* replacement = i == 4 ? kNotMarker : kLegacyFunctionTable[i].to;
        if (ReplaceWholeWords(out, kLegacyFunctionTable[i].from, replacement, true))
            masks.functions |= 1u << i;
    }
    for (const LegacyConversion& keyword : kKeywordTable)
        ReplaceWholeWords(out, keyword.from, keyword.to, false);
    bool changed = false;
    ReplaceAll(out, '!', '|', changed);
    if (changed)
        masks.syntax |= 1u;
    changed = false;
    ReplaceAll(out, '\'', '!', changed);
    if (changed)
        masks.syntax |= 2u;
    ReplaceAll(out, ',', ';', changed);
    ReplaceAll(out, kNotMarker[0], '!', changed);
    const size_t first = out.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : out.substr(first);
}
