#pragma once
// The user's number and currency conventions, read from the [intl] section of WIN.INI. Every missing key
// falls back to its default, so reading never fails.

class IntlSettings {
public:
    IntlSettings();

    char decimal[2];          // "sDecimal", "."
    char thousands[2];        // "sThousand", ","; empty becomes ","
    char currency[10];        // "sCurrency", "$"
    char currencyCopy[10];    // the same key and default
    char monetaryDecimal[2];  // "sDecimal", "."
    char monetaryThousands[2];// "sThousand", ","; empty becomes ","
    char positiveSign[10];    // empty
    char negativeSign[10];    // "-"
    // 0, 1: currency digits ("iCurrDigits"); 2: symbol before the amount; 3: space between symbol and amount;
    // 4: symbol before negative amounts; 5: "iNegCurr" 8, 9 or 10; 6: always '1'; 7: negative style
    // ('0' parentheses, '1' leading minus, '2' trailing minus, '3' and '4' the two sign-and-symbol orders).
    char flags[8];
};
