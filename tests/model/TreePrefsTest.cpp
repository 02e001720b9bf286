#include "model/TreeCalcPrefs.h"
#include "model/TreeDisplayPrefs.h"

#include "app/StartProgram.h"
#include "foundation/MemoryStream.h"
#include "model/TreeDocument.h"
#include "tests/foundation/RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

template <typename Record> std::vector<uint8_t> Store(Record& record, const VersionRecord& version)
{
    MemoryStream out(100);
    record.Serialize(out, version);
    EXPECT_FALSE(out.Failed());
    return std::vector<uint8_t>(out.Data(), out.Data() + out.Position());
}

template <typename Record> uint32_t Load(Record& record, std::vector<uint8_t> bytes, const VersionRecord& version)
{
    MemoryStream in(bytes.data(), static_cast<uint32_t>(bytes.size()), false);
    record.Serialize(in, version);
    EXPECT_EQ(in.Position(), bytes.size());
    return in.FormatError();
}

TreeDisplayPrefs EveryDisplayField()
{
    TreeDisplayPrefs prefs;
    prefs.TreeFont.pointSize = 14;
    prefs.EVFont.bold = 1;
    prefs.VariablesFont.face = "Arial";
    prefs.ProbFont.italic = 1;
    prefs.PageHeaderFont.pointSize = 7;
    prefs.PageFooterFont.turned = 1;
    prefs.MarkNodesWithVars = 2;
    prefs.BranchesPerNode = 20;
    prefs.NoteBoxBorderKey = 3;
    prefs.PrintZoomFact = 250;
    prefs.ArrowHeadSize = 2;
    prefs.PageHeaderString = "head";
    prefs.PageFooterString = "foot";
    prefs.PageHeaderLoc = 0;
    prefs.TermNodeStyle = 1;
    prefs.TermNumString = "T#";
    prefs.ShowColumns = prefs.HideProbs = prefs.Schematic = 1;
    return prefs;
}

TEST(TreeDisplayPrefsStream, CurrentFormRoundTripsEveryField)
{
    const VersionRecord current = VersionRecord::Current();
    TreeDisplayPrefs written = EveryDisplayField();
    const std::vector<uint8_t> bytes = Store(written, current);
    TreeDisplayPrefs read;
    read.SetDefaults();
    EXPECT_EQ(Load(read, bytes, current), 0u);
    EXPECT_EQ(Store(read, current), bytes);
    EXPECT_EQ(read.ProbFont, written.ProbFont);
    EXPECT_STREQ(read.PageFooterString.Text(), "foot");
}

// An older version stores fewer fields; those past its gates keep what the record had.
TEST(TreeDisplayPrefsStream, VersionGatesLeaveLaterFieldsAlone)
{
    struct Case {
        int32_t key;
        bool hasZoom, hasHeader, hasMarkovFlags, hasTermNumbers, hasProbFont;
    } cases[] = {
        {KnownVersion::k2_5, false, false, false, false, false},
        {KnownVersion::k2_6, true, false, false, false, false},
        {KnownVersion::k3_0, true, true, true, false, false},
        {KnownVersion::k3_5, true, true, true, true, false},
        {KnownVersion::k3_5_Beta4, true, true, true, true, true},
    };
    for (const Case& c : cases) {
        VersionRecord version;
        version.SetFromKey(c.key);
        TreeDisplayPrefs written = EveryDisplayField();
        TreeDisplayPrefs read;
        read.SetDefaults();
        EXPECT_EQ(Load(read, Store(written, version), version), 0u) << std::hex << c.key;
        EXPECT_EQ(read.BranchesPerNode, 20);
        EXPECT_EQ(read.PrintZoomFact, c.hasZoom ? 250 : 100) << std::hex << c.key;
        EXPECT_EQ(read.PageFooterString == "foot", c.hasHeader) << std::hex << c.key;
        EXPECT_EQ(read.Schematic, c.hasMarkovFlags ? 1 : 0) << std::hex << c.key;
        EXPECT_EQ(read.TermNumString == "T#", c.hasTermNumbers) << std::hex << c.key;
        EXPECT_EQ(read.ProbFont == written.ProbFont, c.hasProbFont) << std::hex << c.key;
    }
}

TEST(TreeDisplayPrefsStream, RangesCheckedOnReading)
{
    struct Case {
        int branches, border, zoom;
        uint32_t error;
        int zoomRead;
    } cases[] = {
        {20, 20, 10, 0, 10}, {21, 1, 100, 23, 100}, {2, 21, 100, 23, 100}, {2, 1, 9, 0, 100}, {2, 1, 251, 0, 100},
    };
    const VersionRecord current = VersionRecord::Current();
    for (const Case& c : cases) {
        TreeDisplayPrefs written;
        written.BranchesPerNode = static_cast<uint8_t>(c.branches);
        written.NoteBoxBorderKey = c.border;
        written.PrintZoomFact = static_cast<uint8_t>(c.zoom);
        written.AlignEndNodes = written.PackTreeVert = 1;
        TreeDisplayPrefs read;
        EXPECT_EQ(Load(read, Store(written, current), current), c.error) << c.branches << "," << c.border;
        EXPECT_EQ(read.PrintZoomFact, c.zoomRead) << c.zoom;
        EXPECT_EQ(read.PackTreeVert, 0);
    }
}

TEST(TreeCalcPrefsStream, RoundTripAndRangeChecks)
{
    const VersionRecord current = VersionRecord::Current();
    TreeCalcPrefs written;
    written.CalcMethod = MultiAttributeMethod;
    written.CEEffPayoff = 3;
    written.MultiAttrWeight[2].SetText("0.25");
    written.OptPath[1] = 0;
    written.CostEffOptPath = 1;
    written.FastRollBack = 1;
    written.PayoffFormats[3].expValDigits = 4;
    written.BenCostFormat.probDigits = 6;
    const std::vector<uint8_t> bytes = Store(written, current);
    TreeCalcPrefs read;
    read.SetDefaults();
    EXPECT_EQ(Load(read, bytes, current), 0u);
    EXPECT_EQ(Store(read, current), bytes);
    EXPECT_EQ(read.CurrentNumericFormat().probDigits, written.MultiAttrFormat.probDigits);

    struct Case {
        int currentPayoff, method;
        uint32_t error;
    } cases[] = {{3, 3, 0}, {4, 0, 23}, {0, 4, 23}, {-1, 0, 23}};
    for (const Case& c : cases) {
        TreeCalcPrefs bad;
        bad.CurrentPayoff = static_cast<int8_t>(c.currentPayoff);
        bad.CalcMethod = static_cast<CalcMethodKind>(c.method);
        TreeCalcPrefs target;
        EXPECT_EQ(Load(target, Store(bad, current), current), c.error) << c.currentPayoff << "," << c.method;
    }
}

// A 2.5 record holds only the roll-back choices, the payoff directions and the payoff formats.
TEST(TreeCalcPrefsStream, OldRecordChangesOnlyItsFields)
{
    VersionRecord old;
    old.SetFromKey(KnownVersion::k2_5);
    TreeCalcPrefs written;
    written.UseUtility = 1;
    written.OptPath[3] = 0;
    written.CalcMethod = BenefitCostMethod;
    written.MarkovMonteFastTerm = 0;
    TreeCalcPrefs read;
    read.SetDefaults();
    EXPECT_EQ(Load(read, Store(written, old), old), 0u);
    EXPECT_EQ(read.UseUtility, 1);
    EXPECT_EQ(read.OptPath[3], 0);
    EXPECT_EQ(read.CalcMethod, PayoffMethod);
    EXPECT_EQ(read.MarkovMonteFastTerm, 1);
}

// Saved keys that name no payoff or method give their defaults.
TEST(TreeCalcPrefsProfile, PayoffIndexesAndMethodOutOfRangeTakeTheirDefaults)
{
    StoreTestLock lock;
    const bool sectionExisted = SectionExists("TreeCalcPrefs");
    TreeCalcPrefs before;
    before.ReadProfile();
    WriteProfileInt("TreeCalcPrefs", "CurrentPayoff", 4);
    WriteProfileInt("TreeCalcPrefs", "CEEffPayoff", -1);
    WriteProfileInt("TreeCalcPrefs", "CalcMethod", 4);
    WriteProfileInt("TreeCalcPrefs", "BCCostPayoff", 3);
    TreeCalcPrefs read;
    read.ReadProfile();
    EXPECT_EQ(read.CurrentPayoff, 0);
    EXPECT_EQ(read.CEEffPayoff, 1);
    EXPECT_EQ(read.CalcMethod, PayoffMethod);
    EXPECT_EQ(read.BCCostPayoff, 3);
    if (sectionExisted)
        before.WriteProfile();
    else
        DeleteProfileSection("TreeCalcPrefs", false);
}

// The fonts of the defaults and of the older text form are the program's default fonts.
TEST(TreeDisplayPrefsDefaults, FontsAreTheProgramsDefaultFonts)
{
    FontRecord prob, header;
    prob.pointSize = 8;
    header.bold = 1;
    ProgramApp program;
    program.ReplaceDefaultFont(ProbFont, std::make_unique<FontRecord>(prob));
    program.ReplaceDefaultFont(PageHeaderFont, std::make_unique<FontRecord>(header));
    TreeDisplayPrefs prefs;
    prefs.SetDefaults();
    const bool fromDefaults = prefs.ProbFont == prob && prefs.PageFooterFont == header && prefs.TreeFont == FontRecord();
    prefs.ProbFont = FontRecord();
    EXPECT_TRUE(prefs.FromText("0,1,1,1,0,0,0,7,1", 0, VersionRecord()));
    EXPECT_TRUE(fromDefaults);
    EXPECT_EQ(prefs.ProbFont, prob);
}

// A new tree starts from the saved preferences, except the page header and footer.
TEST(TreePrefsProfile, NewTreesTakeTheSavedRecordsWithoutHeaderAndFooter)
{
    StoreTestLock lock;
    SavedRegistryValue savedDisplay("Preferences", "TreeDisplayPrefs"), savedCalc("Preferences", "TreeCalcPrefs");
    // Every new tree of any test process writes what it loaded back, so the values stored here may outlive
    // this test: they are ones no other test reads (the fourth payoff's places, the terminal number text).
    TreeDisplayPrefs display;
    display.PageHeaderString = "Head";
    display.PageFooterString = "Foot";
    display.TermNumString = "T#";
    ASSERT_TRUE(SavePreferences(display));
    TreeCalcPrefs calc;
    calc.PayoffFormats[3].expValDigits = 5;
    ASSERT_TRUE(SavePreferences(calc));
    TreeDocument document;
    EXPECT_STREQ(document.DisplayPrefs.TermNumString.Text(), "T#");
    EXPECT_TRUE(document.DisplayPrefs.PageHeaderString.IsEmpty() && document.DisplayPrefs.PageFooterString.IsEmpty());
    EXPECT_EQ(document.CalcPrefs.PayoffFormats[3].expValDigits, 5);
}

} // namespace
