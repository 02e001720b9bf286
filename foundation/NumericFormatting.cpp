#include "foundation/NumericFormatting.h"

#include "foundation/LocaleChars.h"
#include "foundation/NumericFormat.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// printf of one double with a precision, however long the text becomes: most fit a buffer on the stack, so
// that one print does.
std::string PrintNewDouble(const char* pattern, int places, double value)
{
    char shortText[64];
    int length = std::snprintf(shortText, sizeof shortText, pattern, places, value);
    if (length <= 0)
        return std::string();
    if (static_cast<size_t>(length) < sizeof shortText)
        return std::string(shortText, static_cast<size_t>(length));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(&text[0], text.size(), pattern, places, value);
    text.resize(static_cast<size_t>(length));
    return text;
}

// The same, keeping the last few texts printed (the patterns are this file's literals): a tree's nodes often
// show the same values one after the other, and a roll-back box shows a value and a probability in turn, which
// one text kept would print again at every node.
std::string PrintDouble(const char* pattern, int places, double value)
{
    struct Printed {
        const char* pattern = nullptr;
        int places = 0;
        uint64_t bits = 0;
        std::string text;
    };
    static Printed kept[4];
    static unsigned next = 0;
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (const Printed& one : kept) {
        if (one.bits == bits && one.places == places && one.pattern != nullptr && !std::strcmp(one.pattern, pattern))
            return one.text;
    }
    Printed& slot = kept[next++ % 4];
    slot.text = PrintNewDouble(pattern, places, value);
    slot.pattern = pattern;
    slot.places = places;
    slot.bits = bits;
    return slot.text;
}

double ApplyChopOff(double value, int chopOff)
{
    switch (chopOff) {
    case 3:
        return value / 1000.0;
    case 6:
        return value / 1e6;
    case 9:
        return value / 1e9;
    default:
        return chopOff > 0 ? value * std::pow(10.0, -chopOff) : value;
    }
}

struct Places {
    int count;
    bool trim;
};

Places PlacesFor(const NumericFormat& format, bool isExpectedValue, int digits)
{
    if (digits == DigitsOfFormat)
        return {format.DigitsFor(isExpectedValue), false};
    if (digits == DigitsOfFormatTrimmed)
        return {format.DigitsFor(isExpectedValue), true};
    if (digits < -9)
        return {9, true};
    if (digits < 0)
        return {-digits, true};
    return {digits > 9 ? 9 : digits, false};
}

void TrimZeros(std::string& text)
{
    if (text.find('.') == std::string::npos || text.find_first_of("eE") != std::string::npos)
        return;
    size_t end = text.find_last_not_of('0');
    text.erase(end + 1);
    if (!text.empty() && text.back() == '.')
        text.pop_back();
}

std::string GroupDigits(const std::string& digits, char separator)
{
    size_t first = digits.size() % 3;
    if (first == 0)
        first = 3;
    std::string grouped = digits.substr(0, first);
    for (size_t i = first; i < digits.size(); i += 3) {
        grouped += separator;
        grouped += digits.substr(i, 3);
    }
    return grouped;
}

std::string CurrencySymbol(const LocaleChars& locale)
{
    std::string symbol;
    for (char c : locale.currency) {
        if (!c)
            break;
        symbol += c;
    }
    return symbol;
}

std::string WithUnits(const std::string& number, const NumericFormat& format, const LocaleChars& locale)
{
    switch (format.unitsKind) {
    case NumericFormat::UnitsCurrency:
        return locale.currencyFirst ? CurrencySymbol(locale) + number : number + CurrencySymbol(locale);
    case NumericFormat::UnitsTextBefore:
        return std::string(format.unitsText.Text()) + " " + number;
    case NumericFormat::UnitsTextAfter:
        return number + " " + format.unitsText.Text();
    default:
        return number;
    }
}

char UnitLetter(int chopOff, const LocaleChars& locale)
{
    switch (chopOff) {
    case 3:
        return locale.thousandsLetter;
    case 6:
        return locale.millionsLetter;
    case 9:
        return locale.billionsLetter;
    default:
        return 0;
    }
}

// The display form: grouped integer digits, the fraction, the chop-off letter, sign and units.
std::string DisplayText(const NumericFormat& format, const std::string& printed, const LocaleChars& locale)
{
    std::string text = printed;
    bool negative = !text.empty() && text[0] == '-';
    if (negative)
        text.erase(0, 1);
    size_t dot = text.find('.');
    std::string integerDigits = dot == std::string::npos ? text : text.substr(0, dot);
    if (integerDigits.empty())
        integerDigits = "0";

    std::string number = format.commas ? GroupDigits(integerDigits, locale.thousandsChar) : integerDigits;
    if (dot != std::string::npos) {
        number += locale.decimalChar;
        number += text.substr(dot + 1);
    }
    if (char letter = UnitLetter(format.chopOff, locale))
        number += letter;

    if (format.unitsKind == NumericFormat::UnitsNone)
        return negative ? "-" + number : number;
    if (!negative)
        return WithUnits(number, format, locale);
    if (locale.negativeInParentheses)
        return "(" + WithUnits(number, format, locale) + ")";
    return "-" + WithUnits(number, format, locale);
}

} // namespace

void FormatNumber(const NumericFormat& format, double value, zString& out, bool isExpectedValue, bool display,
                  int16_t digits)
{
    const LocaleChars& locale = LocaleChars::Active();
    if (display)
        value = ApplyChopOff(value, format.chopOff);
    Places places = PlacesFor(format, isExpectedValue, digits);
    if (std::fabs(value) < 1e-10)
        value = 0.0;

    if (display) {
        out = DisplayText(format, PrintDouble("%.*f", places.count, value), locale).c_str();
        return;
    }
    std::string text = PrintDouble(std::fabs(value) >= 1e-5 ? "%.*f" : "%.*g", places.count, value);
    if (places.trim)
        TrimZeros(text);
    size_t dot = text.find('.');
    if (dot != std::string::npos)
        text[dot] = locale.decimalChar;
    out = text.c_str();
}

void AppendFormattedNumber(zString& out, double value, int16_t digits)
{
    zString text;
    FormatNumber(DefaultNumericFormat, value, text, false, false, digits);
    out += text;
}
