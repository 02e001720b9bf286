#pragma once
// The base of every framework control: a child window object standing for one system control ("button",
// "edit", "static", "listbox", "combobox", "scrollbar") or a control of a class the framework does not know.
// The object either makes its window itself and sub-classes it, or adopts the control a dialog template made
// (the bind form). A control may be bound to a variable of its caller: Load moves the variable into the
// window, Validate checks what the user entered, Store moves it back.

#include "framework/window/ChildWindow.h"
#include "framework/window/CommandHandlerDescriptor.h"
#include "foundation/zString.h"

#include <memory>

class CtrlWindowCL : public ChildWindow {
public:
    enum Kind { KindButton = 0, KindListBox = 1, KindScrollBar = 2, KindStatic = 3, KindEdit = 4, KindComboBox = 5,
                KindPlain = 6, KindGeneric = 7, KindVisual = 8 };
    // The flag that lets a control be left empty (no text, nothing selected) wherever it validates emptiness.
    static constexpr unsigned MayBeEmpty = 0x100;
    // The child-colour word: the system's colours, or the parent's background.
    static constexpr COLORREF ChildColourNone = static_cast<COLORREF>(-2);
    static constexpr COLORREF ChildColourParent = static_cast<COLORREF>(-3);

    // Create form: the window is made later by Create (slot 18). The caller's style bits join the child
    // style, or WS_TABSTOP when the caller gives none.
    CtrlWindowCL(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id);
    // The same with a layout rule of the caller's (it may belong to the parent's layout, which then places
    // the control).
    CtrlWindowCL(WindowCL* parent, LayoutManager* layout, DWORD style, const char* text, unsigned id);
    // Bind form: adopts the parent's control with this id, which a dialog template made.
    static CtrlWindowCL* FromTemplate(WindowCL* parent, unsigned id);
    ~CtrlWindowCL() override;

    LRESULT DefaultProcessing(WindowEvent* event) override;    // 1: the system control's own procedure
    void SetBackgroundColour(const Colour& colour) override;   // 16: background colour and its brush
    void Create() override;                                    // 18

    // The procedure every sub-classed control shares.
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    using WindowCL::SetText;
    zString GetText() const;
    void SetText(const zString& text) { WindowCL::SetText(text.Text()); }
    void SetTextChars(const char* text) { WindowCL::SetText(text); }
    // Sets the text even when the control is disabled (some systems refuse it then); it stays disabled.
    void SetTextForced(const char* text);
    void SetTextForcedStr(const zString& text) { SetTextForced(text.Text()); }
    void Enable() { EnableWindow(handle_, TRUE); }
    void Disable() { EnableWindow(handle_, FALSE); }
    bool IsEnabled() const { return IsWindowEnabled(handle_) != 0; }
    // Sends a message to the control's window.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendMessageA(handle_, message, wParam, lParam);
    }

    // A WM_COMMAND handler for this control's id in the parent's command list.
    template <class T>
    void OnCommand(T* target, long (T::*method)(WindowEvent*))
    {
        OnCommandAlt(static_cast<EventTarget*>(target), AsEventHandler(method));
    }
    void OnCommandAlt(EventTarget* target, EventHandler method);
    // A handler of one notification code of this control in the parent's notification list.
    template <class T>
    void OnNotify(T* target, long (T::*method)(WindowEvent*), unsigned code)
    {
        OnNotifyAlt(static_cast<EventTarget*>(target), AsEventHandler(method), code);
    }
    void OnNotifyAlt(EventTarget* target, EventHandler method, unsigned code);

    int ControlKind() const { return kind_; }
    WNDPROC PreviousProcedure() const { return previousProc_; }
    COLORREF ChildColour() const { return childColour_; }
    void SetChildColour(COLORREF colour) { childColour_ = colour; }
    unsigned Flags() const { return flags_; }
    void SetFlags(unsigned flags) { flags_ = flags; }

protected:
    struct BindTag {};
    // Bind form for subclasses.
    CtrlWindowCL(WindowCL* parent, unsigned id, BindTag);
    // Takes over a placeholder's window and fields (its place among the parent's children is taken already).
    void AdoptFrom(CtrlWindowCL* placeholder);
    // Binds the caller's variable that Store/Load exchange with the control; `kind` is the subclass's buffer kind.
    void BindBuffer(void* buffer, unsigned kind, unsigned flags)
    {
        buffer_ = buffer;
        bufferKind_ = kind;
        flags_ = flags;
    }
    // Adds the null-ended texts with the given add message, redrawing once at the end (lists and combo boxes).
    int AddTexts(const char* const* texts, UINT addMessage);
    // The answer to WM_CTLCOLOREDIT/WM_CTLCOLORLISTBOX from the control's own child windows.
    LRESULT ColourReply(WindowEvent* event);
    // The control's own rows (characters, its child windows' colours, the end of its window); the rest as
    // every framework window.
    long HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer) override;

    WNDPROC previousProc_ = nullptr;
    int kind_ = KindPlain;
    void* buffer_ = nullptr;
    unsigned bufferKind_ = 0;
    unsigned flags_ = 0;
    COLORREF childColour_ = ChildColourNone;
    HICON icon_ = nullptr; // a static icon's

    friend class GenericCtrl;
};
