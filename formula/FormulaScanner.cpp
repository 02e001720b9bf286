#include "formula/FormulaScanner.h"

#include "foundation/NumericFormatParsing.h"

#include <string>

namespace {

const unsigned char kPoundSign = 0xA3;

bool IsDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

bool IsNameStart(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsQuantitySuffix(unsigned char c)
{
    switch (c) {
    case 'K': case 'k': case 'M': case 'm': case 'B': case 'b': case '%':
        return true;
    default:
        return false;
    }
}

}  // namespace

FormulaScanner::FormulaScanner(const char* text) : text(text ? text : "")
{
}

size_t FormulaScanner::MatchMantissa(size_t at) const
{
    size_t end = at;
    while (IsDigit(text[end]) || text[end] == ',')
        ++end;
    if (end > at) {
        if (text[end] == '.') {
            ++end;
            while (IsDigit(text[end]))
                ++end;
        }
        return end - at;
    }
    if (text[end] == '.' && IsDigit(text[end + 1])) {
        end += 2;
        while (IsDigit(text[end]))
            ++end;
        return end - at;
    }
    return 0;
}

// NUMBER: currency? mantissa (exponent | suffix)?   exponent: [eE] [+-]? mantissa   suffix: one of K k M m B b %
size_t FormulaScanner::MatchNumber(size_t at) const
{
    size_t end = at;
    unsigned char first = static_cast<unsigned char>(text[end]);
    if (first == '$' || first == kPoundSign)
        ++end;
    size_t mantissa = MatchMantissa(end);
    if (mantissa == 0)
        return 0;
    end += mantissa;
    if (text[end] == 'e' || text[end] == 'E') {
        size_t exponent = end + 1;
        if (text[exponent] == '+' || text[exponent] == '-')
            ++exponent;
        size_t exponentMantissa = MatchMantissa(exponent);
        if (exponentMantissa > 0)
            return exponent + exponentMantissa - at;
    }
    if (IsQuantitySuffix(static_cast<unsigned char>(text[end])))
        ++end;
    return end - at;
}

int FormulaScanner::Next(FormulaToken& token)
{
    while (text[position] == ' ' || text[position] == '\t')
        ++position;
    start = position;
    unsigned char c = static_cast<unsigned char>(text[position]);
    if (c == 0)
        return TokenEnd;

    size_t number = MatchNumber(position);
    if (number > 0) {
        std::string numberText(text + position, number);
        position += number;
        double value = 0.0;
        int error = 0;
        ParseNumber(numberText.c_str(), value, error);
        token.value = value;
        return error ? TokenBadNumber : TokenNumber;
    }

    if (IsNameStart(c)) {
        size_t end = position + 1;
        bool hasDigit = false;
        while (IsNameStart(static_cast<unsigned char>(text[end])) || IsDigit(static_cast<unsigned char>(text[end]))) {
            hasDigit = hasDigit || IsDigit(static_cast<unsigned char>(text[end]));
            ++end;
        }
        token.text = std::string(text + position, end - position).c_str();
        position = end;
        return hasDigit ? TokenIdent : TokenWord;
    }

    ++position;
    if (c == '<' && text[position] == '=') {
        ++position;
        return TokenLessEqual;
    }
    if (c == '>' && text[position] == '=') {
        ++position;
        return TokenGreaterEqual;
    }
    if (c == '<' && text[position] == '>') {
        ++position;
        return TokenNotEqual;
    }
    return c;
}
