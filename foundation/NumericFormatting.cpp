#include "foundation/NumericFormatting.h"

#include "foundation/LocaleChars.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericHelpers.h"

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
        return chopOff > 0 ? value / PowerOfTen(chopOff) : value;
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

// The integer digits text[begin, end) in groups of three.
void AppendGrouped(std::string& out, const std::string& text, size_t begin, size_t end, char separator)
{
    size_t first = (end - begin) % 3;
    if (first == 0)
        first = 3;
    out.append(text, begin, first);
    for (size_t i = begin + first; i < end; i += 3) {
        out += separator;
        out.append(text, i, 3);
    }
}

void AppendCurrencySymbol(std::string& out, const LocaleChars& locale)
{
    for (char c : locale.currency) {
        if (!c)
            break;
        out += c;
    }
}

void AppendUnitsBefore(std::string& out, const NumericFormat& format, const LocaleChars& locale)
{
    if (format.unitsKind == NumericFormat::UnitsCurrency && locale.currencyFirst)
        AppendCurrencySymbol(out, locale);
    if (format.unitsKind == NumericFormat::UnitsTextBefore) {
        out += format.unitsText.Text();
        out += ' ';
    }
}

void AppendUnitsAfter(std::string& out, const NumericFormat& format, const LocaleChars& locale)
{
    if (format.unitsKind == NumericFormat::UnitsCurrency && !locale.currencyFirst)
        AppendCurrencySymbol(out, locale);
    if (format.unitsKind == NumericFormat::UnitsTextAfter) {
        out += ' ';
        out += format.unitsText.Text();
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

// The display form: grouped integer digits, the fraction, the chop-off letter, sign and units. Written into
// one string as it goes: every value a tree shows passes here.
std::string DisplayText(const NumericFormat& format, const std::string& printed, const LocaleChars& locale)
{
    const bool negative = !printed.empty() && printed[0] == '-';
    const size_t begin = negative ? 1 : 0;
    const size_t dot = printed.find('.', begin);
    const size_t integerEnd = dot == std::string::npos ? printed.size() : dot;
    const bool units = format.unitsKind != NumericFormat::UnitsNone;
    const bool parentheses = negative && units && locale.negativeInParentheses;
    std::string text;
    if (negative)
        text += parentheses ? '(' : '-';
    if (units)
        AppendUnitsBefore(text, format, locale);
    if (integerEnd == begin)
        text += '0';
    else if (format.commas)
        AppendGrouped(text, printed, begin, integerEnd, locale.thousandsChar);
    else
        text.append(printed, begin, integerEnd - begin);
    if (dot != std::string::npos) {
        text += locale.decimalChar;
        text.append(printed, dot + 1, std::string::npos);
    }
    if (char letter = UnitLetter(format.chopOff, locale))
        text += letter;
    if (units)
        AppendUnitsAfter(text, format, locale);
    if (parentheses)
        text += ')';
    return text;
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
