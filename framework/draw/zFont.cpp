#include "framework/draw/zFont.h"

#include "foundation/Archive.h"
#include "framework/draw/Display.h"

#include <cstring>

namespace {

zStorable* CreateFontSpec() { return new zFontSpec; }

StorableClassRecord fontSpecRecord = {0, "zFontSpec", sizeof(zFontSpec), &CreateFontSpec, nullptr};
StorableClassRegistrar fontSpecRegistrar(fontSpecRecord);

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
        int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
        archive.ReadLong(height).ReadLong(width).ReadLong(escapement).ReadLong(orientation).ReadLong(weight);
        logFont.lfHeight = height;
        logFont.lfWidth = width;
        logFont.lfEscapement = escapement;
        logFont.lfOrientation = orientation;
        logFont.lfWeight = weight;
        archive.ReadByte(logFont.lfItalic).ReadByte(logFont.lfUnderline).ReadByte(logFont.lfStrikeOut);
        archive.ReadByte(logFont.lfCharSet).ReadByte(logFont.lfOutPrecision);
        archive.ReadByte(logFont.lfClipPrecision).ReadByte(logFont.lfQuality);
        archive.ReadByte(logFont.lfPitchAndFamily);
        archive.ReadBytes(logFont.lfFaceName, sizeof logFont.lfFaceName);
        logFont.lfFaceName[sizeof logFont.lfFaceName - 1] = 0;
        archive.ReadShort(size);
    }
}


zFont::zFont(const zFontSpec& spec, Display* display) : spec_(spec)
{
    if (display && spec_.size != 0) {
        spec_.logFont.lfHeight = -(static_cast<int>(spec_.size) * display->LogPixelsY() / 720);
        spec_.logFont.lfWidth = 0;
    }
    handle_ = CreateFontIndirectA(&spec_.logFont);
}

zFont::zFont(HFONT handle) : handle_(handle), stock_(true) {}

zFont::~zFont()
{
    if (handle_ && !stock_)
        DeleteObject(handle_);
}
