#pragma once
// The base of every framework window: the object holds what its window needs (title, style, class name,
// layout rule, colours, cursor, handler lists, children) and turns the window's messages into calls of its
// virtual operations, listed below in their fixed order.

#include "framework/dialog/Cursor.h"
#include "framework/draw/Colour.h"
#include "framework/draw/GdiScopes.h"
#include "framework/window/EventTarget.h"
#include "foundation/zString.h"

#include <list>
#include <memory>
#include <string>
#include <vector>

class HandlerDescriptor;
class HandlerList;
class IconResource;
class LayoutManager;
class Menu;
class ScrollBarState;
class Scroller;

class WindowCL : public EventTarget {
public:
    // State bits.
    static const unsigned short StateDeleteWithWindow = 1; // the window's WM_NCDESTROY deletes the object
    static const unsigned short StateWindowGone = 2;       // the system window no longer exists
    static const unsigned short StateShown = 4;            // shown once

    // Menu routing: WM_COMMAND, WM_INITMENU, WM_INITMENUPOPUP and WM_MENUSELECT go to the window's menu object
    // first.
    static const unsigned RouteMenu = 0x008;

    // Background colour words: no background of its own, and the parent's background.
    static const COLORREF NoBackground = static_cast<COLORREF>(-2);
    static const COLORREF ParentBackground = static_cast<COLORREF>(-3);

    WindowCL(LayoutManager* layout, DWORD style);
    WindowCL(WindowCL* parent, LayoutManager* layout, DWORD style);
    // A new default container rule, joined to the parent's rule when that is a container.
    explicit WindowCL(WindowCL* parent);
    WindowCL(const WindowCL&) = delete;
    WindowCL& operator=(const WindowCL&) = delete;
    // Deletes the children first, then destroys the window unless it is already gone.
    ~WindowCL() override;

    // Virtual operations in slot order (0 the destructor, 1 DefaultProcessing of EventTarget).
    virtual std::unique_ptr<WNDCLASSA> ClassRecord();        // 2
    virtual long LayoutChildren(WindowEvent* event);          // 3
    virtual long OnActivate(WindowEvent* event);              // 4
    virtual long OnSize(WindowEvent* event);                  // 5
    virtual long OnMove(WindowEvent* event);                  // 6
    virtual long OnClose(WindowEvent* event);                 // 7
    virtual long OnCommand(WindowEvent* event);               // 8
    virtual long Forward(WindowEvent* event);                 // 9
    virtual long OnMouseMove(WindowEvent* event);             // 10
    virtual long OnButtonUp(WindowEvent* event);              // 11
    virtual long OnButtonDown(WindowEvent* event);            // 12
    virtual long OnFocus(WindowEvent* event);                 // 13
    virtual long EraseBackground(WindowEvent* event);         // 14
    virtual long ExtentInPixels(SIZE& extent);                // 15
    virtual void SetBackgroundColour(const Colour& colour);   // 16
    virtual void Show(int showCommand);                       // 17

    // The named handlers: the base's operations above take the message apart and call these, so that a
    // window overrides only what it reacts to, with the message's meaning as arguments. Each answers
    // nonzero when it handled the message.
    virtual long OnResize(SIZE client, UINT kind);                          // after the layout rule's size
    virtual long OnCommandId(unsigned id, unsigned code, HWND control);     // code 0 and no control: a menu
    virtual long OnMouseDown(const MouseInput& mouse);
    virtual long OnMouseUp(const MouseInput& mouse);
    virtual long OnMouseMoved(const MouseInput& mouse);
    virtual long OnKeyDown(unsigned key, bool alt);                         // after the handler lists
    virtual long OnKeyUp(unsigned key, bool alt);                           // after the handler lists
    virtual long OnFocusChange(bool gained);
    virtual long OnActivation(bool active);
    // An owner-drawn control draws its face: its parent hands it WM_DRAWITEM (nonzero when it drew).
    virtual long OnDrawItem(const DRAWITEMSTRUCT& item);
    // The focus came to or left one of the window's descendants, or a child push button's look changed: a
    // dialog shows its default frame where the focus says; any other window tells its own parent.
    virtual void OnChildFocusChange();
    // The window's menu object, which gets the menu messages first when the menu asked for them.
    virtual Menu* MenuObject() const { return nullptr; }

    // The one window procedure of the framework's windows: finds the object and hands it the message.
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The one delivery of a message to its window object, shared by every window procedure: the object's
    // rows (HandleMessage), then its default processing. A window deleted on the way is not touched again;
    // the system's default procedure answers for it.
    static LRESULT Deliver(WindowCL* window, WindowEvent& event);
    // The window object of a handle, 0 when the handle is not in the application's map.
    static WindowCL* FromHandle(HWND handle);

    // Handler lists.
    void AddHandler(EventTarget* target, EventHandler function, UINT message);
    // As AddHandler, and the message's handlers now run before the virtual operation.
    void AddMessageHandler(EventTarget* target, EventHandler function, UINT message);
    // Removes the newest handler of this target and function for the message.
    void RemoveHandler(EventTarget* target, EventHandler function, UINT message);
    template <class T>
    void AddHandler(T* target, long (T::*function)(WindowEvent*), UINT message)
    {
        AddHandler(static_cast<EventTarget*>(target), AsEventHandler(function), message);
    }
    template <class T>
    void AddMessageHandler(T* target, long (T::*function)(WindowEvent*), UINT message)
    {
        AddMessageHandler(static_cast<EventTarget*>(target), AsEventHandler(function), message);
    }
    template <class T>
    void RemoveHandler(T* target, long (T::*function)(WindowEvent*), UINT message)
    {
        RemoveHandler(static_cast<EventTarget*>(target), AsEventHandler(function), message);
    }
    // Registrations made by controls and radio groups: front of the general or the notification list.
    void AddHandlerDescriptor(std::unique_ptr<HandlerDescriptor> descriptor);
    void AddNotificationHandler(std::unique_ptr<HandlerDescriptor> descriptor);
    // Removes and frees this very descriptor of the notification list.
    void RemoveNotificationHandler(const HandlerDescriptor* descriptor);
    // The notification list, then the general and the application's lists; 1 when a handler took it, or
    // deleted the window (which ends the dispatch).
    long DispatchEvent(WindowEvent* event);
    // The general list, then the application's list; 1 when a handler took it or deleted the window.
    long DispatchToLists(WindowEvent* event);
    // Answer to WM_CTLCOLOR* from a child: its brush after setting the context's colours, or 0.
    HBRUSH ChildColours(WindowEvent* event);
    void AddRoutingBits(unsigned bits) { routingMask_ |= bits; }
    unsigned RoutingMask() const { return routingMask_; }
    // From now on the message goes to the handler lists before the window's own operation (a handler that
    // takes it answers 1 to the system). Each message is routed on its own.
    void RouteToListsFirst(UINT message);
    bool ListsFirst(UINT message) const;

    // Text and appearance.
    void SetText(const char* text);
    void SetText(const std::string& text) { SetText(text.c_str()); }
    void SetText(const zString& text) { SetText(text.Text()); }
    const char* Text() const { return title_.c_str(); }
    // The system window's whole text; empty when it has none.
    static zString TextOf(HWND window);
    void ShowWindow(int command);
    void ApplyStyle();
    void SetCursor(const Cursor& cursor);
    // The class keeps the icon's handle; the icon object is deleted. Null sets no icon.
    void SetClassIcon(IconResource* icon);

    // Children.
    WindowCL* FindChild(unsigned id) const;
    // The slot of the children list that holds the first child with the id, null when none; a control that
    // adopts a placeholder takes its place there.
    WindowCL** FindChildNode(unsigned id);
    WindowCL* FindChildByHandle(HWND handle) const;
    const std::list<WindowCL*>& Children() const { return children_; }
    // The system window of a child control with the id (one a dialog template made); null when none.
    HWND Control(unsigned id) const { return GetDlgItem(Handle(), static_cast<int>(id)); }
    zString ItemText(unsigned id) const { return TextOf(Control(id)); }
    void SetItemText(unsigned id, const char* text) { SetWindowTextA(Control(id), text); }
    // A control disabled while it holds the focus hands it to the next tab stop first, so that the keys
    // still reach the window.
    void EnableItem(unsigned id, bool enabled);
    void ShowItem(unsigned id, bool shown) { ::ShowWindow(Control(id), shown ? SW_SHOW : SW_HIDE); }
    // A check box's or radio button's check mark.
    void CheckItem(unsigned id, bool checked);
    bool IsItemChecked(unsigned id) const;
    // Focuses the field and selects its whole text.
    void SelectField(unsigned id);
    void AppendChild(WindowCL* child) { children_.push_back(child); }
    void RemoveChild(WindowCL* child);

    // Fields.
    HWND Handle() const { return handle_; }
    unsigned Id() const { return id_; }
    void SetId(unsigned id) { id_ = id; }
    unsigned short State() const { return state_; }
    void SetStateBits(unsigned short bits) { state_ = static_cast<unsigned short>(state_ | bits); }
    void ClearStateBits(unsigned short bits) { state_ = static_cast<unsigned short>(state_ & ~bits); }
    DWORD Style() const { return style_; }
    void SetStyle(DWORD style) { style_ = style; }
    const std::string& ClassName() const { return className_; }
    void SetClassName(const std::string& name) { className_ = name; }
    unsigned short ClassStyle() const { return classStyle_; }
    void SetClassStyle(unsigned short classStyle) { classStyle_ = classStyle; }
    COLORREF BackgroundColour() const { return background_; }
    void SetBackgroundColourRef(COLORREF colour) { background_ = colour; }
    // The brush that answers the colour requests of this window's parent (controls make one); 0 when none.
    HBRUSH BackgroundBrush() const { return backgroundBrush_.Get(); }
    LayoutManager* Layout() const { return layout_; }
    WindowCL* Parent() const { return parent_; }
    Scroller* AttachedScroller() const { return scroller_; }
    void SetScroller(Scroller* scroller) { scroller_ = scroller; }
    ScrollBarState* VerticalState() const { return verticalState_.get(); }
    ScrollBarState* HorizontalState() const { return horizontalState_.get(); }
    void SetVerticalState(ScrollBarState* state);
    void SetHorizontalState(ScrollBarState* state);
    const Cursor& WindowCursor() const { return cursor_; }

protected:
    // One message through this kind of window's rows. When the answer goes to the system at once,
    // answeredAtOnce is set and the answer stored; otherwise the working answer r (0: not handled, so the
    // default processing answers). Kinds of window override it for their own rows and leave the rest here.
    virtual long HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer);
    // HandleMessage's way to answer the system at once: stores the answer, sets the flag and gives the
    // working answer 0 to return.
    struct AnswerNow {
        bool& answeredAtOnce;
        LRESULT& answer;
        long operator()(LRESULT value) const
        {
            answeredAtOnce = true;
            answer = value;
            return 0L;
        }
    };
    // Shared with the dispatches in progress and cleared when the object is deleted, so that a dispatch whose
    // handler or operation deleted the window touches nothing of it afterwards.
    std::shared_ptr<const bool> LifeToken() const { return alive_; }
    // WM_COMMAND's route: the tracked pop-up menu (its answer goes back at once), the menu object when the
    // routing bit is set, the handler lists, then OnCommand.
    long RouteCommand(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer);

    // The window-class record that subclasses fill in: class style 0, 12 window extra bytes, the program
    // instance, the application icon, no cursor, background COLOR_APPWORKSPACE + 1, no menu.
    static std::unique_ptr<WNDCLASSA> ClassRecordTemplate();
    // Registers the class of the record when there is one (class style and per-object name applied).
    // With ownClass, the window gets a class of its own (named with its address) whatever its class style.
    void RegisterClassOf(std::unique_ptr<WNDCLASSA> record, bool ownClass = false);
    // Creates the system window of the registered class inside the parent window (or owned by it, for a
    // pop-up; or none) at the layout rule's geometry with the extended style, then reads its real geometry
    // back. The object is the creation parameter, so it is bound to its handle from WM_NCCREATE on and the
    // creation's own messages reach it.
    void CreateSystemWindow(HWND parentWindow, DWORD extendedStyle = 0);
    // Reads the created window's real geometry back into the layout rule; a popup created without a
    // geometry becomes 500 x 500.
    void ReadBackGeometry(bool hadNoGeometry);
    // The window object of a message: at WM_NCCREATE the object named by the creation parameters, bound to
    // its new handle here; otherwise the map's entry.
    static WindowCL* FromMessage(HWND handle, UINT message, LPARAM lParam);
    // The handle for a window adopted from elsewhere (a dialog item).
    void SetHandle(HWND handle) { handle_ = handle; }

    unsigned id_ = 0;
    unsigned short state_ = 0;
    std::string title_;
    unsigned routingMask_ = 0;
    std::vector<UINT> listsFirst_;
    LayoutManager* layout_ = nullptr;
    HWND handle_ = nullptr;
    DWORD style_ = 0;
    std::string className_ = "WindowCL";
    Cursor cursor_ = Cursor::Arrow();
    COLORREF background_ = 0;
    unsigned short classStyle_ = 0;
    std::unique_ptr<ScrollBarState> verticalState_;
    std::unique_ptr<ScrollBarState> horizontalState_;
    std::unique_ptr<HandlerList> handlers_;
    std::unique_ptr<HandlerList> notificationHandlers_;
    std::list<WindowCL*> children_;
    WindowCL* parent_ = nullptr;
    Scroller* scroller_ = nullptr;
    ScopedGdiObject<HBRUSH> backgroundBrush_;

private:
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

    void BindLayout();
};
