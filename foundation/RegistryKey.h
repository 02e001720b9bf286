#pragma once
// Scoped owner of an open registry key.

#include <windows.h>

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens an existing key; false when it does not exist or cannot be opened with that access.
    bool Open(HKEY parent, const char* path, REGSAM access)
    {
        Close();
        if (RegOpenKeyExA(parent, path, 0, access, &key_) == ERROR_SUCCESS)
            return true;
        key_ = nullptr;
        return false;
    }
    // Opens the key, creating it (non-volatile) when it does not exist.
    bool Create(HKEY parent, const char* path, REGSAM access)
    {
        Close();
        if (RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key_,
                            nullptr) == ERROR_SUCCESS)
            return true;
        key_ = nullptr;
        return false;
    }
    void Close()
    {
        if (key_)
            RegCloseKey(key_);
        key_ = nullptr;
    }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};
