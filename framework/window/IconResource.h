#pragma once
// An icon loaded from a resource; it destroys the icon unless it has handed it to a window class.

#include "framework/window/ResourceId.h"

class IconResource {
public:
    explicit IconResource(const ResourceId& id);
    IconResource(const IconResource&) = delete;
    IconResource& operator=(const IconResource&) = delete;
    ~IconResource();

    HICON Handle() const { return icon_; }
    const ResourceId& Id() const { return id_; }
    // The icon now belongs to someone else (a window class); this object will not destroy it.
    void GiveUpOwnership() { ownsIcon_ = 0; }

private:
    HICON icon_ = nullptr;
    int ownsIcon_ = 1;
    ResourceId id_;
    int extra_ = 0;
};
