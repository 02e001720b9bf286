#include "model/GraphTemplate.h"

#include "foundation/Archive.h"
#include "foundation/PtrArray.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

namespace {

constexpr int32_t kDefaultFlags[13] = {0, 1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1};

void CopyFormat(NumericFormat& to, const NumericFormat& from)
{
    to.axisFormat = from.axisFormat;
    to.spare = from.spare;
    to.commas = from.commas;
    to.expValDigits = from.expValDigits;
    to.probDigits = from.probDigits;
    to.axisDigits = from.axisDigits;
    to.chopOff = from.chopOff;
    to.unitsKind = from.unitsKind;
    to.unitsText = from.unitsText;
}

void SerializeText(Archive& archive, zString& text)
{
    if (archive.IsStoring())
        StoreString(archive, text);
    else
        LoadString(archive, text);
}

// The free-label list in its list form; only an empty list can be transferred here.
void SerializeLabels(Archive& archive)
{
    PtrArray labels(4, true);
    labels.Serialize(archive);
    if (archive.IsLoading() && labels.Count() > 0)
        archive.SetFormatError(Archive::FormatListMarkerOrCount);
}

}  // namespace

void GraphTemplate::Reset()
{
    for (int i = 0; i < 13; ++i)
        flags[i] = kDefaultFlags[i];
    verticalLineX = 0.0;
    horizontalLineY = 0.0;
    extraBytes.clear();
}

void GraphTemplate::Assign(const GraphTemplate& source)
{
    description = source.description;
    width = source.width;
    height = source.height;
    CopyFormat(horizontalFormat, source.horizontalFormat);
    CopyFormat(verticalFormat, source.verticalFormat);
    CopyFormat(thirdFormat, source.thirdFormat);
    for (int i = 0; i < 6; ++i)
        fonts[i] = source.fonts[i];
    horizontalLabel = source.horizontalLabel;
    verticalLabel = source.verticalLabel;
    title = source.title;
    subtitle = source.subtitle;
    verticalLineX = source.verticalLineX;
    horizontalLineY = source.horizontalLineY;
    for (int i = 0; i < 13; ++i)
        flags[i] = source.flags[i];
    extraBytes = source.extraBytes;
}

void GraphTemplate::Serialize(Archive& archive)
{
    VersionRecord version;
    version.Serialize(archive);
    SerializeText(archive, description);
    if (archive.IsStoring())
        archive.WriteFloat(width).WriteFloat(height);
    else
        archive.ReadFloat(width).ReadFloat(height);
    SerializeWithVersion(horizontalFormat, archive);
    SerializeWithVersion(verticalFormat, archive);
    SerializeWithVersion(thirdFormat, archive);
    for (FontRecord& font : fonts)
        font.Serialize(archive);
    SerializeLabels(archive);
    zString* texts[4] = {&horizontalLabel, &verticalLabel, &title, &subtitle};
    if (archive.IsStoring()) {
        archive.WriteDouble(verticalLineX).WriteDouble(horizontalLineY);
        for (zString* text : texts)
            StoreString(archive, *text);
        for (int32_t flag : flags)
            archive.WriteLong(flag);
        archive.WriteLong(static_cast<int32_t>(extraBytes.size()));
        if (!extraBytes.empty())
            archive.WriteBytes(extraBytes.data(), static_cast<uint32_t>(extraBytes.size()));
        return;
    }
    archive.ReadDouble(verticalLineX).ReadDouble(horizontalLineY);
    for (zString* text : texts)
        LoadString(archive, *text);
    for (int32_t& flag : flags)
        archive.ReadLong(flag);
    uint32_t length = 0;
    archive.ReadLong(length);
    extraBytes.clear();
    if (archive.Failed() || length == 0)
        return;
    if (length > archive.BytesLeft()) {
        archive.SetState(Archive::StateIoFailure);
        return;
    }
    extraBytes.resize(length);
    archive.ReadBytes(extraBytes.data(), length);
}
