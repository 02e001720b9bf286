#include "framework/draw/MultiLineText.h"

#include "foundation/FontRecord.h"
#include "framework/dialog/FontWidthTable.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/MeasuringDisplay.h"
#include "framework/draw/MetafileDisplay.h"

#include <string>

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
    const char* text = "ab\ncd";
    EXPECT_EQ(NextLineBreak(text), text + 2);
    EXPECT_EQ(NextLineBreak("abc"), nullptr);
}

namespace {

// Measured at run time on a screen-compatible bitmap: fonts are substituted on the test machines.
class MeasuredText : public testing::Test {
protected:
    BitmapDisplay display{4, 4};
    FontRecord font;  // Times New Roman 12
};

} // namespace

TEST_F(MeasuredText, MultiLineSizeIsTheWidestLineByTheLineCount)
{
    const float line = TextLineHeight(display, &font);
    ASSERT_GT(line, 0.0f);
    const struct {
        const char* text;
        int lines;
        const char* widest;
    } rows[] = {{"ab\r\nabc\nb", 3, "abc"}, {"x\n", 2, "x"}, {"short\n\rmuch longer", 2, "much longer"}, {"", 0, ""}};
    for (const auto& row : rows) {
        const LogicalSize size = MeasureMultiLineText(display, row.text, &font, true, true);
        EXPECT_FLOAT_EQ(size.height, row.lines * line) << row.text;
        EXPECT_FLOAT_EQ(size.width, TextWidth(display, row.widest, &font)) << row.text;
    }
}

TEST_F(MeasuredText, TruncationKeepsAtLeastThreeCharactersOrCutsOnce)
{
    const struct {
        const char* text;
        float width;
        const char* expected;
    } rows[] = {{"WW", 0.01f, "W..."}, {"WWWWWWWWWW", 0.01f, "WWW..."}, {"fits", 5.0f, "fits"}};
    for (const auto& row : rows) {
        zString text = row.text;
        TruncateTextToWidth(display, text, row.width, &font);
        EXPECT_STREQ(text.Text(), row.expected) << row.text;
    }
}

TEST_F(MeasuredText, LinesFitTakeOneCharacterAtLeastAndStartsPass32767)
{
    FontWidthTable widths{};
    FontWidthTable::Build(widths, display);
    const int wide = widths.widths['W'];
    EXPECT_EQ(FitLineToWidth(widths, "WWW", 0, wide - 1), 1);
    EXPECT_EQ(FitLineToWidth(widths, "ab\r\ncd", 0, 10000), 4);
    EXPECT_EQ(FitLineToWidth(widths, "ab", 2, 10000), -1);

    const std::string longText(40000, 'W');
    int32_t start = 0;
    int lines = 0;
    while ((start = FitLineToWidth(widths, longText.c_str(), start, 10 * wide)) >= 0 && ++lines < 10000)
        if (start == static_cast<int32_t>(longText.size()))
            break;
    EXPECT_EQ(lines, 4000);
}

TEST_F(MeasuredText, PicturesMeasureOnAUsableDeviceWithoutAPrinter)
{
    MetafileDisplay picture(nullptr);
    Display& measuring = CurrentPrinter(picture);
    EXPECT_NE(&measuring, static_cast<Display*>(&picture));
    EXPECT_GT(measuring.LogPixelsX(), 0);
    EXPECT_GT(TextWidth(picture, "Measured", &font), 0.0f);
    EXPECT_GT(TextLineHeight(picture, &font), 0.0f);
}
