#include "framework/draw/Measures.h"

#include "foundation/Archive.h"
#include "framework/draw/Display.h"
#include "framework/window/ScreenMetrics.h"

namespace {

template <class Measure>
zStorable* Create()
{
    return new Measure;
}

int Scale(int value, int numerator, int denominator)
{
    return denominator == 0 ? 0 : value * numerator / denominator;
}

} // namespace

// One registry record per unit, made by name.
#define KIVO_MEASURE_RECORD(Name)                                                                              \
    namespace {                                                                                                \
    StorableClassRecord Name##Record = {0, #Name, sizeof(Name), &Create<Name>, nullptr};                       \
    StorableClassRegistrar Name##Registrar(Name##Record);                                                      \
    }                                                                                                          \
    const StorableClassRecord* Name::ClassRecord() const { return &Name##Record; }

KIVO_MEASURE_RECORD(zLogMeasure)
KIVO_MEASURE_RECORD(zPrPoint)
KIVO_MEASURE_RECORD(zLoMetric)
KIVO_MEASURE_RECORD(zHiMetric)
KIVO_MEASURE_RECORD(zLoEnglish)
KIVO_MEASURE_RECORD(zHiEnglish)
KIVO_MEASURE_RECORD(zPica)

#undef KIVO_MEASURE_RECORD

zLogMeasure::zLogMeasure(int x, int y) : logicalX_(x), logicalY_(y) {}

zLogMeasure::Device zLogMeasure::DeviceOf(const Display* display)
{
    if (display)
        return Device{display->LogPixelsX(), display->LogPixelsY(), display->HorzRes(),
                      display->VertRes(),    display->HorzSize(),   display->VertSize()};
    const ScreenMetrics& screen = Screen();
    return Device{screen.logPixelsX, screen.logPixelsY, screen.horzRes,
                  screen.vertRes,    screen.horzSize,   screen.vertSize};
}

void zLogMeasure::Convert(int x, int y, const Display* display)
{
    SetX(x, display);
    SetY(y, display);
}

void zLogMeasure::SetX(int value, const Display* display)
{
    logicalX_ = value;
    deviceX_ = ToDeviceX(value, DeviceOf(display));
}

void zLogMeasure::SetY(int value, const Display* display)
{
    logicalY_ = value;
    deviceY_ = ToDeviceY(value, DeviceOf(display));
}

void zLogMeasure::Serialize(Archive& archive)
{
    zStorable::Serialize(archive);
    if (archive.IsStoring())
        archive.WriteLong(deviceX_).WriteLong(deviceY_).WritePoint(logicalX_, logicalY_);
    else
        archive.ReadLong(deviceX_).ReadLong(deviceY_).ReadPoint(logicalX_, logicalY_);
}

int zLogMeasure::ToDeviceX(int value, const Device&) const { return value; }
int zLogMeasure::ToDeviceY(int value, const Device&) const { return value; }
int zPrPoint::ToDeviceX(int value, const Device& device) const { return Scale(value, device.logPixelsX, 720); }
int zPrPoint::ToDeviceY(int value, const Device& device) const { return Scale(value, device.logPixelsY, 720); }
int zLoMetric::ToDeviceX(int value, const Device& device) const { return Scale(value, device.horzRes, device.horzSize * 10); }
int zLoMetric::ToDeviceY(int value, const Device& device) const { return Scale(value, device.vertRes, device.vertSize * 10); }
int zHiMetric::ToDeviceX(int value, const Device& device) const { return Scale(value, device.horzRes, device.horzSize * 100); }
int zHiMetric::ToDeviceY(int value, const Device& device) const { return Scale(value, device.vertRes, device.vertSize * 100); }
int zLoEnglish::ToDeviceX(int value, const Device& device) const { return Scale(value, device.logPixelsX, 100); }
int zLoEnglish::ToDeviceY(int value, const Device& device) const { return Scale(value, device.logPixelsY, 100); }
int zHiEnglish::ToDeviceX(int value, const Device& device) const { return Scale(value, device.logPixelsX, 1000); }
int zHiEnglish::ToDeviceY(int value, const Device& device) const { return Scale(value, device.logPixelsY, 1000); }
int zPica::ToDeviceX(int value, const Device& device) const { return Scale(value, device.logPixelsX, 6); }
int zPica::ToDeviceY(int value, const Device& device) const { return Scale(value, device.logPixelsY, 6); }
