#pragma once
// Test helpers for the preferences store: a lock that serialises the tests that touch shared store values
// (test processes run side by side in one Wine prefix), and direct registry access to check and clean up.

#include "foundation/PreferencesStore.h"
#include "foundation/RegistryKey.h"
#include "tests/support/ProcessLock.h"

#include <windows.h>

#include <string>
#include <vector>

class StoreTestLock : public ProcessLock {
public:
    StoreTestLock() : ProcessLock("KIVO-tests-preferences-store", LockRank::Store) {}
};

// The raw bytes of a registry value of a section, or nothing when it is missing.
inline bool RawRegistryValue(const char* section, const char* name, std::vector<uint8_t>& bytes, DWORD* type = nullptr)
{
    std::string path = std::string(PreferencesRegistryKey) + "\\" + section;
    RegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, path.c_str(), KEY_QUERY_VALUE))
        return false;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), name, nullptr, type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    bytes.assign(size, 0);
    return RegQueryValueExA(key.Get(), name, nullptr, type, bytes.data(), &size) == ERROR_SUCCESS;
}

inline bool SectionExists(const char* section)
{
    std::string path = std::string(PreferencesRegistryKey) + "\\" + section;
    RegistryKey key;
    return key.Open(HKEY_CURRENT_USER, path.c_str(), KEY_QUERY_VALUE);
}

// A string value of the INI file, "" when missing.
inline std::string IniValue(const char* section, const char* key)
{
    char buffer[256] = {};
    GetPrivateProfileStringA(section, key, "", buffer, sizeof buffer, PreferencesIniFile);
    return buffer;
}

// Keeps a registry value as it was before a test and puts it back afterwards.
class SavedRegistryValue {
public:
    SavedRegistryValue(const char* section, const char* name) : section_(section), name_(name)
    {
        existed_ = RawRegistryValue(section, name, bytes_, &type_);
    }
    ~SavedRegistryValue()
    {
        if (existed_)
            RegistryWriteValue(section_.c_str(), name_.c_str(), type_, bytes_.data(), uint32_t(bytes_.size()));
        else
            RegistryDeleteValue(section_.c_str(), name_.c_str());
    }
    SavedRegistryValue(const SavedRegistryValue&) = delete;
    SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;

private:
    std::string section_;
    std::string name_;
    std::vector<uint8_t> bytes_;
    DWORD type_ = 0;
    bool existed_ = false;
};
