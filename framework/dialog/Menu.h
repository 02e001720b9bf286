#pragma once
// A menu object: owns a system menu handle (a pop-up menu, a menu loaded from a resource, or the menu bar of
// a window) and routes the menu's messages to its handlers.

#include "framework/dialog/CommandTarget.h"
#include "framework/window/ResourceId.h"
#include "foundation/zString.h"

class Menu : public CommandTarget {
public:
    // An empty pop-up menu without an owner.
    Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;
    // Takes the menu off its owner's bar when it is still there, then destroys it.
    ~Menu() override;

    // Loads the menu and makes it the owner's menu bar.
    static Menu* MenuBar(WindowCL* owner, const ResourceId& id);
    // Loads the menu, without an owner.
    static Menu* FromResource(const ResourceId& id);
    // The first pop-up of the menu resource, taken out of it (an empty pop-up when it cannot be loaded).
    static Menu* PopupFromResource(const ResourceId& id);
    // The menu of the resource: from the program, the library the identifier names (freed again at once),
    // or the module it carries; 0 when it cannot be loaded.
    static HMENU Load(const ResourceId& id);

    HMENU Handle() const { return menu_; }
    // Draws the owner's menu bar again.
    void Redraw();

    bool Append(UINT_PTR id, const char* text, UINT flags);
    bool AppendItem(UINT id, const char* text) { return Append(id, text, MF_STRING); }
    bool AppendSeparator() { return Append(0, nullptr, MF_SEPARATOR); }
    // Appends the child as a sub-menu under the text; the child's handle then belongs to this menu.
    bool AppendPopup(Menu& child, const char* text);
    bool InsertItemAt(UINT_PTR id, UINT position, const char* text, UINT flags);
    // Inserts the child as a sub-menu at the position; the child's handle then belongs to this menu.
    bool InsertPopupAt(Menu& child, const char* text, UINT position);
    bool DeleteItem(UINT id) { return DeleteMenu(menu_, id, MF_BYCOMMAND) != 0; }
    void GrayItem(UINT id, int gray) { EnableMenuItem(menu_, id, MF_BYCOMMAND | (gray ? MF_GRAYED : MF_ENABLED)); }
    // 1 when the item exists.
    int CheckItem(UINT id, int check)
    {
        return CheckMenuItem(menu_, id, MF_BYCOMMAND | (check ? MF_CHECKED : MF_UNCHECKED)) != static_cast<DWORD>(-1);
    }
    // Removes and destroys every item, sub-menus included.
    void Clear();
    int ItemCount() const;
    // The text of the item with the command id, sub-menus included; false when there is none.
    bool ItemText(UINT id, zString& out) const;

    // Handlers of WM_MENUSELECT, WM_INITMENU and WM_INITMENUPOPUP, which the owner window then forwards.
    template <class T>
    void OnMenuSelect(T* target, long (T::*method)(WindowEvent*))
    {
        AddMessageDescriptor(target, AsEventHandler(method), WM_MENUSELECT);
    }
    template <class T>
    void OnInitMenu(T* target, long (T::*method)(WindowEvent*))
    {
        AddMessageDescriptor(target, AsEventHandler(method), WM_INITMENU);
    }
    template <class T>
    void OnInitMenuPopup(T* target, long (T::*method)(WindowEvent*))
    {
        AddMessageDescriptor(target, AsEventHandler(method), WM_INITMENUPOPUP);
    }
    // A handler of one menu command.
    template <class T>
    void OnCommand(UINT id, T* target, long (T::*method)(WindowEvent*))
    {
        AddHandler(owner_, std::make_unique<HandlerDescriptor>(id, AsEventHandler(method), target, WM_COMMAND));
    }

protected:
    Menu(HMENU handle, WindowCL* owner);
    void AddMessageDescriptor(EventTarget* target, EventHandler method, UINT message);
    // The child's handle now belongs to this menu.
    static void GiveAway(Menu& child) { child.menu_ = nullptr; }

    HMENU menu_ = nullptr;
};
