#pragma once
// The framework's dialog window. It reads the dialog template itself (not through the system's dialog
// manager), converts dialog units with the dialog font measured at run time, creates a window of its own
// class and one framework control for every template item; the program then binds typed controls to them
// by id. It runs modally on the application's own message loop, nested; its procedure does the keyboard
// navigation, the default button, focus memory and command routing.

#include "framework/dialog/DialogTemplateEngine.h"
#include "framework/window/ResourceId.h"
#include "framework/window/WindowCL.h"

#include <memory>
#include <string>
#include <vector>

class Menu;

// A creator of controls of a window class given by name in templates.
struct CustomCtrlFactory {
    const char* className;
    WindowCL* (*create)(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id);
};
// The creators consulted for named classes; the program registers none.
std::vector<CustomCtrlFactory>& CustomControlFactories();

class DialogFrameCL : public WindowCL {
public:
    static constexpr unsigned NoDefaultButton = DialogTemplateEngine::NoDefaultButton;
    // Private messages: the Enter key of an edit field, and the deferred deletion of an ended dialog.
    static constexpr UINT EnterFromEdit = DialogTemplateEngine::EnterFromEdit;
    static constexpr UINT DeleteLater = 1027;

    // Loads and reads the template; a nonzero style override replaces the style's high 16 bits. Unless
    // creation is deferred, the window and its controls are made at once.
    DialogFrameCL(WindowCL* parent, const ResourceId& templateId, DWORD styleOverride = 0, bool deferCreation = false);
    ~DialogFrameCL() override;

    std::unique_ptr<WNDCLASSA> ClassRecord() override;        // 2
    long OnActivation(bool active) override;                  // focus memory
    long OnFocusChange(bool gained) override;                 // the first tab stop takes the focus
    void OnChildFocusChange() override;                       // the default frame follows the focus
    void Show(int showCommand) override;                      // 17: OnInit before the first showing
    virtual void Create();                                    // 18
    // 19: a template item of a class nothing creates; nothing is made for it.
    virtual void OnUnknownClass(const char* className, const char* text, unsigned id, POINT origin, SIZE size,
                                DWORD style);
    virtual void OnInit();                                    // 20
    // 21: ends the modal run (or hides a modeless dialog).
    virtual void EndModal();

    // Runs the dialog modally: owners are disabled while it runs; returns when it ends.
    void RunModal();
    // Puts the dialog above its owner and every other window and makes it the foreground window, as a dialog
    // the person must answer, whichever program had the foreground.
    void ComeToFront();

    bool TemplateFound() const { return engine_.Found(); }
    bool IsModal() const { return modal_ != 0; }
    unsigned DefaultButtonId() const { return engine_.DefaultButtonId(); }
    HFONT DialogFont() const { return engine_.Font(); }
    // The menu bar the dialog gets at creation, when it names a menu; set before the window is made.
    void SetMenuId(const ResourceId& id);
    Menu* MenuObject() const override { return menu_.get(); }

    // The dialogs running modally, innermost last.
    static const std::vector<DialogFrameCL*>& ModalStack();

protected:
    // The dialog's own rows: keyboard navigation, the default button, closing a modal dialog, deferred
    // deletion; the rest as every framework window.
    long HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer) override;

private:
    void ApplyTemplate(DWORD styleOverride);
    void TrimSystemMenu();
    // Takes the dialog off the modal stack and enables the window that runs next.
    void LeaveModalStack();

    DialogTemplateEngine engine_;
    std::unique_ptr<Menu> menu_;
    int modal_ = 0;
    // Where the focus was before the dialog was made (making it focuses its first control): a modal run
    // gives the focus back there, so the window the user worked in is active again.
    HWND focusBefore_ = nullptr;
};
