#include "app/LocaleChars.h"

#include <windows.h>

#include <cctype>
#include <memory>

namespace {

std::unique_ptr<LocaleChars>& Instance()
{
    static std::unique_ptr<LocaleChars> instance;
    return instance;
}

// First character of a WIN.INI [intl] value, or the fallback when the value is missing or empty.
char IntlFirstChar(const char* key, char fallback)
{
    char buffer[16] = {};
    GetProfileStringA("intl", key, "", buffer, sizeof buffer);
    return buffer[0] ? buffer[0] : fallback;
}

char ToUpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

LocaleChars::LocaleChars() = default;

void LocaleChars::Create(bool fixedCharacters)
{
    auto record = std::make_unique<LocaleChars>();
    if (!fixedCharacters)
        record->Read();
    Instance() = std::move(record);
}

void LocaleChars::Destroy()
{
    Instance().reset();
}

const LocaleChars* LocaleChars::Current()
{
    return Instance().get();
}

const LocaleChars& LocaleChars::Active()
{
    static const LocaleChars fixedCharacters;
    const LocaleChars* current = Current();
    return current ? *current : fixedCharacters;
}

void LocaleChars::Read()
{
    decimalChar = IntlFirstChar("sDecimal", '.');
    thousandsChar = IntlFirstChar("sThousand", ',');

    char symbol[16] = {};
    GetProfileStringA("intl", "sCurrency", "$", symbol, sizeof symbol);
    if (!symbol[0]) {
        symbol[0] = '$';
        symbol[1] = 0;
    }
    currency[0] = symbol[0];
    currency[1] = symbol[1];
    currency[2] = 0;
}

bool LocaleChars::IsCurrencyAt(const char* text, int first) const
{
    if (!text || first != currencyFirst || text[0] != currency[0])
        return false;
    return currency[1] == 0 || text[1] == currency[1];
}

int LocaleChars::CurrencyLength() const
{
    return currency[1] ? 2 : 1;
}

bool LocaleChars::IsExponentChar(char c) const
{
    return std::tolower(static_cast<unsigned char>(c)) == static_cast<unsigned char>(exponentChar);
}

const char* LocaleChars::FindExponentChar(const char* text) const
{
    for (; text && *text; ++text)
        if (IsExponentChar(*text))
            return text;
    return nullptr;
}

bool LocaleChars::IsThousandsLetter(char c) const
{
    return ToUpperAscii(c) == thousandsLetter;
}

bool LocaleChars::IsMillionsLetter(char c) const
{
    return ToUpperAscii(c) == millionsLetter;
}

bool LocaleChars::IsBillionsLetter(char c) const
{
    return ToUpperAscii(c) == billionsLetter;
}

bool LocaleChars::IsUnitLetter(char c) const
{
    return IsThousandsLetter(c) || IsMillionsLetter(c) || IsBillionsLetter(c);
}

const char* LocaleChars::FindUnitLetter(const char* text) const
{
    for (; text && *text; ++text)
        if (IsUnitLetter(*text))
            return text;
    return nullptr;
}
