#pragma once
// Test helper: a tree that a reader or an importer accepted is written as node records and read again. The
// writer either refuses it with a message, or stores records that the reader reads without error.

#include "foundation/MemoryStream.h"
#include "foundation/zString.h"
#include "model/TreeNode.h"
#include "model/TreeNodeRecords.h"

#include <gtest/gtest.h>

#include <memory>

inline void ExpectWrittenBackAndReadAgain(const TreeNode* root, TreeDocument* document, int trial)
{
    MemoryStream out(100);
    zString refusal;
    if (!WriteTreeNode(root, out, &refusal)) {
        EXPECT_FALSE(refusal.IsEmpty()) << "trial " << trial;
        return;
    }
    MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
    auto again = std::make_unique<TreeNode>(document);
    ReadTreeNode(again.get(), in);
    EXPECT_FALSE(in.Failed()) << "trial " << trial << ": format error " << in.FormatError();
    EXPECT_EQ(in.Position(), out.Position()) << "trial " << trial;
}
