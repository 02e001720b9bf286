#include "model/DecimalConversion.h"

#include "foundation/zString.h"

#include <gtest/gtest.h>

namespace {

// Only number literals change: never names, argument separators or quoted texts.
TEST(DecimalConversion, OnlyNumberLiteralsChange)
{
    struct Case {
        const char* text;
        char from, to;
        const char* expected;
    } cases[] = {
        {"1,5*2", ',', '.', "1.5*2"},
        {"MAX(1, 2;3,25)", ',', '.', "MAX(1, 2;3.25)"},
        {"X1,5+A_2,5", ',', '.', "X1,5+A_2,5"},
        {"IF(A=\"1,5\";10,5;0)", ',', '.', "IF(A=\"1,5\";10.5;0)"},
        {"0.25+.5", '.', ',', "0,25+.5"},
        {"1,", ',', '.', "1,"},
    };
    for (const Case& c : cases) {
        zString text(c.text);
        EXPECT_EQ(ChangeLiteralDecimals(text, c.from, c.to), std::string(c.text) != c.expected) << c.text;
        EXPECT_STREQ(text.Text(), c.expected);
    }
}

} // namespace
