#include "formula/NameResolution.h"

#include <memory>
#include <string>
#include <unordered_map>

uint32_t NameResolutionGeneration = 1;
uint32_t TableResolutionGeneration = 1;
uint32_t TableContentGeneration = 1;

const zString* InternName(const zString& name)
{
    static std::unordered_map<std::string, std::unique_ptr<zString>> names;
    std::unique_ptr<zString>& entry = names[std::string(name.Text())];
    if (!entry)
        entry = std::make_unique<zString>(name, 0u);
    return entry.get();
}
