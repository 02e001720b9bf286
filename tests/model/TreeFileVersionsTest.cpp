// Tree bodies built by hand at each version gate of the layout, read by the program's reader.

#include "model/TreeDocument.h"

#include "foundation/StoredString.h"
#include "model/NodeRef.h"
#include "model/NoteBoxList.h"
#include "model/StoredAnalysisList.h"
#include "model/TreeNode.h"
#include "model/TreeNodeRecords.h"
#include "tests/foundation/StreamBytes.h"

#include <gtest/gtest.h>

namespace {

// Calculation preferences with CurrentPayoff 2 as that version stored them: the text form before 2.5
// build 4; two more bytes after the first fields before 3.0 beta 9; eighteen more at the end from 3.5 up
// to 3.5 beta 4.
Bytes CalcPrefsForm(const VersionRecord& version)
{
    if (version.IsOlderThan(KnownVersion::k2_5_Build4))
        return WrittenBytes([](Archive& out) { StoreString(out, "0,0,0,1,1,1,1,2"); });
    TreeCalcPrefs calc;
    calc.CurrentPayoff = 2;
    Bytes form = WrittenBytes([&](Archive& out) { calc.Serialize(out, version); });
    if (version.IsAtLeast(KnownVersion::k2_6) && version.IsOlderThan(KnownVersion::k3_0_Beta9))
        form.insert(form.begin() + 5, 2, 0);
    if (version.IsAtLeast(KnownVersion::k3_5) && version.IsAtMost(KnownVersion::k3_5_Beta4))
        form.insert(form.end(), 18, 0);
    return form;
}

// The body as a writer of that version laid it out: a root with no children (binding B to rootB when
// given), variable A defined as 1, and before 3.0 the old default B = 2 beside it.
Bytes HandBuiltBody(int32_t key, const char* rootB = nullptr)
{
    VersionRecord version;
    version.SetFromKey(key);
    return WrittenBytes([&](Archive& out) {
        version.Serialize(out);
        if (version.IsOlderThan(KnownVersion::k2_6)) {
            out.WriteLong(0);
        } else {
            out.WriteLong(720).WriteLong(-360).WriteShort(2);
            StoreString(out, "tag");
        }
        DocVariableList variables;
        auto* a = new DocVariable("A");
        a->definition.SetText("1");
        variables.InsertSorted(a);
        variables.Serialize(out);
        if (version.IsOlderThan(KnownVersion::k3_0)) {
            VariableDefList defaults;
            defaults.InsertSorted(new VariableDefinition("B", "2"));
            defaults.Serialize(out);
        }
        NoteBoxList().Serialize(out);
        StoredAnalysisList().Serialize(out);
        version.Serialize(out);
        out.WriteBytes(CalcPrefsForm(version).data(), static_cast<uint32_t>(CalcPrefsForm(version).size()));
        version.Serialize(out);
        if (version.IsOlderThan(KnownVersion::k2_5_Build4)) {
            StoreString(out, "0,1,1,1,0,0,0,7,1");
        } else {
            TreeDisplayPrefs display;
            display.BranchesPerNode = 7;
            display.Serialize(out, version);
        }
        RiskPrefAssessment().Serialize(out);
        LinkItemList().Serialize(out);
        DocumentLinkList().Serialize(out);
        if (version.IsOlderThan(KnownVersion::k2_5_Build4)) {
            FontRecord font;
            font.pointSize = 13;
            font.Serialize(out);
            font.Serialize(out);
        }
        if (version.IsAtLeast(KnownVersion::k3_0_Beta4))
            out.WriteLong(1);
        TreeDocument source;
        if (rootB != nullptr)
            source.Root->SetBinding("B", rootB, false);
        WriteTreeNode(source.Root, out);
        NodeRefList().Serialize(out);
        if (version.IsAtLeast(KnownVersion::k2_6))
            TreeArrowList().Serialize(out);
        if (version.IsAtLeast(KnownVersion::k2_6_Build2))
            DistributionList(4, true).Serialize(out);
        if (version.IsOlderThan(KnownVersion::k3_0))
            return;
        out.WriteShort(0);
        for (const char* text : {"a", "b", "c"})
            StoreString(out, text);
        out.WriteShort(4);
        if (version.IsAtLeast(KnownVersion::k3_0_Beta7))
            out.WriteDouble(1.5);
        if (version.IsOlderThan(KnownVersion::k3_0_Build9))
            return;
        out.WriteShort(1);
        if (version.IsAtLeast(KnownVersion::k3_0_Build10))
            out.WriteShort(0);
        out.WriteShort(0).WriteShort(0);
        if (version.IsAtLeast(KnownVersion::k3_5))
            DisplayColumnList().Serialize(out);
        if (version.IsNewerThan(KnownVersion::k3_5_Beta4))
            CESensitivitySettings().Serialize(out);
    });
}

std::string RootBinding(const TreeDocument& document, const char* name)
{
    const VariableDefinition* binding = document.Root->FindBinding(name, true);
    return binding != nullptr ? binding->definition.Text().Text() : "<none>";
}

TEST(TreeFileVersions, HandBuiltBodiesReadAtEveryGate)
{
    struct Case {
        int32_t key;
        bool printOffset, defaultsMoved, nodeTotal, zoom, printer;
    } cases[] = {
        {KnownVersion::k2_5, false, true, false, false, false},
        {KnownVersion::k2_5_Build4, false, true, false, false, false},
        {KnownVersion::k2_6_Beta1, true, true, false, false, false},
        {KnownVersion::k2_6_Build2, true, true, false, false, false},
        {0x300B1, true, true, false, false, false},
        {KnownVersion::k3_0_Beta2, true, true, false, false, false},
        {KnownVersion::k3_0_Beta4, true, false, true, false, false},
        {KnownVersion::k3_0_Beta7, true, false, true, true, false},
        {KnownVersion::k3_0_Build9, true, false, true, true, true},
        {0x305B1, true, false, true, true, true},
        {KnownVersion::k3_5_Beta4, true, false, true, true, true},
        {KnownVersion::kCurrent, true, false, true, true, true},
    };
    // Keys of versions that exist (a key such as 2.6 itself only marks a gate).
    for (const Case& c : cases) {
        const Bytes body = HandBuiltBody(c.key);
        ReadStream in(body);
        TreeDocument document;
        document.ReadDocumentBody(in);
        SCOPED_TRACE(testing::Message() << std::hex << c.key);
        EXPECT_FALSE(in->Failed()) << in->FormatError() << " at " << in->Position() << " of " << body.size();
        if (in->Failed()) continue;
        EXPECT_EQ(in->Position(), body.size());
        EXPECT_EQ(document.PrintOffset[1], c.printOffset ? -360 : 0);
        EXPECT_EQ(document.CalcPrefs.CurrentPayoff, 2);
        EXPECT_EQ(document.DisplayPrefs.BranchesPerNode, 7);
        EXPECT_EQ(document.DisplayPrefs.TreeFont.pointSize == 13, c.key < KnownVersion::k2_5_Build4);
        EXPECT_EQ(document.StoredNodeCount, c.nodeTotal ? 1 : 0);
        EXPECT_EQ(document.Zoom, c.zoom ? 1.5 : 1.0);
        EXPECT_EQ(document.PrinterSetup != nullptr, c.printer);
        // Up to 3.0 beta 2 the default definitions move to the root and leave their records empty.
        EXPECT_EQ(RootBinding(document, "A"), c.defaultsMoved ? "1" : "<none>");
        EXPECT_EQ(RootBinding(document, "B"), c.key < KnownVersion::k3_0 ? "2" : "<none>");
        EXPECT_EQ(document.FindVariable("B", true) != nullptr, c.key < KnownVersion::k3_0);
        EXPECT_EQ(document.FindVariable("A", true)->definition.IsEmpty(), c.defaultsMoved);
    }
}

// A root binding of the name wins over the old default; the default is emptied all the same.
TEST(TreeFileVersions, OldDefaultsLeaveARootBindingAlone)
{
    ReadStream in(HandBuiltBody(KnownVersion::k2_6_Beta1, "5"));
    TreeDocument document;
    document.ReadDocumentBody(in);
    EXPECT_EQ(RootBinding(document, "B"), "5");
    EXPECT_EQ(RootBinding(document, "A"), "1");
    // A body before 3.5 gets the parse trees its formulas lack.
    EXPECT_TRUE(document.Root->FindBinding("A", true)->definition.HasParseTree());
}

} // namespace
