// The Expression value type: copies, constants, numbers, table names, and its stored form byte for byte,
// including the older node-list form and the format errors 25 and 26; plain numbers read without a parse.

#include "tests/formula/FormulaTestHelpers.h"

#include "formula/OperandNodes.h"
#include "formula/ParseNodeStream.h"
#include "foundation/Archive.h"
#include "foundation/LocaleChars.h"
#include "foundation/NameList.h"
#include "tests/foundation/StreamBytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const Bytes kVersion = {0x03, 0x05, 0x00};

Bytes Short(int value)
{
    return {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>((value >> 8) & 0xFF)};
}

Bytes Long(uint32_t value)
{
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 24)};
}

Bytes StoredText(const std::string& text)
{
    Bytes bytes = Join({kVersion, Long(static_cast<uint32_t>(text.size()))});
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

// The little-endian bytes of 1.0 and 2.0.
const Bytes kOne = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
const Bytes kTwo = {0, 0, 0, 0, 0, 0, 0x00, 0x40};

TEST(Expression, StoredFormWithItsTree)
{
    Expression expression("1+x*Max(2;x)");
    ASSERT_EQ(0, EvaluateExpression(expression, {{"x", 3}}).error);
    Bytes written = WrittenBytes([&](Archive& archive) { expression.Serialize(archive); });
    Bytes name = Join({Short(0x112), StoredText("X"), Short(-1)});
    Bytes expected = Join({kVersion, StoredText("1+x*Max(2;x)"), Short(2),
                           Short(0x102), Short(1), Short(1),                 // 1 + (...)
                           Short(0x101), kOne,                              //   1
                           Short(0x104), Short(1), Short(1),                 //   x * Max(...)
                           name,                                             //     x
                           Short(0x116), Short(7), Short(2),                 //     Max, 2 arguments
                           Short(1), name,                                   //       the last: x
                           Short(1), Short(0x101), kTwo});                   //       the first: 2
    EXPECT_EQ(expected, written);

    ReadStream stream(written);
    Expression loaded;
    loaded.Serialize(stream);
    EXPECT_EQ(0u, stream->FormatError());
    EXPECT_STREQ("1+x*Max(2;x)", loaded.Text().Text());
    ASSERT_TRUE(loaded.HasParseTree());
    Bytes again = WrittenBytes([&](Archive& archive) { loaded.Serialize(archive); });
    EXPECT_EQ(written, again);
    EXPECT_DOUBLE_EQ(10.0, EvaluateExpression(loaded, {{"x", 3}}).value);
}

TEST(Expression, StoredFormWithoutTreeParsesOnFirstEvaluation)
{
    Expression expression("2*y");
    Bytes written = WrittenBytes([&](Archive& archive) { expression.Serialize(archive); });
    EXPECT_EQ(Join({kVersion, StoredText("2*y"), Short(0)}), written);
    ReadStream stream(written);
    Expression loaded;
    loaded.Serialize(stream);
    EXPECT_FALSE(loaded.HasParseTree());
    EXPECT_DOUBLE_EQ(8.0, EvaluateExpression(loaded, {{"y", 4}}).value);
    EXPECT_TRUE(loaded.HasParseTree());
}

TEST(Expression, OlderNodeListFormIsReadAndDiscarded)
{
    // A pointer array of three items (kinds 1, 4 and 2) after a 2.6 beta 5 text without a tree flag.
    Bytes item1 = Join({kVersion, Short(1), Short(0), kOne});
    Bytes item4 = Join({{0x02, 0x05, 0x00}, Short(4), Short(0), Short(5)});
    Bytes item2 = Join({kVersion, Short(2), Short(0), {0x2B}});
    Bytes list = Join({kVersion, Short(4), {1}, Short(3), Short(213), item1, item4, item2});
    Bytes stored = Join({{0x02, 0x06, 0xB5}, StoredText("1+5"), list, {0xEE}});
    ReadStream stream(stored);
    Expression loaded;
    loaded.Serialize(stream);
    EXPECT_EQ(0u, stream->FormatError());
    EXPECT_FALSE(loaded.HasParseTree());
    EXPECT_EQ(stored.size() - 1, stream->Position());
    EXPECT_DOUBLE_EQ(6.0, EvaluateExpression(loaded).value);

    // The same list after a tree flag of 1 in a newer stream.
    Bytes flagged = Join({kVersion, StoredText("1+5"), Short(1), list});
    ReadStream second(flagged);
    Expression again;
    again.Serialize(second);
    EXPECT_EQ(0u, second->FormatError());
    EXPECT_EQ(flagged.size(), second->Position());
}

TEST(Expression, UnknownItemsAndOverlongTextsAreFormatErrors)
{
    struct StoredCase {
        const char* what;
        Bytes bytes;
        uint32_t formatError;
    };
    Bytes badItem = Join({kVersion, Short(9), Short(0)});
    std::string longText(1501, 'x');
    std::string limitText(1500, 'x');
    const StoredCase cases[] = {
        {"unknown list item", Join({kVersion, StoredText("1"), Short(1), kVersion, Short(4), {1}, Short(1), Short(213), badItem}), 26},
        {"unknown node code", Join({kVersion, StoredText("1"), Short(2), Short(0x117)}), 26},
        {"unknown tree flag", Join({kVersion, StoredText("1"), Short(3)}), 26},
        {"text of 1501", Join({kVersion, StoredText(longText), Short(0)}), 25},
        {"text of 1500", Join({kVersion, StoredText(limitText), Short(0)}), 0},
    };
    for (const StoredCase& c : cases) {
        ReadStream stream(c.bytes);
        Expression loaded;
        loaded.Serialize(stream);
        EXPECT_EQ(c.formatError, stream->FormatError()) << c.what;
        EXPECT_FALSE(loaded.HasParseTree()) << c.what;
    }
    ReadStream stream(Join({kVersion, StoredText(longText), Short(0)}));
    Expression loaded;
    loaded.Serialize(stream);
    EXPECT_EQ(1501u, loaded.Text().Length());
}

// The writer stores only what the reader takes back: a text over 1500 characters not at all (format error 25
// on the writing archive), a tree nested deeper than the reader reads without the tree.
TEST(Expression, WriterStoresOnlyWhatTheReaderTakesBack)
{
    std::string withinLimit = "1";
    for (int i = 1; i < 750; ++i)
        withinLimit += "+1";
    for (const std::string& text : {withinLimit, withinLimit + "+1"}) {
        Expression expression(text.c_str());
        ASSERT_EQ(0, EvaluateExpression(expression).error);
        MemoryStream written(100);
        expression.Serialize(written);
        if (text.size() > Expression::kMaxStoredTextLength) {
            EXPECT_EQ(25u, written.FormatError());
            EXPECT_EQ(0u, written.Position());
            continue;
        }
        ReadStream stream(Bytes(written.Data(), written.Data() + written.Position()));
        Expression loaded;
        loaded.Serialize(stream);
        EXPECT_EQ(0u, stream->FormatError() | stream->State());
        EXPECT_TRUE(loaded.HasParseTree());
        EXPECT_DOUBLE_EQ(750.0, EvaluateExpression(loaded).value);
    }

    ParseNode* deep = new ConstantNode(1.0);
    for (int i = 0; i < kMaxStoredTreeDepth; ++i) {
        ParseNode* negate = MakeParseNode(NodeNegate);
        negate->AddOperand(deep);
        deep = negate;
    }
    Expression expression("-1");
    expression.SetParseTree(deep);
    ReadStream stream(WrittenBytes([&](Archive& archive) { expression.Serialize(archive); }));
    Expression loaded;
    loaded.Serialize(stream);
    EXPECT_EQ(0u, stream->FormatError() | stream->State());
    EXPECT_FALSE(loaded.HasParseTree());
    EXPECT_DOUBLE_EQ(-1.0, EvaluateExpression(loaded).value);
}

TEST(Expression, NothingMovesWhileTheArchiveHasAFormatError)
{
    MemoryStream stream(100);
    stream.SetFormatError(30);
    Expression expression("1");
    expression.Serialize(stream);
    EXPECT_EQ(0u, stream.Position());
}

TEST(Expression, CopiesShareTheirTree)
{
    Expression original("a+1");
    EvaluateExpression(original, {{"a", 1}});
    Expression copy(original);
    ASSERT_TRUE(copy.HasParseTree());
    EXPECT_EQ(original.GetParseTree(), copy.GetParseTree());
    original.DropParseTree();
    EXPECT_FALSE(original.HasParseTree());
    EXPECT_TRUE(copy.HasParseTree());
    EXPECT_DOUBLE_EQ(3.0, EvaluateExpression(copy, {{"a", 2}}).value);

    Expression assigned;
    assigned = copy;
    EXPECT_STREQ("a+1", assigned.Text().Text());
    EXPECT_EQ(copy.GetParseTree(), assigned.GetParseTree());

    ParseNode* tree = copy.GetParseTree();
    copy.Assign(copy);
    EXPECT_EQ(tree, copy.GetParseTree());
    EXPECT_STREQ("a+1", copy.Text().Text());
    EXPECT_DOUBLE_EQ(5.0, EvaluateExpression(copy, {{"a", 4}}).value);
}

// A context that refuses unknown names as the tree-bound one does: by the name as the check is given it.
class TypedNameContext : public TestContext {
public:
    using TestContext::TestContext;
    void CheckUndefinedVariable(const zString& name, const zString& upperName) override
    {
        for (const auto& entry : variables) {
            if (upperName == entry.first.c_str())
                return;
        }
        formula->SetError(FormulaUnknownVariable, &name);
    }
};

struct FirstOutcome {
    double value;
    int error;
    std::string argument;
};

FirstOutcome EvaluateFirst(Expression& expression, Variables variables)
{
    FormulaRef ref(new TypedNameContext(std::move(variables)), 1, "payoff");
    const double value = ref.Evaluate(expression);
    return {value, ref.ErrorCode(), ref.GetFormula().ErrorArg1().Text()};
}

// A second expression of a text whose tree another keeps is evaluated the first time exactly as its parse
// would evaluate it (the stricter operator rules, the names as typed; after an error names give stand-in
// values), and shares the tree when no error arose.
TEST(Expression, FirstEvaluationOfASharedTextIsTheParses)
{
    struct SharedCase {
        const char* text;
        Variables first;
        Variables second;
    };
    const SharedCase cases[] = {
        {"1/x", {{"x", 1}}, {{"x", 1e-11}}},
        {"Rate^0.5", {{"rate", 4}}, {{"rate", -4}}},
        {"x & 1", {{"x", 1}}, {{"x", 1e-11}}},
        {"Cost+1", {{"cost", 1}}, {}},
        {"(a+b)*c - -a/2 >= b", {{"a", 1}, {"b", 2}, {"c", 3}}, {{"a", 5}, {"b", -2}, {"c", 0.5}}},
    };
    for (const SharedCase& c : cases) {
        Expression kept(c.text);
        ASSERT_EQ(0, EvaluateFirst(kept, c.first).error) << c.text;
        Expression parsed(("(" + std::string(c.text) + ")").c_str());
        const FirstOutcome expected = EvaluateFirst(parsed, c.second);
        Expression second(c.text);
        const FirstOutcome outcome = EvaluateFirst(second, c.second);
        EXPECT_EQ(expected.error, outcome.error) << c.text;
        EXPECT_EQ(expected.argument, outcome.argument) << c.text;
        if (expected.error == 0) {
            EXPECT_EQ(0, std::memcmp(&expected.value, &outcome.value, sizeof(double))) << c.text;
        }
        EXPECT_EQ(outcome.error == 0 ? kept.GetParseTree() : nullptr, second.GetParseTree()) << c.text;
    }
}

// Thousands of texts join and leave the shared ones: a text is found while an expression keeps its tree, and
// only then.
TEST(Expression, SharedTextsStayFoundAsOthersLeave)
{
    const int count = 3000;
    auto text = [](int i) { return "x*" + std::to_string(i) + "+" + std::to_string(i % 7); };
    std::vector<std::unique_ptr<Expression>> kept;
    for (int i = 0; i < count; ++i) {
        kept.push_back(std::make_unique<Expression>(text(i).c_str()));
        ASSERT_EQ(0, EvaluateExpression(*kept.back(), {{"x", 1}}).error);
    }
    for (int i = 0; i < count; i += 2)
        kept[static_cast<size_t>(i)].reset();
    for (int i = 0; i < count; ++i) {
        Expression again(text(i).c_str());
        const FormulaOutcome outcome = EvaluateExpression(again, {{"x", 2}});
        EXPECT_DOUBLE_EQ(2.0 * i + i % 7, outcome.value) << i;
        const auto& keeper = kept[static_cast<size_t>(i)];
        if (keeper) {
            EXPECT_EQ(keeper->GetParseTree(), again.GetParseTree()) << i;
        }
    }
}

TEST(Expression, ConstantsAndNumbers)
{
    struct ConstantCase {
        const char* text;
        bool isConstant;
        double value;
    };
    const ConstantCase cases[] = {{"0.25", true, 0.25}, {"-(5)", true, -5.0}, {"+-2", true, -2.0},
                                  {"3+0", false, 0.0},  {"2*3", false, 0.0},  {"x", false, 0.0},
                                  {"", false, 0.0},     {"1/0", false, 0.0},  {"(", false, 0.0}};
    for (const ConstantCase& c : cases) {
        Expression expression(c.text);
        double value = -99.0;
        EXPECT_EQ(c.isConstant, expression.GetConstant(&value)) << c.text;
        if (c.isConstant) {
            EXPECT_DOUBLE_EQ(c.value, value) << c.text;
        }
    }

    Expression number;
    number.SetNumber(0.25);
    EXPECT_STREQ("0.25", number.Text().Text());
    ASSERT_TRUE(number.HasParseTree());
    EXPECT_EQ(NodeConstant, number.GetParseTree()->TypeCode());
    double value = 0.0;
    EXPECT_TRUE(number.GetConstant(&value));
    EXPECT_DOUBLE_EQ(0.25, value);
    number.SetNumber(3.0, "three");
    EXPECT_STREQ("three", number.Text().Text());
    EXPECT_TRUE(number.GetConstant(&value));
    EXPECT_DOUBLE_EQ(3.0, value);
}

TEST(Expression, TableNamesOfTheCachedTree)
{
    TestContext* context = new TestContext;
    context->AddTable("Rates", {{1, 1}});
    context->AddTable("Age", {{1, 1}});
    FormulaRef ref(context, 1, "payoff");
    Expression expression("rates[1] + Age[Rates[1]] + RATES[1; 2]");
    ref.Evaluate(expression);
    ASSERT_TRUE(expression.HasParseTree());
    NameList names(4, true);
    CollectTableNames(expression, names);
    ASSERT_EQ(2, names.Count());
    EXPECT_STREQ("AGE", static_cast<zString*>(names.At(0))->Text());
    EXPECT_STREQ("RATES", static_cast<zString*>(names.At(1))->Text());
    Expression uncached("Rates[1]");
    NameList none(4, true);
    CollectTableNames(uncached, none);
    EXPECT_EQ(0, none.Count());
}

// A text that is a plain number is read as one, without a parse; one that only looks like a number is parsed.
// Either way the expression evaluates, keeps its tree and is stored as the parse of the text in parentheses
// gives them (the text as typed, the same tree), in both modes and under other number characters.
TEST(Expression, PlainNumbersEvaluateAndStoreAsTheirParse)
{
    const std::string zeros(400, '0');
    const std::string texts[] = {"0.30", "125", "00012.500", "0", "0.1234567890123456789", "98765432109876543210",
                                 "1000000000000000000000", "1" + zeros.substr(0, 22), "1" + zeros, "1e5", "-3",
                                 ".5", "5.", "1,000", "3 ", " 3", "0x10", "1.2.3", "$12", "12%", "2K", "1..2"};
    struct Characters {
        char decimal;
        char thousands;
    };
    const Characters characterSets[] = {{'.', ','}, {',', '.'}};
    for (const Characters& characters : characterSets) {
        LocaleChars::Create(true);
        auto& locale = const_cast<LocaleChars&>(*LocaleChars::Current());
        locale.decimalChar = characters.decimal;
        locale.thousandsChar = characters.thousands;
        for (int mode = 1; mode >= 0; --mode) {
            for (const std::string& text : texts) {
                Expression plain(text.c_str());
                Expression parsed(("(" + text + ")").c_str());
                const FormulaOutcome read = EvaluateExpression(plain, {}, mode);
                const FormulaOutcome expected = EvaluateExpression(parsed, {}, mode);
                const std::string label = text + ", mode " + std::to_string(mode) + ", decimal " + characters.decimal;
                EXPECT_EQ(expected.error, read.error) << label;
                uint64_t readBits = 0;
                uint64_t expectedBits = 0;
                std::memcpy(&readBits, &read.value, sizeof readBits);
                std::memcpy(&expectedBits, &expected.value, sizeof expectedBits);
                EXPECT_EQ(expectedBits, readBits) << label;
                ASSERT_EQ(parsed.HasParseTree(), plain.HasParseTree()) << label;
                if (!parsed.HasParseTree())
                    continue;
                const Bytes tree = WrittenBytes([&](Archive& archive) { WriteParseNode(archive, *parsed.GetParseTree()); });
                EXPECT_EQ(Join({kVersion, StoredText(text), Short(2), tree}),
                          WrittenBytes([&](Archive& archive) { plain.Serialize(archive); }))
                    << label;
            }
        }
    }
    LocaleChars::Create(true);
}

// Expressions of one value may share its tree: each keeps its own text, and a change or the end of one leaves
// the others, and the same number read after all are gone, as they were.
TEST(Expression, PlainNumbersOfOneValueStayApart)
{
    auto half = std::make_unique<Expression>("0.5");
    auto typedLonger = std::make_unique<Expression>("0.50");
    EXPECT_EQ(0.5, EvaluateExpression(*half).value);
    EXPECT_EQ(0.5, EvaluateExpression(*typedLonger).value);
    auto copy = std::make_unique<Expression>(*half);
    half->SetText("2");
    EXPECT_EQ(2.0, EvaluateExpression(*half).value);
    EXPECT_EQ(0.5, EvaluateExpression(*copy).value);
    EXPECT_STREQ("0.50", typedLonger->Text().Text());
    EXPECT_EQ(Join({kVersion, StoredText("0.50"), Short(2), Short(0x101), {0, 0, 0, 0, 0, 0, 0xE0, 0x3F}}),
              WrittenBytes([&](Archive& archive) { typedLonger->Serialize(archive); }));
    half.reset();
    typedLonger.reset();
    copy.reset();
    Expression quarter("0.25");
    Expression again("0.5");
    EXPECT_EQ(0.25, EvaluateExpression(quarter).value);
    EXPECT_EQ(0.5, EvaluateExpression(again).value);
    double number = 0.0;
    ASSERT_TRUE(again.CachedNumber(&number));
    EXPECT_EQ(0.5, number);
}

}  // namespace
