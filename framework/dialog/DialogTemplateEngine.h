#pragma once
// What every template-built dialog window shares, whatever kind of window hosts it (a dialog frame or an
// MDI child): the template read from its resource, the dialog font, one framework control per template
// item, the default button, focus memory and the keyboard rows of the dialog procedure.

#include "framework/dialog/DialogTemplate.h"
#include "framework/window/ResourceId.h"
#include "framework/window/WindowEvent.h"

#include <functional>
#include <memory>

class WindowCL;
class zFont;

class DialogTemplateEngine {
public:
    static constexpr unsigned NoDefaultButton = 0xFFFF;
    // Private messages: the Enter key of an edit field (wParam and lParam 0x1000).
    static constexpr UINT EnterFromEdit = 1026;

    // Called for a template item of a class that nothing creates: class name, text, id, origin, size, style.
    using UnknownClassHandler = std::function<void(const char*, const char*, unsigned, POINT, SIZE, DWORD)>;

    DialogTemplateEngine();
    ~DialogTemplateEngine();
    DialogTemplateEngine(const DialogTemplateEngine&) = delete;
    DialogTemplateEngine& operator=(const DialogTemplateEngine&) = delete;

    // Loads and reads the template; false when the resource is missing or unreadable.
    bool Load(const ResourceId& id);
    bool Found() const { return found_; }
    const DialogTemplate& Template() const { return template_; }
    // The template's style without WS_VISIBLE; a nonzero override replaces the high 16 bits.
    DWORD Style(DWORD styleOverride) const;
    // Makes the template's font (when it names one) at its point size on the parent's screen.
    void MakeFont(HWND parentWindow);
    HFONT Font() const;
    // The template's box converted from dialog units with the dialog font, relative to its own origin.
    void Box(HWND parentWindow, POINT& origin, SIZE& size) const;
    // One framework control per item, children of the dialog, shown; the first default push button becomes
    // the default button.
    void CreateControls(WindowCL* dialog, HWND measuringWindow, const UnknownClassHandler& unknownClass);
    // Every child of the dialog gets the dialog font, when there is one.
    void SendFont(const WindowCL& dialog) const;

    unsigned DefaultButtonId() const { return defaultButtonId_; }
    // The default frame follows the focus: the focused push button shows it, else the default button does.
    // Nothing changes while the focus is outside the dialog.
    void FollowFocus(const WindowCL& dialog);
    // The menu the dialog gets at creation, when it names one.
    void SetMenuId(const ResourceId& id);
    const ResourceId* MenuId() const { return menuId_.get(); }
    bool HasMenu() const;

    // Focus memory: on deactivation the focused child of the dialog is kept; on activation it gets the
    // focus back. True when a kept window got the focus.
    void KeepFocus(HWND dialog);
    bool GiveFocusBack();
    // The first enabled tab stop among the children, else the first child; null when there are none.
    static WindowCL* FirstTabStop(const WindowCL& dialog);
    // An open drop-down of a combo box of the dialog (focused, or holding the focused edit) is closed.
    static void CloseDropDown(HWND dialog);

    // The keyboard rows of the dialog procedure: WM_NEXTDLGCTL, the default-button queries and the Enter
    // key of an edit field; and its font rows: WM_SETFONT keeps the font given, WM_GETFONT answers it (the
    // template's font until one is given), as a dialog of the system does, so controls made later get the
    // dialog's font. False for any other message; otherwise the working answer is in result, or the answer
    // to the system in answer with answeredAtOnce set.
    bool HandleKeyboardRow(WindowCL& dialog, WindowEvent& event, long& result, bool& answeredAtOnce, LRESULT& answer);

private:
    void CreateControl(WindowCL* dialog, const DialogItemTemplate& item, POINT origin, SIZE size,
                       const UnknownClassHandler& unknownClass);
    long NextControl(WindowCL& dialog, WindowEvent& event);

    DialogTemplate template_;
    bool found_ = false;
    std::unique_ptr<ResourceId> menuId_;
    std::unique_ptr<zFont> font_;
    unsigned defaultButtonId_ = NoDefaultButton;
    HWND savedFocus_ = nullptr;
    HFONT givenFont_ = nullptr;
    // Set while FollowFocus restyles the buttons, whose changes would call it again.
    bool followingFocus_ = false;
};
