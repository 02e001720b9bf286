#pragma once
// A push button that shows the current choice (or a picture) with a downward triangle at its right end;
// pressing it (left button or Space) opens its pop-up menu right-aligned under it. A plain button sends the picked command to
// its command target; the two derived kinds first take the picked item's text on their face. Dialogs make
// it over one of their template controls, which then only reserves the rectangle.

#include "framework/window/PaneWindowCL.h"

#include <memory>

class Bitmap;
class Menu;
class zFont;

class MenuButton : public PaneWindowCL {
public:
    // The longest item text the face takes, in characters.
    static constexpr int kItemTextLimit = 49;

    // A child of the parent (the command target) showing the text; empty without one.
    MenuButton(WindowCL* parent, LayoutManager* layout, Menu* menu, const char* text, DWORD style);
    // Pops and, when owned, deletes the font; deletes the menu when owned.
    ~MenuButton() override;

    LRESULT DefaultProcessing(WindowEvent* event) override;
    long OnActivation(bool active) override;
    long OnMouseUp(const MouseInput& mouse) override;
    long OnMouseDown(const MouseInput& mouse) override;
    long OnFocusChange(bool gained) override;
    long OnCharacter(unsigned character) override;
    long OnKeyDown(unsigned key, bool alt) override;
    long Paint(WindowEvent* event) override;
    virtual void SetCommandTarget(WindowCL* target);

    // While inactive the button ignores the mouse and keys and draws its arrow disabled (no redraw here).
    void Enable(bool active) { active_ = active; }
    // Makes the button take the focus and show the focus mark, in the dialog font.
    void Reset();
    void SetFont(zFont* font, bool owns);
    void SetOwnsMenu(bool owns) { ownsMenu_ = owns; }
    // The face shows the picture (owned) in place of its text; null shows the text again.
    void SetPicture(Bitmap* picture);
    // Recounts the menu's items; redraws when that changed whether there are any.
    void UpdateEnabled();
    // The item's text (cut to kItemTextLimit characters) goes on the face and the item becomes the checked
    // current one; 0, changing nothing, when the menu has no such item.
    int ShowPickedItem(unsigned itemId);
    // Opens the menu under the button and waits for the pick.
    void TrackMenu();
    // The face shows the text (redrawn when it changed).
    void SetFaceText(const zString& text);

    const zString& FaceText() const { return text_; }
    const zString& ShownText() const { return shownText_; }
    int ArrowColumn() const { return arrowColumn_; }
    bool MenuOpen() const { return menuOpen_; }
    bool Active() const { return active_; }
    unsigned CurrentItem() const { return currentItem_; }
    Menu* ButtonMenu() const { return menu_; }

protected:
    // The face text fitted to the text area, and its size.
    void LayoutText();
    // A disabled button window (EnableWindow) keeps its face, greyed, and opens nothing.
    bool CanOpen() const { return active_ && hasItems_ && IsWindowEnabled(handle_); }
    void SetFixedCommand(unsigned command) { fixedCommand_ = command; }
    unsigned FixedCommand() const { return fixedCommand_; }
    // The picked item's text read from the menu, cut to the face's limit; false when there is no such item.
    bool ReadItemText(unsigned itemId, zString& out) const;

private:
    RECT TextArea() const;
    // The face font, or the dialog font without one.
    HGDIOBJ FaceFont() const;
    void DrawFace(HDC dc, bool pressed);
    void DrawDropArrow(HDC dc, POINT origin);
    void DrawFocusMark(HDC dc, POINT origin);

    Menu* menu_;
    WindowCL* commandTarget_;
    int textWidth_ = 0;
    int textHeight_ = 0;
    bool active_ = true;
    bool hasItems_ = false;
    int arrowColumn_ = -1;
    bool menuOpen_ = false;
    int frameWidth_ = 1;
    bool focused_ = false;
    bool focusable_ = false;
    bool ownsMenu_ = false;
    bool ownsFont_ = false;
    unsigned fixedCommand_ = 0;
    unsigned currentItem_ = 0;
    unsigned previousItem_ = 0;
    zString text_;
    zString shownText_;
    zFont* font_ = nullptr;
    std::unique_ptr<Bitmap> picture_;
};

// Shows the picked item on its face, then sends the same command to its command window.
class NameMenuButton : public MenuButton {
public:
    NameMenuButton(WindowCL* parent, LayoutManager* layout, Menu* menu, unsigned initialItem, DWORD style);

    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    void SetCommandTarget(WindowCL* window) override { commandWindow_ = window; }

private:
    WindowCL* commandWindow_ = nullptr;
};

// Takes the picked item's text on its face, then sends its fixed command (when set) to its command window.
class CommandMenuButton : public MenuButton {
public:
    // Placed on the dialog control's rectangle, which is hidden.
    CommandMenuButton(WindowCL* control, Menu* menu, const char* text, DWORD style, unsigned fixedCommand);

    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    void SetCommandTarget(WindowCL* window) override { commandWindow_ = window; }

private:
    WindowCL* commandWindow_ = nullptr;
};

// A menu button over the dialog control showing the text (the control's own text when null); null without
// a control. Without `inside` it is the control's sibling on the control's rectangle and the control is
// hidden; with it, a child filling the control. Its picks go to the target.
MenuButton* MakeMenuButton(Menu* menu, WindowCL* control, WindowCL* target, const char* text, bool inside);
// A menu button over the window's control with the id, owning the menu and sending its picks to the window;
// null, the menu deleted, when the window has no such control.
MenuButton* MakeOwningMenuButton(std::unique_ptr<Menu> menu, WindowCL* window, unsigned controlId);
