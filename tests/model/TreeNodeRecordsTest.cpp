#include "model/ResultCellList.h"
#include "formula/Distribution.h"
#include "foundation/FontRecord.h"
#include "foundation/MemoryStream.h"
#include "model/MarkovBinding.h"
#include "model/MarkovInfo.h"
#include "model/NodeComment.h"
#include "model/NodeSideRecord.h"
#include "model/TreeNodeRecords.h"
#include "model/VariableDefinition.h"
#include "tests/foundation/StreamBytes.h"
#include "tests/model/NodeRecordFixture.h"
#include "tests/model/TreeBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>

namespace {

// A tree that uses every field of the node record.
struct RichTree {
    TreeBuilder tree;
    TreeNode* root;
    TreeNode* decision;
    TreeNode* terminal;
    TreeNode* markov;
    TreeNode* state;

    RichTree()
    {
        root = tree.Root();
        root->SetKind(ChanceNode, false);
        root->SetText("Root\r\nline", false);
        root->SetText2("second text", false);
        tree.Bind(root, "rate", "0.05");
        tree.Bind(root, "cost", "100*rate");
        root->fonts[0] = std::make_unique<FontRecord>();
        root->fonts[2] = std::make_unique<FontRecord>();
        root->fonts[2]->face = "Arial";
        root->collapsed = 1;
        root->columnShift = 3;
        root->SetLinkId0(4);
        root->SetLinkId2(9);
        const int32_t pair[2] = {17, -3};
        root->SetSideBlockPair(pair, false);
        root->linkBlock->readerFlag = 1;
        auto side = std::make_shared<NodeSideRecord>();
        side->distribution = MakeDistribution(1);
        side->text = "side";
        root->linkBlock->sideRecord = side;

        decision = tree.Add(root, DecisionNode, "Choose", "0.4");
        decision->cloneStatus = CloneMasterNode;
        decision->cloneId = 1;
        decision->comment = std::make_unique<NodeComment>();
        auto* branch = new BranchName;
        branch->name = "A";
        branch->comment = "about A";
        decision->comment->branches.Add(branch);
        decision->comment->values[2] = 77;
        terminal = tree.Terminal(decision, "A", "", "100");
        terminal->Payoff(0).SetNumber(100.0);
        terminal->SetPayoffText("x[2]", 2, false);
        tree.Terminal(decision, "B", "", "50");

        markov = tree.Add(root, MarkovNode, "Cohort", "#");
        markov->SetMarkovTerminationText("_stage > 20", 0);
        markov->SetMarkovSharedTermination("_stage > 30");
        markov->MarkovBindings()->Add(new MarkovBinding("Well", "home"));
        state = tree.Add(markov, ChanceNode, "Well", "1");
        state->SetMarkovRewardText(InitialReward, "0.5", 0);
        state->SetMarkovRewardText(FinalReward, "1", 1);
        state->SetMarkovTunnelCount(2, false);
        TreeNode* event = tree.Add(state, ChanceNode, "event", "1");
        event->SetMarkovTransitionReward("-5", 0);
        TreeNode* stay = tree.Add(event, TerminalNode, "stay", "1");
        stay->SetMarkovJumpState("=home", false);
        stay->SetMarkovTransitionReward("2", 3);
        TreeNode* dead = tree.Add(markov, TerminalNode, "Dead", "0");
        dead->SetMarkovRewardText(IncrementalReward, "0", 0);
    }

    void SetResults()
    {
        decision->EnsureOptimalList()->Add(decision->GetChild(1));
        decision->triple = ValueTriple{1.5, 2.5, 100.0};
        decision->value = 99.0;
        terminal->branchProbability = 0.25;
        root->ResizeResultCells(2);
        root->resultCells->At(1)->value = -2.5;
        root->resultCells->At(1)->text = "-2.50";
    }
};

Bytes WriteTree(const TreeNode* node, RecordForm form = RecordForm::Plain)
{
    return WrittenBytes([node, form](Archive& a) { WriteTreeNode(node, a, nullptr, form); });
}

// Reads the bytes into a new root of the window; the archive is returned for its error state.
std::unique_ptr<TreeNode> ReadTree(const Bytes& bytes, TreeDocument* document, uint32_t* error = nullptr,
                                   bool swapped = false, bool* consumedAll = nullptr,
                                   RecordForm form = RecordForm::Plain)
{
    ReadStream in(bytes);
    in->SetSwapping(swapped);
    auto node = std::make_unique<TreeNode>(document);
    ReadTreeNode(node.get(), in, form);
    if (error != nullptr)
        *error = in->Failed() ? (in->FormatError() != 0 ? in->FormatError() : 1000 + in->State()) : 0;
    if (consumedAll != nullptr)
        *consumedAll = in->Position() == bytes.size();
    return node;
}

TEST(TreeNodeRecordsTest, PlainRoundTripGivesIdenticalBytes)
{
    RichTree rich;
    const Bytes first = WriteTree(rich.root);
    TreeBuilder target;
    uint32_t error = 99;
    bool consumed = false;
    std::unique_ptr<TreeNode> loaded = ReadTree(first, &target.Document(), &error, false, &consumed);
    EXPECT_EQ(error, 0u);
    EXPECT_TRUE(consumed);
    EXPECT_EQ(WriteTree(loaded.get()), first);

    EXPECT_STREQ(loaded->text.Text(), "Root\r\nline");
    EXPECT_STREQ(loaded->text2.Text(), "second text");
    EXPECT_EQ(loaded->collapsed, 1);
    EXPECT_EQ(loaded->columnShift, 3);
    EXPECT_EQ(loaded->GetLinkId0(), 4);
    EXPECT_EQ(loaded->GetLinkId2(), 9);
    EXPECT_EQ(loaded->linkBlock->sideValues[1], -3);
    ASSERT_NE(loaded->linkBlock->sideRecord, nullptr);
    EXPECT_EQ(loaded->linkBlock->sideRecord->distribution->Owner(), &target.Document());
    EXPECT_STREQ(loaded->fonts[2]->face.Text(), "Arial");
    EXPECT_EQ(loaded->fonts[1], nullptr);
    ASSERT_EQ(loaded->BindingCount(), 2);
    ASSERT_EQ(loaded->childCount, 2);
    const TreeNode* decision = loaded->GetChild(0);
    EXPECT_EQ(decision->cloneStatus, CloneMasterNode);
    EXPECT_EQ(decision->comment->values[2], 77);
    EXPECT_STREQ(decision->GetChild(0)->payoffs[2].Text().Text(), "x[2]");
    EXPECT_TRUE(decision->GetChild(0)->payoffs[0].HasParseTree());
    EXPECT_TRUE(decision->GetChild(0)->payoffs[1].IsEmpty());
    EXPECT_EQ(decision->optimal, nullptr);  // plain files carry no results
    const TreeNode* markov = loaded->GetChild(1);
    EXPECT_STREQ(markov->markovInfo->sharedTermination.Text().Text(), "_stage > 30");
    EXPECT_STREQ(markov->markovBindings->At(0)->userName.Text(), "home");
    const TreeNode* state = markov->GetChild(0);
    EXPECT_EQ(state->markovInfo->tunnelCount, 2);
    EXPECT_STREQ(state->markovInfo->finalReward[1].Text().Text(), "1");
    EXPECT_TRUE(state->markovInfo->incrementalReward[0].IsEmpty());
    EXPECT_STREQ(state->GetChild(0)->markovInfo->transitionReward[0].Text().Text(), "-5");
    EXPECT_STREQ(state->GetChild(0)->GetChild(0)->markovInfo->jumpName.Text(), "=home");
}

// The side record read with a node lives as long as the last node that shares it, and a second read of the
// record replaces the first one.
TEST(TreeNodeRecordsTest, SideRecordLivesWithTheNodesThatShareIt)
{
    RichTree rich;
    const Bytes bytes = WrittenBytes([&rich](Archive& a) { WriteNodeRecord(rich.root, a); });
    TreeBuilder target;
    auto node = std::make_unique<TreeNode>(&target.Document());
    auto readRecord = [&]() {
        ReadStream in(bytes);
        NodeRecordTail tail;
        ReadNodeRecord(node.get(), in, tail, RecordForm::Plain);
        EXPECT_FALSE(in->Failed());
    };
    readRecord();
    ASSERT_NE(node->linkBlock->sideRecord, nullptr);
    std::weak_ptr<NodeSideRecord> first = node->linkBlock->sideRecord;
    readRecord();
    EXPECT_TRUE(first.expired());

    std::weak_ptr<NodeSideRecord> second = node->linkBlock->sideRecord;
    auto copy = std::make_unique<TreeNode>(*node, false);
    EXPECT_EQ(copy->linkBlock->sideRecord, node->linkBlock->sideRecord);
    node.reset();
    ASSERT_FALSE(second.expired());
    EXPECT_STREQ(copy->linkBlock->sideRecord->text.Text(), "side");
    copy.reset();
    EXPECT_TRUE(second.expired());
}

TEST(TreeNodeRecordsTest, SnapshotRoundTripCarriesResultsAndOptimalChildren)
{
    RichTree rich;
    rich.SetResults();
    const RecordForm snapshot = RecordForm::Snapshot;
    const Bytes first = WriteTree(rich.root, snapshot);
    TreeBuilder target;
    uint32_t error = 99;
    std::unique_ptr<TreeNode> loaded = ReadTree(first, &target.Document(), &error, false, nullptr, snapshot);
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(WriteTree(loaded.get(), snapshot), first);
    const TreeNode* decision = loaded->GetChild(0);
    ASSERT_NE(decision->optimal, nullptr);
    ASSERT_EQ(decision->optimal->Count(), 1);
    EXPECT_EQ(decision->optimal->At(0), decision->GetChild(1));
    EXPECT_EQ(decision->triple.cost, 1.5);
    EXPECT_EQ(decision->triple.effectiveness, 2.5);
    EXPECT_EQ(decision->ExpectedValue(), 100.0);
    EXPECT_EQ(decision->value, 99.0);
    EXPECT_EQ(decision->GetChild(0)->branchProbability, 0.25);
    ASSERT_NE(loaded->resultCells, nullptr);
    ASSERT_EQ(loaded->resultCells->Count(), 2);
    EXPECT_EQ(loaded->resultCells->At(1)->value, -2.5);
    EXPECT_STREQ(loaded->resultCells->At(1)->text.Text(), "-2.50");

    // The snapshot's results make it longer than the plain form, which a plain reader cannot take.
    EXPECT_LT(WriteTree(rich.root).size(), first.size());
}

// One node record of a chosen version, built field by field from the table of the record.
struct RecordSpec {
    int version[3] = {3, 5, 0};
    std::string name = "node";
    int kind = ChanceNode;
    int payoffCount = 0;
    int columnShift = 0;
    int selector = 0;
    int childCount = 0;
    int collapsed = 1;
    std::vector<int> optimal;  // snapshot records only
};

int32_t KeyOf(const int v[3])
{
    int low = v[2];
    if ((low & 0xF0) != 0xB0 && (v[0] << 8 | v[1]) >= 0x206)
        low |= 0xE0;
    return v[0] << 16 | v[1] << 8 | low;
}

void AppendRecord(NodeRecordFixture& f, const RecordSpec& s, bool snapshot = false)
{
    const int32_t key = KeyOf(s.version);
    f.Version(s.version[0], s.version[1], s.version[2]).Str(s.name).Expr("0.5").S16(s.kind);
    if (key >= 0x300B2)
        f.Str("second").S16(0).S16(0);
    if (key > 0x300B2)
        f.S16(1);
    if (s.kind == TerminalNode) {
        f.U8(s.payoffCount);
        for (int i = 0; i < s.payoffCount; ++i)
            f.Expr(std::to_string(10 * (i + 1)));
    }
    f.S16(0).S16(0).U8(s.columnShift);
    if (key >= 0x20600)
        f.U8(s.collapsed).S16(0);
    f.U8(0).U8(0).U8(0).S16(0).S16(0).S16(-1).S16(s.selector).S16(0);
    if (key >= 0x30500)
        f.S16(0);
    if (key < 0x300E4)
        f.U8(s.childCount);
    else
        f.S16(s.childCount);
    if (snapshot) {
        f.F64(1.0).F64(2.0).F64(0.5).F64(3.0).F64(4.0).S16(static_cast<int>(s.optimal.size()));
        for (int index : s.optimal)
            f.S16(index);
        if (key >= 0x30500)
            f.S16(0);
    }
}

// A chance node with one terminal child (payoffs 10 and 20, column shift 2).
Bytes TwoNodeFixture(const int version[3], bool bigEndian)
{
    NodeRecordFixture f(bigEndian);
    RecordSpec root;
    std::copy(version, version + 3, root.version);
    root.name = "Root";
    root.childCount = 1;
    AppendRecord(f, root);
    RecordSpec leaf = root;
    leaf.name = "Leaf";
    leaf.kind = TerminalNode;
    leaf.payoffCount = 2;
    leaf.columnShift = 2;
    leaf.childCount = 0;
    AppendRecord(f, leaf);
    return f.bytes;
}

struct VersionCase {
    const char* name;
    int version[3];
    bool hasSecondText;
    bool hasCollapsed;
    bool hasLinkFlag;
};

class OlderVersions : public ::testing::TestWithParam<std::tuple<VersionCase, bool>> {};

TEST_P(OlderVersions, ReadEveryFieldOfTheirVersion)
{
    const VersionCase& c = std::get<0>(GetParam());
    const bool bigEndian = std::get<1>(GetParam());
    TreeBuilder target;
    uint32_t error = 99;
    bool consumed = false;
    const Bytes fixture = TwoNodeFixture(c.version, bigEndian);
    std::unique_ptr<TreeNode> root = ReadTree(fixture, &target.Document(), &error, bigEndian, &consumed);
    EXPECT_EQ(error, 0u);
    EXPECT_TRUE(consumed);
    EXPECT_STREQ(root->text.Text(), "Root");
    EXPECT_STREQ(root->probability.Text().Text(), "0.5");
    EXPECT_STREQ(root->text2.Text(), c.hasSecondText ? "second" : "");
    EXPECT_EQ(root->collapsed, c.hasCollapsed ? 1 : 0);
    EXPECT_EQ(root->linkBlock != nullptr && root->linkBlock->readerFlag == 1, c.hasLinkFlag);
    ASSERT_EQ(root->childCount, 1);
    const TreeNode* leaf = root->GetChild(0);
    EXPECT_EQ(leaf->kind, TerminalNode);
    EXPECT_EQ(leaf->parent, root.get());
    EXPECT_EQ(leaf->document, &target.Document());
    EXPECT_EQ(leaf->columnShift, 2);
    EXPECT_STREQ(leaf->payoffs[0].Text().Text(), "10");
    EXPECT_STREQ(leaf->payoffs[1].Text().Text(), "20");
    EXPECT_TRUE(leaf->payoffs[2].IsEmpty());
    // The writer stores the current version's record field by field as the hand-built one.
    if (std::string(c.name) == "V3_5" && !bigEndian) {
        EXPECT_EQ(WriteTree(root.get()), fixture);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Versions, OlderVersions,
    ::testing::Combine(::testing::Values(VersionCase{"V2_5", {2, 5, 0}, false, false, false},
                                         VersionCase{"V2_6", {2, 6, 0}, false, true, false},
                                         VersionCase{"V3_0_Beta2", {3, 0, 0xB2}, true, true, false},
                                         VersionCase{"V3_0_Beta4", {3, 0, 0xB4}, true, true, true},
                                         VersionCase{"V3_0_Final4", {3, 0, 4}, true, true, true},
                                         VersionCase{"V3_5", {3, 5, 0}, true, true, true}),
                       ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<VersionCase, bool>>& info) {
        return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "_Swapped" : "_Plain");
    });

struct ErrorCase {
    const char* name;
    RecordSpec spec;
    bool snapshot;
    uint32_t error;
};

RecordSpec With(void (*change)(RecordSpec&))
{
    RecordSpec spec;
    change(spec);
    return spec;
}

class NodeRecordErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(NodeRecordErrors, StopWithTheirFormatError)
{
    const ErrorCase& c = GetParam();
    NodeRecordFixture f;
    AppendRecord(f, c.spec, c.snapshot);
    for (int i = 0; i < c.spec.childCount && i < 2; ++i)
        AppendRecord(f, RecordSpec(), c.snapshot);
    TreeBuilder target;
    uint32_t error = 0;
    ReadTree(f.bytes, &target.Document(), &error, false, nullptr, c.snapshot ? RecordForm::Snapshot : RecordForm::Plain);
    EXPECT_EQ(error, c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NodeRecordErrors,
    ::testing::Values(
        ErrorCase{"Kind16", With([](RecordSpec& s) { s.kind = 16; }), false, 17},
        ErrorCase{"KindNegative", With([](RecordSpec& s) { s.kind = -1; }), false, 17},
        ErrorCase{"Kind15Accepted", With([](RecordSpec& s) { s.kind = 15; }), false, 0},
        ErrorCase{"PayoffCount5", With([](RecordSpec& s) { s.kind = TerminalNode; s.payoffCount = 5; }), false, 18},
        ErrorCase{"ColumnShift31", With([](RecordSpec& s) { s.columnShift = 31; }), false, 19},
        ErrorCase{"ColumnShiftSignedByte", With([](RecordSpec& s) { s.columnShift = 0xFF; }), false, 19},
        ErrorCase{"ColumnShift30Accepted", With([](RecordSpec& s) { s.columnShift = 30; }), false, 0},
        ErrorCase{"Selector5", With([](RecordSpec& s) { s.selector = 5; }), false, 20},
        ErrorCase{"ChildCount1001", With([](RecordSpec& s) { s.childCount = 1001; }), false, 21},
        ErrorCase{"ChildCountNegative", With([](RecordSpec& s) { s.childCount = -2; }), false, 21},
        ErrorCase{"ByteChildCountOf2_5", With([](RecordSpec& s) { s.version[1] = 5; s.version[0] = 2; s.childCount = 2; }),
                  false, 0},
        ErrorCase{"NameOf800", With([](RecordSpec& s) { s.name.assign(800, 'n'); s.childCount = 1; }), false, 16},
        ErrorCase{"NameOf799Accepted", With([](RecordSpec& s) { s.name.assign(799, 'n'); }), false, 0},
        ErrorCase{"OptimalIndexBeyondChildren", With([](RecordSpec& s) { s.childCount = 2; s.optimal = {2}; }), true, 16},
        ErrorCase{"OptimalIndexNegative", With([](RecordSpec& s) { s.childCount = 2; s.optimal = {-1}; }), true, 16},
        ErrorCase{"OptimalCountAboveChildren", With([](RecordSpec& s) { s.childCount = 1; s.optimal = {0, 0}; }), true, 16},
        ErrorCase{"OptimalOnChildlessNode", With([](RecordSpec& s) { s.optimal = {0}; }), true, 16},
        ErrorCase{"OptimalIndexAccepted", With([](RecordSpec& s) { s.childCount = 2; s.optimal = {1}; }), true, 0},
        ErrorCase{"BadVersionRecord", With([](RecordSpec& s) { s.version[0] = 1; }), false, 32}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

TEST(TreeNodeRecordsTest, DamageInTheFirstFieldsIsError17AndDamagedCommentError35)
{
    NodeRecordFixture truncated;
    truncated.Version(3, 5, 0).Str("cut in its kind").Expr("p").U8(1);
    TreeBuilder target;
    uint32_t error = 0;
    ReadTree(truncated.bytes, &target.Document(), &error);
    EXPECT_EQ(error, 17u);

    // A comment whose branch record carries the mark 212.
    NodeRecordFixture f;
    f.Version(3, 5, 0).Str("n").Expr("").S16(ChanceNode).Str("").S16(0).S16(0).S16(0);
    f.S16(0).S16(0).U8(0).U8(0).S16(1);
    f.Version(3, 5, 0).Version(3, 5, 0).S16(4).U8(1).S16(1).S16(213);
    f.Version(3, 5, 0).S16(212).Str("A").Str("text");
    ReadTree(f.bytes, &target.Document(), &error);
    EXPECT_EQ(error, 35u);
}

TEST(TreeNodeRecordsTest, OlderMarkovFields)
{
    TreeBuilder target;
    target.Document().CalcPrefs.CurrentPayoff = 1;
    target.Document().CalcPrefs.CECostPayoff = 0;
    target.Document().CalcPrefs.CEEffPayoff = 1;
    auto readOne = [&](const NodeRecordFixture& f) {
        ReadStream in(f.bytes);
        auto node = std::make_unique<TreeNode>(&target.Document());
        NodeRecordTail tail;
        ReadNodeRecord(node.get(), in, tail, RecordForm::Plain);
        EXPECT_FALSE(in->Failed());
        EXPECT_EQ(in->Position(), f.bytes.size());
        return node;
    };
    auto head = [](NodeRecordFixture& f, int v0, int v1, int v2, const char* name, int kind) {
        f.Version(v0, v1, v2).Str(name).Expr("").S16(kind);
        if (v0 == 3)
            f.Str("").S16(0).S16(0).S16(1);
        if (kind == TerminalNode)
            f.U8(0);
        f.S16(0).S16(0).U8(0);
        if (v0 == 3 || v1 >= 6)
            f.U8(0).S16(0);
        f.U8(0).U8(0).U8(0).S16(0).S16(0).S16(-1);
    };

    // 3.0: the shared termination is derived from equal cost and effectiveness conditions.
    NodeRecordFixture markov3;
    head(markov3, 3, 0, 4, "M", MarkovNode);
    markov3.S16(1).OptionalExpr("_stage > 9").OptionalExpr("_stage > 9").OptionalExpr("").OptionalExpr("");
    markov3.S16(0).S16(0);
    EXPECT_STREQ(readOne(markov3)->markovInfo->sharedTermination.Text().Text(), "_stage > 9");

    // 2.5: one string, the termination of the current payoff.
    NodeRecordFixture markov25;
    head(markov25, 2, 5, 0, "M", MarkovNode);
    markov25.S16(1).Str("_stage > 3").S16(0).U8(0);
    std::unique_ptr<TreeNode> old = readOne(markov25);
    EXPECT_STREQ(old->markovInfo->termination[1].Text().Text(), "_stage > 3");
    EXPECT_TRUE(old->markovInfo->sharedTermination.IsEmpty());

    // 2.5 state: three strings, the rewards of the current payoff.
    NodeRecordFixture state25;
    head(state25, 2, 5, 0, "S", ChanceNode);
    state25.S16(2).Str("1").Str("2").Str("3").S16(0).U8(0);
    std::unique_ptr<TreeNode> state = readOne(state25);
    EXPECT_STREQ(state->markovInfo->incrementalReward[1].Text().Text(), "2");
    EXPECT_STREQ(state->markovInfo->finalReward[1].Text().Text(), "3");

    // Before 3.5 a transition terminal jumps to the state its own name gives.
    NodeRecordFixture jump3;
    head(jump3, 3, 0, 4, "Sick", TerminalNode);
    jump3.S16(3).OptionalExpr("").OptionalExpr("7").OptionalExpr("").OptionalExpr("").S16(0).S16(0);
    std::unique_ptr<TreeNode> jump = readOne(jump3);
    EXPECT_STREQ(jump->markovInfo->jumpName.Text(), "Sick");
    EXPECT_STREQ(jump->markovInfo->transitionReward[1].Text().Text(), "7");
}

// The writer refuses, before it writes a byte, every node whose record the reader would refuse.
TEST(TreeNodeRecordsTest, WriterRefusesRecordsBeyondTheReadersLimits)
{
    struct Case {
        const char* name;
        std::function<void(TreeBuilder&, TreeNode*)> build;
        bool snapshot;
    };
    const Case cases[] = {
        {"name of 800", [](TreeBuilder&, TreeNode* node) { node->SetText(std::string(800, 'n').c_str(), false); }, false},
        {"second text of 500", [](TreeBuilder&, TreeNode* node) { node->SetText2(std::string(500, 't').c_str(), false); }, false},
        {"font of 300 points", [](TreeBuilder&, TreeNode* node) {
             FontRecord huge;
             huge.pointSize = 300;
             node->SetFont0(&huge, false);
         }, false},
        {"1001 children", [](TreeBuilder& tree, TreeNode* node) {
             for (int i = 0; i < 1001; ++i)
                 tree.Terminal(node, "t", "", "1");
         }, false},
        {"probability of 1501", [](TreeBuilder&, TreeNode* node) {
             node->SetProbabilityText(std::string(1501, '1').c_str(), false);
         }, false},
        {"binding of 1501", [](TreeBuilder& tree, TreeNode* node) { tree.Bind(node, "x", std::string(1501, '1').c_str()); }, false},
        {"1200 tied optimal children", [](TreeBuilder& tree, TreeNode* node) {
             node->SetKind(DecisionNode, false);
             for (int i = 0; i < 1200; ++i)
                 node->EnsureOptimalList()->Add(tree.Terminal(node, "t", "", "1"));
         }, true},
    };
    for (const Case& c : cases) {
        TreeBuilder tree;
        TreeNode* node = tree.Add(tree.Root(), ChanceNode, "Deep", "1");
        c.build(tree, node);
        const RecordForm form = c.snapshot ? RecordForm::Snapshot : RecordForm::Plain;
        zString message;
        bool written = true;
        const Bytes bytes = WrittenBytes([&](Archive& a) { written = WriteTreeNode(tree.Root(), a, &message, form); });
        EXPECT_FALSE(written) << c.name;
        EXPECT_TRUE(bytes.empty()) << c.name;
        EXPECT_NE(std::strstr(message.Text(), "cannot be stored, as"), nullptr) << c.name;
    }

    TreeBuilder tree;
    TreeNode* node = tree.Add(tree.Root(), ChanceNode, "Line one\r\nand a second line of the same long name", "1");
    tree.Bind(node, "x", "1");
    node->SetText2(std::string(500, 't').c_str(), false);
    zString message;
    EXPECT_FALSE(CheckNodesStorable(tree.Root(), message));
    EXPECT_STREQ(message.Text(), "The tree cannot be saved: the node \"Line one and a second line of ...\" cannot be "
                                 "stored, as its second text is longer than 499 characters.");
    node->SetText2(std::string(499, 't').c_str(), false);
    EXPECT_TRUE(CheckNodesStorable(tree.Root(), message));
}

// Thousands of truncated and randomly changed copies of a rich snapshot: each read ends, a truncated one
// always reports damage, and whatever the reader accepts is written back into a record it reads again.
TEST(TreeNodeRecordsTest, FuzzedInputsEndInErrorsNeverInACrash)
{
    RichTree rich;
    rich.SetResults();
    const RecordForm snapshot = RecordForm::Snapshot;
    const Bytes good = WriteTree(rich.root, snapshot);
    TreeBuilder target;
    for (size_t length = 0; length < good.size(); length += 1 + length / 400) {
        uint32_t error = 0;
        ReadTree(Bytes(good.begin(), good.begin() + length), &target.Document(), &error, false, nullptr, snapshot);
        EXPECT_NE(error, 0u) << "length " << length;
    }
    std::mt19937 random(12345);
    for (int trial = 0; trial < 30000; ++trial) {
        Bytes bytes = good;
        const int changes = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < changes; ++i)
            bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        if (trial % 3 == 0)
            bytes.resize(random() % bytes.size());
        uint32_t error = 0;
        std::unique_ptr<TreeNode> accepted = ReadTree(bytes, &target.Document(), &error, false, nullptr, snapshot);
        if (error != 0)
            continue;
        const Bytes written = WriteTree(accepted.get(), snapshot);
        std::unique_ptr<TreeNode> again = ReadTree(written, &target.Document(), &error, false, nullptr, snapshot);
        EXPECT_EQ(error, 0u) << "trial " << trial;
        EXPECT_EQ(WriteTree(again.get(), snapshot), written) << "trial " << trial;
    }
}

}  // namespace
