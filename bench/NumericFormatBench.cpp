// Numbers formatted and parsed per second through the number format and the locale characters.

#include "bench/Bench.h"

#include "foundation/LocaleChars.h"
#include "foundation/NumericFormat.h"

KIVO_BENCH(NumericFormatting)
{
    LocaleChars::Create(true);
    const NumericFormat& format = DefaultNumericFormat;
    zString text;
    double value = 1234.5678;
    BenchReport("plain number, up to 9 places", 500000, [&] {
        value += 1.25;
        FormatNumber(format, value, text, false, false, -9);
        BenchKeep(text.Length());
    });
    BenchReport("displayed number, grouping and currency", 500000, [&] {
        value += 1.25;
        FormatNumber(format, value, text, true, true, 2);
        BenchKeep(text.Length());
    });
    double parsed = 0.0;
    int error = 0;
    BenchReport("parse \"$1,234,567.89\"", 1000000, [&] {
        ParseNumber("$1,234,567.89", parsed, error);
        BenchKeep(parsed);
    });
}
