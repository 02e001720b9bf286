#include "foundation/NumericFormatParsing.h"

#include "foundation/LocaleChars.h"
#include "foundation/NumericHelpers.h"
#include "foundation/CharClass.h"
#include "foundation/StringHelpers.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

constexpr double IntegerLimit = 2147483647.0;

// 10 to the power of `digits`, as std::pow gives it, from a table for the counts of digits a typed fraction has.
double PowerOfTen(int digits)
{
    constexpr int kTabled = 32;
    static const struct Powers {
        double of[kTabled];
        Powers()
        {
            for (int i = 0; i < kTabled; ++i)
                of[i] = std::pow(10.0, static_cast<double>(i));
        }
    } powers;
    return digits >= 0 && digits < kTabled ? powers.of[digits] : std::pow(10.0, static_cast<double>(digits));
}

// True when `c` plays no part in reading a plain number's digits and point.
bool OutsideDigits(char c)
{
    return c != '.' && !IsDigitChar(c);
}

// mantissa := digits-with-separators [decimal digits-without-separators]
// Fails (error set) when neither part holds a digit.
double ParseMantissa(const std::string& text, const LocaleChars& locale, int& error)
{
    size_t point = text.find(locale.decimalChar);
    std::string integerPart = text.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
    int integerDigits = 0;
    int fractionDigits = 0;
    double value = ParseDigits(integerPart.c_str(), error, true, &integerDigits);
    double fractionValue = ParseDigits(fraction.c_str(), error, false, &fractionDigits);
    if (integerDigits == 0 && fractionDigits == 0)
        error = 1;
    if (error)
        return 0.0;
    return value + fractionValue / PowerOfTen(fractionDigits);
}

// Takes out the first occurrence found by `find` when only blanks follow it; error otherwise.
bool CutTrailingMark(std::string& text, size_t at, int& error)
{
    if (at == std::string::npos)
        return false;
    if (!IsBlankText(text.c_str() + at + 1))
        error = 1;
    text.erase(at);
    return true;
}

double UnitMultiplier(char letter, const LocaleChars& locale)
{
    if (locale.IsThousandsLetter(letter))
        return 1000.0;
    if (locale.IsMillionsLetter(letter))
        return 1e6;
    return 1e9;
}

} // namespace

double ParseDigits(const char* text, int& error, bool allowSeparators, int* digitCount)
{
    const char separator = LocaleChars::Active().thousandsChar;
    double value = 0.0;
    int count = 0;
    for (const char* p = text; p && *p; ++p) {
        if (*p == separator && allowSeparators)
            continue;
        if (!IsDigitChar(*p)) {
            error = 1;
            break;
        }
        value = value * 10.0 + (*p - '0');
        ++count;
    }
    if (digitCount)
        *digitCount = count;
    return value;
}

bool ReadPlainNumber(const char* text, double& value)
{
    // ParseNumber reads digits and a point as ParseMantissa does unless a number character is a digit (a
    // thousands separator is skipped, a currency symbol, percent sign, exponent or unit letter cut off) or the
    // decimal point is another character.
    const LocaleChars& locale = LocaleChars::Active();
    if (locale.decimalChar != '.' || IsDigitChar(locale.thousandsChar) || !OutsideDigits(locale.currency[0]) ||
        !OutsideDigits(locale.percentChar) || !OutsideDigits(locale.exponentChar) ||
        !OutsideDigits(locale.thousandsLetter) || !OutsideDigits(locale.millionsLetter) ||
        !OutsideDigits(locale.billionsLetter))
        return false;
    const char* p = text;
    double whole = 0.0;
    for (; IsDigitChar(*p); ++p)
        whole = whole * 10.0 + (*p - '0');
    if (p == text)
        return false;
    double fraction = 0.0;
    int fractionDigits = 0;
    if (*p == '.') {
        for (++p; IsDigitChar(*p); ++p, ++fractionDigits)
            fraction = fraction * 10.0 + (*p - '0');
        if (fractionDigits == 0)
            return false;
    }
    const double result = whole + fraction / PowerOfTen(fractionDigits);
    if (*p != 0 || !std::isfinite(result))
        return false;
    value = result;
    return true;
}

void ParseNumber(const char* text, double& value, int& error)
{
    error = 0;
    const LocaleChars& locale = LocaleChars::Active();
    if (!text || static_cast<unsigned char>(text[0]) > 127 ||
        (IsAlphaChar(text[0]) && !locale.IsCurrencyAt(text, 1))) {
        error = 1;
        return;
    }
    std::string rest(text);
    if (rest.empty() || (rest.size() == 1 && rest[0] == locale.decimalChar)) {
        error = 1;
        value = 0.0;
        return;
    }

    bool negative = false;
    if (rest.size() >= 2 && rest.front() == '(' && rest.back() == ')') {
        negative = true;
        rest = rest.substr(1, rest.size() - 2);
    }
    if (!rest.empty() && rest[0] == '-') {
        negative = true;
        rest.erase(0, 1);
    }
    if (locale.IsCurrencyAt(rest.c_str(), 1))
        rest.erase(0, static_cast<size_t>(locale.CurrencyLength()));

    bool percent = CutTrailingMark(rest, rest.find(locale.percentChar), error);
    const char* unit = locale.FindUnitLetter(rest.c_str());
    char unitLetter = unit ? *unit : 0;
    CutTrailingMark(rest, unit ? static_cast<size_t>(unit - rest.c_str()) : std::string::npos, error);

    std::string exponentText;
    if (const char* exponent = locale.FindExponentChar(rest.c_str())) {
        size_t at = static_cast<size_t>(exponent - rest.c_str());
        exponentText = rest.substr(at + 1);
        rest.erase(at);
    }

    double result = error ? 0.0 : ParseMantissa(rest, locale, error);
    if (!error && !exponentText.empty()) {
        bool negativeExponent = exponentText[0] == '-';
        if (exponentText[0] == '-' || exponentText[0] == '+')
            exponentText.erase(0, 1);
        double exponent = exponentText.empty() ? 0.0 : ParseMantissa(exponentText, locale, error);
        // Dividing by an exact power reads "1e-12" as the nearest double, as multiplying by 1e-12 would not.
        const double scale = std::pow(10.0, exponent);
        if (!negativeExponent)
            result *= scale;
        else
            result = std::isfinite(scale) ? result / scale : result * PowerOfTen(-exponent);
    }
    if (!error && unitLetter)
        result *= UnitMultiplier(unitLetter, locale);
    if (negative)
        result = -result;
    if (percent)
        result /= 100.0;
    if (!error && !std::isfinite(result))
        error = 1;
    value = error ? 0.0 : result;
}

void ParseInteger(const char* text, int& value, int& error)
{
    if (error)
        return;
    // Before the settings are read, the fixed characters: a word is never taken for 0.
    const LocaleChars* locale = &LocaleChars::Active();
    if (!text || !*text || (text[0] == '-' && !text[1])) {
        error = 1;
        return;
    }
    const char* p = text;
    if (locale->IsCurrencyAt(p, 1))
        p += locale->CurrencyLength();
    bool negative = false;
    if (*p == '-') {
        negative = true;
        ++p;
    }

    double magnitude = 0.0;
    int digits = 0;
    for (; *p && !locale->IsExponentChar(*p) && !locale->IsUnitLetter(*p); ++p) {
        if (*p == locale->thousandsChar)
            continue;
        if (!IsDigitChar(*p)) {
            error = 1;
            return;
        }
        magnitude = magnitude * 10.0 + (*p - '0');
        ++digits;
        if (magnitude > IntegerLimit) {
            error = 1;
            return;
        }
    }
    if (digits == 0) {
        error = 1;
        return;
    }

    if (*p && locale->IsExponentChar(*p)) {
        int exponent = 0;
        ParseInteger(p + 1, exponent, error);
        if (error)
            return;
        // Whole tens, one at a time, stopping as soon as the result can no longer change or fit.
        for (int step = 0; step < std::abs(static_cast<long long>(exponent)) && magnitude != 0.0; ++step) {
            magnitude = exponent > 0 ? magnitude * 10.0 : std::trunc(magnitude / 10.0);
            if (magnitude > IntegerLimit) {
                error = 1;
                return;
            }
        }
    } else if (*p) {
        if (!IsBlankText(p + 1)) {
            error = 1;
            return;
        }
        magnitude *= UnitMultiplier(*p, *locale);
        if (magnitude > IntegerLimit) {
            error = 1;
            return;
        }
    }
    int result = static_cast<int>(magnitude);
    value = negative ? -result : result;
}
