#include "framework/window/ResourceId.h"

#include "framework/window/FrameworkApp.h"

#include <cstring>

const char* const ResourceId::ProgramItself = reinterpret_cast<const char*>(~static_cast<UINT_PTR>(0));

namespace {

const char* ChooseLibrary(const char* library)
{
    if (library == ResourceId::ProgramItself)
        return nullptr;
    if (library == nullptr && TheApp)
        return TheApp->DefaultResourceLibrary();
    return library;
}

char* Duplicate(const char* text)
{
    const std::size_t length = std::strlen(text);
    char* copy = new char[length + 1];
    std::memcpy(copy, text, length + 1);
    return copy;
}

} // namespace

ResourceId::ResourceId(unsigned numericId, const char* library)
    : numericId_(numericId), library_(ChooseLibrary(library))
{
}

ResourceId::ResourceId(const char* name, const char* library)
    : name_(name ? Duplicate(name) : nullptr), library_(ChooseLibrary(library)), ownsName_(name ? 1 : 0)
{
}

ResourceId::ResourceId(const ResourceId& other)
{
    CopyFrom(other);
}

ResourceId& ResourceId::operator=(const ResourceId& other)
{
    if (this != &other) {
        FreeName();
        CopyFrom(other);
    }
    return *this;
}

ResourceId::~ResourceId()
{
    FreeName();
}

LPCSTR ResourceId::NameOrId() const
{
    if (numericId_ != 0)
        return MAKEINTRESOURCEA(numericId_ & 0xFFFF);
    return name_;
}

void ResourceId::CopyFrom(const ResourceId& other)
{
    numericId_ = other.numericId_;
    library_ = other.library_;
    module_ = other.module_;
    ownsName_ = other.ownsName_;
    name_ = (other.ownsName_ && other.name_) ? Duplicate(other.name_) : other.name_;
}

void ResourceId::FreeName()
{
    if (ownsName_)
        delete[] name_;
    name_ = nullptr;
    ownsName_ = 0;
}
