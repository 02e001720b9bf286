#pragma once
// The application's number characters: decimal point, currency symbol, thousands separator and the letters
// that numbers may carry (exponent e, unit letters K, M and B). One record for the whole process, made at
// start-up from the user's settings or, when the command line asks for fixed characters, from '.', '$' and ','.

class LocaleChars {
public:
    // The record as the fixed characters give it.
    LocaleChars();

    // Makes the process-wide record (replacing an earlier one) and fills it with Read, or with the fixed
    // characters when fixedCharacters is set.
    static void Create(bool fixedCharacters = false);
    static void Destroy();
    // The process-wide record, null before Create.
    static const LocaleChars* Current();
    // The process-wide record, or a record of the fixed characters before Create.
    static const LocaleChars& Active();

    // Takes the decimal point, currency symbol (first two characters) and thousands separator from the
    // user's international settings (IntlSettings).
    void Read();
    // The same from the settings' texts: the first character of the decimal and thousands texts, the first
    // two of the currency text. Empty texts give '.', ',' and '$'.
    void SetFromSettings(const char* decimal, const char* thousands, const char* currencySymbol);

    // True when first equals the currency-first flag and the text begins with the currency symbol.
    bool IsCurrencyAt(const char* text, int first) const;
    // 2 for a two-character currency symbol, else 1.
    int CurrencyLength() const;
    bool IsExponentChar(char c) const;
    const char* FindExponentChar(const char* text) const;
    bool IsThousandsLetter(char c) const;
    bool IsMillionsLetter(char c) const;
    bool IsBillionsLetter(char c) const;
    bool IsUnitLetter(char c) const;
    const char* FindUnitLetter(const char* text) const;

    // The record's sixteen bytes, in order.
    char decimalChar = '.';
    char currency[3] = {'$', 0, 0}; // up to two characters, zero-filled
    char thousandsChar = ',';
    char percentChar = '%';
    char listSeparator = ';';
    char exponentChar = 'e';
    char groupSize = 3;
    char thousandsLetter = 'K';
    char millionsLetter = 'M';
    char billionsLetter = 'B';
    char spareFlag = 0;
    char currencyFirst = 1;
    char negativeInParentheses = 1;
    char lastFlag = 1;
};
