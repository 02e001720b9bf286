#pragma once
// The module one resource is loaded from, held for the duration of the load: a library named by the
// identifier is loaded here and freed when this object goes; otherwise the identifier's module or the
// program's instance. A library that does not load (handle below 32) leaves no module.

#include "framework/window/ResourceId.h"

class ResourceModule {
public:
    explicit ResourceModule(const ResourceId& id);
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;
    ~ResourceModule();

    // Whether a module was found; false when a named library failed to load.
    bool IsValid() const { return valid_; }
    HMODULE Handle() const { return module_; }

private:
    HMODULE module_ = nullptr;
    HMODULE loadedLibrary_ = nullptr;
    bool valid_ = false;
};
