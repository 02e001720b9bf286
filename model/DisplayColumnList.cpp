#include "model/DisplayColumnList.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

DisplayColumn::DisplayColumn(const DisplayColumn& other)
    : kind(other.kind), reserved(other.reserved), formatSource(other.formatSource), formula(other.formula),
      header(other.header),
      format(other.format ? std::make_unique<NumericFormat>(*other.format) : nullptr),
      font(other.font ? std::make_unique<FontRecord>(*other.font) : nullptr), x(other.x), width(other.width),
      headerWidth(other.headerWidth)
{
}

void DisplayColumn::Serialize(Archive& archive)
{
    if (archive.HasFormatError())
        return;
    VersionRecord version;
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteShort(static_cast<int16_t>(kind));
        archive.WriteShort(static_cast<int16_t>(reserved));
        archive.WriteShort(static_cast<int16_t>(formatSource));
        StoreString(archive, formula);
        StoreString(archive, header);
        archive.WriteShort(format ? 1 : 0);
        if (format)
            SerializeWithVersion(*format, archive);
        archive.WriteShort(font ? 1 : 0);
        if (font)
            font->Serialize(archive);
        return;
    }
    int16_t numbers[3] = {};
    for (int16_t& number : numbers)
        archive.ReadShort(number);
    kind = numbers[0];
    reserved = numbers[1];
    formatSource = numbers[2];
    LoadString(archive, formula);
    LoadString(archive, header);
    int16_t hasFormat = 0;
    archive.ReadShort(hasFormat);
    format.reset();
    if (hasFormat == 1 && !archive.Failed()) {
        format = std::make_unique<NumericFormat>();
        SerializeWithVersion(*format, archive);
    }
    int16_t hasFont = 0;
    archive.ReadShort(hasFont);
    font.reset();
    if (hasFont == 1 && !archive.Failed()) {
        font = std::make_unique<FontRecord>();
        font->Serialize(archive);
    }
}

void DisplayColumnList::StoreItem(Archive& archive, void* item)
{
    static_cast<DisplayColumn*>(item)->Serialize(archive);
}

void* DisplayColumnList::LoadItem(Archive& archive)
{
    auto* column = new DisplayColumn;
    column->Serialize(archive);
    return column;
}

void* DisplayColumnList::CloneItem(void* item)
{
    return new DisplayColumn(*static_cast<const DisplayColumn*>(item));
}

void DisplayColumnList::DeleteItem(void* item)
{
    delete static_cast<DisplayColumn*>(item);
}
