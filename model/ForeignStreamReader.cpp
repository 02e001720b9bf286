#include "model/ForeignStreamReader.h"

#include "foundation/Archive.h"
#include "model/ForeignTreeImporter.h"

bool ForeignStreamReader::Good() const
{
    return !archive.Failed();
}

bool ForeignStreamReader::Available(uint32_t count)
{
    if (archive.Failed())
        return false;
    const uint32_t left = archive.BytesLeft();
    if (left != Archive::kNoLimit && count > left) {
        archive.SetState(Archive::StateIoFailure);
        return false;
    }
    return true;
}

uint8_t ForeignStreamReader::Byte()
{
    uint8_t value = 0;
    if (Available(1))
        archive.ReadByte(value);
    return value;
}

int16_t ForeignStreamReader::Short()
{
    int16_t value = 0;
    if (Available(2))
        archive.ReadShort(value);
    return value;
}

int32_t ForeignStreamReader::Long()
{
    int32_t value = 0;
    if (Available(4))
        archive.ReadLong(value);
    return value;
}

double ForeignStreamReader::Double()
{
    double value = 0.0;
    if (Available(8))
        archive.ReadDouble(value);
    return value;
}

void ForeignStreamReader::Skip(uint32_t count)
{
    uint8_t scratch[64];
    while (count > 0 && Available(count < sizeof scratch ? count : sizeof scratch)) {
        const uint32_t step = count < sizeof scratch ? count : sizeof scratch;
        archive.ReadBytes(scratch, step);
        count -= step;
    }
}

std::string ForeignStreamReader::Characters(uint32_t count, bool convert)
{
    std::string text;
    if (count == 0 || !Available(count))
        return text;
    text.resize(count);
    archive.ReadBytes(&text[0], count);
    if (archive.Failed())
        return std::string();
    if (convert)
        MapForeignText(text);
    return text;
}

std::string ForeignStreamReader::String(bool convert)
{
    const uint8_t length = Byte();
    return Characters(length, convert);
}

std::string ForeignStreamReader::FixedString(uint32_t size, bool convert)
{
    const uint8_t length = Byte();
    if (Good() && length + 1u > size) {
        archive.SetFormatError(kForeignFormatError);
        return std::string();
    }
    std::string text = Characters(length, convert);
    Skip(size - 1 - length);
    return text;
}
