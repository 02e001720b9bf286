// The influence-diagram document without a window: tables, names, outline geometry and the ".ind" file's
// version gates, hand-made older files and damaged ones.

#include "foundation/DocumentFileHeader.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "model/InfluenceDiagram.h"
#include "tests/foundation/RegistryTestSupport.h"
#include "tests/foundation/StreamBytes.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/SampleDiagram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace {

using Writer = std::function<void(Archive&)>;

void WriteVersion(Archive& archive, int32_t key)
{
    VersionRecord version;
    version.SetFromKey(key);
    version.Serialize(archive);
}

// Header, document version, no links, the preferences from 3.0 beta 2 and the zoom from beta 7.
void WriteDocumentStart(Archive& archive, int32_t key, const InfDiagPrefs& prefs, double zoom)
{
    WriteFileHeader(archive, InfluenceDocumentKind);
    WriteVersion(archive, key);
    DocumentLinkList().Serialize(archive);
    if (key >= KnownVersion::k3_0_Beta2)
        SerializeWithVersion(const_cast<InfDiagPrefs&>(prefs), archive);
    if (key >= KnownVersion::k3_0_Beta7)
        archive.WriteDouble(zoom);
}

// A chance node's body without arcs, tables or clones; its clone-master reference is written by `master`.
void WriteHandNode(Archive& archive, const char* name, int16_t isClone, const Writer& master)
{
    VersionRecord().Serialize(archive);
    for (const char* text : {name, name, "", ""})
        StoreString(archive, text);
    archive.WriteShort(InfluenceKind::Chance).WriteLong(1000).WriteLong(500).WriteFloat(0).WriteFloat(0);
    archive.WriteShort(0).WriteShort(0).WriteShort(0);
    archive.WriteShort(1).WriteDouble(0).WriteDouble(0).WriteShort(0).WriteShort(0);
    StoreString(archive, "0");
    archive.WriteShort(isClone);
    if (master)
        master(archive);
    else
        archive.WriteShort(0);
    archive.WriteShort(0);
    NameList().Serialize(archive);
    archive.WriteShort(0).WriteShort(0).WriteShort(0).WriteShort(0);
}

// `count` nodes in the list; the first one's body holds the second as its clone master, whose body holds
// the third, and so on, so that reading nests `count` deep.
void WriteNestedNodes(Archive& archive, int index, int count)
{
    WriteHandNode(archive, ("N" + std::to_string(index)).c_str(), 0, [&](Archive& inner) {
        inner.WriteShort(static_cast<int16_t>(index < count ? index + 1 : 0));
        if (index < count)
            WriteNestedNodes(inner, index + 1, count);
    });
}

bool ReadBytes(InfluenceDocument& document, const Bytes& bytes)
{
    ReadStream stream(bytes);
    return document.Read(stream);
}

} // namespace

TEST(InfluenceTables, FollowTheirKeyingNodesAndKeepEntries)
{
    InfluenceDocument document;
    InfluenceDiagram& diagram = document.diagram;
    InfluenceNodeRecord* treat = AddDiagramNode(document, diagram, InfluenceKind::Decision, "Treat", 0, 0, {"A", "B", "C"});
    InfluenceNodeRecord* outcome = AddDiagramNode(document, diagram, InfluenceKind::Chance, "Outcome", 2, 0, {"x", "y", "z"});
    const int table = InfluenceNodeRecord::ProbabilityTable;
    outcome->EnsureDefinitionTree(table);
    for (int state = 0; state < 3; ++state)
        outcome->FindCell({{"Outcome", state}}, table, true)->Set("", 0, std::to_string(state).c_str());

    // A predecessor with three states repeats the table under each of them.
    InfluenceArc* arc = AddDiagramArc(diagram, treat, outcome);
    DefinitionTreeNode* tree = outcome->EnsureDefinitionTree(table);
    EXPECT_EQ(tree->down->name, "Treat");
    for (int choice = 0; choice < 3; ++choice)
        for (int state = 0; state < 3; ++state)
            EXPECT_EQ(outcome->FindCell({{"Treat", choice}, {"Outcome", state}}, table, true)->expression,
                      std::to_string(state).c_str());

    // A fourth alternative copies the entries of the third.
    outcome->FindCell({{"Treat", 2}, {"Outcome", 1}}, table, true)->Set("third", 0, "");
    outcome->FindCell({{"Treat", 0}, {"Outcome", 1}}, table, true)->Set("first", 0, "");
    treat->outcomeNames.AddText("D");
    outcome->EnsureDefinitionTree(table);
    EXPECT_EQ(outcome->FindCell({{"Treat", 3}, {"Outcome", 1}}, table, true)->formula, "third");

    // Without the predecessor the entries of its first state remain.
    arc->SetEnds(nullptr, nullptr);
    outcome->EnsureDefinitionTree(table);
    EXPECT_EQ(tree->down->name, "Outcome");
    EXPECT_EQ(tree->down->down, nullptr);
    EXPECT_EQ(outcome->FindCell({{"Outcome", 1}}, table, true)->formula, "first");
}

TEST(InfluenceTables, CellsClassifyShowAndLookUpTheNearestDefined)
{
    const struct {
        const char* formula;
        const char* expression;
        int kind;
        const char* first;
        const char* second;
    } cells[] = {
        {"#", "", DefinitionCell::Formula, "#", ""},
        {"cost", "12", DefinitionCell::Variable, "cost", "= 12"},
        {"", "0.3", DefinitionCell::ExpressionOnly, "0.3", ""},
        {"", "", DefinitionCell::Empty, "", ""},
        {"1 - p", "", DefinitionCell::Formula, "1 - p", ""},
    };
    for (const auto& row : cells) {
        DefinitionCell cell;
        cell.Set(row.formula, 0, row.expression);
        zString first, second;
        cell.DisplayTexts(first, second);
        EXPECT_EQ(cell.kind, row.kind) << row.formula;
        EXPECT_EQ(first, row.first);
        EXPECT_EQ(second, row.second);
    }

    InfluenceDocument document;
    InfluenceNodeRecord* node =
        AddDiagramNode(document, document.diagram, InfluenceKind::Chance, "Risk", 0, 0, {"low", "mid", "high"});
    const int table = InfluenceNodeRecord::ValueTable;
    node->EnsureDefinitionTree(table);
    EXPECT_EQ(node->FindCell({{"Risk", 0}}, table, false), nullptr);
    DefinitionCell* high = node->FindCell({{"Risk", 2}}, table, true);
    high->Set("", 0, "7");
    EXPECT_EQ(node->FindCell({{"Risk", 0}}, table, false), high);
    EXPECT_EQ(node->FindCell({{"Risk", 0}}, table, true)->kind, DefinitionCell::Empty);
    EXPECT_EQ(node->FindCell({{"Risk", 5}}, table, false), nullptr);
}

TEST(InfluenceTables, StoredNodesKeepStateMinusOneAndABadSentinelIsError39)
{
    DefinitionTreeNode root;
    root.down = std::make_unique<DefinitionTreeNode>("Risk", 0);
    root.down->cell = std::make_unique<DefinitionCell>();
    root.down->cell->Set("cost", 4.5, "12");
    Bytes bytes = WrittenBytes([&](Archive& archive) { root.Serialize(archive); });
    DefinitionTreeNode read;
    ReadStream stream(bytes);
    read.Serialize(stream);
    EXPECT_FALSE(stream->Failed());
    EXPECT_EQ(read.state, -1);
    EXPECT_EQ(read.down->cell->expression, "12");
    EXPECT_EQ(read.down->cell->number, 4.5);

    // The cell comes last but for the root's two flags; its sentinel follows its kind and number.
    const Bytes cell = WrittenBytes([&](Archive& archive) { root.down->cell->Serialize(archive); });
    Bytes damaged = bytes;
    damaged[bytes.size() - 4 - cell.size() + 10] = 0x55;
    DefinitionTreeNode bad;
    ReadStream badStream(damaged);
    bad.Serialize(badStream);
    EXPECT_EQ(badStream->FormatError(), DefinitionCell::kFormatBadSentinel);
    EXPECT_EQ(bad.down->cell->number, 4.5);

    // A chain of siblings far longer than any stack holds frames is written, read and freed in loops.
    DefinitionTreeNode* last = root.down.get();
    for (int state = 1; state < 200000; ++state) {
        last->next = std::make_unique<DefinitionTreeNode>("Risk", state);
        last = last->next.get();
    }
    const Bytes chain = WrittenBytes([&](Archive& archive) { root.Serialize(archive); });
    auto chainRead = std::make_unique<DefinitionTreeNode>();
    ReadStream chainStream(chain);
    chainRead->Serialize(chainStream);
    EXPECT_FALSE(chainStream->Failed());
    EXPECT_EQ(chainRead->down->cell->expression, "12");
    chainRead.reset();
}

TEST(InfluenceNames, LabelsAndUniqueVariableNames)
{
    EXPECT_EQ(ShortenLabel("Probability of a serious complication", 28), "Probability of a serious...");
    EXPECT_EQ(ShortenLabel("Cost of\r\nsurgery", 28), "Cost of surgery");
    EXPECT_EQ(ShortenLabel("Abcdefghijklmnopqrstuvwxyz0123456789", 28), "Abcdefghijklmnopqrstuvwxyz01...");

    InfluenceDocument document;
    AddDiagramNode(document, document.diagram, InfluenceKind::Chance, "Cost", 0, 0);
    InfluenceNodeRecord* second = AddDiagramNode(document, document.diagram, InfluenceKind::Chance, "", 2, 0);
    second->UniqueVariableName("COST");
    EXPECT_EQ(second->variableName, "COST_1");
    InfluenceNodeRecord* third = AddDiagramNode(document, document.diagram, InfluenceKind::Chance, "", 4, 0);
    third->UniqueVariableName("cost");
    EXPECT_EQ(third->variableName, "cost_2");
}

// A label names a node that has no variable; a new variable name reaches formulas and table levels as whole
// words in any case; print scales are kept to the percent.
TEST(InfluenceNames, LabelsNameVariablesRenamesReachEveryUseAndScalesRound)
{
    InfluenceDocument document;
    InfluenceNodeRecord* cost = AddDiagramNode(document, document.diagram, InfluenceKind::Chance, "Cost", 0, 0, {"Lo", "Hi"});
    InfluenceNodeRecord* net = AddDiagramNode(document, document.diagram, InfluenceKind::Value, "", 2, 0);
    AddDiagramArc(document.diagram, cost, net);
    net->name = "Net gain (2024)";
    net->NameChanged();
    EXPECT_EQ(net->variableName, "Net_gain__2024");
    net->formula = "cost*2+COSTLY";
    ASSERT_NE(net->EnsureDefinitionTree(InfluenceNodeRecord::ValueTable), nullptr);
    net->RenameVariable("Cost", "Price");
    EXPECT_EQ(net->formula, "Price*2+COSTLY");
    EXPECT_EQ(net->DefinitionTree(InfluenceNodeRecord::ValueTable)->FindLevel("Cost"), -1);
    EXPECT_GE(net->DefinitionTree(InfluenceNodeRecord::ValueTable)->FindLevel("Price"), 0);

    const struct {
        double scale;
        int16_t stored;
    } scales[] = {{1.0, 100}, {0.333, 33}, {1.256, 126}, {0.001, 1}};
    for (const auto& c : scales) {
        document.diagram.SetPrintScale(c.scale);
        EXPECT_EQ(document.diagram.printFactor, c.stored) << c.scale;
        EXPECT_DOUBLE_EQ(document.diagram.PrintScale(), c.stored / 100.0);
    }
}

TEST(InfluenceGeometry, BoundaryPointsOfEachOutline)
{
    const LogicalRect rect{1, 1, 3, 2};
    const DiagramPoint centre{2, 1.5f};
    const struct {
        int kind;
        DiagramPoint towards;
        DiagramPoint expected;
    } rows[] = {
        {InfluenceKind::Chance, {5, 1.5f}, {3, 1.5f}},         // the middle of the right edge
        {InfluenceKind::Deterministic, {2, 9}, {2, 2}},        // the bottom of the oval
        {InfluenceKind::Decision, {2.5f, 0}, {2.1666667f, 1}},  // through the top edge
        {InfluenceKind::Value, {2, -4}, {2, 1}},               // the top corner
        {InfluenceKind::Value, {3, 2.5f}, {2.3333333f, 1.8333333f}}, // the lower right side
        {InfluenceKind::SubModel, {2.1f, -10}, {2.0043478f, 1}},     // the top edge
        {InfluenceKind::SubModel, {8, 1.5f}, {3, 1.5f}},       // the right tip
        {InfluenceKind::Chance, {2, 1.5f}, {3, 1.5f}},         // no direction: straight to the right
        {InfluenceKind::Value, {2, 1.5f}, {3, 1.5f}},
        {InfluenceKind::SubModel, {2, 1.5f}, {3, 1.5f}},
        {InfluenceKind::Decision, {2, 1.5f}, {3, 1.5f}},
    };
    for (const auto& row : rows) {
        const DiagramPoint point = BoundaryPoint(row.kind, centre, row.towards, rect);
        EXPECT_NEAR(point.x, row.expected.x, 1e-5) << row.kind << " " << row.towards.x << "," << row.towards.y;
        EXPECT_NEAR(point.y, row.expected.y, 1e-5) << row.kind << " " << row.towards.x << "," << row.towards.y;
    }
}

TEST(InfluenceGeometry, ArcsFollowTheirNodesAndKeepOneRowPerTailState)
{
    InfluenceDocument document;
    InfluenceNodeRecord* tail =
        AddDiagramNode(document, document.diagram, InfluenceKind::Chance, "Tail", 0.5f, 0.5f, {"a", "b", "c"});
    InfluenceNodeRecord* head = AddDiagramNode(document, document.diagram, InfluenceKind::Decision, "Head", 2.5f, 0.5f);
    tail->SetRect(LogicalRect{0.5f, 0.5f, 1.5f, 1.5f});
    head->SetRect(LogicalRect{2.5f, 0.5f, 3.5f, 1.5f});
    InfluenceArc* arc = AddDiagramArc(document.diagram, tail, head);
    EXPECT_FLOAT_EQ(arc->middle.x, 2);
    EXPECT_FLOAT_EQ(arc->middle.y, 1);
    EXPECT_FLOAT_EQ(arc->start.x, 1.5f);
    EXPECT_FLOAT_EQ(arc->end.x, 2.5f);
    ASSERT_EQ(arc->settings.rows.size(), 3u);
    EXPECT_EQ(arc->settings.rows[0].affectsProbabilities, 0);
    EXPECT_EQ(arc->settings.rows[0].affectsValues, 1);

    tail->MoveBy(DiagramPoint{1, 0});
    EXPECT_FLOAT_EQ(arc->tailCentre.x, 2);
    EXPECT_FLOAT_EQ(arc->middle.x, 2.5f);
    EXPECT_FLOAT_EQ(arc->middle.y, 1);
    EXPECT_FLOAT_EQ(arc->start.x, 2.5f);

    arc->MoveMiddle(DiagramPoint{3, 1});
    EXPECT_EQ(arc->curved, 0);
    arc->MoveMiddle(DiagramPoint{2.5f, 3});
    EXPECT_EQ(arc->curved, 1);
    arc->Straighten();
    EXPECT_EQ(arc->curved, 0);

    tail->outcomeNames.RemoveAt(2);
    arc->SyncRows();
    EXPECT_EQ(arc->settings.rows.size(), 2u);

    document.diagram.printFactor = 100;
    EXPECT_DOUBLE_EQ(document.diagram.PrintScale(), 1.0);
    document.diagram.printFactor = 33;
    EXPECT_DOUBLE_EQ(document.diagram.PrintScale(), 0.33);
}

TEST(InfluenceFile, VersionGatesOfTheDocumentAndTheBody)
{
    InfDiagPrefs stored;
    stored.verticalInf = 1;
    stored.noteEdge = 2;
    stored.sizeH = 1.5f;
    const struct {
        int32_t version;
        bool prefs;
        double zoom;
    } documents[] = {
        {0x300B1, false, 1.0},
        {KnownVersion::k3_0_Beta2, true, 1.0},
        {KnownVersion::k3_0_Beta4, true, 1.0},
        {KnownVersion::k3_0_Beta7, true, 1.75},
        {KnownVersion::kCurrent, true, 1.75},
        {KnownVersion::kCurrent, true, std::nan("")},
    };
    for (const auto& row : documents) {
        // An unversioned body without nodes: its arcs count and the print offsets still follow.
        const Bytes bytes = WrittenBytes([&](Archive& archive) {
            WriteDocumentStart(archive, row.version, stored, std::isnan(row.zoom) ? row.zoom : 1.75);
            NoteBoxList().Serialize(archive);
            archive.WriteShort(0).WriteShort(0).WriteLong(7).WriteLong(9);
        });
        InfluenceDocument document;
        document.prefs.noteEdge = 5;
        ASSERT_TRUE(ReadBytes(document, bytes)) << std::hex << row.version;
        EXPECT_EQ(document.prefs.noteEdge, row.prefs ? 2 : 5) << std::hex << row.version;
        EXPECT_EQ(document.prefs.sizeH, row.prefs ? 1.5f : document.prefs.sizeH);
        EXPECT_DOUBLE_EQ(document.zoom, std::isnan(row.zoom) ? 1.0 : row.zoom) << std::hex << row.version;
        EXPECT_EQ(document.diagram.printOffsetX, 7);
        EXPECT_EQ(document.diagram.printOffsetY, 9);
        EXPECT_EQ(document.diagram.printFactor, 100);
    }

    // Three nodes in a versioned body: the print factor follows the offsets; a body before 3.0 final 9 has
    // no page-setup flag after it.
    for (const int32_t body : {KnownVersion::k3_0_Build4, KnownVersion::k3_0_Build9}) {
        const Bytes bytes = WrittenBytes([&](Archive& archive) {
            WriteDocumentStart(archive, KnownVersion::kCurrent, stored, 1.0);
            NoteBoxList().Serialize(archive);
            archive.WriteShort(-3);
            WriteVersion(archive, body);
            for (int16_t index = 1; index <= 3; ++index) {
                archive.WriteShort(index);
                WriteHandNode(archive, ("N" + std::to_string(index)).c_str(), 0, nullptr);
            }
            archive.WriteShort(0).WriteLong(0).WriteLong(0).WriteShort(33);
            if (body >= KnownVersion::k3_0_Build9)
                archive.WriteShort(0);
        });
        InfluenceDocument document;
        ASSERT_TRUE(ReadBytes(document, bytes));
        ASSERT_EQ(document.diagram.nodes.size(), 3u);
        EXPECT_EQ(document.diagram.nodes[2]->name, "N3");
        EXPECT_FLOAT_EQ(document.diagram.nodes[2]->left, 1.0f);
        EXPECT_DOUBLE_EQ(document.diagram.PrintScale(), 0.33);
    }
}

TEST(InfluenceFile, ArcSettingsOfBeta5CarryOneMoreShort)
{
    for (const int32_t version : {KnownVersion::k3_0_Beta4, 0x300B5, KnownVersion::k3_0_Beta9}) {
        const Bytes bytes = WrittenBytes([&](Archive& archive) {
            WriteVersion(archive, version);
            archive.WriteShort(1).WriteShort(0);
            if (version == 0x300B5)
                archive.WriteShort(77);
            StoreString(archive, "Why");
            archive.WriteShort(1);
            ArcInfluenceRow{0, 1, ArcInfluenceRow::SkipAll, 2}.Serialize(archive);
        });
        ArcSettings settings;
        ReadStream stream(bytes);
        settings.Serialize(stream);
        EXPECT_FALSE(stream->Failed()) << std::hex << version;
        EXPECT_EQ(settings.comment, "Why") << std::hex << version;
        ASSERT_EQ(settings.rows.size(), 1u);
        EXPECT_EQ(settings.rows[0].influenceType, ArcInfluenceRow::SkipAll);
        EXPECT_EQ(settings.rows[0].targetState, 2);
    }
}

TEST(InfluenceFile, NamesBecomeUniqueAfterTheBodyAndClonesKeepTheirs)
{
    InfDiagPrefs prefs;
    const Bytes bytes = WrittenBytes([&](Archive& archive) {
        WriteDocumentStart(archive, KnownVersion::kCurrent, prefs, 1.0);
        NoteBoxList().Serialize(archive);
        archive.WriteShort(-3);
        VersionRecord().Serialize(archive);
        archive.WriteShort(1);
        WriteHandNode(archive, "Cost", 0, nullptr);
        // The clone comes before the second "COST"; its master is node 1.
        archive.WriteShort(2);
        WriteHandNode(archive, "COST", 1, [](Archive& inner) { inner.WriteShort(1); });
        archive.WriteShort(3);
        WriteHandNode(archive, "COST", 0, nullptr);
        archive.WriteShort(0).WriteLong(0).WriteLong(0).WriteShort(100).WriteShort(0);
    });
    InfluenceDocument document;
    ASSERT_TRUE(ReadBytes(document, bytes));
    ASSERT_EQ(document.diagram.nodes.size(), 3u);
    EXPECT_EQ(document.diagram.nodes[0]->variableName, "Cost");
    EXPECT_EQ(document.diagram.nodes[1]->variableName, "COST");
    EXPECT_EQ(document.diagram.nodes[1]->cloneMaster, document.diagram.nodes[0]);
    EXPECT_EQ(document.diagram.nodes[2]->variableName, "COST_1");
}

TEST(InfluenceFile, DamagedFilesLeaveNothingHalfRead)
{
    InfDiagPrefs prefs;
    const auto nested = [&](int count) {
        return WrittenBytes([&](Archive& archive) {
            WriteDocumentStart(archive, KnownVersion::kCurrent, prefs, 1.0);
            NoteBoxList().Serialize(archive);
            archive.WriteShort(static_cast<int16_t>(-count));
            VersionRecord().Serialize(archive);
            archive.WriteShort(1);
            WriteNestedNodes(archive, 1, count);
            for (int index = 2; index <= count; ++index)
                archive.WriteShort(static_cast<int16_t>(index));
            archive.WriteShort(0).WriteLong(0).WriteLong(0).WriteShort(100).WriteShort(0);
        });
    };
    InfluenceDocument deep;
    EXPECT_TRUE(ReadBytes(deep, nested(InfluenceDocument::kMostNesting)));
    EXPECT_EQ(deep.diagram.nodes.size(), static_cast<size_t>(InfluenceDocument::kMostNesting));

    // A sample written whole reads; cut anywhere, or nested too deeply, it leaves the document empty.
    InfluenceDocument sample;
    BuildSampleDiagram(sample);
    const Bytes whole = WrittenBytes([&](Archive& archive) { sample.Write(archive); });
    const Bytes huge = WrittenBytes([&](Archive& archive) {
        WriteDocumentStart(archive, KnownVersion::kCurrent, prefs, 1.0);
        NoteBoxList().Serialize(archive);
        archive.WriteShort(-32000);
        VersionRecord().Serialize(archive);
        archive.WriteShort(1);
        VersionRecord().Serialize(archive);
        archive.WriteLong(70000);
    });
    const Bytes longName = WrittenBytes([&](Archive& archive) {
        WriteDocumentStart(archive, KnownVersion::kCurrent, prefs, 1.0);
        NoteBoxList().Serialize(archive);
        archive.WriteShort(-1);
        VersionRecord().Serialize(archive);
        archive.WriteShort(1);
        WriteHandNode(archive, std::string(65535, 'x').c_str(), 0, nullptr);
        archive.WriteShort(0).WriteLong(0).WriteLong(0).WriteShort(100).WriteShort(0);
    });
    const Bytes cuts[] = {Bytes(whole.begin(), whole.end() - 40), Bytes(whole.begin(), whole.begin() + whole.size() / 2),
                          nested(InfluenceDocument::kMostNesting + 1), huge, longName};
    for (const Bytes& bytes : cuts) {
        InfluenceDocument document;
        BuildSampleDiagram(document);
        document.zoom = 2;
        EXPECT_FALSE(ReadBytes(document, bytes)) << bytes.size();
        EXPECT_TRUE(document.diagram.nodes.empty());
        EXPECT_TRUE(document.diagram.arcs.empty());
        EXPECT_EQ(document.diagram.notes.Count(), 0);
        EXPECT_EQ(document.links.Count(), 0);
    }
}

TEST(InfluenceFile, AChainOfArcsAsLongAsTheReaderTakesRoundTripsAndALongerOneIsNotWritten)
{
    for (const int length : {InfluenceDocument::kMostNesting, InfluenceDocument::kMostNesting + 1}) {
        InfluenceDocument document;
        InfluenceNodeRecord* previous = nullptr;
        for (int i = 0; i < length; ++i) {
            InfluenceNodeRecord* node = AddDiagramNode(document, document.diagram, InfluenceKind::Chance, "", i * 1.0f, 0, {"a"});
            if (previous)
                AddDiagramArc(document.diagram, previous, node);
            previous = node;
        }
        const Bytes bytes = WrittenBytes([&](Archive& archive) {
            EXPECT_EQ(document.Write(archive), length == InfluenceDocument::kMostNesting);
        });
        if (length > InfluenceDocument::kMostNesting)
            continue;
        InfluenceDocument read;
        ASSERT_TRUE(ReadBytes(read, bytes));
        EXPECT_EQ(read.diagram.arcs.size(), static_cast<size_t>(length - 1));
        EXPECT_EQ(read.diagram.arcs.back()->head, read.diagram.nodes.back());
    }
}

// The saved preferences: every key round-trips, sizes as number texts; a size text that is no number leaves
// the size as it was; the arc font defaults to a point below the node font.
TEST(InfluencePrefs, ProfileRoundTripsAndABadSizeTextIsIgnored)
{
    StoreTestLock lock;
    const bool sectionExisted = SectionExists("InfDiagPrefs");
    InfDiagPrefs before;
    before.ReadProfile();
    InfDiagPrefs written;
    EXPECT_EQ(written.arcFont.pointSize, written.nodeFont.pointSize - 1);
    written.noteEdge = 2;
    written.fixedSize = 1;
    written.verticalInf = 1;
    written.optHigh = 0;
    written.sizeH = 1.25f;
    written.sizeV = 0.3f;
    written.WriteProfile();
    InfDiagPrefs read;
    read.SetDefaults();
    read.ReadProfile();
    EXPECT_EQ(read.noteEdge, 2);
    EXPECT_EQ(read.fixedSize, 1);
    EXPECT_EQ(read.verticalInf, 1);
    EXPECT_EQ(read.optHigh, 0);
    EXPECT_EQ(read.sizeH, 1.25f);
    EXPECT_EQ(read.sizeV, 0.3f);
    WriteProfileString("InfDiagPrefs", "SizeH", "wide", false);
    read.SetDefaults();
    read.ReadProfile();
    EXPECT_EQ(read.sizeH, 0.8f);
    if (sectionExisted)
        before.WriteProfile();
    else
        DeleteProfileSection("InfDiagPrefs", false);
}
