#include "framework/window/ResourceModule.h"

#include "framework/window/FrameworkApp.h"

#include <cstdint>

ResourceModule::ResourceModule(const ResourceId& id)
{
    if (id.Library()) {
        HMODULE library = LoadLibraryA(id.Library());
        if (reinterpret_cast<std::uintptr_t>(library) < 32)
            return;
        loadedLibrary_ = library;
        module_ = library;
    } else if (id.Module()) {
        module_ = id.Module();
    } else {
        module_ = TheApp ? TheApp->Instance() : GetModuleHandleA(nullptr);
    }
    valid_ = true;
}

ResourceModule::~ResourceModule()
{
    if (loadedLibrary_)
        FreeLibrary(loadedLibrary_);
}
