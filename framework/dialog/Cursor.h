#pragma once
// A mouse cursor record: a system cursor or one loaded from a resource.

#include "framework/window/ResourceId.h"

class Cursor {
public:
    // A system cursor by id (IDC_ARROW is 32512); id 0 gives no cursor.
    explicit Cursor(unsigned systemId);
    Cursor(const Cursor& other) = default;
    Cursor& operator=(const Cursor& other) = default;

    static Cursor Arrow();
    // A cursor from the program's resources, a library, or the module the identifier carries.
    static Cursor FromResource(const ResourceId& id);

    HCURSOR Handle() const { return handle_; }
    int IsFromResource() const { return fromResource_; }

private:
    HCURSOR handle_ = nullptr;
    ResourceId id_{0u, ResourceId::ProgramItself};
    int fromResource_ = 0;
};
