#include "framework/dialog/PopupMenu.h"

#include "framework/window/FrameworkApp.h"
#include "framework/window/WindowCL.h"

PopupMenu::PopupMenu(int x, int y, WindowCL* owner, const ResourceId& id)
    : Menu(nullptr, owner), point_{x, y}, whole_(Load(id))
{
    menu_ = whole_ ? GetSubMenu(whole_, 0) : nullptr;
    if (owner)
        ClientToScreen(owner->Handle(), &point_);
}

PopupMenu::~PopupMenu()
{
    if (TheApp && TheApp->TrackedPopupMenu() == this)
        TheApp->SetTrackedPopupMenu(nullptr);
    if (whole_)
        DestroyMenu(whole_);
    menu_ = nullptr;
}

void PopupMenu::Track()
{
    if (TheApp)
        TheApp->SetTrackedPopupMenu(this);
    TrackPopupMenu(menu_, TPM_RIGHTBUTTON, point_.x, point_.y, 0, owner_ ? owner_->Handle() : nullptr, nullptr);
}
