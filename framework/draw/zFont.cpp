#include "framework/draw/zFont.h"

#include "foundation/Archive.h"
#include "framework/draw/Display.h"

#include <cstring>
#include <initializer_list>

namespace {

zStorable* CreateFontSpec() { return new zFontSpec; }

zStorable* CreateFontInfo() { return new zFontInfo; }

StorableClassRecord fontSpecRecord = {0, "zFontSpec", sizeof(zFontSpec), &CreateFontSpec, nullptr};
StorableClassRegistrar fontSpecRegistrar(fontSpecRecord);
StorableClassRecord fontInfoRecord = {0, "zFontInfo", sizeof(zFontInfo), &CreateFontInfo, nullptr};
StorableClassRegistrar fontInfoRegistrar(fontInfoRecord);
// Fonts and the older name of their description are known by name but cannot be made by it.
StorableClassRecord fontRecord = {0, "zFont", sizeof(zFont), nullptr, nullptr};
StorableClassRegistrar fontRegistrar(fontRecord);
StorableClassRecord fontDescriptRecord = {0, "zFontDescript", sizeof(zFontSpec), nullptr, nullptr};
StorableClassRegistrar fontDescriptRegistrar(fontDescriptRecord);

void ReadLongInto(Archive& archive, LONG& value)
{
    int32_t read = 0;
    archive.ReadLong(read);
    value = read;
}

} // namespace

zFontSpec::zFontSpec()
{
    std::memset(&logFont, 0, sizeof logFont);
}

zFontSpec::zFontSpec(const char* face, int width, int height, int weight, int pitch, int family, unsigned style,
                     int escapement, int orientation, int charSet, int outPrecision, int clipPrecision,
                     int quality)
    : zFontSpec()
{
    logFont.lfHeight = height;
    logFont.lfWidth = width;
    logFont.lfEscapement = escapement;
    logFont.lfOrientation = orientation;
    logFont.lfWeight = weight;
    logFont.lfItalic = static_cast<BYTE>(style & StyleItalic);
    logFont.lfUnderline = static_cast<BYTE>(style & StyleUnderline);
    logFont.lfStrikeOut = static_cast<BYTE>(style & StyleStrikeOut);
    logFont.lfCharSet = static_cast<BYTE>(charSet);
    logFont.lfOutPrecision = static_cast<BYTE>(outPrecision);
    logFont.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    logFont.lfQuality = static_cast<BYTE>(quality);
    logFont.lfPitchAndFamily = static_cast<BYTE>(family | pitch);
    SetFaceName(face);
}

void zFontSpec::SetFaceName(const char* face)
{
    std::memset(logFont.lfFaceName, 0, sizeof logFont.lfFaceName);
    if (face)
        std::strncpy(logFont.lfFaceName, face, sizeof logFont.lfFaceName - 1);
}

const StorableClassRecord* zFontSpec::ClassRecord() const { return &fontSpecRecord; }

void zFontSpec::Serialize(Archive& archive)
{
    zStorable::Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteLong(logFont.lfHeight).WriteLong(logFont.lfWidth).WriteLong(logFont.lfEscapement);
        archive.WriteLong(logFont.lfOrientation).WriteLong(logFont.lfWeight);
        archive.WriteByte(logFont.lfItalic).WriteByte(logFont.lfUnderline).WriteByte(logFont.lfStrikeOut);
        archive.WriteByte(logFont.lfCharSet).WriteByte(logFont.lfOutPrecision);
        archive.WriteByte(logFont.lfClipPrecision).WriteByte(logFont.lfQuality);
        archive.WriteByte(logFont.lfPitchAndFamily);
        archive.WriteBytes(logFont.lfFaceName, sizeof logFont.lfFaceName);
        archive.WriteShort(static_cast<int16_t>(size));
    } else {
        for (LONG* value : {&logFont.lfHeight, &logFont.lfWidth, &logFont.lfEscapement, &logFont.lfOrientation,
                            &logFont.lfWeight})
            ReadLongInto(archive, *value);
        archive.ReadByte(logFont.lfItalic).ReadByte(logFont.lfUnderline).ReadByte(logFont.lfStrikeOut);
        archive.ReadByte(logFont.lfCharSet).ReadByte(logFont.lfOutPrecision);
        archive.ReadByte(logFont.lfClipPrecision).ReadByte(logFont.lfQuality);
        archive.ReadByte(logFont.lfPitchAndFamily);
        archive.ReadBytes(logFont.lfFaceName, sizeof logFont.lfFaceName);
        logFont.lfFaceName[sizeof logFont.lfFaceName - 1] = 0;
        archive.ReadShort(size);
    }
}


zFont::zFont(const char* face, int width, int height, int weight, int pitch, int family, unsigned style,
             int escapement, int orientation, int charSet, int outPrecision, int clipPrecision, int quality)
    : spec_(face, width, height, weight, pitch, family, style, escapement, orientation, charSet, outPrecision,
            clipPrecision, quality)
{
    handle_ = CreateFontIndirectA(&spec_.logFont);
}

zFont::zFont(const zFontSpec& spec, Display* display) : spec_(spec)
{
    if (display && spec_.size != 0) {
        spec_.logFont.lfHeight = -display->PointTenthsToDevice(spec_.size);
        spec_.logFont.lfWidth = 0;
    }
    handle_ = CreateFontIndirectA(&spec_.logFont);
}

zFont::zFont(HFONT handle)
{
    flags_ = FlagStock;
    handle_ = handle;
}

zFont::zFont(int stockId) : stockId_(stockId)
{
    flags_ = FlagStock;
    handle_ = GetStockObject(stockId);
}

const StorableClassRecord* zFont::ClassRecord() const { return &fontRecord; }

void zFont::Serialize(Archive& archive)
{
    zDrawObj::Serialize(archive);
    if (archive.IsStoring()) {
        if (IsStock())
            archive.WriteLong(stockId_);
        else
            spec_.Serialize(archive);
        return;
    }
    if (IsStock()) {
        archive.ReadLong(stockId_);
        handle_ = GetStockObject(stockId_);
        return;
    }
    spec_.Serialize(archive);
    ReplaceHandle(CreateFontIndirectA(&spec_.logFont));
}

zFontInfo::zFontInfo()
{
    std::memset(&metrics, 0, sizeof metrics);
}

zFontInfo::zFontInfo(Display& display) : zFontInfo()
{
    DisplayLock lock(display);
    if (display.DeviceContext())
        GetTextMetricsA(display.DeviceContext(), &metrics);
}

const StorableClassRecord* zFontInfo::ClassRecord() const { return &fontInfoRecord; }

void zFontInfo::Serialize(Archive& archive)
{
    zStorable::Serialize(archive);
    LONG* const longs[] = {&metrics.tmHeight, &metrics.tmAscent, &metrics.tmDescent,
                              &metrics.tmInternalLeading, &metrics.tmExternalLeading, &metrics.tmAveCharWidth,
                              &metrics.tmMaxCharWidth, &metrics.tmWeight};
    BYTE* const bytes[] = {&metrics.tmItalic, &metrics.tmUnderlined, &metrics.tmStruckOut,
                           reinterpret_cast<BYTE*>(&metrics.tmFirstChar),
                           reinterpret_cast<BYTE*>(&metrics.tmLastChar),
                           reinterpret_cast<BYTE*>(&metrics.tmDefaultChar),
                           reinterpret_cast<BYTE*>(&metrics.tmBreakChar), &metrics.tmPitchAndFamily,
                           &metrics.tmCharSet};
    LONG* const trailing[] = {&metrics.tmOverhang, &metrics.tmDigitizedAspectX, &metrics.tmDigitizedAspectY};
    if (archive.IsStoring()) {
        for (LONG* value : longs)
            archive.WriteLong(*value);
        for (BYTE* value : bytes)
            archive.WriteByte(*value);
        for (LONG* value : trailing)
            archive.WriteLong(*value);
    } else {
        for (LONG* value : longs)
            ReadLongInto(archive, *value);
        for (BYTE* value : bytes)
            archive.ReadByte(*value);
        for (LONG* value : trailing)
            ReadLongInto(archive, *value);
    }
}
