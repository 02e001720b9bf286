#include "framework/dialog/Cursor.h"

#include "framework/window/ResourceModule.h"

Cursor::Cursor(unsigned systemId)
{
    if (systemId != 0)
        handle_ = LoadCursorA(nullptr, MAKEINTRESOURCEA(systemId & 0xFFFF));
}

Cursor Cursor::Arrow()
{
    return Cursor(32512);
}

Cursor Cursor::FromResource(const ResourceId& id)
{
    Cursor cursor(0u);
    cursor.fromResource_ = 1;
    cursor.id_ = id;
    ResourceModule module(id);
    if (module.IsValid())
        cursor.handle_ = LoadCursorA(module.Handle(), id.NameOrId());
    return cursor;
}
