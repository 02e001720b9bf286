#include "foundation/PreferencesFonts.h"

#include "foundation/FontRecord.h"
#include "foundation/MemoryStream.h"
#include "foundation/PreferencesStore.h"
#include "foundation/VersionRecord.h"

#include <string>

namespace {

const char* const FontsSection = "Fonts";
const char* const PreferencesSection = "Preferences";
constexpr uint32_t GrowStep = 100;
constexpr uint32_t MaxBinaryBytes = 256;

} // namespace

bool SaveFontPreference(FontRecord& font, const char* name)
{
    MemoryStream stream(GrowStep);
    VersionRecord version = VersionRecord::Current();
    version.Serialize(stream);
    font.Serialize(stream);
    if (stream.Failed() ||
        !RegistryWriteValue(FontsSection, name, REG_BINARY, stream.Data(), stream.Position()))
        return false;
    std::string oldKey = std::string(name) + "Font";
    DeleteProfileKey(PreferencesSection, oldKey.c_str());
    DeleteProfileKey(PreferencesSection, (oldKey + "Vers").c_str());
    return true;
}

bool LoadFontPreference(FontRecord& font, const char* name)
{
    FontRecord saved = font;
    uint8_t bytes[MaxBinaryBytes];
    uint32_t size = sizeof bytes;
    uint32_t type = REG_NONE;
    if (RegistryReadValue(FontsSection, name, bytes, size, &type) && type == REG_BINARY) {
        MemoryStream stream(bytes, size, false);
        VersionRecord version;
        version.Serialize(stream);
        font.Serialize(stream);
        if (stream.Failed())
            font = saved;
        return true;
    }
    zString text;
    std::string oldKey = std::string(name) + "Font";
    ReadProfileString(PreferencesSection, oldKey.c_str(), text, 256, false);
    if (font.FromText(text.Text())) {
        SaveFontPreference(font, name);
        return true;
    }
    font = saved;
    return false;
}
