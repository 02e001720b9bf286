#pragma once
// The process-wide registry of resource libraries that supply custom control classes.

#include <windows.h>

#include <string>

class ResourceLibrary {
public:
    ResourceLibrary(const char* fileName, HMODULE module);

    // The first entry whose name equals the given name exactly (case-sensitive), null when none or when no
    // name is given.
    static ResourceLibrary* Find(const char* fileName);
    // Adds an entry to the registry; the registry owns it.
    static ResourceLibrary* Add(const char* fileName, HMODULE module);
    // Frees every entry's module (handles above 32) and deletes every entry.
    static void FreeAll();
    static int Count();

    const std::string& FileName() const { return fileName_; }
    HMODULE Module() const { return module_; }

private:
    std::string fileName_;
    HMODULE module_;
};
