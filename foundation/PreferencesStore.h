#pragma once
// The preferences store: per-user settings in the registry under HKEY_CURRENT_USER, key
// "Software\Morlund\KIVO 3.5", one subkey per section; or, where a call selects it, the INI file "KIVO.INI"
// in the system's default INI location. Failures are silent: reads give "" or the default, writes and
// deletes report false.
//
// windows.h comes first on purpose: it defines WriteProfileString as a macro, so every translation unit must
// see the same spelling of the store's function below (the Win32 function remains reachable as an overload).

#include <windows.h>

#include "foundation/zString.h"

#include <cstdint>

extern const char* const PreferencesRegistryKey; // "Software\Morlund\KIVO 3.5"
extern const char* const PreferencesIniFile;     // "KIVO.INI"

// The value `key` of the section as text, at most maxLength bytes; "" (and false) when the key or value is
// missing or does not fit.
bool ReadProfileString(const char* section, const char* key, zString& out, uint32_t maxLength, bool useIni);
// With a key and a value, writes the value (a string value in the registry, creating the section's key as
// needed); with a key and no value, deletes the value; with no key, deletes the whole section.
bool WriteProfileString(const char* section, const char* key, const char* value, bool useIni);
bool DeleteProfileSection(const char* section, bool useIni);
// Deletes a key of the INI file.
bool DeleteProfileKey(const char* section, const char* key);
// The registry value (at most 64 bytes) read as an integer; `defaultValue` when it is missing or not an integer.
int ReadProfileInt(const char* section, const char* key, int defaultValue);
// Writes the value as decimal text to the registry.
bool WriteProfileInt(const char* section, const char* key, int value);

// The registry calls behind them, on the section's key. RegistryReadValue takes the buffer's capacity in
// `size` and returns the bytes read there (and the value's type when asked); it fails when the value is
// missing or larger than the buffer.
bool RegistryReadValue(const char* section, const char* name, void* buffer, uint32_t& size,
                       uint32_t* type = nullptr);
bool RegistryWriteValue(const char* section, const char* name, uint32_t type, const void* data, uint32_t size);
bool RegistryDeleteKey(const char* section);
bool RegistryDeleteValue(const char* section, const char* name);
