#include "model/CESensitivitySettings.h"

#include "foundation/MemoryStream.h"

#include <gtest/gtest.h>

namespace {

TEST(CESensitivitySettings, Defaults)
{
    CESensitivitySettings settings;
    double value = -1;
    EXPECT_STREQ(settings.willingnessToPay.Text().Text(), "0");
    ASSERT_TRUE(settings.willingnessToPay.GetConstant(&value));
    EXPECT_EQ(value, 0.0);
    EXPECT_STREQ(settings.costCeiling.Text().Text(), "20000");
    ASSERT_TRUE(settings.costCeiling.GetConstant(&value));
    EXPECT_EQ(value, 20000.0);
    EXPECT_STREQ(settings.effectivenessFloor.Text().Text(), "0.1");
    ASSERT_TRUE(settings.effectivenessFloor.GetConstant(&value));
    EXPECT_EQ(value, 0.1);
    EXPECT_EQ(settings.excludeExtended, 0);
    EXPECT_EQ(settings.useCostCeiling, 0);
    EXPECT_EQ(settings.useEffectivenessFloor, 0);
}

TEST(CESensitivitySettings, RoundTripAndSignExtension)
{
    CESensitivitySettings settings;
    settings.willingnessToPay.SetText("wtp*2");
    settings.costCeiling.SetText("50000");
    settings.effectivenessFloor.SetText("0.25");
    settings.excludeExtended = 1;
    settings.useCostCeiling = -1;
    settings.useEffectivenessFloor = 1;
    MemoryStream out(100);
    settings.Serialize(out);
    ASSERT_FALSE(out.Failed());

    MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
    CESensitivitySettings read;
    read.Serialize(in);
    ASSERT_FALSE(in.Failed());
    EXPECT_EQ(in.Position(), out.Position());
    EXPECT_STREQ(read.willingnessToPay.Text().Text(), "wtp*2");
    EXPECT_STREQ(read.costCeiling.Text().Text(), "50000");
    EXPECT_STREQ(read.effectivenessFloor.Text().Text(), "0.25");
    EXPECT_EQ(read.excludeExtended, 1);
    EXPECT_EQ(read.useCostCeiling, -1);
    EXPECT_EQ(read.useEffectivenessFloor, 1);

    read.SetDefaults();
    EXPECT_STREQ(read.willingnessToPay.Text().Text(), "0");
    EXPECT_EQ(read.useCostCeiling, 0);
}

TEST(CESensitivitySettings, TruncatedStreamKeepsFlags)
{
    CESensitivitySettings settings;
    settings.useCostCeiling = 1;
    MemoryStream out(100);
    settings.Serialize(out);
    MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position() - 3, false);
    CESensitivitySettings read;
    read.Serialize(in);
    EXPECT_TRUE(in.Failed());
    EXPECT_EQ(read.useCostCeiling, 0);
    EXPECT_EQ(read.useEffectivenessFloor, 0);
}

}  // namespace
