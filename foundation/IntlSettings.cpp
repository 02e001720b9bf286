#include "foundation/IntlSettings.h"

#include <windows.h>

#include <cctype>

namespace {

void ReadKey(const char* key, const char* fallback, char* out, DWORD size)
{
    GetProfileStringA("intl", key, fallback, out, size);
}

// The negative currency style of "iNegCurr"; two-digit values are told apart by their second character.
char NegativeStyle(const char* negCurr)
{
    if (!std::isdigit(static_cast<unsigned char>(negCurr[0])))
        return '0';
    if (negCurr[0] == '1' && std::isdigit(static_cast<unsigned char>(negCurr[1])))
        return negCurr[1] == '0' ? '2' : '1';
    switch (negCurr[0]) {
    case '0':
    case '4':
        return '0';
    case '3':
    case '7':
        return '2';
    case '6':
        return '3';
    case '2':
        return '4';
    default:
        return '1';
    }
}

} // namespace

IntlSettings::IntlSettings()
{
    ReadKey("sDecimal", ".", decimal, sizeof decimal);
    ReadKey("sThousand", ",", thousands, sizeof thousands);
    if (!thousands[0])
        lstrcpyA(thousands, ",");
    ReadKey("sCurrency", "$", currency, sizeof currency);
    ReadKey("sCurrency", "$", currencyCopy, sizeof currencyCopy);
    ReadKey("sDecimal", ".", monetaryDecimal, sizeof monetaryDecimal);
    ReadKey("sThousand", ",", monetaryThousands, sizeof monetaryThousands);
    if (!monetaryThousands[0])
        lstrcpyA(monetaryThousands, ",");
    positiveSign[0] = '\0';
    lstrcpyA(negativeSign, "-");

    char digits[8];
    ReadKey("iCurrDigits", "2", digits, sizeof digits);
    flags[0] = flags[1] = digits[0];
    char position[8];
    ReadKey("iCurrency", "0", position, sizeof position);
    flags[2] = (position[0] == '0' || position[0] == '2') ? '1' : '0';
    flags[3] = (position[0] == '2' || position[0] == '3') ? '1' : '0';
    char negCurr[8];
    ReadKey("iNegCurr", "0", negCurr, sizeof negCurr);
    const bool twoDigits = negCurr[0] == '1' && std::isdigit(static_cast<unsigned char>(negCurr[1]));
    flags[4] = (!twoDigits && negCurr[0] >= '4' && negCurr[0] <= '8') ? '0' : '1';
    flags[5] = ((!twoDigits && (negCurr[0] == '8' || negCurr[0] == '9')) || (twoDigits && negCurr[1] == '0')) ? '1'
                                                                                                              : '0';
    flags[6] = '1';
    flags[7] = NegativeStyle(negCurr);
}
