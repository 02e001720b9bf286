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
    return Checked<uint8_t>(&Archive::ReadByte);
}

int16_t ForeignStreamReader::Short()
{
    return Checked<int16_t>(&Archive::ReadShort);
}

int32_t ForeignStreamReader::Long()
{
    return Checked<int32_t>(&Archive::ReadLong);
}

double ForeignStreamReader::Double()
{
    return Checked<double>(&Archive::ReadDouble);
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
