#include "model/GraphTemplate.h"

#include "foundation/Archive.h"
#include "foundation/PtrArray.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

#include <cmath>

namespace {

constexpr int32_t kDefaultFlags[13] = {0, 1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1};

void SerializeText(Archive& archive, zString& text)
{
    if (archive.IsStoring())
        StoreString(archive, text);
    else
        LoadString(archive, text);
}

// The format error of a label's vertical flag other than 0 or 1 (as the graph file's labels).
constexpr uint32_t kLabelFlagError = 9;
// A label placed at no number, or farther from the graph's corner than any page or window reaches (inches):
// drawn, such a label took the program seconds per repaint.
constexpr uint32_t kLabelPlaceError = 18;
constexpr float kFarthestLabelSide = 1000.0f;

}  // namespace

void SerializeGraphLabel(Archive& archive, LogicalRect& rect, uint8_t& vertical, FontRecord& font, zString& text)
{
    if (archive.Failed())
        return;
    VersionRecord version;
    version.Serialize(archive);
    float* sides[] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
    for (float* side : sides)
        archive.IsStoring() ? archive.WriteFloat(*side) : archive.ReadFloat(*side);
    if (archive.IsStoring()) {
        archive.WriteByte(vertical);
        font.Serialize(archive);
        StoreString(archive, text);
        return;
    }
    for (const float* side : sides)
        if (!(std::fabs(*side) <= kFarthestLabelSide))
            archive.SetFormatError(kLabelPlaceError);
    archive.ReadByte(vertical);
    if (vertical > 1)
        archive.SetFormatError(kLabelFlagError);
    font.Serialize(archive);
    LoadString(archive, text);
}

void TemplateLabelList::StoreItem(Archive& archive, void* item)
{
    static_cast<TemplateLabel*>(item)->Serialize(archive);
}

void* TemplateLabelList::LoadItem(Archive& archive)
{
    auto* label = new TemplateLabel;
    label->Serialize(archive);
    return label;
}

void* TemplateLabelList::CloneItem(void* item)
{
    return new TemplateLabel(*static_cast<TemplateLabel*>(item));
}

void TemplateLabelList::DeleteItem(void* item)
{
    delete static_cast<TemplateLabel*>(item);
}

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
    CopyFormatSettings(horizontalFormat, source.horizontalFormat);
    CopyFormatSettings(verticalFormat, source.verticalFormat);
    CopyFormatSettings(thirdFormat, source.thirdFormat);
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
    labels.Clear();
    for (int i = 0; i < source.labels.Count(); ++i)
        labels.Add(new TemplateLabel(*source.labels.Label(i)));
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
    labels.Serialize(archive);
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

void CopyFormatSettings(NumericFormat& to, const NumericFormat& from)
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
