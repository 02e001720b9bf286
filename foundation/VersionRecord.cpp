#include "foundation/VersionRecord.h"

#include "foundation/Archive.h"
#include "foundation/zString.h"

#include <cstdio>

VersionRecord::VersionRecord() : major(3), minor(5), release(6), build(0), beta(0), key(0) { Pack(); }

VersionRecord::VersionRecord(int majorNumber, int minorNumber, int buildNumber)
    : major(static_cast<uint8_t>(majorNumber)),
      minor(static_cast<uint8_t>(minorNumber)),
      release(static_cast<uint8_t>(buildNumber)),
      build(static_cast<uint8_t>(buildNumber)),
      beta(0),
      key(0)
{
    Pack();
}

const VersionRecord& VersionRecord::Current()
{
    static const VersionRecord current;
    return current;
}

void VersionRecord::Pack()
{
    int low;
    if (beta != 0)
        low = (minor << 8) | ((0xB0 | beta) & 0xFF);
    else if (minor < 6 && major < 3)
        low = (minor << 8) | build;
    else
        low = (minor << 8) | ((0xE0 | build) & 0xFF);
    key = (static_cast<int32_t>(major) << 16) | (low & 0xFFFF);
}

void VersionRecord::SetFromKey(int32_t newKey)
{
    key = newKey;
    major = static_cast<uint8_t>(Major());
    minor = static_cast<uint8_t>(Minor());
    if (IsBetaKey()) {
        beta = static_cast<uint8_t>(LowNibble());
        build = 0;
    } else {
        build = static_cast<uint8_t>(LowNibble());
        beta = 0;
    }
    release = build;
}

// Stored form:
//   major                      1 byte
//   minor                      1 byte
//   0xB0 + beta, or build      1 byte
void VersionRecord::Serialize(Archive& archive)
{
    if (archive.HasFormatError())
        return;
    if (archive.IsStoring()) {
        uint8_t bytes[3];
        StoredBytes(bytes);
        archive.WriteBytes(bytes, 3);
        return;
    }
    uint8_t third = 0;
    archive.ReadByte(major).ReadByte(minor).ReadByte(third);
    if ((third & 0xF0) == 0xB0) {
        beta = third & 0x0F;
        build = 0;
    } else {
        beta = 0;
        build = third;
    }
    if (major < 2 || major > 10 || minor > 15)
        archive.SetFormatError(Archive::FormatVersionRecord);
    Pack();
    if (archive.FileVersion() < 1)
        archive.SetFileVersion(static_cast<uint32_t>(key));
}

void VersionRecord::StoredBytes(uint8_t bytes[3]) const
{
    bytes[0] = major;
    bytes[1] = minor;
    bytes[2] = beta != 0 ? static_cast<uint8_t>(beta + 0xB0) : build;
}

void VersionRecord::ToText(zString& text, bool useBuild) const
{
    char part[64];
    std::snprintf(part, sizeof part, "%d.%d", major, minor);
    text = part;
    int third = useBuild ? build : release;
    if (third > 0) {
        std::snprintf(part, sizeof part, ".%d", third);
        text += part;
    }
    if (beta != 0) {
        std::snprintf(part, sizeof part, "b%d", beta);
        text += part;
    }
    if (!useBuild)
        text += " / 32-bit";
}

bool VersionRecord::Parse(const char* text)
{
    int first = 0, second = 0, third = 0;
    bool parsed = false;
    if (text && std::sscanf(text, "%d.%d.b%d", &first, &second, &third) == 3) {
        beta = static_cast<uint8_t>(third);
        parsed = true;
    } else if (text && (std::sscanf(text, "%d.%d.f%d", &first, &second, &third) == 3 ||
                        std::sscanf(text, "%d.%d.%d", &first, &second, &third) == 3)) {
        build = static_cast<uint8_t>(third);
        parsed = true;
    }
    if (parsed) {
        major = static_cast<uint8_t>(first);
        minor = static_cast<uint8_t>(second);
    }
    Pack();
    return parsed;
}
