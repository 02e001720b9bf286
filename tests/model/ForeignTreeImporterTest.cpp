#include "foundation/Host.h"
#include "foundation/MemoryStream.h"
#include "model/ForeignTreeImporter.h"
#include "model/MarkovInfo.h"
#include "model/NoteBox.h"
#include "model/TreeNode.h"
#include "model/TreeNodeRecords.h"
#include "model/TreeWalks.h"
#include "model/VariableDefinition.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/model/ForeignFileBuilder.h"
#include "tests/model/WriteBack.h"
#include "model/TreeDocument.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace foreign_test;

TEST(ForeignCharacters, MapTable)
{
    const struct {
        int byte;
        char mapped;
    } cases[] = {{135, 'a'}, {138, 'a'}, {140, 'a'}, {141, 'c'}, {162, 'c'}, {169, 'c'}, {142, 'e'}, {145, 'e'},
                 {146, 'i'}, {149, 'i'}, {150, 'n'}, {151, 'o'}, {155, 'o'}, {156, 'u'}, {159, 'u'}, {165, '*'},
                 {167, 'b'}, {168, 'r'}, {170, '"'}, {210, '"'}, {211, '"'}, {177, '+'}, {192, '?'}, {193, '!'},
                 {201, '.'}, {207, 'f'}, {208, '-'}, {209, '-'}, {212, '\''}, {213, '\''}, {65, 'A'},
                 {134, static_cast<char>(134)}, {160, static_cast<char>(160)}, {0, '\0'}};
    for (const auto& c : cases)
        EXPECT_EQ(MapForeignChar(static_cast<uint8_t>(c.byte)), c.mapped) << c.byte;
}

TEST(ForeignDetection, HeaderMarksAndBorderCode)
{
    auto prefixOnly = [](int firstByte, int secondByte, int border) {
        BigEndian file;
        file.U8(firstByte).U8(secondByte).Zeros(10).U8(border).Zeros(3);
        return file.bytes;
    };
    BigEndian textLike;
    textLike.Raw("Start(D)\r\nTO:").U8(7).Zeros(3);
    const struct {
        const char* name;
        Bytes bytes;
        bool header;
        bool foreign;
    } cases[] = {
        {"header", Header().bytes, true, true},
        {"reversed tags", Header("!OGE", "EERT").bytes, true, true},
        {"wrong tag", Header("EGO?", "TREE").bytes, false, false},
        {"border 1", prefixOnly(0, 1, 1), false, true},
        {"border 7", prefixOnly(0, 1, 7), false, true},
        {"border -7", prefixOnly(0, 1, 0xF9), false, true},
        {"border 20", prefixOnly(0, 1, 20), false, true},
        {"border 3", prefixOnly(0, 1, 3), false, false},
        {"native mark read swapped", prefixOnly(0x00, 0x22, 7), false, false},
        {"native mark", prefixOnly(0x22, 0x00, 7), false, false},
        {"older text", textLike.bytes, false, false},
        {"too short", Bytes{0, 1, 7}, false, false},
        {"empty", Bytes{}, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = c.bytes;
        MemoryStream stream(bytes.empty() ? nullptr : bytes.data(), static_cast<uint32_t>(bytes.size()), false);
        EXPECT_EQ(IsForeignTreeFile(stream), c.foreign);
        EXPECT_EQ(stream.Tell(), 0);
        EXPECT_EQ(stream.State(), 0u);
        EXPECT_EQ(HasForeignHeader(stream), c.header);
    }
}

TEST(ForeignImport, Variant205SettingsNotesVariablesNodesAndClones)
{
    MessageBoxRecorder boxes;
    ImportResult result = Import(Sample205(7, "", 0, true).bytes);
    ASSERT_TRUE(result.ok) << result.state << " " << result.formatError;
    TreeDocument& document = *result.document;
    EXPECT_EQ(document.DisplayPrefs.AlignEndNodes, 1);
    EXPECT_EQ(document.DisplayPrefs.AddAbove, 0);
    EXPECT_EQ(document.CalcPrefs.OptPath[0], 1);
    EXPECT_EQ(document.CalcPrefs.OptPath[1], 0);
    EXPECT_EQ(document.CalcPrefs.OptPath[2], 1);
    EXPECT_EQ(document.CalcPrefs.RollBackCalculatesKey, RollBackPathProbabilities);
    EXPECT_EQ(document.HideCloneContents, 1);
    EXPECT_EQ(document.DisplayPrefs.NoteBoxBorderKey, 1);
    EXPECT_EQ(document.CalcPrefs.PayoffFormats[0].expValDigits, 2);
    EXPECT_EQ(document.CalcPrefs.PayoffFormats[0].probDigits, 3);
    EXPECT_EQ(document.CalcPrefs.PayoffFormats[0].commas, 1);
    EXPECT_EQ(document.CalcPrefs.PayoffFormats[0].chopOff, 3);
    EXPECT_EQ(document.CalcPrefs.PayoffFormats[2].expValDigits, 1);
    EXPECT_EQ(document.CalcPrefs.PayoffFormats[2].probDigits, 5);
    EXPECT_EQ(document.CalcPrefs.PayoffFormats[2].chopOff, 6);
    EXPECT_EQ(document.CalcPrefs.PayoffFormats[2].axisDigits, 4);
    EXPECT_EQ(document.CalcPrefs.UseUtility, 1);
    EXPECT_EQ(document.RiskAssessment.coefficient, 0.25);
    EXPECT_EQ(document.RiskAssessment.type, 1);
    // The non-constant function of variant 0x205 is not carried over.
    EXPECT_EQ(document.RiskAssessment.pointsAssessed, 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Your non-constant risk preference function has been lost in translation.");

    EXPECT_TRUE(document.HasVariable("RATE", true));
    ASSERT_EQ(document.NoteBoxes.Count(), 1);
    NoteBox* note = document.NoteBoxes.At(0);
    EXPECT_STREQ(note->text.Text(), "Note a");
    EXPECT_EQ(note->ownerTree, &document);
    const PixelsPerInch screen = TheHost().ScreenResolution();
    EXPECT_NEAR(note->GetTextRect().left, 36 / screen.x * 1.3333334, 1e-5);
    EXPECT_NEAR(note->GetTextRect().bottom, 144 / screen.y * 1.3333334, 1e-5);

    TreeNode* root = document.Root;
    EXPECT_STREQ(root->text.Text(), "Start");
    EXPECT_EQ(root->kind, DecisionNode);
    EXPECT_EQ(Binding(root, "RATE"), "0.1");
    ASSERT_EQ(root->childCount, 2);
    TreeNode* a = root->GetChild(0);
    EXPECT_STREQ(a->text.Text(), "Aa\"");
    EXPECT_EQ(Payoff(a, 0), "10");
    EXPECT_EQ(Payoff(a, 1), "rate * 2");
    TreeNode* b = root->GetChild(1);
    EXPECT_EQ(b->kind, MarkovNode);
    zString termination;
    b->GetMarkovTerminationText(termination, 0);
    EXPECT_STREQ(termination.Text(), "_stage > 5");
    EXPECT_EQ(b->cloneStatus, CloneMasterNode);
    EXPECT_EQ(document.FindCloneMaster(b->cloneId), b);
    TreeNode* c = b->GetChild(0);
    EXPECT_EQ(c->cloneStatus, CloneCopyNode);
    EXPECT_EQ(c->cloneId, 1);
}

TEST(ForeignImport, NegativeBorderCodeReadsVariant206WithRiskTable)
{
    MessageBoxRecorder boxes;
    ImportResult result = Import(Sample205(-7, "", 0, true).bytes);
    ASSERT_TRUE(result.ok);
    const RiskPrefAssessment& risk = result.document->RiskAssessment;
    ASSERT_NE(risk.points, nullptr);
    EXPECT_EQ(risk.points[3].value, 30.0);
    EXPECT_EQ(risk.points[3].utility, 3 / 16.0);
    EXPECT_EQ(risk.points[16].value, 0.0);
    EXPECT_EQ(risk.pointsAssessed, 1);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(result.document->DisplayPrefs.NoteBoxBorderKey, 1);
}

TEST(ForeignImport, BadPrefixIsFormatError28)
{
    for (int border : {7, 3}) {
        BigEndian file;
        Prefix(file, 0, 0, 2, 2, border, border == 7 ? 5 : 3);
        file.Zeros(64);
        ImportResult result = Import(file.bytes);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.formatError, 28u);
    }
}

TEST(ForeignImport, Variant100ReadsTextsFromOneString)
{
    BigEndian file = Sample100();
    ImportResult result = Import(file.bytes);
    ASSERT_TRUE(result.ok) << result.state << " " << result.formatError;
    TreeDocument& document = *result.document;
    EXPECT_EQ(document.DisplayPrefs.AddAbove, 1);
    EXPECT_EQ(document.CalcPrefs.PayoffFormats[0].expValDigits, 2);
    EXPECT_EQ(document.CalcPrefs.PayoffFormats[3].expValDigits, 2);
    TreeNode* root = document.Root;
    EXPECT_STREQ(root->text.Text(), "Start");
    zString probability;
    root->GetProbabilityText(probability);
    EXPECT_STREQ(probability.Text(), "0.5");
    EXPECT_EQ(root->kind, DecisionNode);
    EXPECT_EQ(Binding(root, "COST"), "12");
    EXPECT_TRUE(document.HasVariable("COST", true));
    ASSERT_EQ(root->childCount, 2);
    EXPECT_STREQ(root->GetChild(0)->text.Text(), "Leafa");
    EXPECT_EQ(Payoff(root->GetChild(0), 0), "7*rate");
    EXPECT_EQ(root->GetChild(1)->kind, TerminalNode);
    EXPECT_EQ(Payoff(root->GetChild(1), 0), "");
}

TEST(ForeignImport, Variant200ReadsSeparateStringsAndSkippedValues)
{
    BigEndian file = Sample200();
    ImportResult result = Import(file.bytes);
    ASSERT_TRUE(result.ok) << result.state << " " << result.formatError;
    TreeNode* root = result.document->Root;
    EXPECT_EQ(root->kind, ChanceNode);
    EXPECT_EQ(root->GetLinkId2(), 5);
    EXPECT_TRUE(result.document->HasVariable("BETA", true));
    ASSERT_EQ(root->childCount, 1);
    TreeNode* end = root->GetChild(0);
    EXPECT_EQ(Payoff(end, 0), "3");
    EXPECT_EQ(Binding(end, "ALPHA"), "beta + 1");
}

TEST(ForeignImport, FindNodeByPathFollowsFirstChildAndSibling)
{
    ImportResult result = Import(Sample205().bytes);
    ASSERT_TRUE(result.ok);
    TreeNode* root = result.document->Root;
    const struct {
        const char* path;
        const char* text;
    } cases[] = {{"", "Start"}, {"b", "Aa\""}, {"bn", "B"}, {"b-n", "B"}, {"bnb", "C"}, {"bnn", nullptr},
                 {"n", nullptr}, {"bbb", nullptr}};
    for (const auto& c : cases) {
        TreeNode* node = FindForeignNodeByPath(root, c.path);
        if (c.text == nullptr) {
            EXPECT_EQ(node, nullptr) << c.path;
        } else {
            ASSERT_NE(node, nullptr) << c.path;
            EXPECT_STREQ(node->text.Text(), c.text) << c.path;
        }
    }
}

TEST(ForeignImport, TruncatedBindingListIsAnError)
{
    BigEndian file = FileStart205(7, "", 0);
    file.Str("Start").Str("").U8(DecisionNode).Zeros(12).U8(0).Zeros(12).U8(0);
    file.I16(30000).Str("a").Str("1");
    MessageBoxRecorder boxes;
    ImportResult result = Import(file.bytes);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.state, 0u);
}

// The hidden-children count is the node's own byte, not its folded state; link ids above what a tree of ours
// stores are dropped with a word, so that the tree can be saved.
TEST(ForeignImport, HiddenChildrenKeptAndWideLinkIdsDropped)
{
    BigEndian file = FileStart205(7, "", 0);
    file.Str("Start").Str("").U8(DecisionNode).Zeros(12).U8(3).I16(300).I16(2).I16(256);
    file.I16(0).I16(0).I16(0).U8(0).I16(0).U8(0).I16(0);
    MessageBoxRecorder boxes;
    ImportResult result = Import(file.bytes);
    ASSERT_TRUE(result.ok) << result.state << " " << result.formatError;
    const TreeNode* root = result.document->Root;
    EXPECT_EQ(root->hiddenChildren, 3);
    EXPECT_EQ(root->collapsed, 0);
    EXPECT_EQ(root->GetLinkId2(), 0);
    EXPECT_EQ(root->GetLinkId1(), 2);
    EXPECT_EQ(root->GetLinkId0(), 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "2 link ids were dropped: a tree keeps link ids from 1 to 255 only.");
    zString message;
    EXPECT_TRUE(CheckNodesStorable(root, message)) << message.Text();
}

TEST(ForeignImport, FuzzedFilesFailCleanly)
{
    MessageBoxRecorder boxes;
    // One window takes every attempt: a failed import leaves whatever it read so far, as a loader would
    // discard it.
    TreeDocument document;
    auto importInto = [&document](Bytes bytes, uint32_t& failure) {
        MemoryStream stream(bytes.empty() ? nullptr : bytes.data(), static_cast<uint32_t>(bytes.size()), false);
        const bool ok = ImportForeignTree(stream, &document);
        failure = stream.State() | stream.FormatError();
        return ok;
    };
    const Bytes sources[] = {Sample205().bytes, Sample205(-7).bytes};
    uint32_t failure = 0;
    for (const Bytes& source : sources) {
        for (size_t length = 0; length < source.size(); length += 3) {
            EXPECT_FALSE(importInto(Bytes(source.begin(), source.begin() + static_cast<long>(length)), failure))
                << length;
            EXPECT_NE(failure, 0u);
        }
    }
    std::mt19937 random(77);
    for (int trial = 0; trial < 4000; ++trial) {
        Bytes bytes = sources[trial % 2];
        const int changes = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < changes; ++i)
            bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        if (trial % 5 == 0)
            bytes.resize(random() % bytes.size());
        if (importInto(bytes, failure))
            ExpectWrittenBackAndReadAgain(document.Root, &document, trial);
        else
            EXPECT_NE(failure, 0u);
        boxes.Clear();
    }
}

}  // namespace
