#include "framework/dialog/Menu.h"

#include "framework/window/ResourceModule.h"
#include "framework/window/WindowCL.h"

Menu::Menu()
{
    menu_ = CreatePopupMenu();
    eventMask_ = 8;
}

Menu::Menu(HMENU handle, WindowCL* owner) : menu_(handle)
{
    owner_ = owner;
    eventMask_ = 8;
}

Menu::~Menu()
{
    if (!menu_)
        return;
    if (owner_ && !(owner_->State() & WindowCL::StateWindowGone) && IsWindow(owner_->Handle()) &&
        GetMenu(owner_->Handle()) == menu_)
        SetMenu(owner_->Handle(), nullptr);
    DestroyMenu(menu_);
}

HMENU Menu::Load(const ResourceId& id)
{
    ResourceModule module(id);
    if (!module.IsValid())
        return nullptr;
    return LoadMenuA(module.Handle(), id.NameOrId());
}

Menu* Menu::MenuBar(WindowCL* owner, const ResourceId& id)
{
    auto* menu = new Menu(Load(id), owner);
    if (owner && menu->menu_)
        SetMenu(owner->Handle(), menu->menu_);
    return menu;
}

Menu* Menu::FromResource(const ResourceId& id)
{
    return new Menu(Load(id), nullptr);
}

Menu* Menu::PopupFromResource(const ResourceId& id)
{
    HMENU whole = Load(id);
    HMENU popup = whole ? GetSubMenu(whole, 0) : nullptr;
    if (!popup) {
        if (whole)
            DestroyMenu(whole);
        return new Menu();
    }
    RemoveMenu(whole, 0, MF_BYPOSITION);
    DestroyMenu(whole);
    return new Menu(popup, nullptr);
}

void Menu::Redraw()
{
    if (owner_)
        DrawMenuBar(owner_->Handle());
}

bool Menu::Append(UINT_PTR id, const char* text, UINT flags)
{
    return AppendMenuA(menu_, flags, id, text) != 0;
}

bool Menu::AppendPopup(Menu& child, const char* text)
{
    if (!Append(reinterpret_cast<UINT_PTR>(child.Handle()), text, MF_POPUP | MF_STRING))
        return false;
    GiveAway(child);
    return true;
}

bool Menu::InsertItemAt(UINT_PTR id, UINT position, const char* text, UINT flags)
{
    return InsertMenuA(menu_, position, flags | MF_BYPOSITION, id, text) != 0;
}

bool Menu::InsertPopupAt(Menu& child, const char* text, UINT position)
{
    if (!InsertItemAt(reinterpret_cast<UINT_PTR>(child.Handle()), position, text, MF_POPUP | MF_STRING))
        return false;
    GiveAway(child);
    return true;
}

void Menu::Clear()
{
    for (int i = GetMenuItemCount(menu_) - 1; i >= 0; --i)
        DeleteMenu(menu_, static_cast<UINT>(i), MF_BYPOSITION);
}

int Menu::ItemCount() const
{
    const int count = GetMenuItemCount(menu_);
    return count < 0 ? 0 : count;
}

bool Menu::ItemText(UINT id, zString& out) const
{
    char text[256];
    if (GetMenuStringA(menu_, id, text, sizeof text, MF_BYCOMMAND) <= 0)
        return false;
    out = text;
    return true;
}

void Menu::AddMessageDescriptor(EventTarget* target, EventHandler method, UINT message)
{
    AddHandler(owner_, std::make_unique<HandlerDescriptor>(method, target, message, nullptr));
}
