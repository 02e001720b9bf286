#include "foundation/FontRecord.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int16_t MaxStoredSize = 200;
constexpr int16_t FaceMarker = 202;

} // namespace

int FontWeightForBold(bool bold)
{
    return bold ? 700 : 200;
}

FontRecord::FontRecord() : face("Times New Roman") {}

bool FontRecord::operator==(const FontRecord& other) const
{
    return pointSize == other.pointSize && italic == other.italic && bold == other.bold &&
           turned == other.turned && face == other.face;
}

bool FontRecord::Shrink()
{
    if (pointSize < 6)
        return false;
    --pointSize;
    return true;
}

void FontRecord::Serialize(Archive& archive)
{
    if (archive.HasFormatError())
        return;
    if (archive.IsStoring()) {
        VersionRecord version = VersionRecord::Current();
        version.Serialize(archive);
        archive.WriteShort(pointSize).WriteByte(italic).WriteByte(bold).WriteByte(turned);
        archive.WriteShort(FaceMarker);
        StoreString(archive, face);
        return;
    }
    VersionRecord version;
    version.Serialize(archive);
    if (archive.HasFormatError())
        return;
    archive.ReadShort(pointSize).ReadByte(italic).ReadByte(bold).ReadByte(turned);
    int16_t marker = FaceMarker;
    if (version.IsOlderThan(KnownVersion::k2_6)) {
        int32_t ignored = 0;
        archive.ReadLong(ignored);
    } else {
        archive.ReadShort(marker);
    }
    LoadString(archive, face);
    bool flagsValid = static_cast<int8_t>(italic) >= 0 && static_cast<int8_t>(bold) >= 0 &&
                      static_cast<int8_t>(turned) >= 0;
    if (pointSize < 0 || pointSize > MaxStoredSize || !flagsValid || marker != FaceMarker)
        archive.SetFormatError(Archive::FormatFontRecord);
}

bool FontRecord::IsStorable() const
{
    return pointSize >= 0 && pointSize <= MaxStoredSize && italic < 128 && bold < 128 && turned < 128;
}

bool FontRecord::FromText(const char* text)
{
    if (!text)
        return false;
    int size = 0, italicValue = 0, boldValue = 0, turnedValue = 0, faceStart = -1;
    if (std::sscanf(text, "%d,%d,%d,%d,%n", &size, &italicValue, &boldValue, &turnedValue, &faceStart) != 4 ||
        faceStart < 0)
        return false;
    const char* start = text + faceStart;
    while (*start == ' ' || *start == '\t')
        ++start;
    const char* end = start;
    while (*end && *end != ' ' && *end != '\t' && *end != '\r' && *end != '\n')
        ++end;
    if (end == start)
        return false;
    auto inFlagRange = [](int value) { return value >= 0 && value <= 127; };
    if (size < 0 || size > MaxStoredSize || !inFlagRange(italicValue) || !inFlagRange(boldValue) ||
        !inFlagRange(turnedValue))
        return false;

    zString faceText(start);
    faceText.Truncate(static_cast<uint32_t>(end - start));
    char* chars = faceText.Buffer();
    for (char* p = chars; *p; ++p)
        if (*p == '^')
            *p = ' ';
    pointSize = static_cast<int16_t>(size);
    italic = static_cast<uint8_t>(italicValue);
    bold = static_cast<uint8_t>(boldValue);
    turned = static_cast<uint8_t>(turnedValue);
    face = faceText;
    return true;
}

bool IsFontCommand(int id)
{
    return id == FontCommandId;
}
