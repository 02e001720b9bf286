// Thousands of random and truncated formula texts and stored forms: the parser and the reader answer each
// with a value or an error and never crash or hang, and every formula the parser accepts reads back as it was
// written (or, longer than the stored form holds, is refused by the writer).

#include "tests/formula/FormulaTestHelpers.h"

#include "formula/ParseNode.h"
#include "foundation/MemoryStream.h"
#include "tests/foundation/StreamBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

const char* const kFragments[] = {
    "1", "2.5", ",", "$1,000", "1e", "1e3", "K", "50%", "x", "y1", "_stage", "dNormal", "Pi()", "Sum(", "If(",
    "Choose(", "Max(", "Rates[", "Sub(", "DistSamp(", "Dist(", "(", ")", "[", "]", ";", "+", "-", "*", "/",
    "^", "&", "|", "!", "<", ">", "<=", ">=", "<>", "=", " ", "\t", "\n", ".", "#", "@", "\xA3", "\xFF", "0",
    "1/0", "Ln(0)", "Unknown(", "1e400", "Inf()", "Modulo(", "-2^0.5", "Stdev(",
};

std::string RandomFormula(std::mt19937& random)
{
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof(kFragments) / sizeof(kFragments[0])) - 1);
    std::string text;
    for (int n = length(random); n > 0; --n)
        text += kFragments[pick(random)];
    return text;
}

std::string RandomBytes(std::mt19937& random)
{
    std::uniform_int_distribution<int> length(0, 40);
    std::uniform_int_distribution<int> byte(1, 255);
    std::string text;
    for (int n = length(random); n > 0; --n)
        text += static_cast<char>(byte(random));
    return text;
}

TestContext* MakeContext(double x)
{
    TestContext* context = new TestContext({{"x", x}});
    context->AddTable("Rates", {{1, 2}, {2, 4}});
    return context;
}

// An accepted formula is written and read back: its text, and a tree that evaluates as the original does;
// a text longer than the stored form holds is refused by the writer (format error 25).
void ExpectReadBack(Expression& expression, const std::string& text)
{
    MemoryStream written(100);
    expression.Serialize(written);
    if (text.size() > Expression::kMaxStoredTextLength) {
        ASSERT_EQ(25u, written.FormatError()) << text;
        return;
    }
    ReadStream stream(Bytes(written.Data(), written.Data() + written.Position()));
    Expression loaded;
    loaded.Serialize(stream);
    ASSERT_EQ(0u, stream->State() | stream->FormatError()) << text;
    ASSERT_STREQ(text.c_str(), loaded.Text().Text());
    ASSERT_TRUE(loaded.HasParseTree()) << text;
    FormulaRef original(MakeContext(2), 1, "payoff");
    FormulaRef back(MakeContext(2), 1, "payoff");
    double value = original.Evaluate(expression);
    double valueBack = back.Evaluate(loaded);
    ASSERT_EQ(original.ErrorCode(), back.ErrorCode()) << text;
    if (original.ErrorCode() == 0) {
        EXPECT_TRUE(value == valueBack || (std::isnan(value) && std::isnan(valueBack))) << text;
    }
}

// Evaluates the text on both paths and on the cached tree, in both modes; checks the absence of a crash, a
// sane error number, and that an accepted formula reads back as it was written.
void Exercise(const std::string& text)
{
    for (int mode = 0; mode <= 1; ++mode) {
        FormulaRef ref(MakeContext(0.5), mode, "payoff");
        Expression expression(text.c_str());
        ref.Evaluate(expression);
        int error = ref.ErrorCode();
        ASSERT_TRUE(error >= 0 && error < 29) << text;
        ref.Reset(new TestContext({{"x", -3}}), mode, "payoff");
        ref.Evaluate(expression);
        ref.Reset(new TestContext, mode, "payoff");
        ref.EvaluateText(text.c_str());
        if (expression.HasParseTree()) {
            ExpectReadBack(expression, text);
            Expression copy(expression);
            copy.GetParseTree()->Evaluate(nullptr);
            Bytes stored = WrittenBytes([&](Archive& archive) { copy.Serialize(archive); });
            for (size_t cut = 0; cut < stored.size(); cut += 1 + stored.size() / 16) {
                ReadStream stream(Bytes(stored.begin(), stored.begin() + cut));
                Expression loaded;
                loaded.Serialize(stream);
                ASSERT_TRUE(stream->State() != 0 || stream->FormatError() != 0) << text << " cut at " << cut;
            }
        }
    }
}

TEST(FormulaFuzz, RandomAndTruncatedTexts)
{
    std::mt19937 random(20261207);
    for (int i = 0; i < 3000; ++i) {
        std::string text = (i % 3 == 2) ? RandomBytes(random) : RandomFormula(random);
        Exercise(text);
        for (size_t cut = 1; cut < text.size(); cut += 3)
            Exercise(text.substr(0, cut));
        if (HasFatalFailure())
            return;
    }
}

// Accepted formulas joined by operators into texts on both sides of the stored form's limit and far beyond
// it: each is evaluated and written back like a short one.
TEST(FormulaFuzz, LongJoinedFormulas)
{
    std::mt19937 random(11);
    std::vector<std::string> accepted;
    while (accepted.size() < 100) {
        std::string text = RandomFormula(random);
        Expression expression(text.c_str());
        FormulaRef ref(MakeContext(0.5), 1, "payoff");
        ref.Evaluate(expression);
        if (expression.HasParseTree())
            accepted.push_back(text);
    }
    // Operators that cannot fail, so that most joined formulas are accepted too.
    const char* const operators[] = {"+", "-", "&", "|", "<", "=", "<>"};
    std::uniform_int_distribution<size_t> pick(0, accepted.size() - 1);
    std::uniform_int_distribution<int> op(0, 6);
    for (size_t length : {1300u, 1450u, 1500u, 1600u, 20000u}) {
        for (int round = 0; round < 8; ++round) {
            std::string text = "(" + accepted[pick(random)] + ")";
            while (text.size() < length)
                text += operators[op(random)] + ("(" + accepted[pick(random)] + ")");
            Exercise(text);
            if (HasFatalFailure())
                return;
        }
    }
}

TEST(FormulaFuzz, RandomAndDamagedStoredForms)
{
    std::mt19937 random(7);
    std::vector<Bytes> samples;
    for (const char* text : {"1+x*Max(2;x)", "If(x>1; Rates[x]; -(x^2))", "Choose(2; 1; 2; 3)", "!x|x&1<=2"}) {
        Expression expression(text);
        TestContext* context = new TestContext({{"x", 2}});
        context->AddTable("Rates", {{1, 2}});
        FormulaRef ref(context, 1, "payoff");
        ref.Evaluate(expression);
        ASSERT_TRUE(expression.HasParseTree()) << text;
        samples.push_back(WrittenBytes([&](Archive& archive) { expression.Serialize(archive); }));
    }
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 4000; ++i) {
        Bytes bytes = samples[i % samples.size()];
        std::uniform_int_distribution<size_t> position(0, bytes.size() - 1);
        int flips = 1 + i % 4;
        for (int f = 0; f < flips; ++f)
            bytes[position(random)] = static_cast<uint8_t>(byte(random));
        if (i % 5 == 0)
            bytes.resize(position(random));
        if (i % 7 == 0) {
            bytes.assign(12 + i % 50, 0);
            for (uint8_t& b : bytes)
                b = static_cast<uint8_t>(byte(random));
        }
        ReadStream stream(bytes);
        Expression loaded;
        loaded.Serialize(stream);
        if (loaded.HasParseTree()) {
            FormulaRef ref(new TestContext({{"x", 1}}), 1, "payoff");
            ref.Evaluate(loaded);
            loaded.GetParseTree()->Evaluate(nullptr);
            Expression copy(loaded);
            WrittenBytes([&](Archive& archive) { copy.Serialize(archive); });
        }
    }
}

TEST(FormulaFuzz, DeeplyNestedStoredTreesAreRefused)
{
    // 20000 nested unary minus nodes, each stored as its word and an operand flag.
    Bytes bytes = {0x03, 0x05, 0x00, 0x03, 0x05, 0x00, 1, 0, 0, 0, '1', 0, 2, 0};
    for (int i = 0; i < 20000; ++i) {
        bytes.push_back(0x07);
        bytes.push_back(0x01);
        bytes.push_back(1);
        bytes.push_back(0);
    }
    Bytes one = {0x01, 0x01, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
    bytes.insert(bytes.end(), one.begin(), one.end());
    ReadStream stream(bytes);
    Expression loaded;
    loaded.Serialize(stream);
    EXPECT_EQ(26u, stream->FormatError());
    EXPECT_FALSE(loaded.HasParseTree());
}

}  // namespace
