// Stored forms of variable records and node references, and the re-parse walk's progress entry.

#include "app/ProgressWindow.h"
#include "foundation/MemoryStream.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "model/DocVariable.h"
#include "model/ExpressionWalk.h"
#include "model/NodeRef.h"
#include "tests/model/TreeBuilder.h"

#include <gtest/gtest.h>

namespace {

MemoryStream Reader(const MemoryStream& written)
{
    return MemoryStream(const_cast<uint8_t*>(written.Data()), written.Position(), false);
}

TEST(StoredForms, DocVariableRoundTrip)
{
    DocVariable original("Rate");
    original.definition.SetText("0.05");
    original.comment = "yearly";
    original.hasRange = 1;
    original.low.value = 0.01;
    original.high.value = 0.09;
    original.shortDescription = "Discount";
    original.tFlag = 1;
    original.tValue1 = 2.5f;
    original.flag3 = 0;
    MemoryStream written(100);
    original.Serialize(written);
    MemoryStream reader = Reader(written);
    DocVariable loaded;
    loaded.Serialize(reader);
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(loaded.name, "Rate");
    EXPECT_EQ(loaded.upperName, "RATE");
    EXPECT_EQ(loaded.comment, "yearly");
    EXPECT_EQ(loaded.definition.Text(), "0.05");
    EXPECT_EQ(loaded.hasRange, 1);
    EXPECT_EQ(loaded.low.value, 0.01);
    EXPECT_EQ(loaded.high.value, 0.09);
    EXPECT_EQ(loaded.shortDescription, "Discount");
    EXPECT_EQ(loaded.tFlag, 1);
    EXPECT_EQ(loaded.tValue3, 2.5f);
    EXPECT_EQ(loaded.flag3, 0);
    EXPECT_EQ(loaded.correlations, nullptr);
}

// A record written by version 2.5: version, name, upper name, definition, range byte, low and high as floats.
TEST(StoredForms, DocVariableBefore26KeepsItsStoredUpperName)
{
    MemoryStream written(100);
    VersionRecord old(2, 5, 0);
    old.Serialize(written);
    StoreString(written, "Abc");
    StoreString(written, "STORED");
    Expression definition("1");
    definition.Serialize(written);
    written.WriteByte(0);
    written.WriteFloat(1.0f);
    written.WriteFloat(2.0f);
    MemoryStream reader = Reader(written);
    DocVariable loaded;
    loaded.Serialize(reader);
    EXPECT_EQ(loaded.name, "Abc");
    EXPECT_EQ(loaded.upperName, "STORED");
    EXPECT_TRUE(loaded.comment.IsEmpty());
    EXPECT_EQ(loaded.high.value, 2.0);
}

TEST(StoredForms, NodeRefEndMark)
{
    TreeBuilder tree;
    TreeNode* a = tree.Add(tree.Root(), ChanceNode, "A");
    TreeNode* target = tree.Add(a, ChanceNode, "A1");
    NodeRef ref;
    ref.id = 4;
    ref.node = target;
    ref.name = "Master";
    MemoryStream written(100);
    ref.Serialize(written);
    MemoryStream reader = Reader(written);
    NodeRef loaded;
    loaded.Serialize(reader);
    EXPECT_FALSE(reader.HasFormatError());
    EXPECT_EQ(loaded.id, 4);
    EXPECT_EQ(loaded.name, "Master");
    loaded.Resolve(&tree.Document());
    EXPECT_EQ(loaded.node, target);

    // The same record with end mark 228 keeps its fields and reports format error 36.
    uint8_t* bytes = const_cast<uint8_t*>(written.Data());
    bytes[written.Position() - 2] = 228;
    MemoryStream damaged = Reader(written);
    NodeRef broken;
    broken.Serialize(damaged);
    EXPECT_EQ(damaged.FormatError(), 36u);
    EXPECT_EQ(broken.name, "Master");
}

TEST(ExpressionWalks, ProgressEntryFromOneHundredFormulas)
{
    struct Row {
        int formulas;
        long entries;
    } rows[] = {{99, 0}, {100, 1}};
    for (const Row& row : rows) {
        TreeBuilder tree;
        TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "c");
        // Each terminal has a probability and four payoffs: five formulas.
        int formulas = 0;
        while (formulas + 5 <= row.formulas) {
            tree.Terminal(chance, "t", "0.1", "1");
            formulas += 5;
        }
        for (; formulas < row.formulas; ++formulas)
            tree.Root()->SetBinding(("v" + std::to_string(formulas)).c_str(), "1", false);
        const long before = ProgressWindow::PushedCount();
        ReparseTreeBindings(tree.Root(), true, nullptr, nullptr, nullptr);
        EXPECT_EQ(ProgressWindow::PushedCount() - before, row.entries) << row.formulas;
        EXPECT_EQ(ProgressWindow::Depth(), 0);
        EXPECT_TRUE(chance->GetChild(0)->probability.HasParseTree());
    }
}

}  // namespace
