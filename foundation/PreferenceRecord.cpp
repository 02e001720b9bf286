#include "foundation/PreferenceRecord.h"

#include "foundation/Archive.h"
#include "foundation/MemoryStream.h"
#include "foundation/PreferencesStore.h"
#include "foundation/StoredString.h"

#include <string>
#include <vector>

namespace {

const char* const PreferencesSection = "Preferences";
constexpr uint32_t GrowStep = 100;
constexpr uint32_t MaxBinaryBytes = 512;

// The record's binary form: the current version record and the record's fields.
bool StoredForm(PreferenceRecord& record, std::vector<uint8_t>& bytes)
{
    MemoryStream stream(GrowStep);
    VersionRecord version = VersionRecord::Current();
    version.Serialize(stream);
    record.Serialize(stream, version);
    if (stream.Failed())
        return false;
    bytes.assign(stream.Data(), stream.Data() + stream.Position());
    return true;
}

// Reads the binary form into the record and keeps the stored bytes; false when there is none (the older
// text form has the same name but is a string value). A damaged value gives the record its defaults.
bool LoadBinaryForm(PreferenceRecord& record, std::vector<uint8_t>& stored)
{
    uint8_t bytes[MaxBinaryBytes];
    uint32_t size = sizeof bytes;
    uint32_t type = REG_NONE;
    if (!RegistryReadValue(PreferencesSection, record.ClassName(), bytes, size, &type) || type != REG_BINARY)
        return false;
    stored.assign(bytes, bytes + size);
    MemoryStream stream(bytes, size, false);
    VersionRecord version;
    version.Serialize(stream);
    record.Serialize(stream, version);
    if (stream.Failed())
        record.SetDefaults();
    return true;
}

// Reads the older text form with its version text; false when either is missing or does not parse.
bool LoadTextForm(PreferenceRecord& record)
{
    zString text;
    ReadProfileString(PreferencesSection, record.ClassName(), text, 256, false);
    if (text.IsEmpty())
        return false;
    std::string versionName = std::string(record.ClassName()) + "Vers";
    zString versionText;
    ReadProfileString(PreferencesSection, versionName.c_str(), versionText, 64, false);
    if (versionText.IsEmpty())
        return false;
    VersionRecord version;
    version.Parse(versionText.Text());
    return record.FromText(text.Text(), 1, version);
}

} // namespace

bool SavePreferences(PreferenceRecord& record)
{
    std::vector<uint8_t> bytes;
    if (!StoredForm(record, bytes))
        return false;
    return RegistryWriteValue(PreferencesSection, record.ClassName(), REG_BINARY, bytes.data(),
                              static_cast<uint32_t>(bytes.size()));
}

void LoadPreferences(PreferenceRecord& record)
{
    std::vector<uint8_t> stored;
    bool binary = LoadBinaryForm(record, stored);
    if (!binary && !LoadTextForm(record))
        record.ReadProfile();

    std::string versionName = std::string(record.ClassName()) + "Vers";
    DeleteProfileKey(PreferencesSection, record.ClassName());
    DeleteProfileKey(PreferencesSection, versionName.c_str());
    if (binary) {
        DeleteProfileSection(record.ClassName(), true);
        DeleteProfileSection(PreferencesSection, true);
    }
    // A current binary form is not written back unchanged: another process may have saved newer values
    // since it was read, and those must not be overwritten with the older ones.
    std::vector<uint8_t> current;
    if (binary && StoredForm(record, current) && current == stored)
        return;
    SavePreferences(record);
}

void SerializeWithVersion(PreferenceRecord& record, Archive& archive)
{
    if (archive.HasFormatError())
        return;
    if (archive.IsStoring()) {
        VersionRecord version = VersionRecord::Current();
        version.Serialize(archive);
        record.Serialize(archive, version);
        return;
    }
    VersionRecord version;
    version.Serialize(archive);
    if (version.IsOlderThan(KnownVersion::k2_5_Build4)) {
        zString text;
        LoadString(archive, text);
        if (!archive.Failed())
            record.FromText(text.Text(), 0, version);
        return;
    }
    record.Serialize(archive, version);
}
