#include "foundation/MemoryStream.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "model/NodeComment.h"
#include "tests/foundation/StreamBytes.h"
#include "tests/model/TreeBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Record {
    const char* name;
    const char* comment;
};

void Fill(BranchNameList& list, const std::vector<Record>& records)
{
    for (const Record& r : records) {
        auto* record = new BranchName;
        record->name = r.name;
        record->comment = r.comment;
        list.Add(record);
    }
}

struct MatchCase {
    const char* name;
    std::vector<Record> records;
    bool matches;
};

class BranchMatching : public ::testing::TestWithParam<MatchCase> {};

// The node has the children "Yes" and "No\r\nway".
TEST_P(BranchMatching, AgainstTheChildren)
{
    TreeBuilder tree;
    tree.Add(tree.Root(), TerminalNode, "Yes");
    tree.Add(tree.Root(), TerminalNode, "No\r\nway");
    BranchNameList list;
    Fill(list, GetParam().records);
    EXPECT_EQ(list.MatchesChildren(tree.Root()), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BranchMatching,
    ::testing::Values(MatchCase{"AllEmptyMatchesAnything", {{"x", ""}, {"y", ""}, {"z", ""}}, true},
                      MatchCase{"NoRecords", {}, true},
                      MatchCase{"SameNames", {{"Yes", "a"}, {"No\nway", ""}}, true},
                      MatchCase{"CaseIgnored", {{"YES", "a"}, {"no\nWAY", ""}}, true},
                      MatchCase{"CountDiffers", {{"Yes", "a"}}, false},
                      MatchCase{"NameDiffers", {{"Yes", "a"}, {"No way", ""}}, false},
                      MatchCase{"OrderMatters", {{"No\nway", "a"}, {"Yes", ""}}, false}),
    [](const ::testing::TestParamInfo<MatchCase>& info) { return std::string(info.param.name); });

TEST(NodeCommentTest, ExtendToChildrenKeepsTextsByPosition)
{
    TreeBuilder tree;
    tree.Add(tree.Root(), TerminalNode, "first");
    tree.Add(tree.Root(), TerminalNode, "second");
    BranchNameList list;
    Fill(list, {{"a", "one"}, {"b", "two"}, {"c", "three"}});
    list.ExtendToChildren(tree.Root());
    ASSERT_EQ(list.Count(), 2);
    EXPECT_STREQ(list.At(0)->name.Text(), "first");
    EXPECT_STREQ(list.At(0)->comment.Text(), "one");
    EXPECT_STREQ(list.At(1)->name.Text(), "second");
    EXPECT_STREQ(list.At(1)->comment.Text(), "two");
    EXPECT_TRUE(list.MatchesChildren(tree.Root()));

    tree.Add(tree.Root(), TerminalNode, "third");
    list.ExtendToChildren(tree.Root());
    ASSERT_EQ(list.Count(), 3);
    EXPECT_STREQ(list.At(2)->name.Text(), "third");
    EXPECT_TRUE(list.At(2)->IsEmpty());
}

TEST(NodeCommentTest, NewCommentFromTheNode)
{
    TreeBuilder tree;
    tree.Add(tree.Root(), TerminalNode, "a\rb");
    tree.Add(tree.Root(), TerminalNode, "c");
    NodeComment plain(tree.Root());
    ASSERT_EQ(plain.branches.Count(), 2);
    EXPECT_STREQ(plain.branches.At(0)->name.Text(), "a\nb");
    EXPECT_TRUE(plain.AllEmpty());
    EXPECT_STREQ(plain.font.face.Text(), "Times New Roman");

    tree.Document().CommentFont.face = "Courier New";
    NodeComment windowFont(tree.Root());
    EXPECT_STREQ(windowFont.font.face.Text(), "Courier New");

    FontRecord font;
    font.face = "Arial";
    font.pointSize = 9;
    tree.Root()->fonts[0] = std::make_unique<FontRecord>(font);
    NodeComment withFont(tree.Root());
    EXPECT_TRUE(withFont.font == font);
}

TEST(NodeCommentTest, StoredFormRoundTrip)
{
    NodeComment comment;
    Fill(comment.branches, {{"Yes", "good"}, {"No", ""}});
    for (int i = 0; i < 4; ++i)
        comment.values[i] = 10 * (i + 1);
    comment.extra[0] = -5;
    comment.extra[1] = 7;
    comment.font.face = "Courier";
    MemoryStream out(100);
    comment.Serialize(out);

    NodeComment loaded;
    MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
    loaded.Serialize(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.Position(), out.Position());
    ASSERT_EQ(loaded.branches.Count(), 2);
    EXPECT_STREQ(loaded.branches.At(0)->comment.Text(), "good");
    EXPECT_EQ(loaded.values[3], 40);
    EXPECT_EQ(loaded.extra[0], -5);
    EXPECT_EQ(loaded.extra[1], 7);
    EXPECT_STREQ(loaded.font.face.Text(), "Courier");

    NodeComment assigned;
    assigned.Assign(loaded);
    EXPECT_EQ(assigned.branches.Count(), 2);
    EXPECT_EQ(assigned.values[1], 20);
    EXPECT_STREQ(assigned.font.face.Text(), "Courier");
}

TEST(NodeCommentTest, WrongMarkSetsError35)
{
    const Bytes bytes = WrittenBytes([](Archive& a) {
        VersionRecord version;
        version.Serialize(a);
        a.WriteShort(212);
        StoreString(a, "Yes");
        StoreString(a, "text");
    });
    ReadStream in(bytes);
    BranchName record;
    record.Serialize(in);
    EXPECT_EQ(in->FormatError(), 35u);

    // Nothing is read once the archive has an error.
    NodeComment comment;
    comment.values[0] = 3;
    comment.Serialize(in);
    EXPECT_EQ(comment.values[0], 3);
}

}  // namespace
