#include "framework/window/ResourceLibrary.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace {

std::vector<std::unique_ptr<ResourceLibrary>>& Registry()
{
    static std::vector<std::unique_ptr<ResourceLibrary>> registry;
    return registry;
}

} // namespace

ResourceLibrary::ResourceLibrary(const char* fileName, HMODULE module)
    : fileName_(fileName ? fileName : ""), module_(module)
{
}

ResourceLibrary* ResourceLibrary::Find(const char* fileName)
{
    if (!fileName)
        return nullptr;
    for (const auto& entry : Registry()) {
        if (entry->fileName_ == fileName)
            return entry.get();
    }
    return nullptr;
}

ResourceLibrary* ResourceLibrary::Add(const char* fileName, HMODULE module)
{
    Registry().push_back(std::make_unique<ResourceLibrary>(fileName, module));
    return Registry().back().get();
}

void ResourceLibrary::FreeAll()
{
    for (const auto& entry : Registry()) {
        if (reinterpret_cast<std::uintptr_t>(entry->module_) > 32)
            FreeLibrary(entry->module_);
    }
    Registry().clear();
}

int ResourceLibrary::Count()
{
    return static_cast<int>(Registry().size());
}
