#include "framework/draw/MultiLineText.h"

#include <gtest/gtest.h>

TEST(MultiLineText, LineBreaksAreOneOrTwoCharacters)
{
    const struct {
        const char* text;
        int length;
        int count;
    } rows[] = {
        {"\r\nx", 2, 1},    {"\n\rx", 2, 1},   {"\n\nx", 1, 2}, {"\r\rx", 1, 2}, {"\rx", 1, 1},
        {"a\r\nb\nc", 0, 2}, {"a\n\r\nb", 0, 2}, {"", 0, 0},     {nullptr, 0, 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(LineBreakLength(row.text), row.length) << (row.text ? row.text : "null");
        EXPECT_EQ(CountLineBreaks(row.text), row.count) << (row.text ? row.text : "null");
    }
}
