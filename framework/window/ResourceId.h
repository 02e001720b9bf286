#pragma once
// Names one resource (template, menu, accelerator table, icon, cursor, bitmap): a numeric id or a name, and
// where to load it from: a library file, a module handle, or the program itself.

#include <windows.h>

class ResourceId {
public:
    // The library pointer value all ones stands for the program itself.
    static const char* const ProgramItself;

    // A numeric id. A library of 0 means the application's default resource library (the program).
    ResourceId(unsigned numericId, const char* library);
    // A resource named by text; the name is copied and owned.
    explicit ResourceId(const char* name, const char* library = nullptr);
    ResourceId(const ResourceId& other);
    ResourceId& operator=(const ResourceId& other);
    ~ResourceId();

    // The numeric id's low 16 bits in integer-resource form, or the name when the id is 0.
    LPCSTR NameOrId() const;

    unsigned NumericId() const { return numericId_; }
    const char* Name() const { return name_; }
    const char* Library() const { return library_; }
    HMODULE Module() const { return module_; }
    void SetModule(HMODULE module) { module_ = module; }

private:
    void CopyFrom(const ResourceId& other);
    void FreeName();

    const char* name_ = nullptr;
    unsigned numericId_ = 0;
    const char* library_ = nullptr;
    int ownsName_ = 0;
    HMODULE module_ = nullptr;
};
