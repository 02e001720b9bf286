#include "framework/window/IconResource.h"

#include "framework/window/ResourceModule.h"

IconResource::IconResource(const ResourceId& id) : id_(id)
{
    ResourceModule module(id_);
    if (module.IsValid())
        icon_ = LoadIconA(module.Handle(), id_.NameOrId());
}

IconResource::~IconResource()
{
    if (ownsIcon_ && icon_)
        DestroyIcon(icon_);
}
