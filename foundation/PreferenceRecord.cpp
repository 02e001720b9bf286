#include "foundation/PreferenceRecord.h"

#include "foundation/Archive.h"
#include "foundation/MemoryStream.h"
#include "foundation/PreferencesStore.h"
#include "foundation/StoredString.h"

#include <string>

namespace {

const char* const PreferencesSection = "Preferences";
constexpr uint32_t GrowStep = 100;
constexpr uint32_t MaxBinaryBytes = 512;

// Reads the binary form; false when there is none (the older text form has the same name but is a string
// value). A damaged value gives the record its defaults.
bool LoadBinaryForm(PreferenceRecord& record)
{
    uint8_t bytes[MaxBinaryBytes];
    uint32_t size = sizeof bytes;
    uint32_t type = REG_NONE;
    if (!RegistryReadValue(PreferencesSection, record.ClassName(), bytes, size, &type) || type != REG_BINARY)
        return false;
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
    MemoryStream stream(GrowStep);
    VersionRecord version = VersionRecord::Current();
    version.Serialize(stream);
    record.Serialize(stream, version);
    if (stream.Failed())
        return false;
    return RegistryWriteValue(PreferencesSection, record.ClassName(), REG_BINARY, stream.Data(),
                              stream.Position());
}

void LoadPreferences(PreferenceRecord& record)
{
    bool binary = LoadBinaryForm(record);
    if (!binary && !LoadTextForm(record))
        record.ReadProfile();

    std::string versionName = std::string(record.ClassName()) + "Vers";
    DeleteProfileKey(PreferencesSection, record.ClassName());
    DeleteProfileKey(PreferencesSection, versionName.c_str());
    if (binary) {
        DeleteProfileSection(record.ClassName(), true);
        DeleteProfileSection(PreferencesSection, true);
    }
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
