#include "framework/draw/Display.h"
#include "framework/draw/Measures.h"
#include "tests/framework/draw/StoredRoundTrip.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A display that knows its device without a context: 1024 x 768 pixels over 320 x 240 mm.
class DeviceOfDpi : public Display {
public:
    DeviceOfDpi(int dpi, int horzSize = 320) { SetCapabilities(1024, 768, dpi, dpi, horzSize, 240); }
};

TEST(Measures, UnitsConvertToDevicePixelsTruncatingTowardZero)
{
    const DeviceOfDpi screen(96);
    const DeviceOfDpi printer(300);
    const struct {
        std::unique_ptr<zLogMeasure> measure;
        int deviceX;
    } rows[] = {
        {std::make_unique<zPrPoint>(100, 0, &screen), 13},
        {std::make_unique<zPrPoint>(100, 0, &printer), 41},
        {std::make_unique<zPrPoint>(-100, 0, &screen), -13},
        {std::make_unique<zLoMetric>(254, 0, &screen), 81}, // 254 x 1024 / 3200
        {std::make_unique<zHiMetric>(2540, 0, &screen), 81},
        {std::make_unique<zLoEnglish>(150, 0, &screen), 144},
        {std::make_unique<zHiEnglish>(1500, 0, &screen), 144},
        {std::make_unique<zPica>(3, 0, &screen), 48},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.measure->DeviceX(), row.deviceX) << row.measure->ClassRecord()->name;
        EXPECT_EQ(row.measure->DeviceY(), 0);
    }
    zLoMetric vertical(0, 254, &screen); // 254 x 768 / 2400
    EXPECT_EQ(vertical.DeviceY(), 81);
}

TEST(Measures, ADeviceWithoutAPhysicalSizeGivesNoMetricPixels)
{
    const DeviceOfDpi unknown(96, 0);
    EXPECT_EQ(zLoMetric(254, 0, &unknown).DeviceX(), 0);
    EXPECT_EQ(zHiMetric(254, 0, &unknown).DeviceX(), 0);
}

TEST(Measures, StoredInBothByteOrdersAndMadeByName)
{
    const DeviceOfDpi screen(96);
    zPica pica(2, 5, &screen);
    for (bool swapped : {false, true}) {
        const std::vector<uint8_t> bytes = StoreBytes(pica, swapped);
        ASSERT_EQ(bytes.size(), 16u);
        std::unique_ptr<zStorable> made(StorableRegistry::Find("zPica")->create());
        auto& back = static_cast<zPica&>(*made);
        ASSERT_TRUE(LoadBytes(back, bytes, swapped));
        EXPECT_EQ(back.DeviceX(), 32);
        EXPECT_EQ(back.DeviceY(), 80);
        EXPECT_EQ(back.LogicalX(), 2);
        EXPECT_EQ(back.LogicalY(), 5);
    }
}

} // namespace
