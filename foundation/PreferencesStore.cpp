#include "foundation/PreferencesStore.h"

#include "foundation/NumericFormatParsing.h"
#include "foundation/RegistryKey.h"
#include "foundation/StringHelpers.h"

#include <vector>

const char* const PreferencesRegistryKey = "Software\\Morlund\\KIVO 3.5";
const char* const PreferencesIniFile = "KIVO.INI";

namespace {

zString SectionPath(const char* section)
{
    zString path(PreferencesRegistryKey);
    path += '\\';
    path += section;
    return path;
}

} // namespace

bool RegistryReadValue(const char* section, const char* name, void* buffer, uint32_t& size, uint32_t* type)
{
    RegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, SectionPath(section).Text(), KEY_QUERY_VALUE)) {
        size = 0;
        return false;
    }
    DWORD bytes = size;
    DWORD valueType = REG_NONE;
    LONG status = RegQueryValueExA(key.Get(), name, nullptr, &valueType, static_cast<BYTE*>(buffer), &bytes);
    size = status == ERROR_SUCCESS ? bytes : 0;
    if (type)
        *type = valueType;
    return status == ERROR_SUCCESS;
}

bool RegistryWriteValue(const char* section, const char* name, uint32_t type, const void* data, uint32_t size)
{
    RegistryKey key;
    if (!key.Create(HKEY_CURRENT_USER, SectionPath(section).Text(), KEY_WRITE))
        return false;
    return RegSetValueExA(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

bool RegistryDeleteKey(const char* section)
{
    RegistryKey parent;
    if (!parent.Open(HKEY_CURRENT_USER, PreferencesRegistryKey, KEY_WRITE))
        return false;
    return RegDeleteKeyA(parent.Get(), section) == ERROR_SUCCESS;
}

bool RegistryDeleteValue(const char* section, const char* name)
{
    RegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, SectionPath(section).Text(), KEY_WRITE))
        return false;
    return RegDeleteValueA(key.Get(), name) == ERROR_SUCCESS;
}

bool ReadProfileString(const char* section, const char* key, zString& out, uint32_t maxLength, bool useIni)
{
    out = "";
    if (maxLength == 0)
        return false;
    std::vector<char> buffer(maxLength + 1, '\0');
    if (useIni) {
        GetPrivateProfileStringA(section, key, "", buffer.data(), maxLength, PreferencesIniFile);
        out = buffer.data();
        return !out.IsEmpty();
    }
    uint32_t size = maxLength;
    if (!RegistryReadValue(section, key, buffer.data(), size))
        return false;
    // A value without a terminator that fills the whole buffer may have been cut: it does not fit.
    if (size == maxLength && buffer[size - 1] != '\0')
        return false;
    buffer[size] = '\0';
    out = buffer.data();
    return true;
}

bool WriteProfileString(const char* section, const char* key, const char* value, bool useIni)
{
    if (useIni)
        return WritePrivateProfileStringA(section, key, value, PreferencesIniFile) != 0;
    if (!key)
        return RegistryDeleteKey(section);
    if (!value)
        return RegistryDeleteValue(section, key);
    zString text(value);
    return RegistryWriteValue(section, key, REG_SZ, text.Text(), text.Length() + 1);
}

bool DeleteProfileSection(const char* section, bool useIni)
{
    return WriteProfileString(section, nullptr, nullptr, useIni);
}

bool DeleteProfileKey(const char* section, const char* key)
{
    return WriteProfileString(section, key, nullptr, true);
}

int ReadProfileInt(const char* section, const char* key, int defaultValue)
{
    zString text;
    if (!ReadProfileString(section, key, text, 64, false) || text.IsEmpty())
        return defaultValue;
    int value = 0;
    int error = 0;
    ParseInteger(text.Text(), value, error);
    return error ? defaultValue : value;
}

bool WriteProfileInt(const char* section, const char* key, int value)
{
    zString text;
    AppendInt(text, value);
    return WriteProfileString(section, key, text.Text(), false);
}
