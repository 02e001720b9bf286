#include "model/TreeDocument.h"

#include "formula/Distribution.h"
#include "formula/DistributionRecord.h"
#include "foundation/DocumentFileHeader.h"
#include "foundation/FileStream.h"
#include "foundation/Host.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/model/ForeignFileBuilder.h"
#include "tests/model/TreeBuilder.h"
#include "model/DisplayColumnList.h"
#include "model/NodeRef.h"
#include "model/NoteBox.h"
#include "model/TreeNodeRecords.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PutBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string TempPath(const char* name) { return std::string(std::getenv("TEMP") ? std::getenv("TEMP") : ".") + "\\" + name; }

// The box of a damaged tree: the code, the file, and what the person can do.
std::string DamagedBox(const std::string& code, const std::string& path)
{
    const char* reason = code == "2"    ? "The file is cut short: it was not saved or copied completely."
                         : code == "32" ? "A version record inside it is damaged."
                                        : "Part of its contents is damaged.";
    return "This tree file is damaged, and cannot be read. Error code = " + code + ".\n\n\"" + path + "\"\n\n" +
           reason + " Open a copy saved earlier.";
}

// A tree with every stored feature: node kinds, bindings, variables, notes, arrows, clones, collapsed
// nodes, fonts, link ids and items, document links, a custom interface, preferences, zoom, print offset and printer settings.
void BuildEveryFeature(TreeBuilder& tree)
{
    TreeDocument& document = tree.Document();
    TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "Chance");
    tree.Bind(tree.Root(), "P", "0.3");
    tree.Bind(chance, "C", "10");
    tree.Terminal(chance, "Up", "P", "C*2", "1");
    TreeNode* master = tree.Add(chance, ChanceNode, "Master", "#");
    master->cloneStatus = CloneMasterNode;
    master->cloneId = 1;
    document.AddCloneMaster(master, "Shared");
    tree.Terminal(master, "Leaf", "1", "5");
    TreeNode* copy = tree.Add(tree.Root(), ChanceNode, "Copy");
    copy->cloneStatus = CloneCopyNode;
    copy->cloneId = 1;
    copy->collapsed = 1;
    tree.Terminal(copy, "Leaf", "1", "5");
    TreeNode* markov = tree.Add(tree.Root(), MarkovNode, "Markov");
    tree.Terminal(markov, "Stay", "1", "0");
    TreeNode* logic = tree.Add(tree.Root(), LogicNode, "Logic");
    tree.Terminal(logic, "Yes", "P>0.5", "1");
    logic->hiddenChildren = 1;
    tree.Add(tree.Add(logic, ReversedDecisionNode, "Worst", "P<=0.5"), LabelNode, "Label")->text2 = "second";
    document.LinkIdFor(chance, NodeLinkBlock::PathProbabilityLink);
    document.LinkIdFor(markov, NodeLinkBlock::ExpectedValueLink);
    auto* source = new DocumentLink(2);
    source->application = "Sheet";
    source->value = "1.5";
    source->biDirectional = 1;
    document.DocumentLinks.InsertSorted(source);
    document.CustomInterface = std::make_unique<CustomInterfaceSettings>();
    auto* parameter = new CustomInterfaceParameter;
    parameter->variableName = "P";
    parameter->high = 1.0;
    parameter->valueText = "0.3";
    document.CustomInterface->Add(parameter);
    document.CustomInterface->options.Add(new CalcMethodChoice{"Cost", 5});
    document.CustomInterface->comment = "For the board";
    chance->fonts[0] = std::make_unique<FontRecord>();
    chance->fonts[0]->pointSize = 15;

    auto* note = new NoteBox;
    note->text = "A note";
    note->frame = {0.5f, 0.5f, 2.0f, 1.0f};
    document.AddNoteBox(note);
    auto* distribution = new DistributionRecord;
    distribution->index = 3;
    distribution->SetDistribution(MakeDistribution(1));
    distribution->GetDistribution()->Parameter(0)->SetText("C");
    document.Distributions.InsertSorted(distribution);
    auto* arrow = new TreeArrow;
    arrow->tailX = 1.5f;
    arrow->headY = 2.25f;
    document.Arrows.Add(arrow);

    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    document.DisplayPrefs.BranchesPerNode = 5;
    document.DisplayPrefs.PageHeaderString = "Header";
    document.Zoom = 1.75;
    document.PrintOffset[0] = 720;
    document.PrintOffset[1] = -360;
    document.DocumentTag = "tag";
    document.Links.texts[1] = "topic";
    document.PrinterSetup = std::make_unique<PrinterSetupRecord>();
    document.PrinterSetup->devModeLength = 4;
    document.PrinterSetup->devMode.reset(new uint8_t[4]{1, 2, 3, 4});
    auto* column = new DisplayColumn;
    column->kind = DisplayColumn::kMarginalCost;
    column->formatSource = DisplayColumn::kCustomFormat;
    column->header = "Extra cost";
    column->format = std::make_unique<NumericFormat>();
    column->format->expValDigits = 4;
    column->font = std::make_unique<FontRecord>();
    column->font->pointSize = 9;
    document.RollBackColumns.Add(column);
    auto* custom = new DisplayColumn;
    custom->kind = DisplayColumn::kCustomCalculation;
    custom->formula = "C*2";
    custom->header = "Twice";
    document.RollBackColumns.Add(custom);
}

TEST(TreeFile, EveryFeatureSavedOpenedAndSavedAgainIsByteIdentical)
{
    const std::string first = TempPath("kivo_every.tre"), second = TempPath("kivo_every2.tre");
    TreeBuilder tree;
    BuildEveryFeature(tree);
    zString message;
    ASSERT_TRUE(tree.Document().WriteTreeFile(first.c_str(), message)) << message.Text();

    TreeDocument opened;
    ASSERT_TRUE(opened.ReadTreeFile(first.c_str()));
    ASSERT_TRUE(opened.WriteTreeFile(second.c_str(), message));
    const std::vector<uint8_t> bytes = FileBytes(first);
    EXPECT_EQ(FileBytes(second), bytes);
    const std::vector<uint8_t> start = {0x22, 0, 3, 5, 0, 1, 0, 3, 5, 0};
    ASSERT_GT(bytes.size(), start.size());
    EXPECT_TRUE(std::equal(start.begin(), start.end(), bytes.begin()));
    EXPECT_EQ(opened.ParseLevel, 2);
    EXPECT_EQ(opened.StoredNodeCount, 13);
    EXPECT_EQ(opened.CloneMasters.At(0)->node, opened.Root->GetChild(0)->GetChild(1));
    EXPECT_EQ(opened.Arrows.At(0)->owner, &opened);
    EXPECT_EQ(opened.FindDistributionByIndex(3)->GetDistribution()->Owner(), &opened);
    EXPECT_EQ(opened.PrinterSetup->DevMode(), nullptr);  // four bytes are no device mode: kept, not used
    EXPECT_EQ(opened.FindLinkEntry(2), opened.LinkItems.At(1));
    EXPECT_EQ(opened.LinkIdFor(opened.Root->GetChild(2), NodeLinkBlock::ExpectedValueLink), 2);
    ASSERT_TRUE(opened.CustomInterface);
    EXPECT_STREQ(opened.CustomInterface->At(0)->valueText.Text(), "0.3");
    ASSERT_EQ(opened.RollBackColumns.Count(), 2);
    const DisplayColumn& column = *opened.RollBackColumns.At(0);
    EXPECT_EQ(column.kind, DisplayColumn::kMarginalCost);
    EXPECT_EQ(column.reserved, -1);
    ASSERT_TRUE(column.format && column.font);
    EXPECT_EQ(column.format->expValDigits, 4);
    EXPECT_EQ(column.font->pointSize, 9);
    EXPECT_STREQ(opened.RollBackColumns.At(1)->formula.Text(), "C*2");
    EXPECT_FALSE(opened.RollBackColumns.At(1)->format);

    // The same tree written in the other byte order reads back to the same file.
    {
        FileStream swapped(second.c_str(), true);
        swapped.SetSwapping(true);
        ASSERT_TRUE(WriteFileHeader(swapped, TreeDocumentKind));
        tree.Document().WriteDocumentBody(swapped);
        swapped.Close();
        ASSERT_FALSE(swapped.Failed());
    }
    ASSERT_NE(FileBytes(second), bytes);
    TreeDocument fromSwapped;
    ASSERT_TRUE(fromSwapped.ReadTreeFile(second.c_str()));
    ASSERT_TRUE(fromSwapped.WriteTreeFile(second.c_str(), message));
    EXPECT_EQ(FileBytes(second), bytes);
    std::remove(first.c_str());
    std::remove(second.c_str());
}

TEST(TreeFile, SnapshotReopensRolledBackWithItsSelectionUnderAnyName)
{
    const std::string path = TempPath("kivo_snap.trb");
    TreeBuilder tree;
    BuildEveryFeature(tree);
    NodeChildList selection(1, Ownership::Borrows);
    selection.Add(tree.Root()->GetChild(0));
    zString message;
    ASSERT_TRUE(tree.Document().WriteTreeFile(path.c_str(), message, RecordForm::Snapshot, &selection));
    // Read as a plain tree (as under a ".tre" name): the bytes say it is a snapshot.
    MessageBoxRecorder boxes;
    TreeDocument opened;
    NodeChildList reopened(1, Ownership::Borrows);
    ASSERT_TRUE(opened.ReadTreeFile(path.c_str(), false, nullptr, &reopened));
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(opened.RolledBack, RolledBackValues::Snapshot);
    ASSERT_EQ(reopened.Count(), 1);
    EXPECT_EQ(reopened.At(0), opened.Root->GetChild(0));
    std::remove(path.c_str());
}

// Stored parse trees are built again from their texts below the writer's parse level 2; at level 2 one that
// disagrees with its text is damage.
TEST(TreeFile, AnEarlierParseLevelRebuildsTheStoredParseTrees)
{
    const std::string path = TempPath("kivo_level.tre");
    TreeBuilder tree;
    tree.Terminal(tree.Root(), "Leaf", "", "0")->Payoff(0).SetNumber(1.0, "2");
    zString message;
    ASSERT_TRUE(tree.Document().WriteTreeFile(path.c_str(), message));
    std::vector<uint8_t> bytes = FileBytes(path);
    const size_t parseLevelAt = 7 + 3 + 8;  // header, body version, print offset
    for (uint8_t level : {2, 1}) {
        bytes[parseLevelAt] = level;
        PutBytes(path, bytes);
        MessageBoxRecorder boxes;
        TreeDocument opened;
        ASSERT_EQ(opened.ReadTreeFile(path.c_str()), level == 1);
        if (level == 2) {
            EXPECT_EQ(boxes.Last().text.rfind("This tree file is damaged, and cannot be read. Error code = 37.", 0), 0u);
            continue;
        }
        double value = 0.0;
        ASSERT_TRUE(opened.Root->GetChild(0)->Payoff(0).CachedNumber(&value));
        EXPECT_EQ(value, 2.0);
    }
    std::remove(path.c_str());
}

// Foreign-format tree files open through the same reader; a damaged one is reported like ours.
TEST(TreeFile, ForeignTreeFilesAreImported)
{
    const std::string path = TempPath("kivo_foreign.tre");
    const foreign_test::Bytes foreign = foreign_test::Sample205().bytes;
    PutBytes(path, foreign);
    TreeDocument opened;
    ASSERT_TRUE(opened.ReadTreeFile(path.c_str()));
    EXPECT_STREQ(opened.Root->text.Text(), "Start");
    EXPECT_EQ(opened.Root->childCount, 2);
    ASSERT_EQ(opened.NoteBoxes.Count(), 1);
    EXPECT_EQ(static_cast<NoteBox*>(opened.NoteBoxes.At(0))->ownerTree, &opened);

    PutBytes(path, foreign_test::Bytes(foreign.begin(), foreign.end() - 20));
    MessageBoxRecorder boxes;
    TreeDocument damaged;
    EXPECT_FALSE(damaged.ReadTreeFile(path.c_str()));
    EXPECT_EQ(boxes.Last().text, DamagedBox("2", path));
    EXPECT_EQ(damaged.Root->childCount + damaged.Variables.Count(), 0);
    std::remove(path.c_str());
}

// Nodes read show a bar from 100 nodes on, else their count of the total in the status line.
TEST(TreeFile, NodeProgressCountsTowardsTheStoredTotal)
{
    struct RecordingHost : Host {
        void ShowStatus(const char* text) override { status = text; }
        int32_t PushProgress(const char* text, double) override { bar = text; return 7; }
        void StepProgress(int32_t, double position) override { reached = position; }
        void PopProgress(int32_t handle) override { popped = handle; }
        std::string status, bar;
        double reached = 0.0;
        int32_t popped = 0;
    };
    const std::string path = TempPath("kivo_progress.tre");
    for (int leaves : {2, 120}) {
        TreeBuilder tree;
        for (int i = 0; i < leaves; ++i)
            tree.Terminal(tree.Root(), "x", "", "1");
        zString message;
        ASSERT_TRUE(tree.Document().WriteTreeFile(path.c_str(), message));
        RecordingHost host;
        Host* const previous = SetHost(&host);
        TreeDocument opened;
        EXPECT_TRUE(opened.ReadTreeFile(path.c_str()));
        SetHost(previous);
        if (leaves == 2) {
            EXPECT_EQ(host.status, "Nodes Loaded: 3 of 3");
            EXPECT_EQ(host.bar, "");
        } else {
            EXPECT_EQ(host.bar, "121 Nodes  ");
            EXPECT_EQ(host.reached, 121.0);
            EXPECT_EQ(host.popped, 7);
        }
    }
    std::remove(path.c_str());
}

// A formula whose stored parse tree is not the one its text gives is damage: it would compute what it does
// not show.
TEST(TreeFile, AFormulaStoredWithAnotherTreeIsDamage)
{
    const std::string path = TempPath("kivo_formula_tree.tre");
    TreeBuilder tree;
    TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "Chance");
    double value = 0.0;
    tree.Terminal(chance, "Up", "1/50", "1")->probability.GetConstant(&value);
    tree.Terminal(chance, "Down", "#", "0");
    ASSERT_TRUE(chance->GetChild(0)->probability.HasParseTree());
    zString message;
    ASSERT_TRUE(tree.Document().WriteTreeFile(path.c_str(), message));
    std::vector<uint8_t> bytes = FileBytes(path);
    TreeDocument sound;
    EXPECT_TRUE(sound.ReadTreeFile(path.c_str()));
    const std::string shown = "1/50";
    const auto at = std::search(bytes.begin(), bytes.end(), shown.begin(), shown.end());
    ASSERT_NE(at, bytes.end());
    at[3] = ' ';
    PutBytes(path, bytes);
    MessageBoxRecorder boxes;
    TreeDocument opened;
    EXPECT_FALSE(opened.ReadTreeFile(path.c_str()));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, DamagedBox("37", path));
    EXPECT_EQ(opened.Root->childCount, 0);
    std::remove(path.c_str());
}

// Damaged files and files of other programs: one box that names the file, a single decision node and never
// a crash.
TEST(TreeFile, DamagedFilesReportTheirCode)
{
    const std::string path = TempPath("kivo_damaged.tre");
    TreeBuilder tree;
    BuildEveryFeature(tree);
    zString message;
    ASSERT_TRUE(tree.Document().WriteTreeFile(path.c_str(), message));
    const std::vector<uint8_t> good = FileBytes(path);

    // Offsets found in the good file: the display preferences' BranchesPerNode, the arrow marker.
    const auto find = [&good](std::vector<uint8_t> pattern) {
        return static_cast<size_t>(std::search(good.begin(), good.end(), pattern.begin(), pattern.end()) - good.begin());
    };
    const size_t arrowMarker = find({3, 5, 0, 0x44, 0, 0, 0xC0, 0x3F});
    ASSERT_LT(arrowMarker, good.size());
    const std::string notOurs = "This file was not created by KIVO. It cannot be read.";
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        std::string text;
    } cases[] = {
        {"truncated", std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2), "2"},
        {"arrow marker", good, "27"},
        {"body version", good, "32"},
        {"header version", good, "32"},
        {"display preferences", {}, "23"},
        {"archive", {'P', 'K', 3, 4, 20, 0, 0, 0, 8, 0, 0x21, 0xFE, 0x9C, 0x55}, notOurs},
        {"picture", {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R'}, notOurs},
    };
    tree.Document().DisplayPrefs.BranchesPerNode = 21;
    ASSERT_TRUE(tree.Document().WriteTreeFile(path.c_str(), message));
    cases[4].bytes = FileBytes(path);
    cases[1].bytes[arrowMarker + 3] = 0x45;
    cases[2].bytes[7] = 11;
    cases[3].bytes[2] = 1;
    for (const Case& c : cases) {
        PutBytes(path, c.bytes);
        MessageBoxRecorder boxes;
        TreeDocument opened;
        EXPECT_FALSE(opened.ReadTreeFile(path.c_str())) << c.what;
        ASSERT_EQ(boxes.Count(), 1u) << c.what;
        EXPECT_EQ(boxes.Last().text, c.text.size() > 2 ? c.text + "\n\n\"" + path + "\"" : DamagedBox(c.text, path));
        EXPECT_EQ(opened.Root->childCount, 0) << c.what;
        EXPECT_EQ(opened.Root->kind, DecisionNode);
        // Nothing read before the damage stays to be saved over the file.
        EXPECT_EQ(opened.Variables.Count() + opened.NoteBoxes.Count() + opened.LinkItems.Count(), 0) << c.what;
    }
    std::remove(path.c_str());
}

} // namespace

namespace {

TEST(CloneRegistry, NewIdFillsTheFirstGapFromItsUpperEnd)
{
    struct Case {
        std::vector<int16_t> ids;
        int expected;
    } cases[] = {{{1, 2, 5}, 4}, {{3}, 2}, {{}, 1}, {{1, 2}, 3}};
    for (const Case& c : cases) {
        TreeBuilder tree;
        for (int16_t id : c.ids) {
            TreeNode* master = tree.Add(tree.Root(), ChanceNode, "m");
            master->cloneStatus = CloneMasterNode;
            master->cloneId = id;
            tree.Document().AddCloneMaster(master, "m");
        }
        EXPECT_EQ(tree.Document().NewCloneId(), c.expected) << c.ids.size();
    }
}

} // namespace

// Files written before result columns were stored whole (a tree and a rolled-back snapshot) open with no
// columns and no result cells, and save again.
TEST(TreeFile, FilesFromTheBuildBeforeResultColumnsOpen)
{
    for (const char* name : {"every-feature-before-columns.tre", "every-feature-before-columns.trb"}) {
        SCOPED_TRACE(name);
        MessageBoxRecorder boxes;
        TreeDocument opened;
        ASSERT_TRUE(opened.ReadTreeFile((std::string(KIVO_TEST_DATA) + "/files/" + name).c_str()));
        EXPECT_EQ(boxes.Count(), 0u);
        EXPECT_EQ(opened.StoredNodeCount, 13);
        EXPECT_EQ(opened.RollBackColumns.Count(), 0);
        EXPECT_EQ(opened.RolledBack,
                  name[std::strlen(name) - 1] == 'b' ? RolledBackValues::Snapshot : RolledBackValues::None);
        // The walk goes round the tree and back to the root.
        TreeNode* node = opened.Root;
        do {
            EXPECT_EQ(node->resultCells, nullptr);
            node = node->NextNode(0);
        } while (node != nullptr && node != opened.Root);
        const std::string again = TempPath("kivo_before_columns.tre");
        zString message;
        EXPECT_TRUE(opened.WriteTreeFile(again.c_str(), message)) << message.Text();
        std::remove(again.c_str());
    }
}
