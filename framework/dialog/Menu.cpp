#include "framework/dialog/Menu.h"

#include "framework/window/WindowCL.h"

Menu::Menu()
{
    menu_ = CreatePopupMenu();
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

bool Menu::AppendItem(UINT id, const char* text) { return AppendMenuA(menu_, MF_STRING, id, text) != 0; }

bool Menu::AppendSeparator() { return AppendMenuA(menu_, MF_SEPARATOR, 0, nullptr) != 0; }

bool Menu::AppendSubMenu(Menu& child, const char* text)
{
    if (!AppendMenuA(menu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(child.Handle()), text))
        return false;
    child.ForgetHandle();
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
