#pragma once
// Storable measures: a pair of values in a physical unit (tenths of a point, tenths or hundredths of a
// millimetre, hundredths or thousandths of an inch, picas) and the same pair in device pixels of a display
// (of the screen when no display is given). All in 32-bit integers, the product first, truncated toward
// zero. A display that reports no physical size gives 0 pixels for the metric units.

#include "foundation/Storable.h"

#include <cstdint>

class Display;

// The base measures in device units: the device value is the value itself.
class zLogMeasure : public zStorable {
public:
    zLogMeasure() = default;
    // Logical (x, y); device (0, 0).
    zLogMeasure(int x, int y);

    const StorableClassRecord* ClassRecord() const override;
    // Stored form: device x (4), device y (4), then the logical pair as a point (4 + 4).
    void Serialize(Archive& archive) override;
    // Store the logical value and its device value on the display.
    virtual void SetX(int value, const Display* display);
    virtual void SetY(int value, const Display* display);

    int DeviceX() const { return deviceX_; }
    int DeviceY() const { return deviceY_; }
    int LogicalX() const { return logicalX_; }
    int LogicalY() const { return logicalY_; }

protected:
    // The capabilities the conversions use.
    struct Device {
        int logPixelsX, logPixelsY, horzRes, vertRes, horzSize, vertSize;
    };
    static Device DeviceOf(const Display* display);
    virtual int ToDeviceX(int value, const Device& device) const;
    virtual int ToDeviceY(int value, const Device& device) const;
    // Sets both values from the constructor of a derived unit.
    void Convert(int x, int y, const Display* display);

private:
    int32_t deviceX_ = 0;
    int32_t deviceY_ = 0;
    int32_t logicalX_ = 0;
    int32_t logicalY_ = 0;
};

// Declares a unit: constructors, the class record and its two conversions.
#define KIVO_MEASURE_UNIT(Name)                                                                                \
    class Name : public zLogMeasure {                                                                          \
    public:                                                                                                    \
        Name() = default;                                                                                      \
        Name(int x, int y, const Display* display) { Convert(x, y, display); }                                 \
        const StorableClassRecord* ClassRecord() const override;                                               \
                                                                                                               \
    protected:                                                                                                 \
        int ToDeviceX(int value, const Device& device) const override;                                         \
        int ToDeviceY(int value, const Device& device) const override;                                         \
    }

// 1/720 inch (a tenth of a point): value x LOGPIXELS / 720.
KIVO_MEASURE_UNIT(zPrPoint);
// 0.1 mm: value x resolution / (size in mm x 10).
KIVO_MEASURE_UNIT(zLoMetric);
// 0.01 mm: value x resolution / (size in mm x 100).
KIVO_MEASURE_UNIT(zHiMetric);
// 0.01 inch: value x LOGPIXELS / 100.
KIVO_MEASURE_UNIT(zLoEnglish);
// 0.001 inch: value x LOGPIXELS / 1000.
KIVO_MEASURE_UNIT(zHiEnglish);
// 1/6 inch: value x LOGPIXELS / 6.
KIVO_MEASURE_UNIT(zPica);

#undef KIVO_MEASURE_UNIT
