#include "widgets/RangeValidator.h"
#include "foundation/LocaleChars.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Types the characters into the text with the selection, as the field does; answers the new text and caret.
std::string Typed(Validator& validator, const char* text, TextSelection selection, const char* input)
{
    zString edited(text);
    std::string typed(input);
    validator.Edit(edited, &typed[0], static_cast<int>(typed.size()), selection);
    return std::string(edited.Text()) + "|" + std::to_string(selection.start);
}

TEST(RangeValidator, LargeValueCharactersOnlyWhereTheRangeAdmitsThem)
{
    RealRangeValidator small(0, 100, 1);
    RealRangeValidator large(0, 5000, 1);
    IntegerRangeValidator below(0, 10, 4);
    IntegerRangeValidator any(0, 0, 0);
    const struct {
        Validator* validator;
        const char* input;
        const char* expected;
    } cases[] = {
        {&small, ",", "12|2"},  {&small, "K", "12|2"},  {&large, ",", "12,|3"}, {&large, "K", "12K|3"},
        {&small, "5", "125|3"}, {&small, ".", "12.|3"}, {&below, "e", "12|2"},  {&any, "e", "12e|3"},
        {&any, ".", "12|2"},    {&small, "7x8", "1278|4"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Typed(*c.validator, "12", TextSelection{2, 2}, c.input), c.expected) << c.input;
}

TEST(RangeValidator, BackspaceAtTheStartAndDeleteAtTheEndChangeNothing)
{
    RealRangeValidator validator(0, 0, 0);
    const char backspace[] = {8, 0};
    const char del[] = {8, 8, 0};
    EXPECT_EQ(Typed(validator, "123", TextSelection{0, 0}, backspace), "123|0");
    EXPECT_EQ(Typed(validator, "123", TextSelection{3, 3}, del), "123|3");
    EXPECT_EQ(Typed(validator, "123", TextSelection{2, 2}, backspace), "13|1");
    EXPECT_EQ(Typed(validator, "123", TextSelection{1, 1}, del), "13|1");
    EXPECT_EQ(Typed(validator, "12345", TextSelection{1, 4}, backspace), "15|1");
}

TEST(RangeValidator, CheckSelectsTheOffendingCharacterOrRefusesTheRangeWithItsMessage)
{
    MessageBoxRecorder boxes;
    IntegerRangeValidator atLeastZero(0, 0, 3);
    TextSelection selection{0, 0};
    EXPECT_EQ(atLeastZero.Check(zString("12x4"), selection), 0);
    EXPECT_EQ(selection.start, 3);
    EXPECT_EQ(selection.end, 2);
    EXPECT_EQ(boxes.Count(), 0u);

    EXPECT_EQ(atLeastZero.Check(zString("-1"), selection), 0);
    EXPECT_EQ(selection.start, 0);
    EXPECT_EQ(selection.end, 1000);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "This field takes integers greater than or equal to 0.");
    EXPECT_EQ(atLeastZero.Check(zString("0"), selection), 1);

    const struct {
        int kind;
        const char* text;
        const char* message;
    } refusals[] = {{1, "101", "This field takes numbers between 0 and 100."},
                    {2, "100", "This field takes numbers greater than 100."},
                    {4, "100", "This field takes numbers less than 100."},
                    {5, "100.5", "This field takes numbers less than or equal to 100."}};
    for (const auto& c : refusals) {
        RealRangeValidator validator(0, 100, c.kind);
        EXPECT_EQ(validator.Check(zString(c.text), selection), 0) << c.kind;
        EXPECT_EQ(boxes.Last().text, c.message);
    }
    RealRangeValidator between(0, 100, 1);
    EXPECT_EQ(between.Check(zString("99.5"), selection), 1);
}

// A real text must also read as a constant formula of the same value.
TEST(RangeValidator, RealTextsMustReadAsConstantFormulas)
{
    MessageBoxRecorder boxes;
    RealRangeValidator any(0, 0, 0);
    const struct {
        const char* text;
        int accepted;
    } cases[] = {{"1,000", 1}, {"2.5K", 1}, {"-3e2", 1}, {"5e", 0}};
    for (const auto& c : cases) {
        TextSelection selection{0, 0};
        EXPECT_EQ(any.Check(zString(c.text), selection), c.accepted) << c.text;
    }
}

// Under a locale whose decimal character is a comma, a typed point becomes a comma, and the result checks.
TEST(RangeValidator, TypedPointBecomesTheLocaleDecimalComma)
{
    LocaleChars::Create(true);
    const_cast<LocaleChars&>(*LocaleChars::Current()).SetFromSettings(",", ".", "$");
    RealRangeValidator validator(0, 100, 1);
    const std::string typed = Typed(validator, "12", TextSelection{2, 2}, ".");
    TextSelection selection{0, 0};
    const int accepted = validator.Check(zString("12,5"), selection);
    LocaleChars::Destroy();
    EXPECT_EQ(typed, "12,|3");
    EXPECT_EQ(accepted, 1);
}

TEST(RangeValidator, NormaliseDropsCurrencyAndThousandsSeparators)
{
    RealRangeValidator validator(0, 0, 0);
    zString text("$1,234.5");
    validator.Normalise(text, 0);
    EXPECT_EQ(text, "1234.5");
}

} // namespace
