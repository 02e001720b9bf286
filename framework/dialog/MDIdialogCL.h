#pragma once
// A dialog that lives as an MDI child: built from a dialog template by the dialog engine, created inside
// the MDI client, with its menu merged into the frame's bar while it is active. It remembers which of its
// controls had the focus when it was deactivated and gives the focus back when it is activated again.

#include "framework/dialog/DialogTemplateEngine.h"
#include "framework/window/MDIchildCL.h"

class MDIdialogCL : public MDIchildCL {
public:
    // Posted to its own window: the window procedure deletes the object.
    static constexpr UINT DeleteLater = 1027;

    // Without a template: a nonzero style becomes the whole style. Unless deferred, the window is made.
    MDIdialogCL(WindowCL* parent, LayoutManager* layout, DWORD style, const char* title, unsigned id = 0,
                bool deferCreation = false);
    // From the template: its style (a nonzero override replaces the high 16 bits), title, font, box and
    // controls. A template box of 0 x 0 lets the system place and size the child.
    MDIdialogCL(WindowCL* parent, const ResourceId& templateId, DWORD styleOverride = 0, bool deferCreation = false);
    ~MDIdialogCL() override;

    std::unique_ptr<WNDCLASSA> ClassRecord() override;  // 2
    long OnActivation(bool active) override;            // focus memory; the MDI default runs as well
    long OnFocusChange(bool gained) override;           // the kept control, else the first tab stop
    void OnChildFocusChange() override;                 // the default frame follows the focus
    void Show(int showCommand) override;                // 17
    void Create() override;                             // 18
    // 20: a template item of a class nothing creates; nothing is made for it.
    virtual void OnUnknownClass(const char* className, const char* text, unsigned id, POINT origin, SIZE size,
                                DWORD style);
    // 21: hides the dialog, or deletes it after the current message when it is deleted with its window.
    virtual void End();

    bool TemplateFound() const { return engine_.Found(); }
    unsigned DefaultButtonId() const { return engine_.DefaultButtonId(); }
    HFONT DialogFont() const { return engine_.Font(); }
    // The menu merged into the frame's bar, when it names one; set before the window is made.
    void SetMenuId(const ResourceId& id) { engine_.SetMenuId(id); }

protected:
    // The dialog rows (keyboard navigation, default button, scroll bars, drop-downs, deferred deletion) and
    // the MDI rows of activation.
    long HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer) override;

private:
    DialogTemplateEngine engine_;
};
