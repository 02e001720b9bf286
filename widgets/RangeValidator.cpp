#include "widgets/RangeValidator.h"

#include "formula/Expression.h"
#include "foundation/MessageBoxes.h"
#include "foundation/LocaleChars.h"
#include "foundation/NumericFormatParsing.h"
#include "foundation/NumericFormatting.h"

#include <cctype>
#include <cmath>
#include <string>

int RangeValidator::Edit(zString& text, char* input, int count, TextSelection& selection)
{
    const std::string current = text.Text();
    const int length = static_cast<int>(current.size());
    int start = std::max(0, std::min(selection.start, length));
    int end = std::max(start, std::min(selection.end, length));
    const bool deletion = count > 0 && input[0] == 8;
    std::string accepted;
    if (deletion) {
        const bool backspace = count == 1;
        if (start == end) {
            if (backspace && start >= 1)
                --start;
            else if (!backspace && end < length)
                ++end;
        }
    } else {
        for (int i = 0; i < count; ++i) {
            char c = input[i];
            if (IsCharAllowed(c, true))
                accepted += c;
        }
        if (count == 1 && !accepted.empty())
            input[0] = accepted[0];
    }
    text = (current.substr(0, static_cast<size_t>(start)) + accepted + current.substr(static_cast<size_t>(end))).c_str();
    const int caret = start + static_cast<int>(accepted.size());
    selection = TextSelection{caret, caret};
    return TakeText;
}

int RangeValidator::Check(const zString& text, TextSelection& selection)
{
    for (int i = 0; text.Text()[i]; ++i) {
        char c = text.Text()[i];
        if (!IsCharAllowed(c, false)) {
            selection = TextSelection{i + 1, i};
            return 0;
        }
    }
    if (Validate(text.Text()))
        return 1;
    selection = TextSelection{0, 1000};
    ShowError();
    return 0;
}

int RangeValidator::Normalise(zString& text, int)
{
    text = Stripped(text.Text());
    return 1;
}

zString RangeValidator::Stripped(const char* text)
{
    const LocaleChars& locale = LocaleChars::Active();
    std::string plain;
    for (int i = 0; text[i];) {
        if (locale.IsCurrencyAt(text + i, i == 0)) {
            i += locale.CurrencyLength();
            continue;
        }
        if (text[i] != locale.thousandsChar)
            plain += text[i];
        ++i;
    }
    return zString(plain.c_str());
}

bool RangeValidator::IsLargeValueChar(char c) const
{
    const LocaleChars& locale = LocaleChars::Active();
    const bool large = c == locale.thousandsChar || locale.IsExponentChar(c) || locale.IsUnitLetter(c);
    if (!large)
        return false;
    switch (kind_) {
    case 0:
    case 2:
    case 3:
        return true;
    case 1:
        return std::fabs(low_) > 999 || std::fabs(high_) > 999;
    case 4:
    case 5:
        return std::fabs(high_) > 999;
    default:
        return false;
    }
}

bool RangeValidator::InRange(double value) const
{
    const double low = low_;
    const double high = high_;
    switch (kind_) {
    case 0:
        return true;
    case 1:
        return value >= low && value <= high;
    case 2:
        return value > high;
    case 3:
        return value >= high;
    case 4:
        return value < high;
    case 5:
        return value <= high;
    default:
        return false;
    }
}

void RangeValidator::AppendRangeWords(zString& message, const zString& low, const zString& high) const
{
    static const char* const words[] = {"only", "between ", "greater than ", "greater than or equal to ",
                                        "less than ", "less than or equal to "};
    if (kind_ >= 0 && kind_ <= 5)
        message += words[kind_];
    if (kind_ == 1) {
        message += low;
        message += " and ";
    }
    if (kind_ != 0)
        message += high;
    message += ".";
}

bool IntegerRangeValidator::IsCharAllowed(char& c, bool) const
{
    return std::isdigit(static_cast<unsigned char>(c)) || c == '-' || IsLargeValueChar(c);
}

bool IntegerRangeValidator::Validate(const char* text) const
{
    int value = 0;
    int error = 0;
    ParseInteger(Stripped(text).Text(), value, error);
    return !error && InRange(value);
}

void IntegerRangeValidator::ShowError() const
{
    zString message("This field takes integers ");
    AppendRangeWords(message, zString(std::to_string(static_cast<int>(low_)).c_str()),
                     zString(std::to_string(static_cast<int>(high_)).c_str()));
    ShowErrorBox(nullptr, message.Text(), -1);
}

bool RealRangeValidator::IsCharAllowed(char& c, bool mayReplace) const
{
    const char decimal = LocaleChars::Active().decimalChar;
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == decimal)
        return true;
    if (c == '.' && mayReplace) {
        c = decimal;
        return true;
    }
    return IsLargeValueChar(c);
}

bool RealRangeValidator::Validate(const char* text) const
{
    double value = 0.0;
    int error = 0;
    ParseNumber(Stripped(text).Text(), value, error);
    if (error)
        return false;
    // The text as typed must also read as a constant formula of the same value, so that a field never
    // takes what a formula elsewhere would read differently.
    Expression formula(text);
    double constant = 0.0;
    if (!formula.GetConstant(&constant) || std::fabs(constant - value) >= 1e-10)
        return false;
    return InRange(value);
}

void RealRangeValidator::ShowError() const
{
    zString low;
    zString high;
    AppendFormattedNumber(low, low_, -5);
    AppendFormattedNumber(high, high_, -5);
    zString message("This field takes numbers ");
    AppendRangeWords(message, low, high);
    ShowErrorBox(nullptr, message.Text(), -1);
}
