#include "analysis/CEPointList.h"

#include "foundation/MemoryStream.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

CEPoint* MakePoint(double cost, double eff, const char* name, int state, int16_t strategy)
{
    CEPoint* p = new CEPoint(cost, eff, name, strategy);
    p->state = state;
    if (state == CEPoint::ExtendedDominated) {
        p->costBound = 0.5;
        p->effBound = 0.6;
        p->lowerIndex = 0;
        p->upperIndex = 2;
    }
    return p;
}

void ExpectSamePoint(const CEPoint& a, const CEPoint& b)
{
    EXPECT_EQ(a.cost, b.cost);
    EXPECT_EQ(a.effectiveness, b.effectiveness);
    EXPECT_EQ(a.state, b.state);
    EXPECT_STREQ(a.name.Text(), b.name.Text());
    EXPECT_EQ(a.costBound, b.costBound);
    EXPECT_EQ(a.effBound, b.effBound);
    EXPECT_EQ(a.lowerIndex, b.lowerIndex);
    EXPECT_EQ(a.upperIndex, b.upperIndex);
    EXPECT_EQ(a.strategyIndex, b.strategyIndex);
}

TEST(CEPoint, NewPointDefaults)
{
    CEPoint p(3, 4, "x", 2);
    EXPECT_EQ(p.state, CEPoint::Undominated);
    EXPECT_EQ(p.costBound, 0.0);
    EXPECT_EQ(p.effBound, 0.0);
    EXPECT_EQ(p.lowerIndex, -1);
    EXPECT_EQ(p.upperIndex, -1);
    EXPECT_EQ(p.strategyIndex, 2);
    CEPoint loaded;
    EXPECT_EQ(loaded.strategyIndex, -1);
    EXPECT_TRUE(loaded.name.IsEmpty());
}

TEST(CEPoint, StoredLayout)
{
    CEPoint p(1.5, 2.5, "Surgery", 7);
    p.state = CEPoint::ExtendedDominated;
    p.lowerIndex = 1;
    p.upperIndex = 4;
    MemoryStream out(100);
    p.Serialize(out);
    // version 3 + cost 8 + eff 8 + state 2 + bounds 16 + indices 4 + string (3 + 4 + 7 + 1) + strategy 2
    ASSERT_EQ(out.Position(), 3u + 8 + 8 + 2 + 16 + 4 + 15 + 2);
    const uint8_t* data = out.Data();
    int16_t state = 0, lower = 0, upper = 0, strategy = 0;
    std::memcpy(&state, data + 19, 2);
    std::memcpy(&lower, data + 37, 2);
    std::memcpy(&upper, data + 39, 2);
    std::memcpy(&strategy, data + out.Position() - 2, 2);
    EXPECT_EQ(state, 2);
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 4);
    EXPECT_EQ(strategy, 7);
}

TEST(CEPointList, RoundTripAndClone)
{
    CEPointList list;
    list.Add(MakePoint(0, 0, "None", 0, 2));
    list.Add(MakePoint(10, 2, "Drug", 2, 0));
    list.Add(MakePoint(20, 5, "Surgery", 0, 1));

    MemoryStream out(100);
    list.Serialize(out);
    ASSERT_FALSE(out.Failed());
    const uint32_t size = out.Position();
    MemoryStream in(const_cast<uint8_t*>(out.Data()), size, false);
    CEPointList read;
    read.Serialize(in);
    ASSERT_FALSE(in.Failed());
    EXPECT_EQ(in.Position(), size);
    ASSERT_EQ(read.Count(), 3);
    for (int i = 0; i < 3; ++i)
        ExpectSamePoint(*read.Point(i), *list.Point(i));

    CEPointList copy;
    copy.Copy(list, true);
    ASSERT_EQ(copy.Count(), 3);
    EXPECT_NE(copy.Point(1), list.Point(1));
    EXPECT_NE(copy.Point(1)->name.Text(), list.Point(1)->name.Text());
    ExpectSamePoint(*copy.Point(1), *list.Point(1));
}

// A point written by 3.0 has no strategy index: it loads as -1 and nothing after it is consumed.
TEST(CEPoint, OlderPointKeepsNoStrategyIndex)
{
    MemoryStream out(100);
    VersionRecord old(3, 0, 9);
    old.Serialize(out);
    out.WriteDouble(4).WriteDouble(2).WriteShort(1).WriteDouble(0).WriteDouble(0).WriteShort(-1).WriteShort(-1);
    StoreString(out, "Wait");
    out.WriteShort(0x5555);
    MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
    CEPoint p(9, 9, "old", 3);
    p.strategyIndex = -1;
    p.Serialize(in);
    ASSERT_FALSE(in.Failed());
    EXPECT_EQ(p.cost, 4);
    EXPECT_EQ(p.effectiveness, 2);
    EXPECT_EQ(p.state, CEPoint::Dominated);
    EXPECT_STREQ(p.name.Text(), "Wait");
    EXPECT_EQ(p.strategyIndex, -1);
    EXPECT_EQ(in.Position(), out.Position() - 2);
}

TEST(CEPoint, NothingMovesWhileArchiveInError)
{
    MemoryStream out(100);
    out.SetFormatError(7);
    CEPoint p(1, 2, "x", 0);
    p.Serialize(out);
    EXPECT_EQ(out.Position(), 0u);

    uint8_t bytes[64] = {};
    MemoryStream in(bytes, sizeof bytes, false);
    in.SetFormatError(7);
    p.Serialize(in);
    EXPECT_EQ(in.Position(), 0u);
    EXPECT_EQ(p.cost, 1);
    EXPECT_STREQ(p.name.Text(), "x");
}

}  // namespace
