#include "foundation/LocaleChars.h"

#include "foundation/IntlSettings.h"

#include <cctype>
#include <memory>

namespace {

std::unique_ptr<LocaleChars>& Instance()
{
    static std::unique_ptr<LocaleChars> instance;
    return instance;
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
    const IntlSettings settings;
    SetFromSettings(settings.decimal, settings.thousands, settings.currency);
}

void LocaleChars::SetFromSettings(const char* decimal, const char* thousands, const char* currencySymbol)
{
    decimalChar = (decimal && decimal[0]) ? decimal[0] : '.';
    thousandsChar = (thousands && thousands[0]) ? thousands[0] : ',';
    if (!currencySymbol || !currencySymbol[0])
        currencySymbol = "$";
    currency[0] = currencySymbol[0];
    currency[1] = currencySymbol[1];
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
