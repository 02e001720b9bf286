#include "formula/NameResolution.h"

#include <memory>
#include <string_view>
#include <unordered_map>

uint32_t ResolutionGenerations::names_ = 1;
uint32_t ResolutionGenerations::tables_ = 1;
uint32_t ResolutionGenerations::tableContents_ = 1;

void InvalidateNameResolution()
{
    ++ResolutionGenerations::names_;
}

void InvalidateTableResolution()
{
    ++ResolutionGenerations::tables_;
}

void InvalidateTableContents()
{
    ++ResolutionGenerations::tableContents_;
}

const zString* InternName(const zString& name)
{
    // Keyed by the kept copy's own text, which never changes: a lookup makes no string.
    static std::unordered_map<std::string_view, std::unique_ptr<zString>> names;
    const std::string_view text(name.Text(), name.Length());
    auto found = names.find(text);
    if (found != names.end())
        return found->second.get();
    auto kept = std::make_unique<zString>(name, 0u);
    const zString* copy = kept.get();
    names.emplace(std::string_view(copy->Text(), copy->Length()), std::move(kept));
    return copy;
}
